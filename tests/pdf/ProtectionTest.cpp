// Protected documents: qpdf and poppler find the key from the passwords, honour the
// permissions, and decrypt to the content of the same document written without protection.
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <regex>

using folian::Folian;
using namespace folian::test;

namespace {

const char* const kOwner = "titolare";

void writeDocument(const std::filesystem::path& path, bool protect, bool strong, const std::string& user)
{
    Folian pdf(fixedHooks());
    pdf.SetDocProperty("Riservato (copia)", "Registro");
    if (protect) {
        pdf.SetProtection(user, kOwner,
                          folian::Permission::Print | folian::Permission::Copy | folian::Permission::Accessibility,
                          strong);
    }
    pdf.SetCompression(2);
    pdf.BeginDoc(path.string());
    pdf.BeginPage();
    pdf.SetFont("Arial", 11, 0, 0);
    pdf.DrawText(40, 60, "Codice fiscale RSSMRA80A01H501U (soggetto \\ obbligato)");
    pdf.DrawText(40, 80, "Indirizzo PEC: registro@pec.example.it");
    pdf.AddBookmark("Riepilogo", 1, 1, "", 0, "/Fit");
    pdf.EndDoc();
}

std::string quoted(const std::filesystem::path& path)
{
    return "'" + path.string() + "'";
}

} // namespace

TEST(FolianProtection, BothKeyLengthsWithAndWithoutUserPassword)
{
    const auto dir = folian::test::scratchDir();
    const auto plain = dir / "plain.pdf";
    writeDocument(plain, false, false, {});
    std::smatch m;
    const std::string plainFile = readFile(plain);
    ASSERT_TRUE(std::regex_search(plainFile, m, std::regex("/Contents (\\d+) 0 R")));
    const int contents = std::stoi(m[1]);
    const std::string plainContent = folian::test::filteredStream(plain, contents);
    const std::string plainText = runCommand("pdftotext " + quoted(plain) + " -");
    ASSERT_NE(plainText.find("(soggetto \\ obbligato)"), std::string::npos);
    ASSERT_NE(plainFile.find("Riservato"), std::string::npos);

    struct Case {
        bool strong;
        std::string user;
        const char* revision;
        const char* permissions;
        const char* bits;
    };
    const Case cases[] = {
        {false, "", "R = 2", "P = -44", "\"bits\": 40"},
        {true, "utente", "R = 3", "P = -3372", "\"bits\": 128"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.revision) + " user password \"" + c.user + "\"");
        const auto path = dir / ((c.strong ? "rc4-128-" : "rc4-40-") + c.user + ".pdf");
        writeDocument(path, true, c.strong, c.user);
        const std::string password = " --password='" + c.user + "' ";
        EXPECT_EQ(readFile(path).find("Riservato"), std::string::npos); // the title is encrypted too

        const std::string shown = runCommand("qpdf --show-encryption" + password + quoted(path) + " 2>&1");
        EXPECT_NE(shown.find(std::string(c.revision) + "\n" + c.permissions + "\n"), std::string::npos) << shown;
        EXPECT_NE(shown.find("Supplied password is user password"), std::string::npos) << shown;
        EXPECT_NE(runCommand("qpdf --json --json-key=encrypt" + password + quoted(path)).find(c.bits),
                  std::string::npos);
        EXPECT_NE(runCommand("qpdf --show-encryption --password=" + std::string(kOwner) + " " + quoted(path) + " 2>&1")
                      .find("Supplied password is owner password"),
                  std::string::npos);

        const std::string check = runCommand("qpdf --check" + password + quoted(path) + " 2>&1");
        EXPECT_NE(check.find("No syntax or stream encoding errors"), std::string::npos) << check;
        EXPECT_EQ(check.find("WARNING"), std::string::npos) << check;
        EXPECT_EQ(folian::test::filteredStream(path, contents, c.user), plainContent);
        EXPECT_NE(
            runCommand("pdfinfo -upw '" + c.user + "' " + quoted(path)).find("Title:           Riservato (copia)\n"),
            std::string::npos);
        EXPECT_EQ(runCommand("pdftotext -upw '" + c.user + "' " + quoted(path) + " - 2>&1"), plainText);
        if (!c.user.empty()) {
            EXPECT_NE(runCommand("qpdf --check " + quoted(path) + " 2>&1").find("invalid password"), std::string::npos);
        }
    }
}

TEST(FolianProtection, MustComeBeforeAnythingIsWritten)
{
    const auto dir = folian::test::scratchDir();
    Folian pdf(fixedHooks());
    pdf.SetProtection("a", "b");
    pdf.BeginDoc((dir / "late.pdf").string());
    pdf.BeginPage();
    pdf.EndPage();
    EXPECT_THROW(pdf.SetProtection("a", "b", folian::Permission::All, false), folian::Error);
    pdf.EndDoc();
    // The first call holds: 128-bit keys, every permission.
    const std::string shown = runCommand("qpdf --show-encryption --password=a '" + (dir / "late.pdf").string() + "'");
    EXPECT_NE(shown.find("R = 3\nP = -4\n"), std::string::npos) << shown;
}
