// The subject's values over the card.
#include "wD.h"

#include "DatiScheda.h"
#include "TestoPdf.h"
#include "core/Folian.h"

#include <cmath>
#include <string_view>

namespace ondavia {

using scheda::Rettangolo;
using stampa::Ansi;
using stampa::Carattere;
using stampa::DaPunti;

namespace {

// Helvetica's descender, in thousandths of the size: the last line's glyphs must stay above the field's line.
constexpr float kDiscendente = 0.212F;
constexpr char kPuntini = '\x85'; // "…" in Windows-1252

float interlinea(float corpo)
{
    return DaPunti(corpo * scheda::kInterlinea);
}

// Where a word too wide for the line is broken: after the last of these characters in the part that fits,
// when that leaves at least half of the line filled; else where the line is full.
std::size_t puntoDiTaglio(const std::string& parola, std::size_t entra)
{
    const std::size_t separatore = parola.find_last_of("@.-_/", entra - 1);
    if (separatore != std::string::npos && separatore + 1 >= entra / 2 && separatore + 1 < parola.size()) {
        return separatore + 1;
    }
    return entra;
}

std::vector<std::string> avvolgi(folian::Folian& pdf, const std::string& testo, float larghezza)
{
    std::vector<std::string> righe;
    std::string riga;
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
        std::size_t fine = testo.find(' ', inizio);
        if (fine == std::string::npos) {
            fine = testo.size();
        }
        std::string parola = testo.substr(inizio, fine - inizio);
        inizio = fine + 1;
        if (parola.empty()) {
            continue;
        }
        const std::string prova = riga.empty() ? parola : riga + ' ' + parola;
        if (pdf.TextLength(prova) <= larghezza) {
            riga = prova;
            continue;
        }
        if (!riga.empty()) {
            righe.push_back(riga);
        }
        while (pdf.TextLength(parola) > larghezza) {
            std::size_t entra = 1;
            while (entra < parola.size() && pdf.TextLength(std::string_view(parola).substr(0, entra + 1)) <= larghezza) {
                ++entra;
            }
            const std::size_t taglio = puntoDiTaglio(parola, entra);
            righe.push_back(parola.substr(0, taglio));
            parola.erase(0, taglio);
        }
        riga = parola;
    }
    if (!riga.empty()) {
        righe.push_back(riga);
    }
    return righe;
}

void spunta(folian::Folian& pdf, const Rettangolo& quadrato)
{
    // An 8-point capital stands 5.7 points high: centred in the box.
    Carattere(pdf, 8, true);
    pdf.DrawText(quadrato.x + quadrato.w / 2, quadrato.basso() - (quadrato.h - DaPunti(5.74F)) / 2, "X", 4);
}

} // namespace

TestoAdattato AdattaTesto(folian::Folian& pdf, const std::string& testo, const Rettangolo& area, float corpoMassimo,
                          bool grassetto)
{
    TestoAdattato esito;
    for (float corpo = corpoMassimo;; corpo -= 0.5F) {
        const bool ultimo = corpo - 0.5F < scheda::kCorpoMinimo;
        Carattere(pdf, corpo, grassetto);
        const auto possibili = static_cast<std::size_t>(std::floor(area.h / interlinea(corpo) + 1e-4F));
        std::vector<std::string> righe = avvolgi(pdf, testo, area.w);
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
    const scheda::Layout& layout = scheda::Scheda();
    pdf.SetColorText(scheda::kColoreValore);

    for (const scheda::Campo& campo : layout.campi) {
        if (campo.campo == nullptr) {
            continue;
        }
        const std::string valore = Ansi(dati.valore(campo.campo));
        if (valore.find_first_not_of(' ') == std::string::npos) {
            continue;
        }
        const Rettangolo area = AreaValore(campo);
        const TestoAdattato testo = AdattaTesto(pdf, valore, area, campo.corpoMassimo, campo.grassetto);
        // The lines sit on the field's line, the last one lowest.
        const float passo = interlinea(testo.corpo);
        const float ultima = area.basso() - DaPunti(testo.corpo * kDiscendente);
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
    Carattere(pdf, data.corpo, data.grassetto);
    const float dopo = pdf.TextLength(Ansi(data.testo + QLatin1Char(' ')));
    pdf.DrawText(data.x + dopo, data.y, Ansi(dataStampa.toString(QStringLiteral("dd/MM/yyyy"))));
}

} // namespace ondavia
