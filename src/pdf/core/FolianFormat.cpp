// Numbers, colours and strings as they are written into the file.
#include "core/AsciiCase.h"
#include "core/Folian.h"
#include "core/Formatting.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace folian {

namespace {

// Reads a leading decimal number the way the colour notations expect: optional blanks and
// sign, digits with "." as decimal point; anything unreadable counts as 0.
double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    if (i < text.size() && text[i] == '+') {
        ++i;
    }
    double value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        return 0;
    }
    return value;
}

// The last two hexadecimal digits of a whole number, as the colour notations keep them.
std::string lastTwoHex(long long value)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    const auto bits = static_cast<unsigned long long>(value);
    std::string out(2, '0');
    out[0] = digits[(bits >> 4) & 0xF];
    out[1] = digits[bits & 0xF];
    return out;
}

// |x| in whole thousandths, halves away from zero. The shifted value is held in single
// precision before it is cut, as every figure the writer has produced was computed that way.
long long roundedThousandths(float x)
{
    const float shifted = static_cast<float>(std::fabs(static_cast<double>(x)) * 1000.0 + 0.5);
    // Not below 0.5: cutting the fraction is rounding down.
    return static_cast<long long>(shifted);
}

constexpr std::ptrdiff_t kEscapeBlock = 16;

// Whether any of the kEscapeBlock bytes at `p` is a backslash, a parenthesis, CR or LF. Written
// without branches so that the compiler tests the whole block at once.
inline bool mayNeedEscape(const char* p)
{
    unsigned char any = 0;
    for (std::ptrdiff_t i = 0; i < kEscapeBlock; ++i) {
        const auto c = static_cast<unsigned char>(p[i]);
        // "(" and ")" differ only in their lowest bit.
        any |= static_cast<unsigned char>((c == '\\') | ((c | 1) == ')') | (c == '\r') | (c == '\n'));
    }
    return any != 0;
}

struct NamedColor {
    const char* name;
    const char* color;
};

constexpr std::array<NamedColor, 35> kNamedColors{{
    {"BLACK", "#000000"},     {"GRAY", "#808080"},        {"SILVER", "#C0C0C0"},    {"WHITE", "#FFFFFF"},
    {"MAROON", "#800000"},    {"RED", "#FF0000"},         {"PURPLE", "#800080"},    {"FUCHSIA", "#FF00FF"},
    {"MAGENTA", "#FF00FF"},   {"GREEN", "#008000"},       {"LIME", "#00FF00"},      {"OLIVE", "#808000"},
    {"YELLOW", "#FFFF00"},    {"NAVY", "#000080"},        {"BLUE", "#0000FF"},      {"TEAL", "#008080"},
    {"AQUA", "#00FFFF"},      {"CYAN", "#00FFFF"},        {"ORANGE", "#FF7F00"},    {"AZURE", "#F0FFFF"},
    {"GOLD", "#FFD700"},      {"LIGHTBLUE", "#ADD8E6"},   {"LIGHTCYAN", "#E0FFFF"}, {"LIGHTGREEN", "#90EE90"},
    {"LIGHTPINK", "#FFB6C1"}, {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"},    {"VIOLET", "#EE82EE"},
    {"PINK", "#FFC0CB"},      {"IVORY", "#FFFFF0"},       {"DARKGRAY", "#A9A9A9"},  {"DARKCYAN", "#008B8B"},
    {"DARKBLUE", "#00008B"},  {"BROWN", "#A52A2A"},       {"BEIGE", "#F5F5DC"},
}};

} // namespace

char* writeReal(char* out, float x)
{
    // Whole thousandths, then at most seven significant digits as a single-precision value
    // shows them; always fixed notation, which is the only one a PDF reader accepts.
    long long thousandths = roundedThousandths(x);
    if (thousandths >= 10000000) {
        long long scale = 1;
        while (thousandths / scale >= 10000000) {
            scale *= 10;
        }
        thousandths = (thousandths + scale / 2) / scale * scale;
    }
    if (thousandths == 0) {
        *out++ = '0';
        return out;
    }
    if (x < 0) {
        *out++ = '-';
    }
    out = std::to_chars(out, out + kRealSize - 5, thousandths / 1000).ptr;
    int fraction = static_cast<int>(thousandths % 1000);
    if (fraction != 0) {
        *out++ = '.';
        *out++ = static_cast<char>('0' + fraction / 100);
        fraction %= 100;
        if (fraction != 0) {
            *out++ = static_cast<char>('0' + fraction / 10);
            fraction %= 10;
            if (fraction != 0) {
                *out++ = static_cast<char>('0' + fraction);
            }
        }
    }
    return out;
}

void appendReal(std::string& out, float x)
{
    char text[kRealSize];
    out.append(text, static_cast<std::size_t>(writeReal(text, x) - text));
}

namespace {

// What each byte becomes after its backslash; 0 for a byte that stands as it is.
constexpr auto kEscape = [] {
    std::array<char, 256> table{};
    table[static_cast<unsigned char>('\\')] = '\\';
    table[static_cast<unsigned char>('(')] = '(';
    table[static_cast<unsigned char>(')')] = ')';
    table[static_cast<unsigned char>('\r')] = 'r';
    table[static_cast<unsigned char>('\n')] = 'n';
    return table;
}();

// Calls plain(first, last) for each run of bytes that stand as they are and escaped(c) for each
// byte that needs a backslash, in the order of the text.
template <typename Plain, typename Escaped> void forEachEscapeRun(std::string_view text, Plain plain, Escaped escaped)
{
    const char* run = text.data();
    const char* const end = run + text.size();
    const char* p = run;
    for (;;) {
        // A block at a time while none of its bytes needs an escape.
        while (end - p >= kEscapeBlock && !mayNeedEscape(p)) {
            p += kEscapeBlock;
        }
        const char* const stop = end - p >= kEscapeBlock ? p + kEscapeBlock : end;
        for (; p != stop; ++p) {
            const char c = kEscape[static_cast<unsigned char>(*p)];
            if (c != 0) {
                plain(run, p);
                escaped(c);
                run = p + 1;
            }
        }
        if (p == end) {
            break;
        }
    }
    plain(run, end);
}

// Bytes that stand in a PDF name as they are.
constexpr auto kRegular = [] {
    std::array<bool, 256> table{};
    for (int byte = 33; byte < 127; ++byte) {
        table[static_cast<std::size_t>(byte)] =
            std::string_view("()<>[]{}/%#").find(static_cast<char>(byte)) == std::string_view::npos;
    }
    return table;
}();

} // namespace

void appendEscaped(std::string& out, std::string_view text)
{
    forEachEscapeRun(
        text,
        [&out](const char* first, const char* last) { out.append(first, static_cast<std::size_t>(last - first)); },
        [&out](char c) {
            const char pair[2] = {'\\', c};
            out.append(pair, 2);
        });
}

char* writeEscaped(char* out, std::string_view text)
{
    forEachEscapeRun(
        text,
        [&out](const char* first, const char* last) {
            std::memcpy(out, first, static_cast<std::size_t>(last - first));
            out += last - first;
        },
        [&out](char c) {
            *out++ = '\\';
            *out++ = c;
        });
    return out;
}

char* writeName(char* out, std::string_view name)
{
    // Font names come from callers and from font files; bytes that would end or corrupt a PDF
    // name are written as #XX, and a NUL byte, which no name may hold, is left out.
    static constexpr char digits[] = "0123456789ABCDEF";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (kRegular[byte]) {
            *out++ = c;
        } else if (byte != 0) {
            *out++ = '#';
            *out++ = digits[byte >> 4];
            *out++ = digits[byte & 0xF];
        }
    }
    return out;
}

void appendName(std::string& out, std::string_view name)
{
    char text[64];
    if (name.size() <= sizeof text / 3) {
        out.append(text, static_cast<std::size_t>(writeName(text, name) - text));
        return;
    }
    std::string escaped(name.size() * 3, '\0');
    escaped.resize(static_cast<std::size_t>(writeName(escaped.data(), name) - escaped.data()));
    out += escaped;
}

uint32_t parseColorRGB(std::string_view color)
{
    const std::string_view digits = color.substr(std::min<std::size_t>(1, color.size()), 6);
    uint32_t rgb = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), rgb, 16);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
        throw Error(ErrorCode::TypeMismatch, "Type mismatch: colour \"" + std::string(color) + "\"");
    }
    return rgb;
}

void appendColorRGB(std::string& out, uint32_t rgb)
{
    // The 256 texts of a colour byte, value / 255 in the number form, made once.
    static const auto kByteTexts = [] {
        std::array<std::string, 256> texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            appendReal(texts[i], static_cast<float>(static_cast<double>(i) / 255.0));
        }
        return texts;
    }();
    out += kByteTexts[(rgb >> 16) & 0xFF];
    out += ' ';
    out += kByteTexts[(rgb >> 8) & 0xFF];
    out += ' ';
    out += kByteTexts[rgb & 0xFF];
}

float Folian::RoundTo3Decimals(float x)
{
    const double rounded = static_cast<double>(roundedThousandths(x)) * 0.001;
    return static_cast<float>(x < 0 ? -rounded : rounded);
}

std::string Folian::FormatReal(float x)
{
    std::string text;
    appendReal(text, x);
    return text;
}

std::string Folian::FormatUnits(float value) const
{
    return FormatReal(toPoints(value));
}

std::string Folian::ColorByteToText(uint8_t value)
{
    return FormatReal(static_cast<float>(value / 255.0));
}

std::string Folian::FormatColorRGB(std::string_view color)
{
    std::string text;
    appendColorRGB(text, parseColorRGB(color));
    return text;
}

std::string Folian::BoolToText(bool value)
{
    return value ? "true" : "false";
}

std::string Folian::EscapeString(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    appendEscaped(out, text);
    return out;
}

std::string Folian::FormatName(std::string_view name)
{
    std::string out;
    out.reserve(name.size());
    appendName(out, name);
    return out;
}

std::string Folian::FormatTextString(std::string_view text)
{
    if (text.empty()) {
        return "()";
    }
    if (ProtectionOn == 0) {
        return "(" + EscapeString(text) + ")";
    }
    std::vector<uint8_t> bytes(text.begin(), text.end());
    int32_t object = 0;
    RC4Crypt(GetObjectKey(object), bytes);
    return "(" + EscapeString(std::string(bytes.begin(), bytes.end())) + ")";
}

std::string Folian::FormatShownText(std::string_view text)
{
    // Where PDFDocEncoding and Windows-1252 part: accents of 0x18-0x1F, the signs and quotes
    // of 0x80-0x9F (0x92, a right quote in Windows-1252, reads as a trade mark sign), 0xA0 (the
    // euro sign there, a no-break space here) and 0xAD.
    const auto differs = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 0x18 && byte <= 0x1F) || (byte >= 0x80 && byte <= 0xA0) || byte == 0xAD;
    };
    if (std::none_of(text.begin(), text.end(), differs)) {
        return FormatTextString(text);
    }
    std::string utf16 = "\xFE\xFF";
    utf16.reserve(2 + 2 * text.size());
    for (const char c : text) {
        char32_t code = Cp1252CodePoint(static_cast<unsigned char>(c));
        if (code == 0 && c != '\0') {
            code = 0xFFFD; // a byte the code page leaves undefined
        }
        utf16 += static_cast<char>((code >> 8) & 0xFF);
        utf16 += static_cast<char>(code & 0xFF);
    }
    return FormatTextString(utf16);
}

void Folian::ParseColor(std::string& spec, std::string& second)
{
    second.clear();
    if (spec.empty()) {
        return;
    }
    switch (spec[0]) {
    case '#':
        spec = spec.substr(0, 7);
        return;
    case '%': {
        const double percent = leadingNumber(std::string_view(spec).substr(1));
        const long long grey = 255 - static_cast<long long>(std::floor(percent * 255.0 / 100.0));
        const std::string part = lastTwoHex(grey);
        spec = "#" + part + part + part;
        return;
    }
    case '@': {
        std::string text = ReplaceText(std::string_view(spec).substr(1), ",", ".");
        const std::vector<std::string_view> parts = SplitText(text, ";");
        std::array<double, 3> channel{};
        if (parts.size() == 4) {
            const double k = leadingNumber(parts[3]);
            for (std::size_t i = 0; i < 3; ++i) {
                channel[i] = std::fabs(100.0 - (leadingNumber(parts[i]) + k)) * 2.55;
            }
        } else if (parts.size() == 3) {
            for (std::size_t i = 0; i < 3; ++i) {
                channel[i] = leadingNumber(parts[i]);
            }
        } else {
            spec.clear();
            return;
        }
        spec = "#";
        for (double value : channel) {
            // Halves go to the even neighbour, as the colour pickers that produced these
            // notations rounded them.
            spec += lastTwoHex(static_cast<long long>(std::nearbyint(value)));
        }
        return;
    }
    default:
        break;
    }
    const std::vector<std::string_view> parts = SplitText(spec, ";");
    const std::string first = asciiTrimUpper(parts[0]);
    for (const NamedColor& named : kNamedColors) {
        if (first == named.name) {
            spec = named.color;
            return;
        }
    }
    // Read before spec, which the parts lie in, changes.
    const bool hasSecond = parts.size() > 1;
    std::string secondText = hasSecond ? asciiTrimUpper(parts[1]) : std::string();
    spec = first;
    if (hasSecond) {
        second = std::move(secondText);
        std::string ignored;
        ParseColor(second, ignored);
    }
}

} // namespace folian
