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

// Two pages by libharu, compressed: an A4 letterhead with a title, a line of text, a small picture and the photo `jpeg`
// when given; then a page of 400 by 300 points shown turned by 90 degrees.
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
        {dir / "missing.pdf", folian::ErrorCode::FileNotFound},
        {truncated, folian::ErrorCode::InvalidFileFormat},
        {ownerOnly, folian::ErrorCode::PermissionDenied},
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

namespace {

// Where object `number` begins in `bytes`.
std::size_t objectAt(const std::string& bytes, int number)
{
    const std::size_t at = bytes.find("\n" + std::to_string(number) + " 0 obj");
    EXPECT_NE(at, std::string::npos) << number;
    return at + 1;
}

// The number of the object holding `text`.
int objectHolding(const std::string& bytes, const std::string& text)
{
    const std::size_t at = bytes.find(text);
    EXPECT_NE(at, std::string::npos) << text;
    const std::size_t start = bytes.rfind(" 0 obj", at);
    const std::size_t line = bytes.rfind('\n', start);
    return std::stoi(bytes.substr(line + 1, start - line - 1));
}

std::string xrefEntry(std::size_t offset)
{
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n", offset);
    return entry;
}

std::string replaced(std::string bytes, const std::string& from, const std::string& to)
{
    const std::size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
}

} // namespace

// A letterhead that a common tool joined or edited: the reader mends a wrong trailer /Size or a wrong
// cross-reference table, as every viewer does, and the page is imported whole. A page whose content or
// resources cannot be read whole is refused with what is wrong, and the document stays sound.
TEST(FolianImport, ASourceWithAMendedStructureIsImportedAndADamagedPageIsNot)
{
    const auto dir = folian::test::scratchDir();
    const auto good = dir / "good.pdf";
    writeHaruSource(good);
    const std::string bytes = readFile(good);
    const int font = objectHolding(bytes, "/BaseFont /Helvetica");
    const std::size_t fontAt = objectAt(bytes, font);
    const std::size_t contentAt = objectAt(bytes, objectHolding(bytes, "/Contents") + 1);
    const std::size_t dataAt = bytes.find("stream", contentAt) + 7;
    std::string content = bytes;
    for (std::size_t i = dataAt + 4; i < dataAt + 12; ++i) {
        content[i] = static_cast<char>(~content[i]);
    }

    const std::pair<std::string, std::string> mended[] = {
        {"size.pdf", std::regex_replace(bytes, std::regex("/Size \\d+"), "/Size 3")},
        {"startxref.pdf", std::regex_replace(bytes, std::regex("startxref\n\\d+"), "startxref\n99")},
        {"offset.pdf", replaced(bytes, xrefEntry(fontAt), xrefEntry(fontAt + 5))},
    };
    const std::pair<std::string, std::string> damaged[] = {
        {"content.pdf", content},
        // The font is gone and the table points where it was: rebuilt, the table lacks it.
        {"lost-font.pdf", replaced(bytes, std::to_string(font) + " 0 obj", std::to_string(font) + " 0 xyz")},
        // The font's dictionary cannot be read to its end.
        {"broken-font.pdf", replaced(bytes, "/BaseFont /Helvetica", "/BaseFont /Helvetica ]>")},
        // The first page's own dictionary cannot be read to its end.
        {"broken-page.pdf", std::regex_replace(bytes, std::regex("/MediaBox *\\[[^\\]]*\\]"), "$&]>",
                                               std::regex_constants::format_first_only)},
    };

    Folian pdf(fixedHooks());
    pdf.BeginDoc((dir / "mended.pdf").string());
    for (const auto& [name, file] : damaged) {
        SCOPED_TRACE(name);
        std::ofstream(dir / name, std::ios::binary) << file;
        EXPECT_EQ(pdf.ImportPage((dir / name).string(), 1, "BAD"), "");
        expectRefused(pdf, folian::ErrorCode::InvalidFileFormat, (dir / name).string());
    }
    for (const auto& [name, file] : mended) {
        SCOPED_TRACE(name);
        std::ofstream(dir / name, std::ios::binary) << file;
        const std::string form = pdf.ImportPage((dir / name).string(), 1);
        ASSERT_FALSE(form.empty()) << pdf.ErrDescription();
        pdf.BeginPage();
        pdf.PlayObject(form);
    }
    pdf.EndDoc();

    const auto out = dir / "mended.pdf";
    EXPECT_READERS_ACCEPT(out, 3, "(senza titolo)", "1.3");
    for (int page = 1; page <= 3; ++page) {
        expectSamePlace(placed(out, page, "Indirizzi"), placed(good, 1, "Indirizzi"));
        expectSamePlace(placed(out, page, "Intestazione"), placed(good, 1, "Intestazione"));
    }
    EXPECT_EQ(readFile(out).find("/BAD"), std::string::npos);
}
