#pragma once

#include <QByteArray>
#include <QString>

#include <cctype>

namespace ondavia {

// A SHA-256 digest written in hexadecimal (either case, blanks allowed between the digits) as its 32 bytes;
// an empty array when the text is not 64 hexadecimal digits. Inline: the program and its network module
// both read digests, and share no library.
inline QByteArray sha256Digest(const QString& text)
{
    QByteArray hex = text.toLatin1().trimmed();
    hex.replace(' ', QByteArray());
    if (hex.size() != 64) {
        return {};
    }
    for (const char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return {};
        }
    }
    return QByteArray::fromHex(hex);
}

} // namespace ondavia
