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
    return static_cast<long long>(std::floor(static_cast<double>(shifted)));
}

// Whether any of the eight bytes at `p` is a backslash, a parenthesis, CR or LF.
inline bool mayNeedEscape(const char* p)
{
    uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    constexpr uint64_t ones = 0x0101010101010101ull;
    constexpr uint64_t highs = 0x8080808080808080ull;
    // True when some byte of `bytes` is zero.
    const auto anyZero = [](uint64_t bytes) { return ((bytes - ones) & ~bytes & highs) != 0; };
    // "(" and ")" differ only in their lowest bit, so one test finds both.
    return anyZero(word ^ (ones * '\\')) || anyZero((word | ones) ^ (ones * ')')) || anyZero(word ^ (ones * '\r')) ||
           anyZero(word ^ (ones * '\n'));
}

struct NamedColor {
    const char* name;
    const char* color;
};

constexpr std::array<NamedColor, 35> kNamedColors{{
    {"BLACK", "#000000"},     {"GRAY", "#808080"},       {"SILVER", "#C0C0C0"},     {"WHITE", "#FFFFFF"},
    {"MAROON", "#800000"},    {"RED", "#FF0000"},        {"PURPLE", "#800080"},     {"FUCHSIA", "#FF00FF"},
    {"MAGENTA", "#FF00FF"},   {"GREEN", "#008000"},      {"LIME", "#00FF00"},       {"OLIVE", "#808000"},
    {"YELLOW", "#FFFF00"},    {"NAVY", "#000080"},       {"BLUE", "#0000FF"},       {"TEAL", "#008080"},
    {"AQUA", "#00FFFF"},      {"CYAN", "#00FFFF"},       {"ORANGE", "#FF7F00"},     {"AZURE", "#F0FFFF"},
    {"GOLD", "#FFD700"},      {"LIGHTBLUE", "#ADD8E6"},  {"LIGHTCYAN", "#E0FFFF"},  {"LIGHTGREEN", "#90EE90"},
    {"LIGHTPINK", "#FFB6C1"}, {"LIGHTYELLOW", "#FFFFE0"}, {"TOMATO", "#FF6347"},    {"VIOLET", "#EE82EE"},
    {"PINK", "#FFC0CB"},      {"IVORY", "#FFFFF0"},      {"DARKGRAY", "#A9A9A9"},   {"DARKCYAN", "#008B8B"},
    {"DARKBLUE", "#00008B"},  {"BROWN", "#A52A2A"},      {"BEIGE", "#F5F5DC"},
}};

} // namespace

void appendReal(std::string& out, float x)
{
    // Whole thousandths, then at most seven significant digits as a single-precision value
    // shows them; always fixed notation, which is the only one a PDF reader accepts.
    long long thousandths = roundedThousandths(x);
    long long scale = 1;
    while (thousandths / scale >= 10000000) {
        scale *= 10;
    }
    if (scale > 1) {
        thousandths = (thousandths + scale / 2) / scale * scale;
    }
    if (thousandths == 0) {
        out += '0';
        return;
    }
    char text[32];
    char* end = text;
    if (x < 0) {
        *end++ = '-';
    }
    end = std::to_chars(end, text + sizeof text, thousandths / 1000).ptr;
    int fraction = static_cast<int>(thousandths % 1000);
    if (fraction != 0) {
        *end++ = '.';
        *end++ = static_cast<char>('0' + fraction / 100);
        fraction %= 100;
        if (fraction != 0) {
            *end++ = static_cast<char>('0' + fraction / 10);
            fraction %= 10;
            if (fraction != 0) {
                *end++ = static_cast<char>('0' + fraction);
            }
        }
    }
    out.append(text, end);
}

void appendEscaped(std::string& out, std::string_view text)
{
    // What each byte becomes after its backslash; 0 for a byte that stands as it is.
    static constexpr auto kEscape = [] {
        std::array<char, 256> table{};
        table[static_cast<unsigned char>('\\')] = '\\';
        table[static_cast<unsigned char>('(')] = '(';
        table[static_cast<unsigned char>(')')] = ')';
        table[static_cast<unsigned char>('\r')] = 'r';
        table[static_cast<unsigned char>('\n')] = 'n';
        return table;
    }();
    const char* run = text.data();
    const char* const end = run + text.size();
    const char* p = run;
    for (;;) {
        // Eight bytes at a time while none of them needs an escape.
        while (end - p >= 8 && !mayNeedEscape(p)) {
            p += 8;
        }
        const char* const stop = end - p >= 8 ? p + 8 : end;
        for (; p != stop; ++p) {
            const char escaped = kEscape[static_cast<unsigned char>(*p)];
            if (escaped != 0) {
                out.append(run, p);
                const char pair[2] = {'\\', escaped};
                out.append(pair, 2);
                run = p + 1;
            }
        }
        if (p == end) {
            break;
        }
    }
    out.append(run, end);
}

void appendName(std::string& out, std::string_view name)
{
    // Font names come from callers and from font files; bytes that would end or corrupt a PDF
    // name are written as #XX, and a NUL byte, which no name may hold, is left out.
    static constexpr auto kRegular = [] {
        std::array<bool, 256> table{};
        for (int byte = 33; byte < 127; ++byte) {
            table[static_cast<std::size_t>(byte)] = std::string_view("()<>[]{}/%#").find(static_cast<char>(byte)) ==
                                                    std::string_view::npos;
        }
        return table;
    }();
    static constexpr char digits[] = "0123456789ABCDEF";
    const auto regular = [](char c) { return kRegular[static_cast<unsigned char>(c)]; };
    if (std::all_of(name.begin(), name.end(), regular)) {
        out.append(name);
        return;
    }
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            continue;
        }
        if (regular(c)) {
            out += c;
        } else {
            out += '#';
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        }
    }
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
    return FormatReal(static_cast<float>(static_cast<double>(ScaleFactor) * value));
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
        const std::vector<std::string> parts = SplitText(text, ";");
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
    const std::vector<std::string> parts = SplitText(spec, ";");
    const std::string first = asciiTrimUpper(parts[0]);
    for (const NamedColor& named : kNamedColors) {
        if (first == named.name) {
            spec = named.color;
            return;
        }
    }
    spec = first;
    if (parts.size() > 1) {
        second = asciiTrimUpper(parts[1]);
        std::string ignored;
        ParseColor(second, ignored);
    }
}

} // namespace folian
