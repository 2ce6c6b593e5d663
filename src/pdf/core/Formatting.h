#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace folian {

// The writer's texts appended where they will be written from, with no string in between.

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
