// Reading the tables of a TrueType font file. Every read is checked against the table it belongs
// to, so a damaged file is refused with an error instead of being read out of bounds.
#include "text/TrueTypeFace.h"

#include "core/Cp1252.h"
#include "core/Error.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace folian {

namespace {

struct Table {
    int64_t offset = 0;
    int64_t length = 0;
};

// Reads of one table: positions are relative to the table and must stay inside it.
class TableReader {
public:
    TableReader(const std::vector<uint8_t>& data, Table table, const char* tag)
        : m_data(data), m_table(table), m_tag(tag)
    {
    }

    int32_t u16(int64_t at) const { return read(at, 2, true); }
    int32_t s16(int64_t at) const { return read(at, 2, false); }
    int32_t u32(int64_t at) const { return read(at, 4, true); }
    int32_t s32(int64_t at) const { return read(at, 4, false); }
    uint8_t byte(int64_t at) const
    {
        check(at, 1);
        return m_data[static_cast<std::size_t>(m_table.offset + at)];
    }
    int64_t length() const { return m_table.length; }

private:
    void check(int64_t at, int size) const
    {
        if (at < 0 || at + size > m_table.length) {
            throw Error(ErrorCode::SubscriptOutOfRange,
                        std::string("Subscript out of range: a value lies outside the \"") + m_tag + "\" table");
        }
    }
    int32_t read(int64_t at, int size, bool isUnsigned) const
    {
        check(at, size);
        return ReadBigEndian(m_data, m_table.offset + at, size, isUnsigned);
    }

    const std::vector<uint8_t>& m_data;
    Table m_table;
    const char* m_tag;
};

// Thousandths of the font size, rounded half to even as the metrics of the file are scaled.
int16_t scaled(double scale, double value)
{
    const double rounded = std::nearbyint(scale * value);
    if (rounded < std::numeric_limits<int16_t>::min() || rounded > std::numeric_limits<int16_t>::max()) {
        throw Error(ErrorCode::Overflow, "Overflow: a font metric does not fit in 16 bits");
    }
    return static_cast<int16_t>(rounded);
}

std::map<std::string, Table> readDirectory(const std::vector<uint8_t>& file)
{
    const Table whole{0, static_cast<int64_t>(file.size())};
    const TableReader header(file, whole, "table directory");
    const int32_t count = header.u16(4);
    std::map<std::string, Table> tables;
    for (int32_t i = 0; i < count; ++i) {
        const int64_t entry = 12 + 16 * static_cast<int64_t>(i);
        std::string tag;
        for (int k = 0; k < 4; ++k) {
            const auto c = static_cast<char>(header.byte(entry + k));
            if (c != ' ') {
                tag += c;
            }
        }
        const int64_t offset = header.s32(entry + 8);
        const int64_t length = static_cast<uint32_t>(header.s32(entry + 12));
        if (offset < 0 || offset + length > whole.length) {
            throw Error(ErrorCode::InvalidFileFormat,
                        "Invalid file format: the \"" + tag + "\" table lies outside the file (truncated?)");
        }
        tables[tag] = Table{offset, length};
    }
    return tables;
}

std::string readFullName(const TableReader& name, bool symbol)
{
    static constexpr int32_t kEnglish[] = {1033, 2057, 3081, 4105, 5129, 6153};
    const int32_t count = name.u16(2);
    const int32_t storage = name.u16(4);
    int64_t chosen = -1;
    for (int32_t j = 0; j < count; ++j) {
        const int64_t record = 6 + 12 * static_cast<int64_t>(j);
        if (name.u16(record) != 3 || name.u16(record + 2) != (symbol ? 0 : 1) || name.u16(record + 6) != 4) {
            continue;
        }
        // The first full name stands unless an English one follows it.
        if (chosen < 0) {
            chosen = record;
            continue;
        }
        const int32_t language = name.u16(record + 4);
        if (std::find(std::begin(kEnglish), std::end(kEnglish), language) != std::end(kEnglish)) {
            chosen = record;
            break;
        }
    }
    std::string text;
    if (chosen < 0) {
        return text;
    }
    const int64_t length = name.u16(chosen + 8);
    const int64_t start = storage + static_cast<int64_t>(name.u16(chosen + 10));
    for (int64_t k = 1; k < length; k += 2) {
        const auto c = static_cast<char>(name.byte(start + k));
        if (c != ' ' && c != '\0') {
            text += c;
        }
    }
    return text;
}

} // namespace

int32_t ReadBigEndian(const std::vector<uint8_t>& data, int64_t position, int size, bool isUnsigned)
{
    if (size != 2 && size != 4) {
        return 0;
    }
    if (position < 0 || position + size > static_cast<int64_t>(data.size())) {
        throw Error(ErrorCode::SubscriptOutOfRange, "Subscript out of range");
    }
    int64_t v = 0;
    for (int k = 0; k < size; ++k) {
        v = v * 256 + data[static_cast<std::size_t>(position + k)];
    }
    if (size == 2) {
        if (!isUnsigned && v > 32767) {
            v -= 65536;
        }
    } else if (isUnsigned) {
        if (v > std::numeric_limits<int32_t>::max()) {
            throw Error(ErrorCode::Overflow, "Overflow");
        }
    } else if (v > std::numeric_limits<int32_t>::max()) {
        v -= 4294967296LL;
    }
    return static_cast<int32_t>(v);
}

std::array<uint16_t, 256> MapCharacterCodes(const std::vector<uint8_t>& file, int64_t cmapOffset, int64_t cmapLength,
                                            bool& symbol)
{
    std::array<uint16_t, 256> glyph{};
    const TableReader cmap(file, Table{cmapOffset, cmapLength}, "cmap");
    const int32_t records = cmap.u16(2);
    int64_t subtable = -1;
    for (int32_t j = 0; j < records; ++j) {
        const int64_t record = 4 + 8 * static_cast<int64_t>(j);
        if (cmap.u16(record) != 3) {
            continue;
        }
        symbol = cmap.u16(record + 2) == 0;
        const int64_t offset = cmap.u32(record + 4);
        if (cmap.u16(offset) == 4) {
            subtable = offset;
            break;
        }
    }
    if (subtable < 0) {
        return glyph;
    }
    const int64_t n = cmap.u16(subtable + 6); // twice the number of segments
    struct Segment {
        int32_t firstCode;
        int32_t lastCode;
        int32_t delta;
        int64_t rangeEntry;
        int32_t rangeOffset;
    };
    auto segment = [&](int64_t k) {
        const int64_t rangeEntry = subtable + 16 + 3 * n + 2 * k;
        return Segment{cmap.u16(subtable + 16 + n + 2 * k), cmap.u16(subtable + 14 + 2 * k),
                       cmap.s16(subtable + 16 + 2 * n + 2 * k), rangeEntry, cmap.u16(rangeEntry)};
    };
    auto glyphOf = [&](const Segment& seg, int32_t code) {
        int32_t g = 0;
        if (seg.rangeOffset != 0) {
            g = cmap.u16(seg.rangeEntry + seg.rangeOffset + 2 * static_cast<int64_t>(code - seg.firstCode));
            if (g != 0) {
                g += seg.delta;
            }
        } else {
            g = seg.delta + code;
        }
        return static_cast<uint16_t>(g & 0xFFFF);
    };

    for (int64_t k = 0; 2 * k < n; ++k) {
        const Segment seg = segment(k);
        // In a symbol map the low 12 bits put the private-use codes F020-F0FF onto 32-255. A
        // Unicode map is read by code point: cutting its codes would lay characters such as
        // U+2013 over the codes 0-255.
        const int32_t first = symbol ? seg.firstCode & 4095 : seg.firstCode;
        int32_t last = symbol ? seg.lastCode & 4095 : seg.lastCode;
        if (first > 255) {
            break;
        }
        const bool final = last >= 255;
        if (final) {
            last = 255;
        }
        for (int32_t c = first; c <= last; ++c) {
            glyph[static_cast<std::size_t>(c)] = glyphOf(seg, seg.firstCode + (c - first));
        }
        if (final) {
            break;
        }
    }
    if (symbol) {
        return glyph;
    }
    // The characters of codes 128-159 (euro sign, typographic quotes, dashes...) have code points
    // far above 255; a Unicode map is asked for those.
    for (int32_t c = 128; c < 160; ++c) {
        const char32_t codePoint = Cp1252CodePoint(static_cast<unsigned char>(c));
        if (codePoint == 0) {
            continue;
        }
        for (int64_t k = 0; 2 * k < n; ++k) {
            const Segment seg = segment(k);
            if (seg.lastCode >= static_cast<int32_t>(codePoint)) {
                if (seg.firstCode <= static_cast<int32_t>(codePoint)) {
                    glyph[static_cast<std::size_t>(c)] = glyphOf(seg, static_cast<int32_t>(codePoint));
                }
                break;
            }
        }
    }
    return glyph;
}

std::string TrueTypeFace::StyleWord() const
{
    std::string word = Bold ? "Bold" : "";
    if (ItalicAngle != 0) {
        word += "Italic";
    }
    return word;
}

int16_t TrueTypeFace::Height() const
{
    return static_cast<int16_t>(Ascent + std::abs(Descent));
}

TrueTypeFace ReadTrueTypeFace(const std::vector<uint8_t>& file)
{
    const std::map<std::string, Table> tables = readDirectory(file);
    auto require = [&](const char* tag) {
        const auto found = tables.find(tag);
        if (found == tables.end()) {
            throw Error(ErrorCode::InvalidFileFormat,
                        std::string("Invalid file format: the font has no \"") + tag + "\" table");
        }
        return found->second;
    };
    auto table = [&](const char* tag) { return TableReader(file, require(tag), tag); };
    const TableReader os2 = table("OS/2");
    const TableReader head = table("head");
    const TableReader hhea = table("hhea");
    const TableReader hmtx = table("hmtx");
    const TableReader glyf = table("glyf");
    const TableReader loca = table("loca");
    const TableReader post = table("post");
    const TableReader name = table("name");
    const Table cmap = require("cmap");

    TrueTypeFace face;
    const int32_t unitsPerEm = head.u16(18);
    if (unitsPerEm == 0) {
        throw Error(ErrorCode::InvalidFileFormat, "Invalid file format: the font has 0 units per em");
    }
    const double s = 1000.0 / unitsPerEm;
    const bool shortOffsets = head.s16(50) == 0;
    face.AvgWidth = scaled(s, os2.s16(2));
    face.Bold = os2.u16(4) > 500;
    face.Ascent = scaled(s, os2.u16(74));
    face.Descent = scaled(s, -os2.u16(76));
    // The line height is kept in 16 bits too; each half fitting does not make their sum fit.
    if (face.Ascent + std::abs(static_cast<int32_t>(face.Descent)) > std::numeric_limits<int16_t>::max()) {
        throw Error(ErrorCode::Overflow, "Overflow: the font's line height does not fit in 16 bits");
    }
    face.MaxWidth = scaled(s, hhea.u16(10));
    // Glyphs past the last full metric share its advance width.
    const int32_t fullMetrics = hhea.u16(34);
    if (fullMetrics == 0) {
        throw Error(ErrorCode::InvalidFileFormat, "Invalid file format: the font has no advance widths");
    }
    auto advance = [&](int32_t g) { return hmtx.u16(4 * static_cast<int64_t>(std::min(g, fullMetrics - 1))); };
    face.MissingWidth = scaled(s, advance(0));
    const double angle = post.s16(4) + post.u16(6) / 65536.0;
    face.ItalicAngle = std::nearbyint(angle * 100.0) / 100.0;
    face.FixedPitch = post.s32(12) != 0;

    const std::array<uint16_t, 256> glyphs = MapCharacterCodes(file, cmap.offset, cmap.length, face.Symbol);
    std::array<int32_t, 4> box{};
    for (std::size_t c = 0; c < 256; ++c) {
        const int32_t g = glyphs[c];
        face.Widths[c] = scaled(s, advance(g));
        const int64_t start = shortOffsets ? 2 * static_cast<int64_t>(loca.u16(2 * g)) : loca.u32(4 * g);
        const int64_t end = shortOffsets ? 2 * static_cast<int64_t>(loca.u16(2 * g + 2)) : loca.u32(4 * g + 4);
        if (end <= start) {
            continue; // no outline
        }
        // An outline reaching past its table, or too short for the header read below, is damage
        // like any other: the font is refused rather than embedded.
        if (end > glyf.length() || end - start < 10) {
            throw Error(ErrorCode::SubscriptOutOfRange,
                        "Subscript out of range: a glyph does not lie whole inside the \"glyf\" table");
        }
        if (glyf.s16(start) < 0) {
            continue; // a composite glyph
        }
        box[0] = std::min(box[0], glyf.s16(start + 2));
        box[1] = std::min(box[1], glyf.s16(start + 4));
        box[2] = std::max(box[2], glyf.s16(start + 6));
        box[3] = std::max(box[3], glyf.s16(start + 8));
    }
    for (std::size_t i = 0; i < 4; ++i) {
        face.BoundingBox[i] = scaled(s, box[i]);
    }
    face.FullName = readFullName(name, face.Symbol);
    return face;
}

} // namespace folian
