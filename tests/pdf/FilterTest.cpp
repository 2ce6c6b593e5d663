// The stream encoders, alone through the decoders of another reader, and chained in documents
// that qpdf and poppler read back to the same bytes and text as the unfiltered document.
#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <random>
#include <regex>

using folian::Folian;
using A = folian::FolianTestAccess;
using namespace folian::test;

namespace {

// qpdf's own decoder for `filter`, run on a stream made in memory.
std::string decodeWithQpdf(const std::string& encoded, const std::string& filter)
{
    QPDF pdf;
    pdf.emptyPDF();
    QPDFObjectHandle stream = QPDFObjectHandle::newStream(&pdf);
    stream.replaceStreamData(encoded, QPDFObjectHandle::newName(filter), QPDFObjectHandle::newNull());
    const auto buffer = stream.getStreamData(qpdf_dl_specialized);
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

// Text that neither repeats in long runs nor looks random: numbers and words drawn from a
// seeded generator, so LZW's dictionary keeps filling up.
std::string variedText(std::size_t size, unsigned seed)
{
    static const char* const words[] = {"Registro ", "Elettronico ", "Indirizzi ", "PEC ",  "soggetto ", "00187 ",
                                        "Roma ",     "via ",         "Milano ",    "\xE8 ", "codice ",   "fiscale "};
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < size) {
        text += words[random() % 12];
        text += std::to_string(random() % 100000);
        text += static_cast<char>(random() % 256);
    }
    text.resize(size);
    return text;
}

std::string lineText(int i)
{
    return "Riga " + std::to_string(i) + ": importo " + std::to_string((i * 7919) % 100003) + ",00 EUR, codice " +
           std::to_string((i * 104729) % 999983);
}

// A page of `lines` lines of text over a stored object, and the number of its content object.
int writeSample(const std::filesystem::path& path, int mode, int quality, int lines)
{
    Folian pdf(fixedHooks());
    pdf.SetCompression(mode, quality);
    pdf.SetDocProperty("Filtri");
    pdf.BeginDoc(path.string());
    pdf.BeginObject("LOGO", 7);
    pdf.SetFont("Times", 20, 1, 0);
    pdf.DrawText(400, 40, "Ondavia");
    pdf.EndObject();
    pdf.BeginPage();
    // Small print in columns of 380 lines.
    pdf.SetFont("Courier", 2, 0, 0);
    for (int i = 0; i < lines; ++i) {
        pdf.DrawText(20 + static_cast<float>(i / 380) * 140, 60 + static_cast<float>(i % 380) * 2, lineText(i));
    }
    pdf.EndDoc();
    std::smatch m;
    const std::string file = readFile(path);
    return std::regex_search(file, m, std::regex("/Contents (\\d+) 0 R")) ? std::stoi(m[1]) : 0;
}

} // namespace

TEST(FolianFilters, EncodersRestoreExactlyThroughTheirDecoders)
{
    EXPECT_EQ(A::Encode(std::string("\0\0\0\0\x01", 5), 8), "z!<~>"); // four zeros are one "z"

    std::vector<std::string> inputs = {"", "x", "xyz", "aaaa", std::string(7, '\0'), variedText(1000, 1)};
    for (std::size_t n : {127u, 128u, 129u, 257u}) {
        inputs.push_back(std::string(n, 'q'));
        inputs.push_back(variedText(n, static_cast<unsigned>(n)));
    }
    std::string mixed;
    for (int i = 0; i < 40; ++i) {
        mixed += std::string(static_cast<std::size_t>(i * 7 % 140), static_cast<char>('A' + i % 3)) + variedText(i, i);
    }
    inputs.push_back(mixed);
    for (const std::string& input : inputs) {
        SCOPED_TRACE("input of " + std::to_string(input.size()) + " bytes");
        EXPECT_EQ(decodeWithQpdf(A::Encode(input, 1), "/RunLengthDecode"), input);
        EXPECT_EQ(decodeWithQpdf(A::Encode(input, 8), "/ASCII85Decode"), input);
        EXPECT_EQ(decodeWithQpdf(A::Encode(input, 16), "/ASCIIHexDecode"), input);
        for (int quality = 0; quality <= 3; ++quality) {
            EXPECT_EQ(decodeWithQpdf(A::Encode(input, 4, quality), "/LZWDecode"), input) << "quality " << quality;
            EXPECT_EQ(decodeWithQpdf(A::Encode(input, 2, quality), "/FlateDecode"), input) << "quality " << quality;
        }
    }

    // Over 64 KB the dictionary fills and starts again many times, at every size it may have.
    const std::string large = variedText(200'000, 7) + std::string(50'000, 'z') + variedText(30'000, 8);
    for (int quality = 0; quality <= 3; ++quality) {
        const std::string encoded = A::Encode(large, 4, quality);
        EXPECT_LT(encoded.size(), large.size()) << "quality " << quality;
        EXPECT_EQ(decodeWithQpdf(encoded, "/LZWDecode"), large) << "quality " << quality;
        EXPECT_EQ(decodeWithQpdf(A::Encode(large, 2, quality), "/FlateDecode"), large) << "quality " << quality;
    }
    EXPECT_LT(A::Encode(std::string(10'000, 'r'), 1).size(), 200u);
}

TEST(FolianFilters, EveryFilterAndChainReadsBackAsTheUnfilteredDocument)
{
    const auto dir = folian::test::scratchDir();
    const auto plain = dir / "plain.pdf";
    const int contents = writeSample(plain, 0, 0, 150);
    ASSERT_GT(contents, 0);
    const std::string plainContent = folian::test::storedStream(readFile(plain), contents);
    const std::string plainText = folian::test::runCommand("pdftotext '" + plain.string() + "' -");
    ASSERT_NE(plainText.find(lineText(149)), std::string::npos);
    EXPECT_READERS_ACCEPT(plain, 1, "Filtri", "1.3");

    // Each encoder alone is checked above; here the chain, in its order, and the usual deflate alone.
    const std::pair<int, const char*> cases[] = {
        {2, "/FlateDecode "},
        {31, "/ASCIIHexDecode /ASCII85Decode /LZWDecode /FlateDecode /RunLengthDecode "},
    };
    for (const auto& [mode, filters] : cases) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        const auto path = dir / ("mode" + std::to_string(mode) + ".pdf");
        ASSERT_EQ(writeSample(path, mode, 1, 150), contents);
        const std::string file = readFile(path);
        EXPECT_NE(folian::test::objectText(file, contents).find(std::string("<<\n/Filter [") + filters + "]\n/Length "),
                  std::string::npos);
        EXPECT_EQ(folian::test::countOf(file, std::string("/Filter [") + filters + "]"), 3); // page, object, metadata
        EXPECT_READERS_ACCEPT(path, 1, "Filtri", "1.3");
        EXPECT_EQ(folian::test::filteredStream(path, contents), plainContent);
        EXPECT_EQ(folian::test::runCommand("pdftotext '" + path.string() + "' -"), plainText);
    }
}
