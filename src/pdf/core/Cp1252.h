#pragma once

#include <string>
#include <string_view>

namespace folian {

// Converts UTF-8 text to the Windows-1252 bytes the writer works in. Characters that the code
// page lacks, and malformed sequences, become "?".
std::string Utf8ToCp1252(std::string_view utf8);

// The Unicode code point of one Windows-1252 byte; 0 for the five bytes the code page leaves
// undefined.
char32_t Cp1252CodePoint(unsigned char byte);

// The reverse, for showing the writer's texts in a UTF-8 interface.
std::string Cp1252ToUtf8(std::string_view cp1252);

} // namespace folian
