// Stored objects and tiling patterns: their dictionaries, where they are placed, and how
// poppler draws them.
#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using folian::Folian;
using A = folian::FolianTestAccess;
using namespace folian::test;

namespace {

// A filled rectangle, drawn as a table of one cell.
void box(Folian& pdf, float x, float y, float width, float height)
{
    pdf.BeginTable(x, y);
    pdf.BeginRow(height);
    pdf.BeginColumn(width);
    pdf.EndColumn();
    pdf.EndRow();
    pdf.EndTable();
}

} // namespace

TEST(FolianStoredObjects, DictionariesNamesAndRecording)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    EXPECT_THROW(pdf.BeginObject("LOGO"), folian::Error); // no document yet
    pdf.BeginDoc((dir / "objects.pdf").string());
    pdf.BeginPage();
    pdf.SetFont("Arial", 10, 0, 0);

    pdf.BeginObject("LOGO");
    pdf.BeginObject("INNER"); // objects do not nest
    pdf.DrawText(10, 20, "Logo");
    EXPECT_EQ(A::PageContent(pdf), "\r0 0 0 rg\r0 0 0 RG");
    pdf.EndObject();
    const int32_t size = pdf.FileSize();
    pdf.EndObject();
    pdf.EndTiling();
    EXPECT_EQ(pdf.FileSize(), size);                      // nothing was being recorded
    EXPECT_THROW(pdf.BeginObject("LOGO"), folian::Error); // a name is taken once
    EXPECT_THROW(pdf.BeginObject(""), folian::Error);
    pdf.PlayObject("LOGO");
    EXPECT_EQ(A::PageContent(pdf), "\r0 0 0 rg\r0 0 0 RG\rq /LOGO Do Q");

    pdf.SetScale(2);
    pdf.BeginTiling(" dots ", 0, 0, 10, 10, 10, 12, 1);
    pdf.BeginTiling("OTHER", 0, 0, 5, 5, 5, 5, 0); // only turns the pattern coloured
    pdf.SetColorFill("red");
    pdf.BeginTiling("OTHER", 0, 0, 5, 5, 5, 5, 1);
    pdf.SetColorFill("blue"); // ignored: an uncoloured pattern draws no colours of its own
    pdf.SetLineWidth(0.5f);
    pdf.EndTiling();
    EXPECT_THROW(pdf.BeginTiling("Dots", 0, 0, 1, 1, 1, 1), folian::Error);
    pdf.EndDoc();

    const std::string file = readFile(dir / "objects.pdf");
    EXPECT_EQ(storedStream(file, 6), "1 0 0 -1 0 28.346 cm\r1 0 0 rg\r1.417 w");
    EXPECT_NE(file.find("<< /Type /Pattern /PatternType 1 /PaintType 2\r/TilingType 1\r/BBox [0 0 28.346 28.346]\r"
                        "/Resources 3 0 R\r/XStep 28.346 /YStep 34.016\r/Matrix [1 0 0 1 0 0]\n/Length "),
              std::string::npos);
    // Pages name both; patterns name the resources without patterns.
    EXPECT_NE(folian::test::objectText(file, 2).find("/XObject <<\r/LOGO 5 0 R \r\r>>\r/ColorSpace << /xxCSxx "
                                                     "[ /Pattern /DeviceRGB ] >> \r/Pattern <<\r/DOTS 6 0 R \r>>"),
              std::string::npos);
    EXPECT_EQ(folian::test::objectText(file, 3).find("/Pattern"), std::string::npos);
    EXPECT_READERS_ACCEPT(dir / "objects.pdf", 1, "(senza titolo)", "1.3");
}

TEST(FolianStoredObjects, AutomaticObjectsOnTheirPages)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.BeginDoc((dir / "auto.pdf").string());
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.BeginObject("ODD", 4);
    pdf.DrawText(10, 20, "Pagina dispari");
    pdf.LinkTo("inizio");
    pdf.EndObject();
    pdf.BeginObject("FOOT", 16 + 7);
    pdf.DrawText(10, 800, "Piede");
    pdf.EndObject();
    for (int page = 1; page <= 4; ++page) {
        pdf.BeginPage();
        pdf.DrawText(10, 100, "Corpo " + std::to_string(page));
        if (page == 1) {
            pdf.DefineRef("inizio");
        }
    }
    // A page begun while an object is recorded is recorded into it, but the object is never
    // placed inside itself; left open, it is written by the document's end.
    pdf.BeginObject("OPEN", 7);
    pdf.DrawText(10, 40, "Aperto");
    pdf.BeginPage();
    pdf.EndDoc();

    const std::string file = readFile(dir / "auto.pdf");
    std::vector<std::string> contents;
    static const std::regex page("/Type /Page /Parent 1 0 R /Contents (\\d+) 0 R");
    for (auto it = std::sregex_iterator(file.begin(), file.end(), page); it != std::sregex_iterator(); ++it) {
        contents.push_back(folian::test::storedStream(file, std::stoi((*it)[1])));
    }
    ASSERT_EQ(contents.size(), 5u);
    for (int page = 1; page <= 4; ++page) {
        const std::string& content = contents[static_cast<std::size_t>(page - 1)];
        SCOPED_TRACE("page " + std::to_string(page));
        EXPECT_EQ(countOf(content, "q /ODD Do Q"), page % 2);
        // Under the page's own text, and the footer over it.
        if (page % 2 == 1) {
            EXPECT_LT(content.find("q /ODD Do Q"), content.find("(Corpo"));
        }
        EXPECT_GT(content.rfind("q /FOOT Do Q"), content.find("(Corpo"));
    }
    EXPECT_EQ(countOf(file, "/Name /OPEN"), 1);
    EXPECT_EQ(countOf(file, "q /OPEN Do Q"), 0);
    // The link drawn into the odd pages' object belongs to those pages.
    std::smatch link;
    ASSERT_TRUE(std::regex_search(file, link, std::regex("\n(\\d+) 0 obj\n<< /Type /Annot /Subtype /Link")));
    EXPECT_EQ(countOf(file, "[ " + std::string(link[1]) + " 0 R  ]"), 3); // pages 1, 3 and 5
    EXPECT_READERS_ACCEPT(dir / "auto.pdf", 5, "(senza titolo)", "1.3");
}

TEST(FolianStoredObjects, PatternsAndObjectsAsDrawn)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.SetScale(2);
    pdf.BeginDoc((dir / "drawn.pdf").string());
    pdf.SetFont("Helvetica", 30, 1, 0);
    pdf.SetLineWidth(0);

    // A coloured checkerboard, an uncoloured dot and a frame on every page.
    pdf.BeginTiling("CHECKER", 0, 0, 10, 10, 10, 10, 0);
    pdf.SetColorFill("navy");
    box(pdf, 0, 0, 5, 5);
    pdf.SetColorFill("orange");
    box(pdf, 5, 5, 5, 5);
    pdf.EndTiling();
    pdf.BeginTiling("DOT", 0, 0, 6, 6, 6, 6, 1);
    box(pdf, 1.5f, 1.5f, 3, 3);
    pdf.EndTiling();
    pdf.BeginObject("FRAME", 7);
    pdf.SetColorFill("silver");
    box(pdf, 10, 10, 190, 12);
    pdf.SetColorText("black");
    pdf.DrawText(15, 20, "Ondavia");
    pdf.EndObject();

    pdf.BeginPage();
    pdf.SetColorFill("CHECKER");
    box(pdf, 15, 40, 80, 60);
    pdf.SetColorFill("DOT;red");
    box(pdf, 110, 40, 80, 60);
    pdf.SetColorText("DOT;black");
    pdf.SetFont("Helvetica", 60, 1, 0);
    pdf.DrawText(15, 150, "MOTIVI");
    pdf.EndDoc();

    EXPECT_READERS_ACCEPT(dir / "drawn.pdf", 1, "(senza titolo)", "1.3");
    folian::test::expectPageLooksLike(dir / "drawn.pdf", 1, 40, "pdf/objects-and-patterns.png");
}
