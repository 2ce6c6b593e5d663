// Numbers, colours and strings as they are written into the file.
#include "core/AsciiCase.h"
#include "core/Folian.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

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

float Folian::RoundTo3Decimals(float x)
{
    const double rounded = static_cast<double>(roundedThousandths(x)) * 0.001;
    return static_cast<float>(x < 0 ? -rounded : rounded);
}

std::string Folian::FormatReal(float x)
{
    // Whole thousandths, then at most seven significant digits as a single-precision value
    // shows them; always fixed notation, which is the only one a PDF reader accepts.
    const bool negative = x < 0;
    long long thousandths = roundedThousandths(x);
    long long scale = 1;
    while (thousandths / scale >= 10000000) {
        scale *= 10;
    }
    if (scale > 1) {
        thousandths = (thousandths + scale / 2) / scale * scale;
    }
    if (thousandths == 0) {
        return "0";
    }
    char text[48];
    char* out = text;
    if (negative) {
        *out++ = '-';
    }
    out = std::to_chars(out, text + sizeof text, thousandths / 1000).ptr;
    long long fraction = thousandths % 1000;
    if (fraction != 0) {
        *out++ = '.';
        int width = 3;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --width;
        }
        char digits[4] = {'0', '0', '0', '\0'};
        for (int i = width - 1; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        for (int i = 0; i < width; ++i) {
            *out++ = digits[i];
        }
    }
    return std::string(text, out);
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
    const std::string_view digits = color.substr(std::min<std::size_t>(1, color.size()), 6);
    unsigned long rgb = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), rgb, 16);
    if (digits.empty() || result.ec != std::errc() || result.ptr != digits.data() + digits.size()) {
        throw Error(ErrorCode::TypeMismatch, "Type mismatch: colour \"" + std::string(color) + "\"");
    }
    return ColorByteToText(static_cast<uint8_t>((rgb >> 16) & 0xFF)) + " " +
           ColorByteToText(static_cast<uint8_t>((rgb >> 8) & 0xFF)) + " " +
           ColorByteToText(static_cast<uint8_t>(rgb & 0xFF));
}

std::string Folian::BoolToText(bool value)
{
    return value ? "true" : "false";
}

std::string Folian::EscapeString(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '(':
            out += "\\(";
            break;
        case ')':
            out += "\\)";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string Folian::FormatName(std::string_view name)
{
    // Font names come from callers and from font files; bytes that would end or corrupt a PDF
    // name are written as #XX, and a NUL byte, which no name may hold, is left out.
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            continue;
        }
        const bool delimiter = std::string_view("()<>[]{}/%#").find(c) != std::string_view::npos;
        const bool regular = byte > 32 && byte < 127 && !delimiter;
        if (regular) {
            out += c;
        } else {
            out += '#';
            out += digits[byte >> 4];
            out += digits[byte & 0xF];
        }
    }
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
