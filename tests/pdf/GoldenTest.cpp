// Whole documents compared byte for byte with reviewed copies kept in tests/data/pdf.
#include "PdfTestSupport.h"
#include "PercorsiProva.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

using folian::Folian;
using namespace folian::test;

namespace {

// With ONDAVIA_WRITE_GOLDEN set the written file becomes the reference, to be looked at before it
// is committed.
void expectGolden(const std::filesystem::path& written, const std::string& goldenName)
{
    const std::filesystem::path golden = std::filesystem::path(ONDAVIA_TEST_DATA) / "pdf" / goldenName;
    const std::string actual = readFile(written);
    if (std::getenv("ONDAVIA_WRITE_GOLDEN") != nullptr) {
        std::ofstream(golden, std::ios::binary) << actual;
    }
    EXPECT_EQ(actual, readFile(golden)) << "differs from the reviewed copy " << golden;
}

} // namespace

TEST(FolianGolden, EmptyOnePageDocument)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.BeginDoc((dir / "empty.pdf").string());
    pdf.BeginPage();
    pdf.EndDoc();

    expectGolden(dir / "empty.pdf", "empty-page.pdf");
    EXPECT_EQ(pdf.FileSize(), static_cast<int32_t>(readFile(dir / "empty.pdf").size()));
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

    expectGolden(dir / "outline.pdf", "margins-bookmarks-transition.pdf");
    EXPECT_READERS_ACCEPT(dir / "outline.pdf", 1, "(senza titolo)", "1.3");
}
