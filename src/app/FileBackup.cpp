#include "FileBackup.h"

#include "Testi.h"
#include "db/Connection.h"

#include <QRegularExpression>

#include <cmath>

namespace ondavia {

namespace {

// The double with at most two decimals, rounded half away from zero as the number reads in decimal with
// 15 significant digits (so 1.005 gives "1,01", as it reads, not "1,00" as it is held in binary).
QString numeroConVirgola(double numero)
{
    if (!std::isfinite(numero)) {
        return QString::number(numero);
    }
    const QString decimale = QString::number(std::fabs(numero), 'g', 15);
    if (decimale.contains(QLatin1Char('e'))) {
        // Below 1e-5 nothing shows at two decimals; from 1e15 on every digit is whole.
        if (std::fabs(numero) < 1) {
            return QStringLiteral(",");
        }
        return QString::number(numero, 'f', 0) + QLatin1Char(',');
    }
    const qsizetype punto = decimale.indexOf(QLatin1Char('.'));
    qint64 intero = decimale.left(punto < 0 ? decimale.size() : punto).toLongLong();
    const QString cifre = punto < 0 ? QString() : decimale.mid(punto + 1);
    int centesimi = cifre.left(2).leftJustified(2, QLatin1Char('0')).toInt();
    if (cifre.size() > 2 && cifre[2] >= QLatin1Char('5')) {
        if (++centesimi == 100) {
            centesimi = 0;
            ++intero;
        }
    }
    QString testo = intero == 0 ? QString() : QString::number(intero);
    testo += QLatin1Char(',');
    if (centesimi != 0) {
        QString frazione = QString::number(centesimi).rightJustified(2, QLatin1Char('0'));
        if (frazione.endsWith(QLatin1Char('0'))) {
            frazione.chop(1);
        }
        testo += frazione;
    }
    if (numero < 0 && (intero != 0 || centesimi != 0)) {
        testo.prepend(QLatin1Char('-'));
    }
    return testo;
}

// A code read from a file may be of any length, while a file system takes names of 255 bytes at most:
// a longer code would make the safety copy, and with it the whole restore, impossible.
constexpr qsizetype kCaratteriCodiceNelNome = 40;

QString nomeSicuro(const QString& testo)
{
    QString nome = senzaSpazi(testo).left(kCaratteriCodiceNelNome);
    if (!nome.isEmpty() && nome.back().isHighSurrogate()) {
        nome.chop(1);
    }
    for (QChar& c : nome) {
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c)) {
            c = QLatin1Char('_');
        }
    }
    return nome;
}

} // namespace

qsizetype primoCarattereNonSalvabile(QStringView testo)
{
    for (qsizetype i = 0; i < testo.size(); ++i) {
        if (byteVoceBackup(testo[i]) < 0) {
            return i;
        }
    }
    return -1;
}

QString descriviCarattere(const QString& testo, qsizetype i)
{
    const QChar c = testo[i];
    if (c == u'\r' || c == u'\n') {
        return QStringLiteral("un a capo");
    }
    if (c == u'\0') {
        return QStringLiteral("un carattere nullo");
    }
    const bool coppia = c.isHighSurrogate() && i + 1 < testo.size() && testo[i + 1].isLowSurrogate();
    return QStringLiteral("il carattere \"%1\"").arg(testo.mid(i, coppia ? 2 : 1));
}

QString testoVoceBackup(const db::Value& valore, int tipoColonna)
{
    if (tipoColonna == db::adDouble &&
        (valore.kind() == db::Value::Kind::Double || valore.kind() == db::Value::Kind::Integer)) {
        return numeroConVirgola(valore.toDouble());
    }
    return senzaSpazi(valore.toText());
}

std::optional<double> numeroVoceBackup(const QString& voce)
{
    static const QRegularExpression numero(QStringLiteral(R"(^[+-]?(\d+([.,]\d*)?|[.,]\d+)$)"));
    const QString t = senzaSpazi(voce);
    if (t == QLatin1String(",")) {
        return 0.0;
    }
    if (!numero.match(t).hasMatch()) {
        return std::nullopt;
    }
    QString conPunto = t;
    conPunto.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double valore = conPunto.toDouble(&ok);
    if (!ok || !std::isfinite(valore)) {
        return std::nullopt;
    }
    return valore;
}

QString nomeBackupPredefinito(const QString& data)
{
    return QStringLiteral("SAVE_ONDAVIA_") + data + QStringLiteral(".REI");
}

QString nomeBackupSoggetto(const QString& codice, QString& nome, const QString& data)
{
    return QStringLiteral("SAVEtu_") + nomeSicuro(codice) + QLatin1Char('_') + SoloLettere(nome, 20) +
           QLatin1Char('_') + data + QStringLiteral(".REI");
}

QString nomeCopiaSicurezza(const QString& codice, const QString& data)
{
    return QStringLiteral("BFRR_") + nomeSicuro(codice) + QLatin1Char('_') + data + QStringLiteral(".REI");
}

QString filtroBackup()
{
    return QStringLiteral("BackUp ONDAVIA (*.REI)|*.REI");
}

} // namespace ondavia
