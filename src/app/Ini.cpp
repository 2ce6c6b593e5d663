#include "Ini.h"

#include "Dichiarazioni.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace ondavia {

namespace {

constexpr qsizetype MaxValueLength = 127;
// A configuration is a few lines: what a larger file holds past this is not read.
constexpr qint64 MaxFileBytes = 1 << 20;

// Decodes the whole text strictly: an undecodable file reads as empty, so every key keeps its default.
QString decodeStrict(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    const bool utf16 = encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE;
    if (utf16 && bytes.size() % 2 != 0) {
        return {};
    }
    QStringDecoder decoder(encoding, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    return decoder.hasError() ? QString() : text;
}

// A byte-order mark names the encoding: Notepad saves "Unicode" as UTF-16 with one. Without a mark the
// file is UTF-8 when it reads as such, else the Windows code page older installations wrote.
QString decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xFE")) {
        return decodeStrict(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xFE\xFF")) {
        return decodeStrict(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2));
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return decodeStrict(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3));
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    return utf8.hasError() ? cp1252::decode(bytes) : text;
}

} // namespace

QString leggiIniDa(const QString& file, const QString& sezione, const QString& chiave)
{
    // Only a file is read: opening a named pipe would wait for a writer, and a device (a link to
    // /dev/zero) would never end.
    QFile ini(file);
    if (!QFileInfo(file).isFile() || !ini.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = decode(ini.read(MaxFileBytes));
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
