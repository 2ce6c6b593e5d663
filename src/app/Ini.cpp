#include "Ini.h"

#include "Dichiarazioni.h"

#include <QFile>
#include <QStringDecoder>

namespace ondavia {

namespace {

constexpr qsizetype MaxValueLength = 127;

QString decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        text = QString::fromLatin1(bytes); // an ANSI file from an older installation
    }
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    return text;
}

} // namespace

QString leggiIniDa(const QString& file, const QString& sezione, const QString& chiave)
{
    QFile ini(file);
    if (!ini.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = decode(ini.readAll());
    bool inSection = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            const QStringView name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            inSection = name.compare(sezione, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(QLatin1Char(';'))) {
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0 || line.left(equals).trimmed().compare(chiave, Qt::CaseInsensitive) != 0) {
            continue;
        }
        QStringView value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front()) {
            value = value.mid(1, value.size() - 2);
        }
        return value.left(MaxValueLength).toString();
    }
    return {};
}

QString LeggiIni(const QString& sezione, const QString& chiave)
{
    return leggiIniDa(FileIni, sezione, chiave);
}

} // namespace ondavia
