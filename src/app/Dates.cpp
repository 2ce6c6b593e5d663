#include "Dates.h"

#include "Dichiarazioni.h"
#include "Testi.h"

#include <QRegularExpression>

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

// The date that a "d/m/y" text reads as: one or two digits for day and month, two or four for the
// year, "/", "-" or "." between them.
std::optional<QDate> leggiData(const QString& testo)
{
    static const QRegularExpression forma(QStringLiteral(R"(^(\d{1,2})[/.-](\d{1,2})[/.-](\d{2}|\d{4})$)"));
    const auto m = forma.match(senzaSpazi(testo));
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    int anno = m.captured(3).toInt();
    if (m.captured(3).size() == 2) {
        anno = annoQuattroCifre(anno);
    } else if (anno < 100) {
        return std::nullopt;
    }
    const QDate data(anno, m.captured(2).toInt(), m.captured(1).toInt());
    if (!data.isValid()) {
        return std::nullopt;
    }
    return data;
}

} // namespace

void InizializzaDate(const QDate& oggi)
{
    Oggi = oggi;
    OggiTesto = oggi.toString(QStringLiteral("ddMMyyyy"));
}

std::int16_t ValidaData(QString& valore)
{
    DataFormattata.clear();
    if (valore.isEmpty() || valore == QLatin1String("0.00.00") || valore == QLatin1String("00:00:00")) {
        return 0;
    }
    if (valore.size() < 6 || valore.size() > 10) {
        return 1;
    }

    CifreData = QString(8, QLatin1Char(' '));
    int cifre = 0;
    for (const QChar c : valore) {
        if (c < u'0' || c > u'9') {
            continue;
        }
        if (cifre == 8) {
            return 1;
        }
        CifreData[cifre++] = c;
    }
    valore = CifreData;

    // Two-digit years are always of this century.
    if (CifreData.mid(6, 2) == QLatin1String("  ")) {
        CifreData = CifreData.left(4) + QLatin1String("20") + CifreData.mid(4, 2);
    }
    const QString giorno = CifreData.mid(0, 2);
    const QString mese = CifreData.mid(2, 2);
    const QString anno = CifreData.mid(4, 4);

    const auto numeroMese = numeroIntero(mese);
    if (!numeroMese || *numeroMese < 1 || *numeroMese > 12) {
        return 1;
    }
    const auto numeroGiorno = numeroIntero(giorno);
    // Day and the month's length are compared as texts, which for two digits is their numeric order.
    if (!numeroGiorno || *numeroGiorno < 1 || giorno > GiorniMese(mese, anno)) {
        return 1;
    }
    DataFormattata = giorno + QLatin1Char('/') + mese + QLatin1Char('/') + anno;
    return 2;
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

std::optional<QString> DataGGMMAAAA(const QString& valore)
{
    if (valore.isEmpty()) {
        return QString();
    }
    const auto data = leggiData(valore);
    if (!data) {
        return std::nullopt;
    }
    return valore.mid(0, 2) + valore.mid(3, 2) + QStringLiteral("%1").arg(data->year(), 4, 10, QLatin1Char('0'));
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
    if (testo.size() == 10 && (testo.mid(6, 2) == QLatin1String("19") || testo.mid(6, 2) == QLatin1String("20"))) {
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
