#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace folian {

// The big-endian integer of `size` bytes (2 or 4; any other size gives 0) at `position`.
// Raises Error SubscriptOutOfRange when the bytes lie outside `data`, and Overflow for an
// unsigned 4-byte value that a signed 32-bit result cannot hold.
int32_t ReadBigEndian(const std::vector<uint8_t>& data, int64_t position, int size, bool isUnsigned);

// What the writer needs of a TrueType font file: its name, the widths of the character codes
// 0-255 and the values of a PDF font descriptor, all in thousandths of the font size.
struct TrueTypeFace {
    std::string FullName; // name id 4, one character per 16-bit unit, blanks left out
    bool Bold = false;    // weight class above 500
    double ItalicAngle = 0;
    bool FixedPitch = false;
    bool Symbol = false; // the Windows character map has encoding 0
    std::array<int16_t, 256> Widths{};
    int16_t MissingWidth = 0;
    int16_t Ascent = 0;
    int16_t Descent = 0; // negative below the baseline
    int16_t MaxWidth = 0;
    int16_t AvgWidth = 0;
    std::array<int16_t, 4> BoundingBox{}; // x min, y min, x max, y max of the glyphs of codes 0-255

    // "Bold", "Italic", "BoldItalic" or empty.
    std::string StyleWord() const;
    // Ascent plus the magnitude of the descent; ReadTrueTypeFace makes sure it fits.
    int16_t Height() const;
};

// Reads a font file held in memory. Raises Error InvalidFileFormat when a table that the writer
// needs is missing or any table lies outside the file, SubscriptOutOfRange or Overflow when a
// value points outside its table or cannot be held; nothing is read outside `file`.
TrueTypeFace ReadTrueTypeFace(const std::vector<uint8_t>& file);

// The glyph of each code 0-255 from the Windows character map (format 4) of the "cmap" table
// at `cmapOffset`, searched only within `cmapLength` bytes. Each code is looked up as the code
// point of the same number, except that in a Unicode map codes 128-159 are looked up as their
// Windows-1252 characters, and that in a symbol map the codes of the private range F020-F0FF
// fall onto 32-255. Codes without a mapping get glyph 0; so do all codes when the font has no Windows
// map of format 4. `symbol` reports a Windows map of encoding 0.
std::array<uint16_t, 256> MapCharacterCodes(const std::vector<uint8_t>& file, int64_t cmapOffset, int64_t cmapLength,
                                            bool& symbol);

} // namespace folian
