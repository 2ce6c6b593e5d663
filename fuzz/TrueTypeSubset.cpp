// Cutting a few glyphs out of a font into a font of their own.
#include "TrueTypeSubset.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace seeds {

namespace {

const char* const kFamily = "Ondavia Seed Sans";
const char* const kItalianFamily = "Ondavia Seme Sans";
const char* const kPostScriptName = "OndaviaSeedSans";

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what);
}

Bytes utf16(const std::string& latin1)
{
    Bytes out;
    for (char c : latin1) {
        append16(out, static_cast<unsigned char>(c));
    }
    return out;
}

uint32_t checksum(const Bytes& data, std::size_t offset, std::size_t length)
{
    uint32_t sum = 0;
    for (std::size_t i = 0; i < length; i += 4) {
        uint32_t word = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            word = (word << 8) | (i + k < length ? data[offset + i + k] : 0);
        }
        sum += word;
    }
    return sum;
}

// The glyph outlines, advance widths and side bearings of the source font.
struct Glyphs {
    explicit Glyphs(const SourceFont& source)
        : glyf(source.table("glyf")), loca(source.table("loca")), hmtx(source.table("hmtx")),
          shortOffsets(s16(source.table("head"), 50) == 0), fullMetrics(u16(source.table("hhea"), 34))
    {
    }

    const Bytes glyf;
    const Bytes loca;
    const Bytes hmtx;
    const bool shortOffsets;
    const int32_t fullMetrics;

    Bytes outline(int32_t g) const
    {
        const int64_t start = shortOffsets ? 2 * int64_t{u16(loca, 2 * g)} : u32(loca, 4 * g);
        const int64_t end = shortOffsets ? 2 * int64_t{u16(loca, 2 * g + 2)} : u32(loca, 4 * g + 4);
        return Bytes(glyf.begin() + start, glyf.begin() + end);
    }
    int32_t advance(int32_t g) const { return u16(hmtx, 4 * std::min(g, fullMetrics - 1)); }
    int32_t sideBearing(int32_t g) const
    {
        return g < fullMetrics ? u16(hmtx, 4 * g + 2) : u16(hmtx, 4 * fullMetrics + 2 * (g - fullMetrics));
    }
};

// The positions of the glyph numbers of a composite glyph's components.
std::vector<std::size_t> componentReferences(const Bytes& outline)
{
    std::vector<std::size_t> refs;
    if (outline.size() < 10 || s16(outline, 0) >= 0) {
        return refs;
    }
    std::size_t at = 10;
    for (;;) {
        const int32_t flags = u16(outline, static_cast<int64_t>(at));
        refs.push_back(at + 2);
        at += 4 + ((flags & 0x0001) ? 4 : 2);
        if (flags & 0x0008) {
            at += 2;
        } else if (flags & 0x0040) {
            at += 4;
        } else if (flags & 0x0080) {
            at += 8;
        }
        if (!(flags & 0x0020)) {
            return refs;
        }
    }
}

Bytes assemble(const std::map<std::string, Bytes>& tables)
{
    const auto count = static_cast<uint32_t>(tables.size());
    uint32_t searchRange = 16;
    uint32_t entrySelector = 0;
    while (searchRange * 2 <= 16 * count) {
        searchRange *= 2;
        ++entrySelector;
    }
    Bytes font;
    append32(font, 0x00010000);
    append16(font, count);
    append16(font, searchRange);
    append16(font, entrySelector);
    append16(font, 16 * count - searchRange);
    font.resize(12 + 16 * tables.size());
    std::size_t entry = 12;
    std::size_t headOffset = 0;
    for (const auto& [tag, data] : tables) {
        const std::size_t offset = font.size();
        if (tag == "head") {
            headOffset = offset;
        }
        font.insert(font.end(), data.begin(), data.end());
        font.resize((font.size() + 3) / 4 * 4);
        std::copy(tag.begin(), tag.end(), font.begin() + static_cast<std::ptrdiff_t>(entry));
        put32(font, entry + 4, checksum(font, offset, data.size()));
        put32(font, entry + 8, static_cast<uint32_t>(offset));
        put32(font, entry + 12, static_cast<uint32_t>(data.size()));
        entry += 16;
    }
    put32(font, headOffset + 8, 0xB1B0AFBAu - checksum(font, 0, font.size()));
    return font;
}

} // namespace

SourceFont SourceFont::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        fail("cannot open " + path);
    }
    SourceFont source;
    source.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const int32_t count = u16(source.file, 4);
    for (int32_t i = 0; i < count; ++i) {
        const int64_t entry = 12 + 16 * static_cast<int64_t>(i);
        const std::string tag(source.file.begin() + entry, source.file.begin() + entry + 4);
        const uint32_t offset = u32(source.file, entry + 8);
        const uint32_t length = u32(source.file, entry + 12);
        if (uint64_t{offset} + length > source.file.size()) {
            fail("the source font is damaged");
        }
        source.tables[tag] = {offset, length};
    }
    return source;
}

Bytes SourceFont::table(const std::string& tag) const
{
    const auto found = tables.find(tag);
    if (found == tables.end()) {
        fail("the source font has no \"" + tag + "\" table");
    }
    const auto [offset, length] = found->second;
    return Bytes(file.begin() + offset, file.begin() + offset + length);
}

TrueTypeSubset::TrueTypeSubset(const SourceFont& source, MapKind kind, bool shortOffsets)
    : m_source(source), m_kind(kind), m_shortOffsets(shortOffsets)
{
}

Bytes TrueTypeSubset::build(const std::vector<std::pair<uint32_t, int32_t>>& codeToSourceGlyph,
                            const std::vector<int32_t>& trailing) const
{
    const Glyphs glyphs(m_source);
    // Glyph 0 first, the mapped glyphs and their components, then the trailing glyphs.
    std::vector<int32_t> order{0};
    std::map<int32_t, int32_t> newIndex{{0, 0}};
    std::function<void(int32_t)> keep = [&](int32_t g) {
        if (newIndex.count(g) != 0) {
            return;
        }
        newIndex[g] = static_cast<int32_t>(order.size());
        order.push_back(g);
        const Bytes outline = glyphs.outline(g);
        for (std::size_t ref : componentReferences(outline)) {
            keep(u16(outline, static_cast<int64_t>(ref)));
        }
    };
    for (const auto& [code, g] : codeToSourceGlyph) {
        if (std::find(trailing.begin(), trailing.end(), g) == trailing.end()) {
            keep(g);
        }
    }
    for (int32_t g : trailing) {
        keep(g);
    }

    Bytes glyf;
    Bytes loca;
    Bytes hmtx;
    std::array<int32_t, 4> box{32767, 32767, -32768, -32768};
    int32_t widest = 0;
    auto locaEntry = [&](std::size_t at) {
        if (m_shortOffsets) {
            append16(loca, static_cast<uint32_t>(at / 2));
        } else {
            append32(loca, static_cast<uint32_t>(at));
        }
    };
    for (int32_t g : order) {
        locaEntry(glyf.size());
        Bytes outline = glyphs.outline(g);
        for (std::size_t ref : componentReferences(outline)) {
            put16(outline, ref, static_cast<uint32_t>(newIndex.at(u16(outline, static_cast<int64_t>(ref)))));
        }
        if (!outline.empty()) {
            box[0] = std::min(box[0], s16(outline, 2));
            box[1] = std::min(box[1], s16(outline, 4));
            box[2] = std::max(box[2], s16(outline, 6));
            box[3] = std::max(box[3], s16(outline, 8));
        }
        glyf.insert(glyf.end(), outline.begin(), outline.end());
        glyf.resize((glyf.size() + 3) / 4 * 4);
        widest = std::max(widest, glyphs.advance(g));
    }
    locaEntry(glyf.size());
    // Trailing glyphs of one advance width keep only their side bearings.
    std::size_t fullMetrics = order.size();
    while (fullMetrics > 1 && glyphs.advance(order[fullMetrics - 1]) == glyphs.advance(order[fullMetrics - 2])) {
        --fullMetrics;
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i < fullMetrics) {
            append16(hmtx, static_cast<uint32_t>(glyphs.advance(order[i])));
        }
        append16(hmtx, static_cast<uint32_t>(glyphs.sideBearing(order[i])));
    }

    Bytes head = m_source.table("head");
    put32(head, 8, 0);
    for (std::size_t i = 0; i < 4; ++i) {
        put16(head, 36 + 2 * i, static_cast<uint32_t>(box[i] & 0xFFFF));
    }
    put16(head, 50, m_shortOffsets ? 0 : 1);
    Bytes hhea = m_source.table("hhea");
    put16(hhea, 10, static_cast<uint32_t>(widest));
    put16(hhea, 34, static_cast<uint32_t>(fullMetrics));
    Bytes maxp = m_source.table("maxp");
    put16(maxp, 4, static_cast<uint32_t>(order.size()));
    Bytes post = m_source.table("post");
    post.resize(32);
    put32(post, 0, 0x00030000); // no glyph names

    std::vector<std::pair<uint32_t, int32_t>> map;
    for (const auto& [code, g] : codeToSourceGlyph) {
        map.emplace_back(code, newIndex.at(g));
    }
    std::sort(map.begin(), map.end());

    std::map<std::string, Bytes> tables{{"OS/2", m_source.table("OS/2")},
                                        {"cmap", characterMap(map)},
                                        {"glyf", glyf},
                                        {"head", head},
                                        {"hhea", hhea},
                                        {"hmtx", hmtx},
                                        {"loca", loca},
                                        {"maxp", maxp},
                                        {"name", names()},
                                        {"post", post}};
    return assemble(tables);
}

Bytes TrueTypeSubset::characterMap(const std::vector<std::pair<uint32_t, int32_t>>& map) const
{
    struct Segment {
        uint32_t first;
        uint32_t last;
        std::vector<int32_t> glyphs;
    };
    std::vector<Segment> segments;
    for (const auto& [code, g] : map) {
        if (!segments.empty() && segments.back().last + 1 == code) {
            segments.back().last = code;
            segments.back().glyphs.push_back(g);
        } else {
            segments.push_back(Segment{code, code, {g}});
        }
    }
    segments.push_back(Segment{0xFFFF, 0xFFFF, {0}});
    const auto count = static_cast<uint32_t>(segments.size());
    uint32_t searchRange = 2;
    uint32_t entrySelector = 0;
    while (searchRange * 2 <= 2 * count) {
        searchRange *= 2;
        ++entrySelector;
    }

    Bytes ends;
    Bytes starts;
    Bytes deltas;
    Bytes rangeOffsets;
    Bytes glyphArray;
    for (uint32_t k = 0; k < count; ++k) {
        const Segment& seg = segments[k];
        append16(ends, seg.last);
        append16(starts, seg.first);
        bool consecutive = true;
        for (std::size_t i = 1; i < seg.glyphs.size(); ++i) {
            consecutive = consecutive && seg.glyphs[i] == seg.glyphs[0] + static_cast<int32_t>(i);
        }
        const bool listed = seg.first != 0xFFFF && (!consecutive || (seg.first & 0xFF) == 'a');
        if (listed) {
            append16(deltas, 0);
            append16(rangeOffsets, static_cast<uint32_t>(2 * (count - k) + glyphArray.size()));
            for (int32_t g : seg.glyphs) {
                append16(glyphArray, static_cast<uint32_t>(g));
            }
        } else {
            const int32_t delta = seg.first == 0xFFFF ? 1 : seg.glyphs[0] - static_cast<int32_t>(seg.first);
            append16(deltas, static_cast<uint32_t>(delta & 0xFFFF));
            append16(rangeOffsets, 0);
        }
    }
    Bytes subtable;
    append16(subtable, 4);
    append16(subtable, 0); // length, set below
    append16(subtable, 0);
    append16(subtable, 2 * count);
    append16(subtable, searchRange);
    append16(subtable, entrySelector);
    append16(subtable, 2 * count - searchRange);
    for (const Bytes* part : {&ends, &starts, &deltas, &rangeOffsets, &glyphArray}) {
        if (part == &starts) {
            append16(subtable, 0); // reserved
        }
        subtable.insert(subtable.end(), part->begin(), part->end());
    }
    put16(subtable, 2, static_cast<uint32_t>(subtable.size()));

    std::vector<std::pair<uint32_t, uint32_t>> records; // platform, encoding
    if (m_kind == MapKind::Unicode) {
        records = {{0, 3}, {3, 1}};
    } else {
        records = {{3, 0}};
    }
    Bytes cmap;
    append16(cmap, 0);
    append16(cmap, static_cast<uint32_t>(records.size()));
    const auto subtableOffset = static_cast<uint32_t>(4 + 8 * records.size());
    for (const auto& [platform, encoding] : records) {
        append16(cmap, platform);
        append16(cmap, encoding);
        append32(cmap, subtableOffset);
    }
    cmap.insert(cmap.end(), subtable.begin(), subtable.end());
    return cmap;
}

// The copyright notice of the source font stays with the derived one.
std::string TrueTypeSubset::sourceCopyright() const
{
    const Bytes name = m_source.table("name");
    const int32_t count = u16(name, 2);
    const int32_t storage = u16(name, 4);
    for (int32_t j = 0; j < count; ++j) {
        const int64_t record = 6 + 12 * int64_t{j};
        if (u16(name, record) == 3 && u16(name, record + 2) == 1 && u16(name, record + 4) == 0x409 &&
            u16(name, record + 6) == 0) {
            std::string text;
            const int64_t start = storage + int64_t{u16(name, record + 10)};
            for (int64_t k = 0; k + 1 < u16(name, record + 8); k += 2) {
                const int32_t unit = u16(name, start + k);
                text += unit < 256 ? static_cast<char>(unit) : '?';
            }
            return text;
        }
    }
    fail("the source font has no copyright notice");
}

Bytes TrueTypeSubset::names() const
{
    struct Record {
        uint32_t platform;
        uint32_t encoding;
        uint32_t language;
        uint32_t id;
        Bytes text;
    };
    const uint32_t windowsEncoding = m_kind == MapKind::Unicode ? 1 : 0;
    const std::string family(kFamily);
    const std::vector<Record> records{
        {1, 0, 0, 4, Bytes(family.begin(), family.end())},     {3, windowsEncoding, 0x409, 0, utf16(sourceCopyright())},
        {3, windowsEncoding, 0x409, 1, utf16(family)},         {3, windowsEncoding, 0x409, 2, utf16("Regular")},
        {3, windowsEncoding, 0x409, 4, utf16(family)},         {3, windowsEncoding, 0x409, 6, utf16(kPostScriptName)},
        {3, windowsEncoding, 0x410, 4, utf16(kItalianFamily)},
    };
    Bytes name;
    append16(name, 0);
    append16(name, static_cast<uint32_t>(records.size()));
    append16(name, static_cast<uint32_t>(6 + 12 * records.size()));
    Bytes strings;
    for (const Record& r : records) {
        for (uint32_t value : {r.platform, r.encoding, r.language, r.id, static_cast<uint32_t>(r.text.size()),
                               static_cast<uint32_t>(strings.size())}) {
            append16(name, value);
        }
        strings.insert(strings.end(), r.text.begin(), r.text.end());
    }
    name.insert(name.end(), strings.begin(), strings.end());
    return name;
}

} // namespace seeds
