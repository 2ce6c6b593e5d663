#include "Testi.h"

#include "Windows1252.h"

#include <QRegularExpression>

#include <cmath>

namespace ondavia {

namespace {

// The text from `inizio` to `fine`: the text itself, shared rather than copied, when that is all of it.
QString tratto(const QString& testo, qsizetype inizio, qsizetype fine)
{
    return inizio == 0 && fine == testo.size() ? testo : testo.mid(inizio, fine - inizio);
}

qsizetype primoNonSpazio(const QString& testo)
{
    qsizetype inizio = 0;
    while (inizio < testo.size() && testo[inizio] == u' ') {
        ++inizio;
    }
    return inizio;
}

qsizetype dopoUltimoNonSpazio(const QString& testo, qsizetype inizio)
{
    qsizetype fine = testo.size();
    while (fine > inizio && testo[fine - 1] == u' ') {
        --fine;
    }
    return fine;
}

} // namespace

QString senzaSpazi(const QString& testo)
{
    const qsizetype inizio = primoNonSpazio(testo);
    return tratto(testo, inizio, dopoUltimoNonSpazio(testo, inizio));
}

QStringView senzaSpazi(QStringView testo)
{
    while (!testo.isEmpty() && testo.front() == u' ') {
        testo = testo.sliced(1);
    }
    while (!testo.isEmpty() && testo.back() == u' ') {
        testo.chop(1);
    }
    return testo;
}

QString senzaSpaziIniziali(const QString& testo)
{
    return tratto(testo, primoNonSpazio(testo), testo.size());
}

QString maiuscole(const QString& testo)
{
    QString risultato = testo;
    for (QChar& c : risultato) {
        const QChar grande = c.toUpper();
        if (grande != c && (cp1252::codeOf(grande) >= 0 || cp1252::codeOf(c) < 0)) {
            c = grande;
        }
    }
    return risultato;
}

QString NoNull(const db::Value& valore)
{
    return valore.isNull() ? QString() : valore.toText();
}

QString Virgolette(const QString& testo)
{
    return QLatin1Char('"') + testo + QLatin1Char('"');
}

QString Apici(const QString& testo)
{
    return QLatin1Char('\'') + RaddoppiaApici(testo) + QLatin1Char('\'');
}

QString RaddoppiaApici(const QString& testo)
{
    QString risultato = testo;
    return risultato.replace(QLatin1Char('\''), QLatin1String("''"));
}

bool eControllo(QChar carattere)
{
    switch (carattere.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

qsizetype primoControllo(QStringView testo)
{
    for (qsizetype i = 0; i < testo.size(); ++i) {
        if (eControllo(testo[i])) {
            return i;
        }
    }
    return -1;
}

QString senzaControlli(const QString& testo)
{
    if (primoControllo(testo) < 0) {
        return testo;
    }
    QString pulito;
    pulito.reserve(testo.size());
    for (qsizetype i = 0; i < testo.size(); ++i) {
        if (!eControllo(testo[i])) {
            pulito.append(testo[i]);
        } else if (i == 0 || !eControllo(testo[i - 1])) {
            pulito.append(u' ');
        }
    }
    return pulito;
}

QString NormalizzaTesto(QString& testo)
{
    QString t = senzaControlli(testo);
    for (QChar& c : t) {
        switch (c.unicode()) {
        case u'(':
        case u')':
        case u'<':
        case u'>':
        case u'[':
        case u']':
        case u';':
        case u'|':
        case u',':
        case u'"':
            c = u' ';
            break;
        case u'à':
            c = u'a';
            break;
        case u'ò':
            c = u'o';
            break;
        case u'è':
        case u'é':
            c = u'e';
            break;
        case u'ì':
            c = u'i';
            break;
        case u'Ê':
            c = u'E';
            break;
        default:
            break;
        }
    }
    t = maiuscole(t);
    // Capitals with accents, by their code: the tax agency's records and the register want plain letters.
    // Ð, Ø, Ý, Þ, ß stay: that is how the register has always stored them.
    for (QChar& c : t) {
        const int code = cp1252::codeOf(c);
        if (code >= 192 && code <= 198) {
            c = u'A';
        } else if (code == 199) {
            c = u'C';
        } else if (code >= 200 && code <= 203) {
            c = u'E';
        } else if (code >= 204 && code <= 207) {
            c = u'I';
        } else if (code == 209) {
            c = u'N';
        } else if (code >= 210 && code <= 214) {
            c = u'O';
        } else if (code >= 217 && code <= 220) {
            c = u'U';
        }
    }
    testo = t;
    return t;
}

QString SoloLettere(QString& testo, int n)
{
    testo = senzaSpazi(maiuscole(testo));
    QString lettere;
    for (const QChar c : testo) {
        if (c >= u'A' && c <= u'Z') {
            lettere.append(c);
        }
    }
    return lettere.left(qMax(n, 0));
}

namespace {

// A decimal number with "." or "," as separator and an optional sign, as typed or stored.
std::optional<double> numeroDecimale(const QString& testo)
{
    QString t = testo;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression forma(QStringLiteral(R"(^[+-]?(\d+\.?\d*|\.\d+)$)"));
    if (!forma.match(t).hasMatch()) {
        return std::nullopt;
    }
    return t.toDouble();
}

} // namespace

std::optional<QString> ZeriSinistra(QString& valore, int& larghezza)
{
    if (larghezza == 0) {
        larghezza = 6;
    }
    valore = senzaSpazi(valore);
    double numero = 0;
    if (!valore.isEmpty()) {
        const auto letto = numeroDecimale(valore);
        if (!letto) {
            return std::nullopt;
        }
        numero = std::trunc(*letto);
        if (std::fabs(numero) > 9.0e18) {
            return std::nullopt;
        }
        valore = QString::number(static_cast<qint64>(numero));
    }
    const qsizetype riempimento = larghezza - valore.size();
    if (riempimento < 0) {
        return std::nullopt;
    }
    return QString(riempimento, numero >= 0 ? QLatin1Char('0') : QLatin1Char(' ')) + valore;
}

std::optional<QString> ZeriSinistra(QString& valore, int&& larghezza)
{
    int l = larghezza;
    return ZeriSinistra(valore, l);
}

} // namespace ondavia
