#pragma once

#include <string>
#include <string_view>

namespace folian {

// Upper-cases the letters a-z only: font and resource names compare this way whatever the locale,
// and bytes above 127 (Windows-1252 letters) are left as they are.
inline std::string asciiUpper(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return out;
}

// Drops leading and trailing blanks and upper-cases a-z: colour and pattern names are matched
// this way.
inline std::string asciiTrimUpper(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string_view::npos) {
        return std::string();
    }
    return asciiUpper(text.substr(begin, text.find_last_not_of(' ') + 1 - begin));
}

} // namespace folian
