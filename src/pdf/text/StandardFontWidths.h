#pragma once

#include <array>
#include <cstdint>

namespace folian {

// Advance widths of the standard fonts in thousandths of the font size, indexed by character
// code: Windows-1252 for the text families, the fonts' own encodings for Symbol and ZapfDingbats.
using FontWidths = std::array<int16_t, 256>;

extern const std::array<FontWidths, 4> kArialWidths;         // by style: 0 regular, 1 bold, 2 italic, 3 both
extern const std::array<FontWidths, 4> kTimesNewRomanWidths; // by style, as above
extern const FontWidths kCourierNewWidths;                   // every style
extern const FontWidths kSymbolWidths;
extern const FontWidths kZapfDingbatsWidths;

} // namespace folian
