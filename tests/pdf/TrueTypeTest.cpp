#include "PageFixture.h"

#include "text/TrueTypeFace.h"

#include <fstream>
#include <limits>

namespace {

const std::string kLiberation = "/usr/share/fonts/truetype/liberation/";

std::vector<uint8_t> bytesOf(const std::string& path)
{
    const std::string text = folian::test::readFile(path);
    return std::vector<uint8_t>(text.begin(), text.end());
}

void store(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

void put16(std::vector<uint8_t>& data, std::size_t at, int value)
{
    data[at] = static_cast<uint8_t>((value >> 8) & 0xFF);
    data[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

struct Segment {
    int first;
    int last;
    int delta;
    std::vector<int> glyphs; // glyph ids reached through the range offset; empty for delta mapping
};

// A "cmap" table with one Windows map of format 4 built from the segments (the last must end at FFFF).
std::vector<uint8_t> windowsMap(int encoding, const std::vector<Segment>& segments)
{
    const std::size_t n = 2 * segments.size();
    std::vector<uint8_t> cmap(12 + 16 + 4 * n);
    put16(cmap, 2, 1);
    put16(cmap, 4, 3);
    put16(cmap, 6, encoding);
    put16(cmap, 10, 12);
    const std::size_t sub = 12;
    put16(cmap, sub, 4);
    put16(cmap, sub + 6, static_cast<int>(n));
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const Segment& s = segments[k];
        put16(cmap, sub + 14 + 2 * k, s.last);
        put16(cmap, sub + 16 + n + 2 * k, s.first);
        put16(cmap, sub + 16 + 2 * n + 2 * k, s.delta & 0xFFFF);
        if (!s.glyphs.empty()) {
            const std::size_t entry = sub + 16 + 3 * n + 2 * k;
            put16(cmap, entry, static_cast<int>(cmap.size() - entry));
            for (int g : s.glyphs) {
                cmap.resize(cmap.size() + 2);
                put16(cmap, cmap.size() - 2, g);
            }
        }
    }
    return cmap;
}

using FolianTrueType = PageFixture;

} // namespace

TEST(FolianReadBigEndian, SignsAndBounds)
{
    using folian::ReadBigEndian;
    const std::vector<uint8_t> fffe{0xFF, 0xFE};
    EXPECT_EQ(ReadBigEndian(fffe, 0, 2, true), 65534);
    EXPECT_EQ(ReadBigEndian(fffe, 0, 2, false), -2);
    EXPECT_EQ(ReadBigEndian({0xFF, 0xFF, 0xFF, 0xFF}, 0, 4, false), -1);
    EXPECT_EQ(ReadBigEndian({0x80, 0, 0, 0}, 0, 4, false), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ReadBigEndian({0x7F, 0, 0, 1}, 0, 4, true), 0x7F000001);
    EXPECT_EQ(ReadBigEndian(fffe, 0, 3, false), 0);
    EXPECT_THROW(ReadBigEndian({0x80, 0, 0, 0}, 0, 4, true), folian::Error);
    EXPECT_THROW(ReadBigEndian(fffe, 1, 2, true), folian::Error);
    EXPECT_THROW(ReadBigEndian(fffe, -1, 2, true), folian::Error);
}

TEST(FolianCharacterMap, SymbolAndUnicodeMaps)
{
    bool symbol = false;
    const auto privateRange = windowsMap(0, {{0xF020, 0xF0FF, 3 - 0xF020, {}}, {0xFFFF, 0xFFFF, 1, {}}});
    auto glyphs = folian::MapCharacterCodes(privateRange, 0, static_cast<int64_t>(privateRange.size()), symbol);
    EXPECT_TRUE(symbol);
    EXPECT_EQ(glyphs[31], 0);
    EXPECT_EQ(glyphs[32], 3);
    EXPECT_EQ(glyphs[65], 36);
    EXPECT_EQ(glyphs[255], 226);

    const auto unicode =
        windowsMap(1, {{0x41, 0x43, 2, {7, 0, 9}}, {0x20AC, 0x20AC, 40 - 0x20AC, {}}, {0xFFFF, 0xFFFF, 1, {}}});
    glyphs = folian::MapCharacterCodes(unicode, 0, static_cast<int64_t>(unicode.size()), symbol);
    EXPECT_FALSE(symbol);
    EXPECT_EQ(glyphs[0x41], 9);
    EXPECT_EQ(glyphs[0x42], 0);
    EXPECT_EQ(glyphs[0x43], 11);
    EXPECT_EQ(glyphs[128], 40); // the euro sign, found at its code point
    EXPECT_EQ(glyphs[129], 0);
    EXPECT_EQ(glyphs[0xAC], 0); // U+20AC is not U+00AC

    // A map cut short is refused, not read past its end.
    EXPECT_THROW(folian::MapCharacterCodes(unicode, 0, 30, symbol), folian::Error);
}

TEST_F(FolianTrueType, LiberationSansIsMeasuredLikeArial)
{
    const std::string file = kLiberation + "LiberationSans-Regular.ttf";
    EXPECT_EQ(pdf.AddFont(file, "", true, 0), "LiberationSans");
    EXPECT_EQ(pdf.ErrNumber(), 0);
    ASSERT_EQ(A::FontCount(pdf), 1);
    const folian::FontRecord liberation = A::Font(pdf, 1);
    EXPECT_TRUE(liberation.IsTrueType);
    EXPECT_EQ(liberation.FontKey, "LIBERATIONSANS");
    EXPECT_EQ(liberation.BaseFontName, "LiberationSans");
    EXPECT_EQ(liberation.Height, 1117);
    EXPECT_EQ(liberation.Descent, -212);

    // The font is metric-compatible with Arial: every character of the code page has the width
    // of the standard table, the euro sign and the typographic quotes included.
    pdf.SetFont("Arial", 10, 0, 0);
    const folian::FontRecord arial = A::Font(pdf, A::FontIndex(pdf));
    for (int code = 32; code < 256; ++code) {
        if (code != 127 && folian::Cp1252CodePoint(static_cast<unsigned char>(code)) != 0) {
            EXPECT_EQ(liberation.Widths[static_cast<std::size_t>(code)], arial.Widths[static_cast<std::size_t>(code)])
                << code;
        }
    }
    pdf.SetFont("liberation sans", 12, 1, 0);
    EXPECT_EQ(A::FontIndex(pdf), 1);
    EXPECT_EQ(A::FontResource(pdf), "LiberationSans");

    const std::string written = folian::test::readFile(finish());
    EXPECT_NE(written.find("/Flags 32 /FontBBox ["), std::string::npos);
    EXPECT_NE(written.find("/StemV 70 /ItalicAngle 0 /CapHeight 905 /XHeight 452 /Ascent 905 /Descent -212 "),
              std::string::npos);
    EXPECT_NE(written.find("/FontFile2 "), std::string::npos);
    EXPECT_NE(written.find("/Length1 " + std::to_string(bytesOf(file).size())), std::string::npos);
}

TEST_F(FolianTrueType, AliasesStylesAndFixedPitch)
{
    EXPECT_EQ(pdf.AddFont(kLiberation + "LiberationSans-BoldItalic.ttf", "My Face", false, 1), "My Face");
    const folian::FontRecord face = A::Font(pdf, 1);
    EXPECT_EQ(face.FontKey, "MYFACE");
    EXPECT_EQ(face.BaseFontName, "LiberationSansBoldItalic,BoldItalic");
    // Found by its alias whatever the letter case, style or encoding asked for, under the name
    // it was written with.
    pdf.SetFont("MYFACE", 11, 1, 0);
    EXPECT_EQ(A::FontIndex(pdf), 1);
    EXPECT_EQ(A::FontResource(pdf), "MyFace");
    EXPECT_EQ(A::FontCount(pdf), 1);
    EXPECT_EQ(pdf.AddFont(kLiberation + "LiberationSans-Regular.ttf", "myface", true, 0), "");
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::InvalidCall);
    EXPECT_EQ(A::FontCount(pdf), 1);

    // Monospaced: most glyphs share the last of the few full advance widths (1229 of 2048).
    EXPECT_EQ(pdf.AddFont(kLiberation + "LiberationMono-Regular.ttf", "Mono", true, 0), "Mono");
    pdf.SetFont("Mono", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength("ABC"), 18);
    for (int code = 32; code < 127; ++code) {
        EXPECT_EQ(A::Font(pdf, 2).Widths[static_cast<std::size_t>(code)], 600) << code;
    }
    pdf.DrawText(50, 50, "Mono text");

    const std::string written = folian::test::readFile(finish());
    EXPECT_NE(written.find("/Flags 96 /FontBBox ["), std::string::npos);
    EXPECT_NE(written.find("/StemV 120 /ItalicAngle -12 "), std::string::npos);
    EXPECT_NE(written.find("/BaseEncoding /MacRomanEncoding"), std::string::npos);
    EXPECT_EQ(folian::test::countOf(written, "/FontFile2 "), 1); // only the mono font is embedded
    const auto fonts = folian::test::listedFonts(dir / "page.pdf");
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0], (std::vector<std::string>{"LiberationSansBoldItalic,BoldItalic", "TrueType", "MacRoman", "no"}));
    EXPECT_EQ(fonts[1], (std::vector<std::string>{"LiberationMono", "TrueType", "WinAnsi", "yes"}));
}

TEST_F(FolianTrueType, DamagedFilesAreRecordedAndLeftOut)
{
    EXPECT_EQ(pdf.AddFont((dir / "none.ttf").string(), "X", true, 0), "");
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::FileNotFound);
    EXPECT_EQ(pdf.ErrSource(), "Folian.AddFont");

    const std::vector<uint8_t> good = bytesOf(kLiberation + "LiberationSans-Regular.ttf");
    std::vector<std::pair<std::string, std::vector<uint8_t>>> broken;
    for (std::size_t size : {std::size_t{0}, std::size_t{11}, std::size_t{100}, good.size() / 2, good.size() - 1}) {
        broken.emplace_back("cut" + std::to_string(size), std::vector<uint8_t>(good.begin(), good.begin() + size));
    }
    // Without the "hmtx" entry: the later entries move up, the tables stay where they are.
    std::vector<uint8_t> noWidths = good;
    const int tables = noWidths[4] * 256 + noWidths[5];
    for (int i = 0; i < tables; ++i) {
        const auto entry = noWidths.begin() + 12 + 16 * i;
        if (std::string(entry, entry + 4) == "hmtx") {
            const auto end = noWidths.begin() + 12 + 16 * tables;
            std::copy(entry + 16, end, entry);
            std::fill(end - 16, end, 0);
            put16(noWidths, 4, tables - 1);
            break;
        }
    }
    broken.emplace_back("nohmtx", noWidths);
    for (const auto& [name, bytes] : broken) {
        const auto path = dir / (name + ".ttf");
        store(path, bytes);
        EXPECT_EQ(pdf.AddFont(path.string(), name, true, 0), "") << name;
        EXPECT_NE(pdf.ErrNumber(), 0) << name;
        EXPECT_NE(pdf.ErrDescription().find(path.string()), std::string::npos) << name; // recorded afresh
    }
    EXPECT_NE(pdf.ErrDescription().find("\"hmtx\""), std::string::npos);
    EXPECT_EQ(A::FontCount(pdf), 0);

    // Damaged bytes in the directory and the tables read first: each copy is taken or refused
    // whole, never read out of bounds.
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 8) & 0xFFFFFF; };
    const auto path = dir / "damaged.ttf";
    int refused = 0;
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> bytes = good;
        for (uint32_t k = 0, hits = 1 + next() % 3; k < hits; ++k) {
            bytes[next() % 5100] = static_cast<uint8_t>(next());
        }
        store(path, bytes);
        const int32_t before = A::FontCount(pdf);
        const std::string name = pdf.AddFont(path.string(), "D" + std::to_string(i), false, 0);
        EXPECT_EQ(A::FontCount(pdf), before + (name.empty() ? 0 : 1)) << i;
        refused += name.empty();
    }
    EXPECT_GT(refused, 0);
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.DrawText(10, 10, "still a document");
    const auto report = folian::test::readWithReaders(finish());
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
}
