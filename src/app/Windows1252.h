#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>

namespace ondavia::cp1252 {

// Windows-1252, the code page in which every file the program writes or reads holds its text, and in
// which character codes are counted (the clean-up of typed text, the backup scrambling).
// All 256 bytes decode: the five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// stand for the control characters of the same number, as Windows itself reads them, so any byte
// survives a decode/encode round trip.

// The code of a character, or -1 when the code page has none for it.
int codeOf(QChar character);

// The character of a code 0-255; a null QChar for any other number.
QChar charOf(int code);

// The position of the first character that has no code, or -1 when the whole text can be encoded.
qsizetype firstUnencodable(QStringView text);

// Encodes a text. A character without a code becomes '?' (a surrogate pair one '?'), as an ANSI
// file would hold it; `firstBad`, when given, receives the position of the first such character or -1.
// Callers that must not lose text check with firstUnencodable() first and tell the user.
QByteArray encode(QStringView text, qsizetype* firstBad = nullptr);

QString decode(QByteArrayView bytes);
// Decodes into *text, whose memory is kept from call to call: for a reader of many lines.
void decode(QByteArrayView bytes, QString* text);

} // namespace ondavia::cp1252
