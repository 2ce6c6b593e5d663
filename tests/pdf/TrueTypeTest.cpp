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

void put16(std::vector<uint8_t>& data, std::size_t at, int value)
{
    data[at] = static_cast<uint8_t>((value >> 8) & 0xFF);
    data[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

// The position of a table's entry in the font's directory.
std::size_t directoryEntry(const std::vector<uint8_t>& font, const std::string& tag)
{
    std::size_t entry = 12;
    while (std::string(reinterpret_cast<const char*>(font.data()) + entry, 4) != tag) {
        entry += 16;
    }
    return entry;
}

// Where a table starts.
std::size_t tableOffset(const std::vector<uint8_t>& font, const std::string& tag)
{
    return static_cast<std::size_t>(
        folian::ReadBigEndian(font, static_cast<int64_t>(directoryEntry(font, tag)) + 8, 4, true));
}

// A "cmap" table holding one Windows map of format 4 whose segments (first, last, delta) map by delta.
std::vector<uint8_t> windowsMap(int encoding, const std::vector<std::array<int, 3>>& segments)
{
    const std::size_t n = 2 * segments.size();
    std::vector<uint8_t> cmap(12 + 16 + 4 * n);
    put16(cmap, 2, 1);
    put16(cmap, 4, 3);
    put16(cmap, 6, encoding);
    put16(cmap, 10, 12);
    put16(cmap, 12, 4);
    put16(cmap, 12 + 6, static_cast<int>(n));
    for (std::size_t k = 0; k < segments.size(); ++k) {
        put16(cmap, 12 + 14 + 2 * k, segments[k][1]);
        put16(cmap, 12 + 16 + n + 2 * k, segments[k][0]);
        put16(cmap, 12 + 16 + 2 * n + 2 * k, segments[k][2] & 0xFFFF);
    }
    return cmap;
}

class FolianTrueType : public PageFixture {
protected:
    // Adds, under `name`, a copy of Liberation Sans changed by `edit`.
    template <typename Edit> std::string addEdited(const std::string& name, Edit edit)
    {
        std::vector<uint8_t> bytes = bytesOf(kLiberation + "LiberationSans-Regular.ttf");
        edit(bytes);
        const auto path = dir / (name + ".ttf");
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return pdf.AddFont(path.string(), name, false, 0);
    }
};

} // namespace

TEST(FolianTrueTypeReading, BigEndianValuesAndCharacterMaps)
{
    using folian::ReadBigEndian;
    EXPECT_EQ(ReadBigEndian({0xFF, 0xFE}, 0, 2, true), 65534);
    EXPECT_EQ(ReadBigEndian({0xFF, 0xFE}, 0, 2, false), -2);
    EXPECT_EQ(ReadBigEndian({0x80, 0, 0, 0}, 0, 4, false), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ReadBigEndian({0xFF, 0xFE}, 0, 3, false), 0);
    EXPECT_THROW(ReadBigEndian({0x80, 0, 0, 0}, 0, 4, true), folian::Error);
    EXPECT_THROW(ReadBigEndian({0xFF, 0xFE}, 1, 2, true), folian::Error);

    bool symbol = false;
    const auto privateRange = windowsMap(0, {{0xF020, 0xF0FF, 3 - 0xF020}, {0xFFFF, 0xFFFF, 1}});
    auto glyphs = folian::MapCharacterCodes(privateRange, 0, static_cast<int64_t>(privateRange.size()), symbol);
    EXPECT_TRUE(symbol);
    EXPECT_EQ(glyphs[31], 0);
    EXPECT_EQ(glyphs[32], 3);
    EXPECT_EQ(glyphs[255], 226);
    const auto unicode = windowsMap(1, {{0x41, 0x43, 2}, {0x20AC, 0x20AC, 40 - 0x20AC}, {0xFFFF, 0xFFFF, 1}});
    glyphs = folian::MapCharacterCodes(unicode, 0, static_cast<int64_t>(unicode.size()), symbol);
    EXPECT_FALSE(symbol);
    EXPECT_EQ(glyphs[0x43], 0x45);
    EXPECT_EQ(glyphs[128], 40); // the euro sign, found at its code point
    EXPECT_EQ(glyphs[0xAC], 0); // and U+20AC is not U+00AC
    EXPECT_THROW(folian::MapCharacterCodes(unicode, 0, 30, symbol), folian::Error); // never read past the table
}

TEST_F(FolianTrueType, AliasesStylesAndFixedPitch)
{
    EXPECT_EQ(pdf.AddFont(kLiberation + "LiberationSans-BoldItalic.ttf", "My Face", false, 1), "My Face");
    // Found by its alias whatever the letter case, style or encoding asked for, under the name
    // it was written with; the alias cannot be taken twice.
    pdf.SetFont("MYFACE", 11, 1, 0);
    EXPECT_EQ(A::FontIndex(pdf), 1);
    EXPECT_EQ(A::FontResource(pdf), "MyFace");
    EXPECT_EQ(pdf.AddFont(kLiberation + "LiberationSans-Regular.ttf", "myface", true, 0), "");
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::InvalidCall);
    EXPECT_EQ(A::FontCount(pdf), 1);

    EXPECT_EQ(pdf.AddFont(kLiberation + "LiberationMono-Regular.ttf", "Mono", true, 0), "Mono");
    pdf.SetFont("Mono", 10, 0, 0);
    pdf.DrawText(50, 50, "Mono text");
    // The two symbol fonts keep their own encodings.
    for (const auto& [family, encoding] : {std::pair{"Symbol", 0}, {"ZapfDingbats", 0}, {"Courier", 1}}) {
        pdf.SetFont(family, 10, 0, encoding);
        pdf.DrawText(10, 10, "abc");
    }

    // An italic angle of FFEF.AAAB is -16.333, written with two decimals.
    EXPECT_EQ(addEdited("Slanted",
                        [](std::vector<uint8_t>& bytes) {
                            const auto post = tableOffset(bytes, "post");
                            put16(bytes, post + 4, 0xFFEF);
                            put16(bytes, post + 6, 0xAAAB);
                        }),
              "Slanted");

    const std::string written = folian::test::readFile(finish());
    EXPECT_READERS_ACCEPT(dir / "page.pdf", 1, "(senza titolo)", "1.3");
    EXPECT_NE(written.find("/Flags 96 /FontBBox ["), std::string::npos);
    EXPECT_NE(written.find("/StemV 120 /ItalicAngle -12 "), std::string::npos);
    EXPECT_NE(written.find("/StemV 70 /ItalicAngle -16.33 "), std::string::npos);
    // Only the mono font is embedded, whole.
    const auto fontFile = written.find("/FontFile2 ");
    ASSERT_NE(fontFile, std::string::npos);
    EXPECT_EQ(written.find("/FontFile2 ", fontFile + 1), std::string::npos);
    const std::string embedded =
        folian::test::filteredStream(dir / "page.pdf", std::stoi(written.substr(fontFile + 11)));
    EXPECT_TRUE(embedded == folian::test::readFile(kLiberation + "LiberationMono-Regular.ttf")) << embedded.size();
    const auto fonts = folian::test::listedFonts(dir / "page.pdf");
    const std::vector<std::vector<std::string>> listed{
        {"LiberationSansBoldItalic,BoldItalic", "TrueType", "MacRoman", "no"},
        {"LiberationMono", "TrueType", "WinAnsi", "yes"},
        {"Symbol", "Type", "1", "Symbol", "no"},
        {"ZapfDingbats", "Type", "1", "ZapfDingbats", "no"},
        {"CourierNew", "Type", "1", "MacRoman", "no"},
        {"LiberationSans,Italic", "TrueType", "WinAnsi", "no"}};
    EXPECT_EQ(fonts, listed);
}

// Damaged files of every kind are the fuzz corpus's (a line too high among them); here, what a refusal
// records and leaves.
TEST_F(FolianTrueType, DamagedFilesAreRecordedAndLeftOut)
{
    EXPECT_EQ(pdf.AddFont((dir / "none.ttf").string(), "X", true, 0), "");
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::FileNotFound);

    // Without the "hmtx" entry: the later entries of the directory move up, the tables stay.
    EXPECT_EQ(addEdited("NoWidths",
                        [](std::vector<uint8_t>& bytes) {
                            const int tables = bytes[4] * 256 + bytes[5];
                            const auto end = bytes.begin() + 12 + 16 * tables;
                            const auto entry =
                                bytes.begin() + static_cast<std::ptrdiff_t>(directoryEntry(bytes, "hmtx"));
                            std::copy(entry + 16, end, entry);
                            std::fill(end - 16, end, 0);
                            put16(bytes, 4, tables - 1);
                        }),
              "");
    EXPECT_EQ(A::FontCount(pdf), 0);
    EXPECT_NE(pdf.ErrDescription().find("no \"hmtx\" table"), std::string::npos) << pdf.ErrDescription();

    // The document goes on, and a name that is no font's is written as a PDF name.
    pdf.SetFont("Neue (Grotesk)/%#1", 10, 0, 0);
    pdf.DrawText(10, 10, "still a document");
    EXPECT_NE(drawn().find("/Neue#28Grotesk#29#2F#25#231 10 Tf"), std::string::npos);
    const auto report = folian::test::readWithReaders(finish());
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
}

TEST_F(FolianTrueType, GlyphsOutsideTheirTableAreRefused)
{
    const std::vector<uint8_t> good = bytesOf(kLiberation + "LiberationSans-Regular.ttf");
    const auto glyfLength =
        folian::ReadBigEndian(good, static_cast<int64_t>(directoryEntry(good, "glyf")) + 12, 4, true);
    const auto cmap = static_cast<int64_t>(directoryEntry(good, "cmap"));
    bool symbol = false;
    const int64_t glyphA = folian::MapCharacterCodes(good, tableOffset(good, "cmap"),
                                                     folian::ReadBigEndian(good, cmap + 12, 4, true), symbol)['A'];
    const bool longOffsets = folian::ReadBigEndian(good, tableOffset(good, "head") + 50, 2, false) != 0;
    // Moves where the outline of 'A' ends, and adds the font.
    auto ending = [&](const std::string& name, auto end) {
        return addEdited(name, [&](std::vector<uint8_t>& bytes) {
            const int64_t loca = tableOffset(bytes, "loca");
            const int64_t start = longOffsets ? folian::ReadBigEndian(bytes, loca + 4 * glyphA, 4, true)
                                              : 2 * folian::ReadBigEndian(bytes, loca + 2 * glyphA, 2, true);
            const auto at = static_cast<std::size_t>(longOffsets ? loca + 4 * glyphA + 4 : loca + 2 * glyphA + 2);
            const int64_t value = end(start) / (longOffsets ? 1 : 2);
            if (longOffsets) {
                put16(bytes, at, static_cast<int>(value >> 16));
                put16(bytes, at + 2, static_cast<int>(value & 0xFFFF));
            } else {
                put16(bytes, at, static_cast<int>(value));
            }
        });
    };
    EXPECT_EQ(ending("PastTable", [&](int64_t) { return glyfLength + 2; }), "");
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::SubscriptOutOfRange);
    EXPECT_NE(pdf.ErrDescription().find("\"glyf\" table"), std::string::npos) << pdf.ErrDescription();
    EXPECT_EQ(ending("TooShort", [](int64_t start) { return start + 8; }), "");
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::SubscriptOutOfRange);
    EXPECT_EQ(A::FontCount(pdf), 0);
    // An outline of just its header is taken.
    EXPECT_EQ(ending("Header", [](int64_t start) { return start + 10; }), "Header");
    EXPECT_EQ(A::FontCount(pdf), 1);
}
