#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

using folian::Folian;
using A = folian::FolianTestAccess;
using namespace folian::test;

namespace {

class FolianDocument : public ::testing::Test {
protected:
    void SetUp() override { dir = folian::test::scratchDir(); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};

} // namespace

TEST_F(FolianDocument, PagesAbortAndASecondDocument)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("first.pdf"));
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.Abort();
    EXPECT_FALSE(std::filesystem::exists(path("first.pdf")));
    EXPECT_FALSE(std::filesystem::exists(path("first.pdf.part")));

    pdf.BeginDoc(path("pages.pdf"));
    EXPECT_EQ(pdf.BeginPage(), 1);
    pdf.SetCompression(2);
    pdf.BeginPage(); // writes page 1, compressed
    EXPECT_EQ(pdf.GetPage(), 2);
    pdf.SetCompression(0);
    pdf.EndPage();
    const int32_t size = pdf.FileSize();
    pdf.EndPage(); // a second end writes nothing
    EXPECT_EQ(pdf.FileSize(), size);
    pdf.EndDoc();
    const std::string file = readFile(path("pages.pdf"));
    EXPECT_TRUE(objectText(file, 5).starts_with("<<\n/Filter [/FlateDecode ]")) << objectText(file, 5);
    EXPECT_EQ(objectText(file, 7).find("/Filter"), std::string::npos) << objectText(file, 7);
    EXPECT_READERS_ACCEPT(path("pages.pdf"), 2, "(senza titolo)", "1.3");

    // Without a reset the object refuses another document rather than mixing the two.
    EXPECT_EQ(pdf.BeginDoc(path("third.pdf")), path("pages.pdf"));
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::InvalidCall);
    EXPECT_THROW(pdf.BeginPage(), folian::Error);
    EXPECT_FALSE(std::filesystem::exists(path("third.pdf.part")));

    // No page drawn still gives one page; outlines mode without outlines writes nothing.
    pdf.Abort();
    pdf.BeginDoc(path("second.pdf"));
    pdf.SetViewerPreferences(2);
    pdf.EndDoc();
    const std::string pageless = readFile(path("second.pdf"));
    EXPECT_EQ(pageless.find("/Outlines"), std::string::npos);
    EXPECT_EQ(pageless.find("/PageMode"), std::string::npos);
    EXPECT_READERS_ACCEPT(path("second.pdf"), 1, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, RotationTransitionAndViewerSettings)
{
    Folian pdf(fixedHooks());
    pdf.SetPageView(2);
    pdf.SetPageTransition(1, 3, 1);
    pdf.SetPageTransition(18, 0, 0); // no such transition: the last one stands
    pdf.SetViewerPreferences(0x2000 + 128 + 4 + 16);
    pdf.BeginDoc(path("view.pdf"));
    pdf.BeginPage();
    pdf.SetPageView(3);             // this page only
    pdf.SetPageTransition(0, 0, 0); // this page only
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.EndDoc();
    const std::string file = readFile(path("view.pdf"));
    EXPECT_EQ(countOf(file, "/Rotate 90"), 1);
    EXPECT_EQ(countOf(file, "/Rotate 180"), 2);
    EXPECT_EQ(countOf(file, "/Dur 3 /Trans << /Type /Trans /D 1 /S /Split /Dm /H /M /I >> "), 2);
    EXPECT_NE(file.find("\n/PageLayout /OneColumn\n/PageMode /UseThumbs\n"
                        "/ViewerPreferences << /HideMenubar true /DisplayDocTitle true  >>"),
              std::string::npos);
    EXPECT_READERS_ACCEPT(path("view.pdf"), 3, "(senza titolo)", "1.4"); // the title shown
}

TEST_F(FolianDocument, LayersRaiseTheVersionAboveWhatTheTitleAsks)
{
    Folian layered(fixedHooks());
    layered.SetViewerPreferences(128); // the title shown asks for 1.4, after the layers asked for 1.5
    layered.BeginDoc(path("layers.pdf"));
    layered.BeginPage();
    layered.BeginLayer("Notes");
    layered.EndLayer();
    layered.BeginLayer("NOTES");
    layered.BeginLayer("SCREEN", false);
    layered.BeginLayer("PRINTER", true, false);
    EXPECT_EQ(countOf(A::PageContent(layered), "/OC /_LAY_1 BDC"), 2);
    layered.EndDoc();
    const std::string file = readFile(path("layers.pdf"));
    // Objects 6 to 8: Notes, SCREEN (shown whatever was asked), PRINTER (hidden, not listed).
    EXPECT_NE(file.find("/ON [6 0 R 7 0 R ] \n/OFF [8 0 R ] \n/Order [(\\(senza titolo\\)) 6 0 R 7 0 R ]"),
              std::string::npos);
    EXPECT_NE(file.find("<</Event /Print /OCGs [8 0 R 7 0 R ] /Category [/Print]>> "), std::string::npos);
    EXPECT_READERS_ACCEPT(path("layers.pdf"), 1, "(senza titolo)", "1.5");
}

TEST_F(FolianDocument, DocumentAndPageScripts)
{
    Folian pdf(fixedHooks());
    pdf.OnDocEvent(2, "app.alert('open');");
    pdf.OnDocEvent(8, "var a = 1;");
    pdf.OnDocEvent(9, "ignored");
    pdf.BeginDoc(path("scripts.pdf"));
    pdf.BeginPage();
    pdf.OnDocEvent(0, "1;");
    pdf.BeginPage();
    pdf.EndDoc();
    const std::string file = readFile(path("scripts.pdf"));
    // Page 1: its open script 4, then the page 5.
    EXPECT_NE(objectText(file, 5).find("/AA << /O << /Type /Action /S /JavaScript /JS 4 0 R >>"), std::string::npos);
    // Document scripts after the pages: open 9, global 10 with its names object 11.
    EXPECT_NE(file.find("/Names 11 0 R\r/OpenAction << /S /JavaScript /JS 9 0 R >>\r\n"), std::string::npos);
    EXPECT_NE(objectText(file, 11).find("(globalscript) << /S /JavaScript /JS 10 0 R >>"), std::string::npos);
    const auto report = folian::test::readWithReaders(path("scripts.pdf"));
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    EXPECT_EQ(report.field("JavaScript"), "yes");
}

TEST_F(FolianDocument, FinishedFileIsSyncedOpenedOrItsFailureReported)
{
    auto hooks = fixedHooks();
    std::string opened;
    hooks.openInViewer = [&opened](const std::string& file) {
        opened = file;
        return true;
    };
    Folian pdf(hooks);
    pdf.BeginDoc(path("open.pdf"));
    EXPECT_THROW(pdf.OpenDoc(), folian::Error); // not finished yet
    pdf.EndDoc();
    EXPECT_TRUE(A::FileSynced(pdf)); // on the disk before it took its name
    pdf.OpenDoc();
    EXPECT_EQ(opened, path("open.pdf"));

    // Switched off for a comparison, and on again after a reset.
    pdf.Abort();
    pdf.SetFileSync(false);
    pdf.BeginDoc(path("unsynced.pdf"));
    pdf.EndDoc();
    EXPECT_FALSE(A::FileSynced(pdf));
    pdf.Abort();
    pdf.BeginDoc(path("again.pdf"));
    pdf.EndDoc();
    EXPECT_TRUE(A::FileSynced(pdf));
    // An abandoned document is removed, not waited for.
    pdf.Abort();
    pdf.BeginDoc(path("dropped.pdf"));
    pdf.Abort();
    EXPECT_FALSE(A::FileSynced(pdf));

    Folian blocked(fixedHooks());
    blocked.BeginDoc(path("gone.pdf"));
    blocked.BeginPage();
    // A folder stands where the finished file should go, so the final rename fails.
    std::filesystem::create_directories(path("gone.pdf") + "/blocker");
    EXPECT_THROW(blocked.EndDoc(), folian::Error);
    EXPECT_FALSE(std::filesystem::exists(path("gone.pdf.part")));
    EXPECT_THROW(blocked.OpenDoc(), folian::Error); // no viewer hook
}
