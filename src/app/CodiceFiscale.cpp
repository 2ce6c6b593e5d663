#include "CodiceFiscale.h"

#include "Dichiarazioni.h"
#include "Testi.h"

#include <algorithm>
#include <array>

namespace ondavia {

namespace {

// Values of the check-character computation at odd positions (1, 3, ..., 15), for 0-9 then A-Z.
// Even positions count digits 0-9 and letters 0-25.
constexpr std::array<int, 10> kDispariCifre = {1, 0, 5, 7, 9, 13, 15, 17, 19, 21};
constexpr std::array<int, 26> kDispariLettere = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                                 20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

// The letters that stand for the digits 0-9 in omocode fiscal codes.
constexpr char16_t kOmocodici[] = u"LMNPQRSTUV";

bool cercaCatastale(const QString& catastale, bool* trovato, QString* errore)
{
    if (!rsComuniCF.isOpen()) {
        if (errore) {
            *errore = QStringLiteral("La tabella dei codici catastali non è aperta");
        }
        return false;
    }
    rsComuniCF.MoveFirst();
    if (!rsComuniCF.Find(QStringLiteral("KEY_TAB =") + Apici(catastale))) {
        if (errore) {
            *errore = rsComuniCF.lastError();
        }
        return false;
    }
    *trovato = !rsComuniCF.Eof();
    return true;
}

} // namespace

std::int16_t ControllaCF(const QString& codice, QString* errore)
{
    // Counted in characters, not in UTF-16 units: a character outside the basic plane (an emoji) is one
    // character, never cut in half between the check part and the cadastral part.
    QList<uint> c = maiuscole(codice).toUcs4();
    // A VAT number is eleven digits and nothing else: no check digit is tested, but a dash, an apostrophe or
    // a blank would be saved and written to the agency as the subject's code.
    if (c.size() == 11) {
        const bool cifre = std::all_of(c.cbegin(), c.cend(), [](uint ch) { return ch >= U'0' && ch <= U'9'; });
        return cifre ? 0 : 1;
    }

    c.resize(16, U' ');
    int somma = 0;
    for (int p = 1; p <= 15; ++p) {
        const uint ch = c[p - 1];
        int valore = -1;
        if (ch >= U'0' && ch <= U'9') {
            const auto n = static_cast<std::size_t>(ch - U'0');
            valore = p % 2 == 0 ? static_cast<int>(n) : kDispariCifre[n];
        } else if (ch >= U'A' && ch <= U'Z') {
            const auto n = static_cast<std::size_t>(ch - U'A');
            valore = p % 2 == 0 ? static_cast<int>(n) : kDispariLettere[n];
        }
        // A character that is neither letter nor digit adds nothing, so the sum of a code with such
        // characters falls below the offset and gives a check character outside A-Z.
        if (valore >= 0) {
            somma += valore + 1;
        }
    }
    const int atteso = 65 + (somma - 15) % 26;
    if (c[15] != static_cast<uint>(atteso)) {
        return static_cast<std::int16_t>(atteso);
    }

    const QString catastale = QString::fromUcs4(reinterpret_cast<const char32_t*>(c.constData()) + 11, 4);
    bool trovato = false;
    if (!cercaCatastale(catastale, &trovato, errore)) {
        return CFNonVerificabile;
    }
    if (trovato) {
        return 0;
    }
    QString motivo;
    if (ControllaOmocodia(catastale, &motivo)) {
        return 0;
    }
    if (!motivo.isEmpty()) {
        if (errore) {
            *errore = motivo;
        }
        return CFNonVerificabile;
    }
    return 1;
}

bool ControllaOmocodia(const QString& catastale, QString* errore)
{
    QString w = catastale;
    for (int posizione = 4; posizione >= 1; --posizione) {
        if (posizione > w.size()) {
            continue;
        }
        for (int cifra = 0; cifra <= 9; ++cifra) {
            if (w[posizione - 1] != QChar(kOmocodici[cifra])) {
                continue;
            }
            w[posizione - 1] = QChar(u'0' + cifra);
            bool trovato = false;
            if (!cercaCatastale(w, &trovato, errore)) {
                return false;
            }
            if (trovato) {
                return true;
            }
        }
    }
    return false;
}

} // namespace ondavia
