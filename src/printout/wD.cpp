// The subject's values over the card.
#include "wD.h"

#include "DatiScheda.h"
#include "TestoPdf.h"
#include "core/Folian.h"

#include <array>
#include <cmath>
#include <string_view>

namespace ondavia {

using scheda::Rettangolo;
using stampa::ansi;
using stampa::carattere;
using stampa::daPunti;

namespace {

// Helvetica's descender, in thousandths of the size: the last line's glyphs must stay above the field's line.
constexpr float kDiscendente = 0.212F;
constexpr char kPuntini = '\x85'; // "…" in Windows-1252

float interlinea(float corpo)
{
    return daPunti(corpo * scheda::kInterlinea);
}

// Where a word too wide for the line is broken: after the last of these characters in the part that fits,
// when that leaves at least half of the line filled; else where the line is full. `resto` is what is left of
// the word from the piece's start.
std::size_t puntoDiTaglio(std::string_view resto, std::size_t entra)
{
    const std::size_t separatore = resto.substr(0, entra).find_last_of("@.-_/");
    if (separatore != std::string_view::npos && separatore + 1 >= entra / 2 && separatore + 1 < resto.size()) {
        return separatore + 1;
    }
    return entra;
}

// The widths of the 256 codes at the selected size. The writer measures a text as the sum of its characters'
// widths, so a line is measured by adding these as it grows, never by measuring it again from its start: a
// value of one word a million characters long is wrapped in one pass.
class Misure {
public:
    explicit Misure(folian::Folian& pdf)
    {
        for (int c = 0; c < 256; ++c) {
            m_larghezza[static_cast<std::size_t>(c)] = pdf.TextLength(std::string(1, static_cast<char>(c)));
        }
    }
    double di(char c) const { return m_larghezza[static_cast<unsigned char>(c)]; }
    double di(std::string_view testo) const
    {
        double somma = 0;
        for (const char c : testo) {
            somma += di(c);
        }
        return somma;
    }

private:
    std::array<double, 256> m_larghezza{};
};

// The lines of `testo` in `larghezza`, at most `massimo` of them (what follows the last is not laid out: the
// caller only needs to know that the text goes on).
std::vector<std::string> avvolgi(const Misure& misure, std::string_view testo, float larghezza, std::size_t massimo)
{
    std::vector<std::string> righe;
    std::string riga;
    double larghezzaRiga = 0;
    const double spazio = misure.di(' ');
    const auto chiudiRiga = [&](std::string_view pezzo) {
        righe.emplace_back(pezzo);
        return righe.size() < massimo;
    };
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        std::size_t fine = testo.find(' ', inizio);
        if (fine == std::string_view::npos) {
            fine = testo.size();
        }
        std::string_view parola = testo.substr(inizio, fine - inizio);
        inizio = fine + 1;
        if (parola.empty()) {
            continue;
        }
        double larghezzaParola = misure.di(parola);
        const double prova = riga.empty() ? larghezzaParola : larghezzaRiga + spazio + larghezzaParola;
        if (prova <= larghezza) {
            if (!riga.empty()) {
                riga += ' ';
            }
            riga += parola;
            larghezzaRiga = prova;
            continue;
        }
        if (!riga.empty() && !chiudiRiga(riga)) {
            return righe;
        }
        while (larghezzaParola > larghezza) {
            // At least one character a line, however narrow the area.
            std::size_t entra = 1;
            double occupata = misure.di(parola[0]);
            while (entra < parola.size() && occupata + misure.di(parola[entra]) <= larghezza) {
                occupata += misure.di(parola[entra]);
                ++entra;
            }
            const std::size_t taglio = puntoDiTaglio(parola, entra);
            const std::string_view pezzo = parola.substr(0, taglio);
            if (!chiudiRiga(pezzo)) {
                return righe;
            }
            larghezzaParola -= misure.di(pezzo);
            parola.remove_prefix(taglio);
        }
        riga.assign(parola);
        larghezzaRiga = larghezzaParola;
    }
    if (!riga.empty()) {
        righe.push_back(riga);
    }
    return righe;
}

void spunta(folian::Folian& pdf, const Rettangolo& quadrato)
{
    // An 8-point capital stands 5.7 points high: centred in the box.
    carattere(pdf, 8, true);
    pdf.DrawText(quadrato.x + quadrato.w / 2, quadrato.basso() - (quadrato.h - daPunti(5.74F)) / 2, "X", 4);
}

} // namespace

TestoAdattato adattaTesto(folian::Folian& pdf, const std::string& testo, const Rettangolo& area, float corpoMassimo,
                          bool grassetto)
{
    TestoAdattato esito;
    for (float corpo = corpoMassimo;; corpo -= 0.5F) {
        const bool ultimo = corpo - 0.5F < scheda::kCorpoMinimo;
        carattere(pdf, corpo, grassetto);
        const auto possibili = static_cast<std::size_t>(std::floor(area.h / interlinea(corpo) + 1e-4F));
        // One line more than the area holds tells that the text does not fit at this size.
        std::vector<std::string> righe = avvolgi(Misure(pdf), testo, area.w, possibili + 1);
        esito.corpo = corpo;
        if (righe.size() <= possibili) {
            esito.righe = std::move(righe);
            return esito;
        }
        if (ultimo) {
            righe.resize(possibili);
            if (!righe.empty()) {
                std::string& coda = righe.back();
                while (!coda.empty() && pdf.TextLength(coda + kPuntini) > area.w) {
                    coda.pop_back();
                }
                coda += kPuntini;
            }
            esito.righe = std::move(righe);
            esito.tagliato = true;
            return esito;
        }
    }
}

void wD(folian::Folian& pdf, const DatiScheda& dati, const QDate& dataStampa)
{
    const scheda::Layout& layout = scheda::layout();
    pdf.SetColorText(scheda::kColoreValore);

    for (const scheda::Campo& campo : layout.campi) {
        if (campo.campo == nullptr) {
            continue;
        }
        const std::string valore = ansi(dati.valore(campo.campo));
        if (valore.find_first_not_of(' ') == std::string::npos) {
            continue;
        }
        const Rettangolo area = areaValore(campo);
        const TestoAdattato testo = adattaTesto(pdf, valore, area, campo.corpoMassimo, campo.grassetto);
        // The lines sit on the field's line, the last one lowest.
        const float passo = interlinea(testo.corpo);
        const float ultima = area.basso() - daPunti(testo.corpo * kDiscendente);
        const auto n = static_cast<float>(testo.righe.size());
        for (std::size_t i = 0; i < testo.righe.size(); ++i) {
            pdf.DrawText(area.x, ultima - (n - 1 - static_cast<float>(i)) * passo, testo.righe[i]);
        }
    }

    for (const scheda::Casella& casella : layout.caselle) {
        if (dati.valore(casella.campo) == casella.atteso) {
            spunta(pdf, casella.quadrato);
        }
    }

    const scheda::Testo& data = layout.didascaliaData;
    carattere(pdf, data.corpo, data.grassetto);
    const float dopo = pdf.TextLength(ansi(data.testo + QLatin1Char(' ')));
    pdf.DrawText(data.x + dopo, data.y, ansi(dataStampa.toString(QStringLiteral("dd/MM/yyyy"))));
}

} // namespace ondavia
