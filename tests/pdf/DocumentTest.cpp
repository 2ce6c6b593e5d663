#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>
#include <nettle/arcfour.h>
#include <nettle/md5.h>
#include <zlib.h>

#include <regex>

using folian::Folian;
using A = folian::FolianTestAccess;
using folian::test::countOf;
using folian::test::objectText;
using folian::test::fixedHooks;
using folian::test::readFile;

namespace {


class FolianDocument : public ::testing::Test {
protected:
    void SetUp() override { dir = folian::test::scratchDir(); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::filesystem::path dir;
};

} // namespace

TEST_F(FolianDocument, EmptyPageObjectsAndContent)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("empty.pdf"));
    EXPECT_EQ(pdf.BeginPage(), 1);
    pdf.EndDoc();
    const std::string file = readFile(path("empty.pdf"));
    const std::string page = objectText(file, 4);
    EXPECT_NE(page.find("/Parent 1 0 R /Contents 5 0 R"), std::string::npos);
    EXPECT_NE(page.find("/Resources 2 0 R"), std::string::npos);
    for (const char* absent : {"/Rotate", "/Annots", "/Dur", "/AA"}) {
        EXPECT_EQ(page.find(absent), std::string::npos) << absent;
    }
    EXPECT_NE(objectText(file, 5).find("stream\n1 0 0 -1 0 842 cm \r\r0 0 0 rg\r0 0 0 RG\nendstream"),
              std::string::npos);
    EXPECT_EQ(pdf.FileSize(), static_cast<int32_t>(file.size()));
    EXPECT_FALSE(std::filesystem::exists(path("empty.pdf.part")));
    EXPECT_READERS_ACCEPT(path("empty.pdf"), 1, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, MarginsClipAndRepeatedPageCalls)
{
    Folian pdf(fixedHooks());
    pdf.SetMargins(10, 20, 30, 40, true);
    pdf.BeginDoc(path("margins.pdf"));
    pdf.BeginPage();
    EXPECT_EQ(A::PageContent(pdf), "\r0 0 0 rg\r0 0 0 RG");
    pdf.BeginPage(); // writes page 1
    EXPECT_EQ(pdf.GetPage(), 2);
    pdf.EndPage();
    const int32_t size = pdf.FileSize();
    pdf.EndPage();
    EXPECT_EQ(pdf.FileSize(), size);
    pdf.EndDoc();
    const std::string file = readFile(path("margins.pdf"));
    EXPECT_EQ(countOf(file, "stream\n1 0 0 -1 10 812 cm \r0 0 566 772 re W n\r\r0 0 0 rg"), 2);
    EXPECT_NE(file.find("/Count 2\r/Kids [4 0 R 6 0 R ]"), std::string::npos);
    EXPECT_READERS_ACCEPT(path("margins.pdf"), 2, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, NoPageDrawnStillGivesOnePage)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("nopage.pdf"));
    pdf.SetViewerPreferences(2); // outlines mode without outlines writes nothing
    pdf.EndDoc();
    const std::string file = readFile(path("nopage.pdf"));
    EXPECT_NE(file.find("/Type /Pages /Count 1\r"), std::string::npos);
    EXPECT_EQ(file.find("/Outlines"), std::string::npos);
    EXPECT_EQ(file.find("/PageMode"), std::string::npos);
    EXPECT_NE(file.find("\r/Metadata 6 0 R"), std::string::npos);
    EXPECT_NE(file.find("/Subject ()\r/Keywords ()"), std::string::npos);
    EXPECT_READERS_ACCEPT(path("nopage.pdf"), 1, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, CrossReferenceAndTrailer)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("xref.pdf"));
    pdf.BeginPage();
    pdf.AddBookmark("Uno", 1, 1, "", 0, "/Fit");
    pdf.BeginPage();
    pdf.EndDoc();
    const std::string file = readFile(path("xref.pdf"));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(file, m, std::regex("startxref\n(\\d+)\n%%EOF\n$")));
    const std::size_t xref = std::stoul(m[1]);
    ASSERT_EQ(file.compare(xref, 7, "xref\n0 "), 0);
    const int count = std::stoi(file.substr(xref + 7));
    EXPECT_NE(file.find("<< /Size " + std::to_string(count) + " /Info " + std::to_string(count - 1) + " 0 R"),
              std::string::npos);
    std::size_t line = file.find('\n', xref + 5) + 1;
    EXPECT_EQ(file.substr(line, 20), "0000000000 65535 f\r\n");
    for (int n = 1; n < count; ++n) {
        line += 20;
        const std::string entry = file.substr(line, 20);
        ASSERT_TRUE(std::regex_match(entry, std::regex("\\d{10} 00000 n\r\n"))) << entry;
        EXPECT_EQ(file.compare(std::stoul(entry.substr(0, 10)), std::to_string(n).size() + 7,
                               std::to_string(n) + " 0 obj\n"),
                  0)
            << "object " << n;
    }
    EXPECT_EQ(file.compare(line + 20, 8, "trailer\n"), 0);
    EXPECT_EQ(file.find("/Encrypt"), std::string::npos);
    EXPECT_EQ(file.find("/ID"), std::string::npos);
    EXPECT_READERS_ACCEPT(path("xref.pdf"), 2, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, AbortDropsTheUnfinishedDocument)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("first.pdf"));
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.Abort();
    EXPECT_FALSE(std::filesystem::exists(path("first.pdf")));
    EXPECT_FALSE(std::filesystem::exists(path("first.pdf.part")));
    pdf.BeginDoc(path("second.pdf"));
    pdf.EndDoc();
    // Without a reset the object refuses another document rather than mixing the two.
    EXPECT_EQ(pdf.BeginDoc(path("third.pdf")), path("second.pdf"));
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::InvalidCall);
    EXPECT_THROW(pdf.BeginPage(), folian::Error);
    EXPECT_FALSE(std::filesystem::exists(path("third.pdf.part")));
    const std::string file = readFile(path("second.pdf"));
    EXPECT_NE(file.find("/Count 1\r/Kids [4 0 R ]"), std::string::npos);
    EXPECT_READERS_ACCEPT(path("second.pdf"), 1, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, RotationTransitionAndViewerSettings)
{
    Folian pdf(fixedHooks());
    pdf.SetPageView(2);
    pdf.SetPageTransition(1, 3, 1);
    pdf.SetViewerPreferences(0x2000 + 4 + 16);
    pdf.BeginDoc(path("view.pdf"));
    pdf.BeginPage();
    pdf.SetPageView(3);            // this page only
    pdf.SetPageTransition(0, 0, 0); // this page only
    pdf.BeginPage();
    pdf.BeginPage();
    pdf.EndDoc();
    const std::string file = readFile(path("view.pdf"));
    EXPECT_EQ(countOf(file, "/Rotate 90"), 1);
    EXPECT_EQ(countOf(file, "/Rotate 180"), 2);
    EXPECT_EQ(countOf(file, "/Dur 3 /Trans << /Type /Trans /D 1 /S /Split /Dm /H /M /I >> "), 2);
    EXPECT_NE(file.find("\n/PageLayout /OneColumn\n/PageMode /UseThumbs\n/ViewerPreferences << /HideMenubar true  >>"),
              std::string::npos);
    EXPECT_READERS_ACCEPT(path("view.pdf"), 3, "(senza titolo)", "1.3");
}

TEST_F(FolianDocument, VersionIsRaisedByWhatTheDocumentUses)
{
    Folian titled(fixedHooks());
    titled.SetViewerPreferences(128);
    titled.BeginDoc(path("title.pdf"));
    titled.EndDoc();
    EXPECT_EQ(readFile(path("title.pdf")).substr(0, 9), "%PDF-1.4\n");
    EXPECT_READERS_ACCEPT(path("title.pdf"), 1, "(senza titolo)", "1.4");

    Folian layered(fixedHooks());
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
    EXPECT_EQ(file.substr(0, 9), "%PDF-1.5\n");
    EXPECT_NE(file.find("<</Type /OCG /Name (Notes)>>"), std::string::npos);
    // Objects 6 to 8: Notes, SCREEN (shown whatever was asked), PRINTER (hidden, not listed).
    EXPECT_NE(file.find("/ON [6 0 R 7 0 R ] \n/OFF [8 0 R ] \n/Order [(\\(senza titolo\\)) 6 0 R 7 0 R ]"),
              std::string::npos);
    EXPECT_NE(file.find("<</Event /Print /OCGs [8 0 R 7 0 R ] /Category [/Print]>> "), std::string::npos);
    EXPECT_READERS_ACCEPT(path("layers.pdf"), 1, "(senza titolo)", "1.5");
}

TEST_F(FolianDocument, ScriptsFormFieldsAndNamedDestinations)
{
    Folian pdf(fixedHooks());
    pdf.OnDocEvent(2, "app.alert('open');");
    pdf.OnDocEvent(8, "var a = 1;");
    pdf.OnDocEvent(9, "ignored");
    pdf.BeginDoc(path("forms.pdf"));
    pdf.BeginPage();
    pdf.OnDocEvent(0, "1;");
    folian::FieldWidgetRecord field;
    field.FieldName = "Nome";
    field.WidgetDictionary = "<< /Type /Annot /Subtype /Widget /FT /Tx /Rect [10 10 100 30] /F 4";
    field.DefaultAppearance = "/Helv 10 Tf 0 g";
    field.Value = "Mario";
    A::AddField(pdf, field);
    A::AddNamedDest(pdf, 0, "/Fit", "/_REF_zero");
    A::AddNamedDest(pdf, 9, "/FitH 100", "/_REF_far");
    pdf.BeginPage();
    pdf.EndDoc();
    const std::string file = readFile(path("forms.pdf"));
    // Page 1: open script 4, widget 5, page 6; the widget points at its page and is listed twice.
    EXPECT_NE(objectText(file, 5).find("/V (Mario) /DV (Mario)  /P 6 0 R >>"), std::string::npos);
    EXPECT_NE(objectText(file, 6).find("/Annots 8 0 R/Resources 2 0 R\n/AA << /O << /Type /Action /S /JavaScript /JS 4 0 R >>"),
              std::string::npos);
    EXPECT_EQ(objectText(file, 8), "[ 5 0 R  ]");
    EXPECT_EQ(A::AcroFormFields(pdf), "5 0 R ");
    EXPECT_NE(file.find("/AcroForm <</NeedAppearances true /Fields [5 0 R ] /CO []"), std::string::npos);
    // Document scripts after the pages: open 11, global 12 with its names object 13.
    EXPECT_NE(file.find("/Names 13 0 R\r/OpenAction << /S /JavaScript /JS 11 0 R >>\r\n"), std::string::npos);
    EXPECT_NE(objectText(file, 13).find("(globalscript) << /S /JavaScript /JS 12 0 R >>"), std::string::npos);
    // Destinations outside the document go to its first and last page.
    EXPECT_NE(file.find("<</_REF_zero [6 0 R /Fit] /_REF_far [9 0 R /FitH 100] >>"), std::string::npos);
    const auto report = folian::test::readWithReaders(path("forms.pdf"));
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    EXPECT_EQ(report.field("JavaScript"), "yes");
    EXPECT_EQ(report.field("Form"), "AcroForm");
    EXPECT_EQ(report.pdfinfoStderr, "");
}

TEST_F(FolianDocument, CompressedStreamsInflateBack)
{
    Folian pdf(fixedHooks());
    pdf.SetCompression(2 + 16, 1);
    pdf.BeginDoc(path("flate.pdf"));
    pdf.BeginPage();
    pdf.SetLineWidth(2);
    pdf.EndPage();
    pdf.SetCompression(0);
    pdf.BeginPage();
    pdf.EndDoc();
    const std::string file = readFile(path("flate.pdf"));
    const std::string content = objectText(file, 5);
    EXPECT_EQ(content.rfind("<<\n/Filter [/ASCIIHexDecode /FlateDecode ]\n/Length ", 0), 0u);
    EXPECT_NE(content.find("stream\n785E"), std::string::npos);
    EXPECT_NE(objectText(file, 7).find("/Length 37 >>"), std::string::npos); // plain again
    EXPECT_READERS_ACCEPT(path("flate.pdf"), 2, "(senza titolo)", "1.3");

    std::vector<uint8_t> data{'q', ' ', 'Q'};
    Folian::zzToFlateDecode(data, 3);
    ASSERT_GE(data.size(), 2u);
    EXPECT_EQ(data[0], 0x78);
    EXPECT_EQ(data[1], 0x5E);
    uLongf size = 16;
    std::vector<uint8_t> back(size);
    ASSERT_EQ(uncompress(back.data(), &size, data.data(), data.size()), Z_OK);
    EXPECT_EQ(std::string(back.begin(), back.begin() + static_cast<long>(size)), "q Q");
}

TEST_F(FolianDocument, ProtectedDocumentEncryptsStringsAndNamesItsKey)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("secret.pdf"));
    A::SetProtection(pdf, "KEY40", "owner(", "user", -44, 10, std::string("\x01\xfe", 2));
    pdf.EndDoc();
    const std::string file = readFile(path("secret.pdf"));
    EXPECT_NE(file.find("<< /Filter /Standard \r/O (owner\\()\r/U (user)\r/P -44\r/V 1 /R 2 >>"), std::string::npos);
    EXPECT_NE(file.find(" 0 R /ID [<01FE><01FE>]\n>>\nstartxref"), std::string::npos);
    // The information dictionary (last object) holds the title under its own object key.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(file, m, std::regex("/Info (\\d+) 0 R")));
    const int info = std::stoi(m[1]);
    std::string material = "KEY40";
    material += {static_cast<char>(info & 0xFF), static_cast<char>((info >> 8) & 0xFF), 0, 0, 0};
    uint8_t digest[MD5_DIGEST_SIZE];
    md5_ctx md5;
    md5_init(&md5);
    md5_update(&md5, material.size(), reinterpret_cast<const uint8_t*>(material.data()));
    md5_digest(&md5, sizeof digest, digest);
    arcfour_ctx rc4;
    arcfour_set_key(&rc4, 10, digest);
    const std::string title = "(senza titolo)";
    std::string expected(title.size(), '\0');
    arcfour_crypt(&rc4, title.size(), reinterpret_cast<uint8_t*>(expected.data()),
                  reinterpret_cast<const uint8_t*>(title.data()));
    EXPECT_NE(objectText(file, info).find("/Title (" + A::EscapeString(expected) + ")"), std::string::npos);
}

TEST_F(FolianDocument, FailedWritesAreReportedNotHidden)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("gone.pdf"));
    pdf.BeginPage();
    // A folder stands where the finished file should go, so the final rename fails.
    std::filesystem::create_directories(path("gone.pdf") + "/blocker");
    EXPECT_THROW(pdf.EndDoc(), folian::Error);
    EXPECT_FALSE(std::filesystem::exists(path("gone.pdf.part")));
    EXPECT_THROW(pdf.OpenDoc(), folian::Error); // no viewer hook
}

TEST_F(FolianDocument, TheFinishedFileIsOnDiskBeforeItTakesItsName)
{
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path("synced.pdf"));
    pdf.EndDoc();
    EXPECT_TRUE(A::FileSynced(pdf));
    EXPECT_TRUE(std::filesystem::exists(path("synced.pdf")));

    // Switched off for a comparison, and on again after a reset.
    pdf.Abort();
    pdf.SetFileSync(false);
    pdf.BeginDoc(path("unsynced.pdf"));
    pdf.EndDoc();
    EXPECT_FALSE(A::FileSynced(pdf));
    EXPECT_TRUE(std::filesystem::exists(path("unsynced.pdf")));
    pdf.Abort();
    pdf.BeginDoc(path("again.pdf"));
    pdf.EndDoc();
    EXPECT_TRUE(A::FileSynced(pdf));

    // An abandoned document is removed, not waited for.
    pdf.Abort();
    pdf.BeginDoc(path("dropped.pdf"));
    pdf.Abort();
    EXPECT_FALSE(A::FileSynced(pdf));
    EXPECT_FALSE(std::filesystem::exists(path("dropped.pdf.part")));
}

TEST_F(FolianDocument, OpenDocHandsTheFileToTheViewer)
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
    pdf.OpenDoc();
    EXPECT_EQ(opened, path("open.pdf"));
}
