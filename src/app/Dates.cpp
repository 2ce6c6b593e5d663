#include "Dates.h"

#include "Dichiarazioni.h"
#include "Testi.h"

#include <tuple>

namespace ondavia {

namespace {

bool soloCifre(QStringView testo)
{
    if (testo.isEmpty()) {
        return false;
    }
    for (const QChar c : testo) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// A whole number as the register read day and month: blanks around it allowed, a sign allowed.
std::optional<int> numeroIntero(const QString& testo)
{
    QString t = senzaSpazi(testo);
    bool negativo = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negativo = t.startsWith(u'-');
        t.remove(0, 1);
    }
    if (!soloCifre(t) || t.size() > 6) {
        return std::nullopt;
    }
    const int n = t.toInt();
    return negativo ? -n : n;
}

bool bisestile(int anno)
{
    return (anno % 4 == 0 && anno % 100 != 0) || anno % 400 == 0;
}

// A two-digit year the way the desktop reads one: 00-29 in this century, 30-99 in the last.
int annoQuattroCifre(int anno)
{
    return anno < 30 ? 2000 + anno : 1900 + anno;
}

// A typed date read once, for the form's check and for the communication file alike: what one accepts
// the other writes.
struct DataLetta {
    std::int16_t esito = 1;     // 0 empty, 1 not valid, 2 valid
    bool cifreRaccolte = false; // the digits were collected (length 6-10, at most eight digits)
    QString cifre;              // those digits, blank-filled to eight characters
    QString formattata;         // dd/mm/yyyy when valid
};

DataLetta letturaData(const QString& valore, Secolo secolo)
{
    DataLetta letta;
    if (valore.isEmpty() || valore == QLatin1String("0.00.00") || valore == QLatin1String("00:00:00")) {
        letta.esito = 0;
        return letta;
    }
    if (valore.size() < 6 || valore.size() > 10) {
        return letta;
    }

    QString cifre(8, QLatin1Char(' '));
    int quante = 0;
    for (const QChar c : valore) {
        if (c < u'0' || c > u'9') {
            continue;
        }
        if (quante == 8) {
            return letta;
        }
        cifre[quante++] = c;
    }
    letta.cifreRaccolte = true;
    letta.cifre = cifre;

    // ddmmyy or ddmmyyyy and nothing else: seven digits ("01/01/201") or fewer ("01/02/", "1/2/80") would
    // leave blanks inside the year, or a day or month of one digit, which no file can carry as ddmmyyyy.
    if (quante == 6) {
        // Two-digit years are of this century, birth dates aside.
        QString anno = QLatin1String("20") + cifre.mid(4, 2);
        if (secolo == Secolo::Nascita) {
            anno = QString::number(annoNascita(cifre.mid(4, 2).toInt(), cifre.mid(2, 2).toInt(),
                                               cifre.mid(0, 2).toInt(), QDate::currentDate()));
        }
        cifre = cifre.left(4) + anno;
    } else if (quante != 8) {
        return letta;
    }
    const QString giorno = cifre.mid(0, 2);
    const QString mese = cifre.mid(2, 2);
    const QString anno = cifre.mid(4, 4);
    // A year before 1000 ("0099") is a typing slip, not a date of the register.
    if (anno.startsWith(u'0')) {
        return letta;
    }
    const int numeroMese = mese.toInt();
    if (numeroMese < 1 || numeroMese > 12) {
        return letta;
    }
    // Day and the month's length are compared as texts, which for two digits is their numeric order.
    if (giorno.toInt() < 1 || giorno > GiorniMese(mese, anno)) {
        return letta;
    }
    letta.esito = 2;
    letta.formattata = giorno + QLatin1Char('/') + mese + QLatin1Char('/') + anno;
    return letta;
}

} // namespace

int annoNascita(int aa, int mese, int giorno, const QDate& oggi)
{
    constexpr int kEtaMinima = 16;
    const auto compleanno = std::make_tuple(2000 + aa + kEtaMinima, mese, giorno);
    return compleanno <= std::make_tuple(oggi.year(), oggi.month(), oggi.day()) ? 2000 + aa : 1900 + aa;
}

void InizializzaDate(const QDate& oggi)
{
    Oggi = oggi;
    OggiTesto = oggi.toString(QStringLiteral("ddMMyyyy"));
}

std::int16_t ValidaData(QString& valore, Secolo secolo)
{
    const DataLetta letta = letturaData(valore, secolo);
    if (letta.cifreRaccolte) {
        CifreData = letta.cifre;
        valore = letta.cifre;
    }
    DataFormattata = letta.formattata;
    return letta.esito;
}

std::optional<QDate> leggiData(const QString& valore, Secolo secolo)
{
    const DataLetta letta = letturaData(valore, secolo);
    if (letta.esito != 2) {
        return std::nullopt;
    }
    const QDate data = QDate::fromString(letta.formattata, QStringLiteral("dd/MM/yyyy"));
    return data.isValid() ? std::optional<QDate>(data) : std::nullopt;
}

QString GiorniMese(const QString& mese, const QString& anno)
{
    const auto m = numeroIntero(mese);
    if (!m || *m <= 0) {
        return {};
    }
    switch (*m) {
    case 2:
        // A 29 February of a known common year must never reach the tax agency's file.
        if (anno.size() == 4 && soloCifre(anno) && !bisestile(anno.toInt())) {
            return QStringLiteral("28");
        }
        return QStringLiteral("29");
    case 1:
    case 3:
    case 5:
    case 7:
    case 8:
    case 10:
    case 12:
        return QStringLiteral("31");
    default:
        return QStringLiteral("30");
    }
}

std::optional<QString> DataGGMMAAAA(const QString& valore, Secolo secolo)
{
    const DataLetta letta = letturaData(valore, secolo);
    switch (letta.esito) {
    case 0:
        return QString();
    case 2:
        return QString(letta.formattata).remove(QLatin1Char('/'));
    default:
        return std::nullopt;
    }
}

QString OggiAAAAMMGG(const QDate& oggi)
{
    return QString::number(oggi.year()) + *DueCifre(QString::number(oggi.month())) +
           *DueCifre(QString::number(oggi.day()));
}

std::optional<QString> DueCifre(const QString& valore)
{
    const QString t = senzaSpazi(valore);
    if (t.size() > 2) {
        return std::nullopt;
    }
    return t.rightJustified(2, QLatin1Char('0'));
}

std::optional<QDate> TestoInData(QString& testo)
{
    testo = senzaSpazi(testo);
    if (testo.left(2) == QLatin1String("00")) {
        return db::zeroDate();
    }
    QString giorno;
    QString mese;
    int anno = 0;
    const QString secolo = testo.mid(6, 2);
    const bool secoloLetto =
        soloCifre(secolo) && secolo.toInt() >= PrimoAnnoBackup / 100 && secolo.toInt() <= UltimoAnnoBackup / 100;
    if (testo.size() == 10 && secoloLetto) {
        giorno = testo.mid(0, 2);
        mese = testo.mid(3, 2);
        if (!soloCifre(testo.mid(6, 4))) {
            return std::nullopt;
        }
        anno = testo.mid(6, 4).toInt();
    } else if (testo.size() == 8) {
        giorno = testo.mid(0, 2);
        mese = testo.mid(3, 2);
        if (!soloCifre(testo.mid(6, 2))) {
            return std::nullopt;
        }
        anno = annoQuattroCifre(testo.mid(6, 2).toInt());
    } else {
        return db::zeroDate();
    }
    if (!soloCifre(giorno) || !soloCifre(mese)) {
        return std::nullopt;
    }
    const QDate data(anno, mese.toInt(), giorno.toInt());
    if (!data.isValid()) {
        return std::nullopt;
    }
    return data;
}

QString InvertiData(const QString& testo)
{
    if (senzaSpazi(testo).isEmpty() || testo.left(2) == QLatin1String("00")) {
        return {};
    }
    if (testo.mid(2, 1) == QLatin1String("/")) {
        return testo.mid(6, 4) + testo.mid(3, 2) + testo.mid(0, 2);
    }
    return testo.mid(6, 2) + QLatin1Char('/') + testo.mid(4, 2) + QLatin1Char('/') + testo.mid(0, 4);
}

} // namespace ondavia
