// Whole documents compared byte for byte with files composed here from the file format:
// header, numbered objects, cross-reference table of 20-byte lines, trailer.
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

using folian::Folian;
using folian::test::fixedHooks;
using folian::test::readFile;

namespace {

const std::string CR = "\r";
const std::string kDate = "D:20261205140309+01'00'";
const std::string kXmpDate = "2026-12-05T14:03:09+01:00";
const std::string kName = "ROSSI MARIO";
const std::string kTitle = "(senza titolo)";

class ExpectedPdf {
public:
    ExpectedPdf() { write("%PDF-1.3\n% Folian, the Ondavia PDF writer rel. 2.4.8"); }

    void object(int n, const std::vector<std::string>& writes)
    {
        m_offsets[n] = m_bytes.size();
        write(std::to_string(n) + " 0 obj");
        for (const std::string& w : writes) {
            write(w);
        }
        write("endobj");
    }

    void stream(int n, const std::string& dictionary, const std::string& data)
    {
        object(n, {dictionary, "/Length " + std::to_string(data.size()) + " >>" + CR + "stream\n" + data + "\nendstream"});
    }

    std::string finish(int catalog, int info)
    {
        const int size = static_cast<int>(m_offsets.size()) + 1;
        const std::size_t xref = m_bytes.size();
        write("xref\n0 " + std::to_string(size) + "\n0000000000 65535 f" + CR);
        for (const auto& [n, offset] : m_offsets) {
            char line[32];
            std::snprintf(line, sizeof line, "%010zu 00000 n\r", offset);
            write(line);
        }
        write("trailer\n<< /Size " + std::to_string(size) + " /Info " + std::to_string(info) + " 0 R /Root " +
              std::to_string(catalog) + " 0 R");
        write(">>\nstartxref\n" + std::to_string(xref) + "\n%%EOF");
        return m_bytes;
    }

private:
    void write(const std::string& text) { m_bytes += text + "\n"; }

    std::string m_bytes;
    std::map<int, std::size_t> m_offsets;
};

std::string page(int contents, const std::string& tail)
{
    const std::string box = "[0 0 596 842]" + CR;
    return "<< /Type /Page /Parent 1 0 R /Contents " + std::to_string(contents) + " 0 R" + CR + "/MediaBox " + box +
           "/CropBox " + box + "/BleedBox " + box + "/Resources 2 0 R" + tail + ">>";
}

std::string xmpPacket()
{
    const std::string rdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
    const std::string pdfNs = "http://ns.adobe.com/pdf/1.3/";
    const std::string xap = "http://ns.adobe.com/xap/1.0/";
    const std::string dc = "http://purl.org/dc/elements/1.1/";
    const std::string alt = "   <rdf:Alt>" + CR + "  <rdf:li xml:lang='x-default'>";
    const std::string altEnd = "</rdf:li>" + CR + "   </rdf:Alt>" + CR;
    const std::string body =
        "<rdf:RDF xmlns:rdf='" + rdf + "' xmlns:iX='http://ns.adobe.com/iX/1.0/'>" + CR +
        " <rdf:Description about='' xmlns='" + pdfNs + "' xmlns:pdf='" + pdfNs + "'>" + CR +
        "  <pdf:Producer>" + kName + "</pdf:Producer>" + CR + "  <pdf:Author>" + kName + "</pdf:Author>" + CR +
        "  <pdf:Creator>" + kName + "</pdf:Creator>" + CR + "  <pdf:ModDate>" + kXmpDate + "</pdf:ModDate>" + CR +
        "  <pdf:Title>" + kTitle + "</pdf:Title>" + CR + "  <pdf:CreationDate>" + kXmpDate + "</pdf:CreationDate>" +
        CR +
        "  <pdf:Subject></pdf:Subject>" + CR + "  <pdf:Keywords></pdf:Keywords>" + CR + " </rdf:Description>" + CR +
        " <rdf:Description about='' xmlns='" + xap + "' xmlns:xap='" + xap + "'>" + CR + "  <xap:Author>" + kName +
        "</xap:Author>" + CR + "  <xap:ModifyDate>" + kXmpDate + "</xap:ModifyDate>" + CR + "  <xap:Title>" + CR + alt +
        kTitle + altEnd + "  </xap:Title>" + CR + "  <xap:CreateDate>" + kXmpDate + "</xap:CreateDate>" + CR +
        "  <xap:Description>" + CR + alt + altEnd + "  </xap:Description>" + CR + "  <xap:MetadataDate>" + kXmpDate +
        "</xap:MetadataDate>" + CR + " </rdf:Description>" + CR + " <rdf:Description about='' xmlns='" + dc +
        "' xmlns:dc='" + dc + "'>" + CR + "  <dc:creator>" + kName + "</dc:creator>" + CR + "  <dc:title>" + kTitle +
        "</dc:title>" + CR + "  <dc:description></dc:description>" + CR + " </rdf:Description>" + CR + "</rdf:RDF>" +
        CR + "<?xpacket end='r'?>";
    return "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d' bytes='" + std::to_string(body.size() + 64) + "'?>" + CR +
           body;
}

// The objects every document ends with: metadata, the two resource dictionaries, the page tree,
// the catalog (its first write given) and the information dictionary.
std::string finishDocument(ExpectedPdf& pdf, int metadata, const std::string& kids, const std::string& catalogHead,
                           const std::vector<std::string>& catalogRest)
{
    pdf.stream(metadata, "<< /Type /Metadata /Subtype /XML", xmpPacket());
    const std::string resources = "<<" + CR + "/ProcSet [/PDF /Text ]" + CR + CR + ">>";
    pdf.object(3, {resources});
    pdf.object(2, {resources});
    pdf.object(1, {"<<" + CR + "/Type /Pages /Count 1" + CR + "/Kids [" + kids + "] " + CR + ">>"});
    std::vector<std::string> catalog{catalogHead};
    catalog.insert(catalog.end(), catalogRest.begin(), catalogRest.end());
    catalog.push_back("/ViewerPreferences <<  >>");
    catalog.push_back(">>");
    pdf.object(metadata + 1, catalog);
    const std::string name = "(" + kName + ")";
    pdf.object(metadata + 2, {"<<" + CR + "/Title (\\(senza titolo\\))" + CR + "/Author " + name + CR + "/Creator " + name +
                                  CR + "/Producer " + name + CR + "/CreationDate (" + kDate + ")" + CR + "/Subject ()" +
                                  CR + "/Keywords ()" + CR + ">>"});
    return pdf.finish(metadata + 1, metadata + 2);
}

// Compares with the composed bytes and with the reviewed copy kept in tests/data/pdf.
void expectGolden(const std::filesystem::path& written, const std::string& expected, const std::string& goldenName)
{
    const std::filesystem::path golden = std::filesystem::path(ONDAVIA_TEST_DATA) / "pdf" / goldenName;
    if (std::getenv("ONDAVIA_WRITE_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary) << expected;
    }
    const std::string actual = readFile(written);
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(readFile(golden), expected) << "the reviewed copy " << golden << " differs";
}

} // namespace

TEST(FolianGolden, EmptyOnePageDocument)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.BeginDoc((dir / "empty.pdf").string());
    pdf.BeginPage();
    pdf.EndDoc();

    ExpectedPdf expected;
    expected.object(4, {page(5, "")});
    expected.stream(5, "<<", "1 0 0 -1 0 842 cm " + CR + CR + "0 0 0 rg" + CR + "0 0 0 RG");
    const std::string bytes =
        finishDocument(expected, 6, "4 0 R ", "<< /Type /Catalog" + CR + "/Pages 1 0 R" + CR + "/Metadata 6 0 R", {});
    expectGolden(dir / "empty.pdf", bytes, "empty-page.pdf");
    EXPECT_EQ(pdf.FileSize(), static_cast<int32_t>(bytes.size()));
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.pdf.part"));
    EXPECT_READERS_ACCEPT(dir / "empty.pdf", 1, "(senza titolo)", "1.3");
}

TEST(FolianGolden, MarginsBookmarksAndTransition)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.SetMargins(10, 20, 30, 40, true);
    pdf.SetPageTransition(1, 3, 1);
    pdf.SetViewerPreferences(2);
    pdf.BeginDoc((dir / "outline.pdf").string());
    pdf.BeginPage();
    pdf.AddBookmark("Primo", 1, 1, "", 0, "/Fit");
    pdf.AddBookmark("Dettaglio", 2, 1, "", 0, "/XYZ 0 842 0");
    pdf.AddBookmark("Secondo", 1, 1);
    pdf.EndDoc();

    ExpectedPdf expected;
    expected.object(4, {page(5, CR + "/Dur 3 /Trans << /Type /Trans /D 1 /S /Split /Dm /H /M /I >> ")});
    expected.stream(5, "<<", "1 0 0 -1 10 812 cm " + CR + "0 0 566 772 re W n" + CR + CR + "0 0 0 rg" + CR + "0 0 0 RG");
    // Outline dictionary 6, its root item 7 (the document title), then the bookmarks in order.
    expected.object(6, {"<< /Count 1 /First 7 0 R /Last 7 0 R >>"});
    expected.object(7, {"<< /Title (\\(senza titolo\\))" + CR + "/Parent 6 0 R" + CR + "/First 8 0 R" + CR +
                        "/Last 10 0 R" + CR + "/Count 2" + CR + ">>"});
    expected.object(8, {"<< /Title (Primo)" + CR + "/Parent 7 0 R" + CR + "/First 9 0 R" + CR + "/Last 9 0 R" + CR +
                        "/Next 10 0 R" + CR + "/Dest [4 0 R /Fit]" + CR + ">>"});
    expected.object(9, {"<< /Title (Dettaglio)" + CR + "/Parent 8 0 R" + CR + "/Dest [4 0 R /XYZ 0 842 0]" + CR + ">>"});
    expected.object(10, {"<< /Title (Secondo)" + CR + "/Parent 7 0 R" + CR + "/Prev 8 0 R" + CR + ">>"});
    const std::string bytes = finishDocument(
        expected, 11, "4 0 R ",
        "<< /Type /Catalog" + CR + "/Pages 1 0 R" + CR + "/Outlines 6 0 R" + CR + "/Metadata 11 0 R",
        {"/PageMode /UseOutlines"});
    expectGolden(dir / "outline.pdf", bytes, "margins-bookmarks-transition.pdf");
    EXPECT_READERS_ACCEPT(dir / "outline.pdf", 1, "(senza titolo)", "1.3");
}
