// Pages of a PDF made by another writer (libharu) placed under the writer's own content, and
// sources that are refused without harm to the document.
#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>
#include <hpdf.h>

#include <fstream>
#include <regex>

using folian::Folian;
using A = folian::FolianTestAccess;
using namespace folian::test;

namespace {

void haruError(HPDF_STATUS error, HPDF_STATUS detail, void*)
{
    ADD_FAILURE() << "libharu error " << std::hex << error << " (" << detail << ")";
}

// Two pages by libharu, compressed: an A4 letterhead with a title, a line of text, a small picture and the photo `jpeg` when given; then a page of 400 by 300 points shown turned by
// 90 degrees.
void writeHaruSource(const std::filesystem::path& path, const char* owner = nullptr, const char* user = "",
                     const std::filesystem::path& jpeg = {})
{
    HPDF_Doc doc = HPDF_New(haruError, nullptr);
    HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    HPDF_SetInfoAttr(doc, HPDF_INFO_TITLE, "Carta intestata");

    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetWidth(page, 596);
    HPDF_Page_SetHeight(page, 842);
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(doc, "Times-Bold", nullptr), 24);
    HPDF_Page_TextOut(page, 60, 770, "Intestazione");
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(doc, "Helvetica", nullptr), 10);
    HPDF_Page_TextOut(page, 60, 750, "Registro Elettronico degli Indirizzi");
    HPDF_Page_EndText(page);
    std::vector<HPDF_BYTE> pixels;
    for (int i = 0; i < 16 * 16; ++i) {
        pixels.insert(pixels.end(), {static_cast<HPDF_BYTE>(i), 0x80, static_cast<HPDF_BYTE>(255 - i)});
    }
    HPDF_Image image = HPDF_LoadRawImageFromMem(doc, pixels.data(), 16, 16, HPDF_CS_DEVICE_RGB, 8);
    HPDF_Page_DrawImage(page, image, 480, 740, 60, 60);
    if (!jpeg.empty()) {
        HPDF_Page_DrawImage(page, HPDF_LoadJpegImageFromFile(doc, jpeg.c_str()), 480, 640, 60, 85);
    }

    HPDF_Page turned = HPDF_AddPage(doc);
    HPDF_Page_SetWidth(turned, 400);
    HPDF_Page_SetHeight(turned, 300);
    HPDF_Page_SetRotate(turned, 90);
    HPDF_Page_BeginText(turned);
    HPDF_Page_SetFontAndSize(turned, HPDF_GetFont(doc, "Times-Bold", nullptr), 18);
    HPDF_Page_TextOut(turned, 50, 150, "Ruotata");
    HPDF_Page_EndText(turned);

    if (owner != nullptr) {
        HPDF_SetPassword(doc, owner, user);
        HPDF_SetEncryptionMode(doc, HPDF_ENCRYPT_R3, 16);
    }
    HPDF_SaveToFile(doc, path.c_str());
    HPDF_Free(doc);
}

// Where pdftotext puts `word` on page `page`.
folian::test::PlacedWord placed(const std::filesystem::path& path, int page, const std::string& word,
                                const std::string& password = {})
{
    const std::string options =
        "-f " + std::to_string(page) + " -l " + std::to_string(page) + (password.empty() ? "" : " -upw " + password);
    for (const auto& placedWord : folian::test::placedWords(path, options)) {
        if (placedWord.text == word) {
            return placedWord;
        }
    }
    return {0, 0, 0, 0, "(missing " + word + ")"};
}

void expectSamePlace(const folian::test::PlacedWord& actual, const folian::test::PlacedWord& expected)
{
    EXPECT_EQ(actual.text, expected.text);
    EXPECT_NEAR(actual.xMin, expected.xMin, 0.5);
    EXPECT_NEAR(actual.yMin, expected.yMin, 0.5);
    EXPECT_NEAR(actual.xMax, expected.xMax, 0.5);
    EXPECT_NEAR(actual.yMax, expected.yMax, 0.5);
}

void expectRefused(const Folian& pdf, int32_t number, const std::string& path)
{
    EXPECT_EQ(pdf.ErrNumber(), number) << pdf.ErrDescription();
    EXPECT_EQ(pdf.ErrSource(), "Folian.ImportPage");
    EXPECT_TRUE(pdf.ErrDescription().ends_with(" - " + path)) << pdf.ErrDescription();
}

} // namespace

TEST(FolianImport, ForeignPageUnderTheWritersText)
{
    const auto dir = folian::test::scratchDir();
    // A photo kept as JPEG data, which the import copies as it stands.
    writeHaruSource(dir / "photo.pdf");
    runCommand("pdftoppm -jpeg -r 8 -singlefile '" + (dir / "photo.pdf").string() + "' '" + (dir / "photo").string() +
               "'");
    const auto source = dir / "letterhead.pdf";
    writeHaruSource(source, nullptr, "", dir / "photo.jpg");

    Folian pdf(fixedHooks());
    std::map<std::string, std::string> info;
    EXPECT_EQ(pdf.GetInfo(source.string(), &info), 2);
    EXPECT_EQ(info["Title"], "Carta intestata");

    // The copies go through this document's filters.
    pdf.SetCompression(4 + 8);
    pdf.BeginDoc((dir / "over.pdf").string());
    EXPECT_EQ(pdf.ImportPage(source.string(), 1, "BASE"), "BASE");
    EXPECT_EQ(pdf.ImportPage(source.string(), 1), "_IMP_2");
    EXPECT_EQ(pdf.ErrNumber(), 0) << pdf.ErrDescription();
    EXPECT_EQ(A::LastBounds(pdf), (std::array<float, 4>{0, 0, 596, 842}));
    pdf.BeginPage();
    pdf.PlayObject("BASE");
    pdf.SetFont("Arial", 12, 0, 0);
    pdf.DrawText(60, 200, "Testo del soggetto");
    pdf.BeginPage();
    pdf.BeginSpace(100, 100, 0.5f, 0.5f);
    pdf.PlayObject("_IMP_2");
    pdf.EndSpace();
    pdf.EndDoc();

    const auto out = dir / "over.pdf";
    EXPECT_READERS_ACCEPT(out, 2, "(senza titolo)", "1.3");
    const std::string file = readFile(out);
    EXPECT_NE(file.find("/Filter [/ASCII85Decode /DCTDecode ]"), std::string::npos);
    // The page's fonts and pictures are shared by both copies.
    EXPECT_EQ(countOf(file, "/BaseFont /Times-Bold"), 1);
    EXPECT_EQ(countOf(file, "/Subtype /Image"), 2);
    EXPECT_EQ(runCommand("pdftoppm -r 20 '" + out.string() + "' 2>&1 >/dev/null"), "");
    expectSamePlace(placed(out, 1, "Indirizzi"), placed(source, 1, "Indirizzi"));
    EXPECT_EQ(placed(out, 1, "soggetto").text, "soggetto");
    // Half the size, 100 points in from the top-left corner.
    const auto small = placed(out, 2, "Intestazione");
    const auto large = placed(source, 1, "Intestazione");
    EXPECT_NEAR(small.xMin, 100 + large.xMin / 2, 0.5);
    EXPECT_NEAR(small.yMin, 100 + large.yMin / 2, 0.5);
    const std::string images = runCommand("pdfimages -list '" + out.string() + "'");
    EXPECT_NE(images.find("16    16  rgb     3   8  image"), std::string::npos) << images;
    EXPECT_NE(images.find("  jpeg "), std::string::npos) << images;
}

// Refused sources leave the protected document whole; page 2 of the source is shown 300 points wide and
// 400 high: on a page of that size it lands in place.
TEST(FolianImport, RefusedSourcesAndATurnedPageInAProtectedDocument)
{
    const auto dir = folian::test::scratchDir();
    const auto good = dir / "good.pdf";
    writeHaruSource(good);
    const std::string bytes = readFile(good);
    const auto truncated = dir / "truncated.pdf";
    std::ofstream(truncated, std::ios::binary) << bytes.substr(0, bytes.size() * 3 / 5);
    const auto badXref = dir / "bad-xref.pdf";
    std::ofstream(badXref, std::ios::binary)
        << std::regex_replace(bytes, std::regex("startxref\n\\d+"), "startxref\n99");
    const auto ownerOnly = dir / "owner-only.pdf";
    writeHaruSource(ownerOnly, "titolare", "");
    const auto withPassword = dir / "password.pdf";
    writeHaruSource(withPassword, "titolare", "utente");

    Folian pdf(fixedHooks());
    EXPECT_EQ(pdf.ImportPage(good.string(), 1, "EARLY"), "");
    expectRefused(pdf, folian::ErrorCode::BadFileNameOrNumber, good.string()); // no document yet
    pdf.SetPaperSize(255, 300, 400);
    pdf.SetProtection("utente", "titolare");
    pdf.BeginDoc((dir / "turned.pdf").string());
    const std::pair<std::filesystem::path, int32_t> refused[] = {
        {dir / "missing.pdf", folian::ErrorCode::FileNotFound}, {truncated, folian::ErrorCode::InvalidFileFormat},
        {badXref, folian::ErrorCode::InvalidFileFormat},        {ownerOnly, folian::ErrorCode::PermissionDenied},
        {withPassword, folian::ErrorCode::PermissionDenied},
    };
    for (const auto& [path, number] : refused) {
        SCOPED_TRACE(path.filename().string());
        EXPECT_EQ(pdf.ImportPage(path.string(), 1, "BAD"), "");
        expectRefused(pdf, number, path.string());
    }
    EXPECT_EQ(pdf.GetInfo(truncated.string()), 0);
    EXPECT_EQ(pdf.ErrSource(), "Folian.GetInfo");
    EXPECT_EQ(pdf.ImportPage(good.string(), 3, "BAD"), "");
    expectRefused(pdf, folian::ErrorCode::SubscriptOutOfRange, good.string());
    EXPECT_EQ(pdf.ImportPage(good.string(), 2, "TURNED"), "TURNED") << pdf.ErrDescription();
    EXPECT_EQ(pdf.ImportPage(good.string(), 1, "TURNED"), "");
    expectRefused(pdf, folian::ErrorCode::InvalidCall, good.string());
    pdf.BeginPage();
    pdf.PlayObject("TURNED");
    pdf.EndDoc();

    const auto out = dir / "turned.pdf";
    expectSamePlace(placed(out, 1, "Ruotata", "utente"), placed(good, 2, "Ruotata"));
    const std::string check = runCommand("qpdf --check --password=utente '" + out.string() + "' 2>&1");
    EXPECT_NE(check.find("No syntax or stream encoding errors"), std::string::npos) << check;
    EXPECT_EQ(check.find("WARNING"), std::string::npos) << check;
    const std::string written = readFile(out);
    EXPECT_EQ(written.find("Ruotata"), std::string::npos); // the copied content is encrypted
    EXPECT_EQ(written.find("/BAD"), std::string::npos);
}
