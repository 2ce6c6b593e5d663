#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace folian {

// The writer's texts appended where they will be written from, with no string in between. The
// write functions put them at `out`, which must have room for them, and return their end.

// The most characters writeReal writes.
inline constexpr std::size_t kRealSize = 32;
char* writeReal(char* out, float x);
// At most twice the text's size.
char* writeEscaped(char* out, std::string_view text);
// At most three times the name's size.
char* writeName(char* out, std::string_view name);

// A colour as "#RRGGBB", which the colour setters keep without a companion.
inline bool isPlainColor(std::string_view color)
{
    return color.size() == 7 && color[0] == '#';
}

// A number's text kept for the next time the same number comes, as a text line's font size and
// left edge do line after line.
class RealText {
public:
    // The text writeReal writes for x.
    std::string_view of(float x)
    {
        if (!m_valid || std::memcmp(&x, &m_value, sizeof x) != 0) {
            m_size = static_cast<std::size_t>(writeReal(m_text, x) - m_text);
            m_value = x;
            m_valid = true;
        }
        return {m_text, m_size};
    }

private:
    float m_value = 0;
    bool m_valid = false;
    std::size_t m_size = 0;
    char m_text[kRealSize] = {};
};

inline char* writeText(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// A literal, whose length the compiler knows.
template <std::size_t N> char* writeText(char* out, const char (&text)[N])
{
    std::memcpy(out, text, N - 1);
    return out + (N - 1);
}

// An indirect reference to an object, as "12 0 R".
inline std::string ref(int32_t object)
{
    return std::to_string(object) + " 0 R";
}

// A number in the writer's form: rounded to thousandths (halves away from zero), at most seven
// significant digits, a point as decimal separator, no trailing zeros, "0" for zero.
void appendReal(std::string& out, float x);
// A text inside a PDF literal string: backslash, both parentheses, CR and LF escaped.
void appendEscaped(std::string& out, std::string_view text);
// A name after its "/": bytes that would end or corrupt a PDF name as #XX, NUL bytes left out.
void appendName(std::string& out, std::string_view name);
// The red, green and blue of a "#RRGGBB" colour as 0xRRGGBB; raises TypeMismatch when the six
// characters after the first are not hexadecimal digits.
uint32_t parseColorRGB(std::string_view color);
// The three operands of a colour read by parseColorRGB, such as "1 0.502 0".
void appendColorRGB(std::string& out, uint32_t rgb);

} // namespace folian
