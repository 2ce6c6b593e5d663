#include "DatiNascita.h"

#include "Comuni.h"
#include "Dates.h"
#include "Dichiarazioni.h"
#include "Testi.h"

namespace ondavia {

namespace {

constexpr char16_t kMesi[] = u"ABCDEHLMPRST";
// The letters that stand for the digits 0-9 in omocode fiscal codes.
constexpr char16_t kOmocodici[] = u"LMNPQRSTUV";
// Positions (0-based) of the digits an omocode code may write as letters: year, day, cadastral number.
constexpr int kCifreOmocodiche[] = {6, 7, 9, 10, 12, 13, 14};

std::optional<int> dueCifre(QStringView testo)
{
    const auto cifra = [](QChar ch) { return ch >= u'0' && ch <= u'9'; };
    if (testo.size() != 2 || !cifra(testo[0]) || !cifra(testo[1])) {
        return std::nullopt;
    }
    return (testo[0].unicode() - u'0') * 10 + (testo[1].unicode() - u'0');
}

QString zeroDavanti(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

} // namespace

std::optional<DatiNascita> leggiDatiNascita(const QString& codice, const QDate& oggi)
{
    // Counted in characters: one outside the basic plane is one character of the code, read as no letter
    // or digit at all.
    const QList<uint> caratteri = maiuscole(codice).toUcs4();
    if (caratteri.size() != 16) {
        return std::nullopt;
    }
    QString c;
    for (const uint u : caratteri) {
        c.append(u > 0xFFFF ? QChar(QChar::ReplacementCharacter) : QChar(static_cast<char16_t>(u)));
    }
    for (const int p : kCifreOmocodiche) {
        const qsizetype cifra = QStringView(kOmocodici).indexOf(c[p]);
        if (cifra >= 0) {
            c[p] = QChar(u'0' + static_cast<char16_t>(cifra));
        }
    }

    DatiNascita dati;
    const qsizetype indiceMese = QStringView(kMesi).indexOf(c[8]);
    const int mese = indiceMese >= 0 ? static_cast<int>(indiceMese) + 1 : 0;

    QString giorno = c.mid(9, 2);
    const std::optional<int> numeroGiorno = dueCifre(giorno);
    dati.sesso = QStringLiteral("M");
    if (numeroGiorno && *numeroGiorno > 40) {
        dati.sesso = QStringLiteral("F");
        giorno = zeroDavanti(*numeroGiorno - 40);
    }

    QString anno = QStringLiteral("19") + c.mid(6, 2);
    if (const std::optional<int> aa = dueCifre(c.mid(6, 2))) {
        anno = QString::number(annoNascita(*aa, mese, giorno.toInt(), oggi));
    }
    dati.data = giorno + QLatin1Char('/') + zeroDavanti(mese) + QLatin1Char('/') + anno;
    dati.catastale = c.mid(11, 4);
    return dati;
}

bool cercaLuogoNascita(DatiNascita& dati, QString* errore)
{
    const auto fallito = [errore](const QString& motivo) {
        if (errore) {
            *errore = motivo;
        }
        return false;
    };
    dati.luogoTrovato = false;
    CifreData = dati.catastale;
    SQL = QStringLiteral("SELECT * From T_COMUNICF WHERE key_tab=") + Apici(dati.catastale);
    if (!rsAppoggio.Open(SQL, Conn)) {
        return fallito(rsAppoggio.lastError());
    }
    for (; !rsAppoggio.Eof(); rsAppoggio.MoveNext()) {
        const QString nome = NoNull(rsAppoggio.Fields(QStringLiteral("DESCRIZION")).Value());
        const QString provincia = NoNull(rsAppoggio.Fields(QStringLiteral("CD_PROV")).Value());
        if (!dati.luogoTrovato) {
            dati.comune = nome;
            dati.provincia = provincia;
            dati.luogoTrovato = true;
        }
        std::optional<Comune> attuale;
        QString motivo;
        if (!cercaComune(nome, provincia, &attuale, &motivo)) {
            return fallito(motivo);
        }
        if (attuale && attuale->provincia.compare(provincia, Qt::CaseInsensitive) == 0) {
            dati.comune = nome;
            dati.provincia = provincia;
            break;
        }
    }
    return true;
}

} // namespace ondavia
