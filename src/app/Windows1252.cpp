#include "Windows1252.h"

#include <array>

namespace ondavia::cp1252 {

namespace {

// 0x80-0x9F are where the code page differs from Latin-1; everything else is the same number.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

int codeOf(QChar character)
{
    const char16_t u = character.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    for (int i = 0; i < static_cast<int>(kHigh.size()); ++i) {
        if (kHigh[i] == u) {
            return 0x80 + i;
        }
    }
    return -1;
}

QChar charOf(int code)
{
    if (code < 0 || code > 0xFF) {
        return {};
    }
    if (code >= 0x80 && code < 0xA0) {
        return QChar(kHigh[code - 0x80]);
    }
    return QChar(static_cast<char16_t>(code));
}

qsizetype firstUnencodable(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (codeOf(text[i]) < 0) {
            return i;
        }
    }
    return -1;
}

QByteArray encode(QStringView text, qsizetype* firstBad)
{
    // Written in place rather than appended byte by byte: every line of a backup comes through here.
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    qsizetype n = 0;
    if (firstBad) {
        *firstBad = -1;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int code = codeOf(text[i]);
        if (code >= 0) {
            out[n++] = static_cast<char>(code);
            continue;
        }
        if (firstBad && *firstBad < 0) {
            *firstBad = i;
        }
        out[n++] = '?';
        // One character outside the basic plane is one '?', not two.
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
    }
    bytes.truncate(n);
    return bytes;
}

QString decode(QByteArrayView bytes)
{
    QString text;
    decode(bytes, &text);
    return text;
}

void decode(QByteArrayView bytes, QString* text)
{
    // The characters of the 256 bytes, looked up once: every byte of a restored backup is decoded.
    static const std::array<char16_t, 256> characters = [] {
        std::array<char16_t, 256> table{};
        for (int b = 0; b < 256; ++b) {
            table[static_cast<std::size_t>(b)] = charOf(b).unicode();
        }
        return table;
    }();
    text->resize(bytes.size());
    char16_t* out = reinterpret_cast<char16_t*>(text->data());
    for (const char b : bytes) {
        *out++ = characters[static_cast<unsigned char>(b)];
    }
}

} // namespace ondavia::cp1252
