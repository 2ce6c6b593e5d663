// Derives the kept seeds of the TrueType fuzz target from an installed sans-serif font: two small
// valid fonts of a dozen glyphs (one with a Unicode map and short glyph offsets, one with a symbol
// map and long offsets) and damaged copies of the first. Every seed is read back with the
// writer's reader before it is written, so the valid ones are known to be taken and the damaged
// ones to be refused for the damage they carry.
//
//   truetype_seeds [SOURCE_FONT] OUTPUT_FOLDER
#include "FontBytes.h"
#include "TrueTypeSubset.h"

#include "core/Error.h"
#include "text/TrueTypeFace.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace seeds;

const char* const kDefaultSource = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";

[[noreturn]] void fail(const std::string& what)
{
    throw std::runtime_error(what);
}

struct Seed {
    std::string name;
    Bytes bytes;
};

// The position of a table's entry in a font's directory.
std::size_t directoryEntry(const Bytes& font, const std::string& tag)
{
    const int32_t count = u16(font, 4);
    for (int32_t i = 0; i < count; ++i) {
        const std::size_t entry = 12 + 16 * static_cast<std::size_t>(i);
        if (std::string(font.begin() + static_cast<std::ptrdiff_t>(entry),
                        font.begin() + static_cast<std::ptrdiff_t>(entry) + 4) == tag) {
            return entry;
        }
    }
    fail("no \"" + tag + "\" table");
}

std::size_t tableOffset(const Bytes& font, const std::string& tag)
{
    return u32(font, static_cast<int64_t>(directoryEntry(font, tag) + 8));
}

Bytes withoutTable(Bytes font, const std::string& tag)
{
    const int32_t count = u16(font, 4);
    const auto entry = static_cast<std::ptrdiff_t>(directoryEntry(font, tag));
    const auto end = 12 + 16 * static_cast<std::ptrdiff_t>(count);
    std::copy(font.begin() + entry + 16, font.begin() + end, font.begin() + entry);
    std::fill(font.begin() + end - 16, font.begin() + end, 0);
    put16(font, 4, static_cast<uint32_t>(count - 1));
    return font;
}

// The damaged copies of a valid seed, each with the error number the reader refuses it with.
std::vector<std::pair<Seed, int32_t>> damagedCopies(const Bytes& good)
{
    using namespace folian::ErrorCode;
    std::vector<std::pair<Seed, int32_t>> out;
    auto add = [&](const std::string& name, Bytes bytes, int32_t error) {
        out.push_back({Seed{name, std::move(bytes)}, error});
    };
    auto edited = [&](const std::function<void(Bytes&)>& edit) {
        Bytes bytes = good;
        edit(bytes);
        return bytes;
    };
    const auto cut = [&](std::size_t size) {
        return Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    };

    add("cut-in-header", cut(5), SubscriptOutOfRange);
    add("cut-in-directory", cut(12 + 10), SubscriptOutOfRange);
    add("cut-in-tables", cut(good.size() / 2), InvalidFileFormat);
    add("cut-last-byte", cut(good.size() - 1), InvalidFileFormat);
    add("no-cmap-table", withoutTable(good, "cmap"), InvalidFileFormat);
    add("no-loca-table", withoutTable(good, "loca"), InvalidFileFormat);
    add("glyf-past-end",
        edited([](Bytes& b) { put32(b, directoryEntry(b, "glyf") + 8, static_cast<uint32_t>(b.size() + 16)); }),
        InvalidFileFormat);
    add("glyf-longer-than-file", edited([](Bytes& b) { put32(b, directoryEntry(b, "glyf") + 12, 0x7FFFFFF0u); }),
        InvalidFileFormat);
    add("name-before-file", edited([](Bytes& b) { put32(b, directoryEntry(b, "name") + 8, 0x80000000u); }),
        InvalidFileFormat);
    // The glyph of 'A', third after glyph 0, the blank and '!', lies past the outlines.
    add("loca-past-glyf", edited([](Bytes& b) {
            put16(b, tableOffset(b, "loca") + 2 * 3, 0xFFF0);
            put16(b, tableOffset(b, "loca") + 2 * 4, 0xFFF8);
        }),
        SubscriptOutOfRange);
    add("glyph-too-short", edited([](Bytes& b) {
            const std::size_t loca = tableOffset(b, "loca");
            put16(b, loca + 2 * 4, static_cast<uint32_t>(u16(b, static_cast<int64_t>(loca + 2 * 3)) + 2));
        }),
        SubscriptOutOfRange);
    add("cmap-subtable-outside", edited([](Bytes& b) { put32(b, tableOffset(b, "cmap") + 4 + 8 + 4, 0x00FFFFF0u); }),
        SubscriptOutOfRange);
    add("cmap-range-offset-outside", edited([](Bytes& b) {
            const std::size_t sub = tableOffset(b, "cmap") + 4 + 8 * 2;
            const std::size_t count = static_cast<std::size_t>(u16(b, static_cast<int64_t>(sub + 6))) / 2;
            for (std::size_t k = 0; k < count; ++k) {
                put16(b, sub + 16 + 6 * count + 2 * k, 0xFFF0); // every segment looks far away
            }
        }),
        SubscriptOutOfRange);
    add("name-string-outside", edited([](Bytes& b) { put16(b, tableOffset(b, "name") + 4, 0xFFF0); }),
        SubscriptOutOfRange);
    add("hmtx-too-short", edited([](Bytes& b) { put32(b, directoryEntry(b, "hmtx") + 12, 2); }), SubscriptOutOfRange);
    add("no-hmetrics", edited([](Bytes& b) { put16(b, tableOffset(b, "hhea") + 34, 0); }), InvalidFileFormat);
    add("zero-units-per-em", edited([](Bytes& b) { put16(b, tableOffset(b, "head") + 18, 0); }), InvalidFileFormat);
    add("one-unit-per-em", edited([](Bytes& b) { put16(b, tableOffset(b, "head") + 18, 1); }), Overflow);
    return out;
}

void expectAccepted(const Seed& seed, const folian::TrueTypeFace& source, const std::vector<uint32_t>& codes,
                    MapKind kind)
{
    const folian::TrueTypeFace face = folian::ReadTrueTypeFace(seed.bytes);
    if (face.FullName != "OndaviaSeedSans") {
        fail(seed.name + ": read with the full name " + face.FullName);
    }
    if (face.Symbol != (kind == MapKind::Symbol) || face.MissingWidth != source.MissingWidth) {
        fail(seed.name + ": a different kind of map or missing width");
    }
    for (std::size_t c = 0; c < 256; ++c) {
        const bool kept = std::find(codes.begin(), codes.end(), c) != codes.end();
        if (face.Widths[c] != (kept ? source.Widths[c] : source.MissingWidth)) {
            fail(seed.name + ": code " + std::to_string(c) + " has the width " + std::to_string(face.Widths[c]));
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s [SOURCE_FONT] OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string sourcePath = argc == 3 ? argv[1] : kDefaultSource;
    const std::filesystem::path folder = argv[argc - 1];
    try {
        const SourceFont source = SourceFont::read(sourcePath);
        const folian::TrueTypeFace sourceFace = folian::ReadTrueTypeFace(source.file);
        bool symbol = false;
        const auto& [cmapOffset, cmapLength] = source.tables.at("cmap");
        const std::array<uint16_t, 256> sourceGlyph =
            folian::MapCharacterCodes(source.file, cmapOffset, cmapLength, symbol);

        // Windows-1252 codes and the code points they stand for in the Unicode seed. The two
        // digits, of one advance width, come last among the glyphs so their widths are shared.
        const std::vector<std::pair<uint32_t, uint32_t>> characters{
            {' ', 0x20}, {'!', 0x21}, {'0', 0x30},  {'1', 0x31},    {'A', 0x41},   {'B', 0x42},
            {'a', 0x61}, {'b', 0x62}, {0xE9, 0xE9}, {0x80, 0x20AC}, {0x96, 0x2013}};
        const std::vector<int32_t> digits{sourceGlyph['0'], sourceGlyph['1']};
        std::vector<uint32_t> codes;
        std::vector<std::pair<uint32_t, int32_t>> unicodeMap;
        std::vector<std::pair<uint32_t, int32_t>> symbolMap;
        for (const auto& [code, codePoint] : characters) {
            const int32_t g = sourceGlyph[code];
            if (g == 0) {
                fail("the source font has no glyph for code " + std::to_string(code));
            }
            codes.push_back(code);
            unicodeMap.emplace_back(codePoint, g);
            symbolMap.emplace_back(0xF000 + code, g);
        }

        TrueTypeSubset unicodeBuilder(source, MapKind::Unicode, true);
        TrueTypeSubset symbolBuilder(source, MapKind::Symbol, false);
        const Seed unicodeSeed{"valid-unicode-short-offsets", unicodeBuilder.build(unicodeMap, digits)};
        const Seed symbolSeed{"valid-symbol-long-offsets", symbolBuilder.build(symbolMap, digits)};
        expectAccepted(unicodeSeed, sourceFace, codes, MapKind::Unicode);
        expectAccepted(symbolSeed, sourceFace, codes, MapKind::Symbol);

        std::vector<Seed> seeds{unicodeSeed, symbolSeed};
        for (auto& [seed, error] : damagedCopies(unicodeSeed.bytes)) {
            try {
                folian::ReadTrueTypeFace(seed.bytes);
                fail(seed.name + ": the damaged copy is read as a font");
            } catch (const folian::Error& refused) {
                if (refused.number() != error) {
                    fail(seed.name + ": refused with error " + std::to_string(refused.number()) + ", not " +
                         std::to_string(error) + " (" + refused.what() + ")");
                }
            }
            seeds.push_back(std::move(seed));
        }

        std::filesystem::create_directories(folder);
        for (const Seed& seed : seeds) {
            const auto path = folder / ("seed-" + seed.name + ".ttf");
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(seed.bytes.data()),
                      static_cast<std::streamsize>(seed.bytes.size()));
            if (!out) {
                fail("cannot write " + path.string());
            }
            std::printf("%s %zu bytes\n", path.filename().c_str(), seed.bytes.size());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "truetype_seeds: %s\n", error.what());
        return 1;
    }
    return 0;
}
