// The writer's road from a drawing call to the file: the output buffer, the document's one
// compressor, escaping and colour lines formatted straight into the content.
#include "../support/LayoutTable.h"
#include "PageFixture.h"
#include "core/Deflater.h"
#include "core/OutputFile.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <string>
#include <vector>

using folian::test::readFile;

namespace {

// `size` bytes counting up from `first`, so that a piece out of place shows.
std::string piece(std::size_t size, int first)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((first + static_cast<int>(i)) % 251);
    }
    return bytes;
}

// zlib's level `level` made afresh: the size each effort of the writer must reach.
std::size_t zlibSize(const std::string& data, int level)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), level);
    return size;
}

// What a reader gets back from a zlib stream; zlib checks the header and the sum at the end,
// and anything it refuses, or bytes after the end, make the result differ from any data.
std::string inflated(const std::string& stream)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        return "(inflateInit failed)";
    }
    std::string out;
    char chunk[16384];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    int status = Z_OK;
    while (status == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(chunk);
        z.avail_out = sizeof chunk;
        status = inflate(&z, Z_NO_FLUSH);
        out.append(chunk, sizeof chunk - z.avail_out);
    }
    const bool whole = status == Z_STREAM_END && z.avail_in == 0;
    inflateEnd(&z);
    return whole ? out : "(refused: " + std::to_string(status) + ")";
}

std::string deflated(folian::Deflater& deflater, std::initializer_list<std::string_view> parts, int quality)
{
    std::vector<uint8_t> out;
    deflater.compress(parts, quality, out);
    return std::string(out.begin(), out.end());
}

// What the escaping must give, one byte at a time.
std::string escapedByHand(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '(' || c == ')') {
            out += '\\';
        }
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

} // namespace

TEST(FolianOutput, FileTakesSmallAndLargeWritesInOrder)
{
    const auto dir = folian::test::scratchDir();
    folian::OutputFile file;
    ASSERT_TRUE(file.open((dir / "out.bin").string()));
    // Pieces below, at and above the buffer's size, and some that fill it exactly.
    std::string expected;
    int first = 0;
    for (const std::size_t size : {1u, 100u, 65535u, 1u, 65536u, 200000u, 3u, 70000u, 0u, 65534u, 2u}) {
        const std::string bytes = piece(size, first++);
        file.write(bytes);
        expected += bytes;
        ASSERT_EQ(file.offset(), static_cast<int64_t>(expected.size()));
    }
    file.overwriteStart("HEAD");
    expected.replace(0, 4, "HEAD");
    file.write("tail");
    expected += "tail";
    EXPECT_EQ(file.offset(), static_cast<int64_t>(expected.size()));
    EXPECT_TRUE(file.close(true));
    EXPECT_TRUE(file.synced());
    EXPECT_EQ(readFile(dir / "out.bin"), expected);

    // A device that takes no byte: the failure is kept and reported when the file is closed.
    folian::OutputFile full;
    ASSERT_TRUE(full.open("/dev/full"));
    full.write(piece(100, 0));
    full.write(piece(100000, 0));
    EXPECT_TRUE(full.failed());
    EXPECT_FALSE(full.close(false));

    folian::OutputFile closed;
    closed.write("x");
    EXPECT_TRUE(closed.failed());
}

// A text page's operators, as the writer's content streams hold them.
std::string pageText()
{
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += "BT /F1 10 Tf 1 0 0 -1 42.52 " + std::to_string(100 + i % 700) + " Tm (Riga " + std::to_string(i) +
                ") Tj ET\r";
    }
    return text;
}

TEST(FolianOutput, OneCompressorGivesTheBytesOfAFreshOne)
{
    folian::Deflater deflater;
    const std::string text = pageText();
    const std::string noise = piece(70000, 7);
    // Streams one after the other, with the effort changing between them, as a document may.
    const std::vector<std::pair<std::string, int>> streams = {
        {text, 0}, {"", 0},           {"q Q", 0}, {noise, 0}, {text, 3}, {text.substr(0, 999), 3},
        {text, 1}, {noise + text, 2}, {"", 2},    {"x", 1},   {text, 2}, {"q Q", 3}};
    for (const auto& [data, quality] : streams) {
        SCOPED_TRACE("quality " + std::to_string(quality) + ", " + std::to_string(data.size()) + " bytes");
        folian::Deflater fresh;
        const std::string expected = deflated(fresh, {data}, quality);
        const std::string whole = deflated(deflater, {data}, quality);
        EXPECT_EQ(whole, expected);
        EXPECT_EQ(whole.substr(0, 2), "\x78\x5E");
        EXPECT_EQ(inflated(whole), data);
        // A page's stream comes in two parts; where they meet, or an empty part, makes no difference.
        const std::string_view all(data);
        EXPECT_EQ(deflated(deflater, {all.substr(0, all.size() / 2), all.substr(all.size() / 2)}, quality), expected);
        EXPECT_EQ(deflated(deflater, {all.substr(0, 1), "", all.substr(std::min<std::size_t>(1, all.size()))}, quality),
                  expected);
    }
    std::vector<uint8_t> data(text.begin(), text.end());
    folian::Folian::zzToFlateDecode(data, 9); // efforts above 3 are 3
    EXPECT_EQ(std::string(data.begin(), data.end()), deflated(deflater, {text}, 3));
    data.assign(text.begin(), text.end());
    folian::Folian::zzToFlateDecode(data, -1); // and below 0 are 0
    EXPECT_EQ(std::string(data.begin(), data.end()), deflated(deflater, {text}, 0));
}

using FolianDeflate = PageFixture;

// Each effort's compressor was chosen on pages of tables and prose like this one; a library
// that compresses them worse than the zlib level it stands for calls for choosing again.
TEST_F(FolianDeflate, EachEffortCompressesAPageAtLeastAsWellAsItsZlibLevel)
{
    const std::string prose =
        "Il soggetto obbligato comunica al Registro Elettronico degli Indirizzi l'indirizzo di posta elettronica "
        "certificata (PEC) presso il quale riceve gli atti e le comunicazioni dell'Agenzia delle Entrate. La "
        "comunicazione contiene il codice fiscale del soggetto, la denominazione o il cognome e il nome, la sede "
        "legale o il domicilio fiscale, e i dati del responsabile della comunicazione. ";
    folian::test::drawLayoutTable(pdf, 20);
    pdf.SetFont("Helvetica", 10, 0, 0);
    for (int i = 0; i < 60; ++i) {
        const std::size_t at = static_cast<std::size_t>(i) * 90 % (prose.size() - 90);
        pdf.DrawText(15, 62 + 3.9f * static_cast<float>(i), prose.substr(at, 90));
    }
    const std::string page = drawn();
    folian::Deflater deflater;
    for (int quality = 0; quality <= 3; ++quality) {
        const std::size_t size = deflated(deflater, {page}, quality).size();
        EXPECT_LE(size, zlibSize(page, 2 + quality)) << "quality " << quality;
        EXPECT_LT(size, page.size() / 4) << "quality " << quality;
    }
}

TEST(FolianOutput, EscapingFindsEverySpecialByteWhereverItStands)
{
    using A = folian::FolianTestAccess;
    for (const char special : {'\\', '(', ')', '\r', '\n'}) {
        for (std::size_t length = 1; length <= 40; ++length) {
            for (std::size_t at = 0; at < length; ++at) {
                // Bytes around the special ones that a careless test of whole blocks would mistake
                // for them: their neighbours in the code table.
                std::string text(length, '\'');
                for (std::size_t i = 0; i < length; i += 3) {
                    text[i] = static_cast<char>(i % 2 ? '*' : '\x0B');
                }
                text[at] = special;
                ASSERT_EQ(A::EscapeString(text), escapedByHand(text)) << "length " << length << ", at " << at;
            }
        }
    }
    std::string everything(256, '\0');
    std::iota(everything.begin(), everything.end(), '\0');
    EXPECT_EQ(A::EscapeString(everything + everything), escapedByHand(everything + everything));
}

class FolianContentLines : public PageFixture {};

TEST_F(FolianContentLines, ColourLinesStayRightWhateverTheOrder)
{
    pdf.SetFont("Helvetica", 10, 0, 0);
    // More colours than the writer keeps ready, for the text, the fill and the lines in turn.
    const char* colours[] = {"red", "#00FF00", "navy", "%50", "@0;0;0;100", "gold", "red"};
    const std::size_t count = std::size(colours);
    for (std::size_t i = 0; i < count; ++i) {
        const char* colour = colours[i];
        const char* fillColour = colours[(i + 3) % count];
        pdf.SetColorText(colour);
        pdf.SetColorFill(fillColour);
        pdf.SetColorLine(colour);
        restart();
        pdf.DrawText(10, 20, "x");
        const std::string text = A::FormatColorRGB(A::ParseColor(colour).first);
        const std::string fill = A::FormatColorRGB(A::ParseColor(fillColour).first);
        EXPECT_TRUE(drawn().starts_with("\r" + text + " rg\rBT")) << drawn();
        EXPECT_TRUE(drawn().ends_with("\rET\r" + fill + " rg")) << drawn();
        restart();
        pdf.SetColorLine(colour);
        EXPECT_EQ(drawn(), "\r" + text + " RG");
    }
    // A text colour that is no colour raises when it is used, and nothing of the line is drawn.
    pdf.SetColorText("#12345Z");
    restart();
    EXPECT_THROW(pdf.DrawText(10, 20, "x"), folian::Error);
    EXPECT_EQ(drawn(), "");
    pdf.SetColorText("blue");
    pdf.DrawText(10, 20, "x");
    EXPECT_TRUE(drawn().starts_with("\r0 0 1 rg\rBT")) << drawn();
}
