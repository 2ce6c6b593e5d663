#include "../support/LimiteFile.h"
#include "../support/SenzaPermessi.h"
#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iterator>

using folian::Folian;
using A = folian::FolianTestAccess;
using folian::test::fixedHooks;

namespace {

// The creation date of a writer made at `clock` in the system's time zone `zone`, in a session launched
// on `launchDay`.
std::string creationDateAt(const char* zone, const folian::LocalDateTime& clock, const std::string& launchDay)
{
    const char* old = std::getenv("TZ");
    const std::string saved = old != nullptr ? old : "";
    setenv("TZ", zone, 1);
    tzset();
    auto hooks = fixedHooks();
    hooks.utcOffsetMinutes = nullptr; // the system's zone
    hooks.now = [clock] { return clock; };
    hooks.oggiTesto = [launchDay] { return launchDay; };
    const std::string date = A::CreationDate(Folian(hooks));
    if (old != nullptr) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
    return date;
}

} // namespace

TEST(FolianState, CreationDateCarriesTheOffsetOfItsMoment)
{
    EXPECT_EQ(creationDateAt("Europe/Rome", {2026, 12, 5, 14, 3, 9}, "05122026"), "D:20261205140309+01'00'");
    // A session launched the day before the clocks go forward: the date is the launch day's, the
    // offset that of the moment the document is made.
    EXPECT_EQ(creationDateAt("Europe/Rome", {2026, 3, 29, 10, 0, 0}, "28032026"), "D:20260328100000+02'00'");
    // No launch day known (or not eight digits): the clock's date stands.
    EXPECT_EQ(creationDateAt("Europe/Rome", {2026, 7, 15, 9, 30, 0}, ""), "D:20260715093000+02'00'");
    const std::pair<const char*, const char*> zones[] = {
        {"America/New_York", "-05'00'"}, {"Asia/Kolkata", "+05'30'"}, {"UTC", "Z00'00'"}};
    for (const auto& [zone, offset] : zones) {
        EXPECT_EQ(creationDateAt(zone, {2026, 1, 20, 8, 0, 0}, "20012026"), std::string("D:20260120080000") + offset);
    }
}

TEST(FolianState, BeginDocNamesItsFileOrRecordsItsFailure)
{
    Folian pdf(fixedHooks());
    const std::string path = "/nonexistent-folian-dir/a.pdf";
    EXPECT_EQ(pdf.BeginDoc(path), path);
    EXPECT_EQ(pdf.ErrNumber(), folian::ErrorCode::PathNotFound);
    EXPECT_EQ(pdf.ErrSource(), "Folian.BeginDoc");
    EXPECT_EQ(pdf.ErrDescription(), "Path not found - " + path);
    // Nothing can be written now, and the caller is told so instead of getting an empty file.
    EXPECT_THROW(pdf.BeginPage(), folian::Error);
    EXPECT_THROW(pdf.EndDoc(), folian::Error);
    pdf.Abort();
    EXPECT_EQ(pdf.ErrNumber(), 0);
    EXPECT_EQ(pdf.ErrSource(), "Folian.BeginDoc"); // kept across a reset

    // Without a name, one made of the clock and a digit, in the current folder.
    const auto dir = folian::test::scratchDir();
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    EXPECT_EQ(pdf.BeginDoc(), "~3105959.pdf"); // "5140309" and 7, in hexadecimal
    pdf.EndDoc();
    std::filesystem::current_path(previous);
    EXPECT_TRUE(std::filesystem::exists(dir / "~3105959.pdf"));
}

// Each reason a document cannot be written has its own number, so that the program can tell it apart; none
// leaves a file behind.
TEST(FolianState, EachFailureToWriteTheDocumentHasItsOwnNumber)
{
    const auto dir = folian::test::scratchDir();
    std::filesystem::create_directories(dir / "folder.pdf");
    std::filesystem::create_directories(dir / "closed");
    const auto begin = [](const std::filesystem::path& path) {
        Folian pdf(fixedHooks());
        pdf.BeginDoc(path.string());
        return pdf.ErrNumber();
    };
    EXPECT_EQ(begin(dir / "missing" / "a.pdf"), folian::ErrorCode::PathNotFound);
    EXPECT_EQ(begin(dir / "folder.pdf"), folian::ErrorCode::PathFileAccess);
    {
        ondavia::test::SenzaPermessi closed(dir / "closed");
        EXPECT_EQ(begin(dir / "closed" / "a.pdf"), folian::ErrorCode::PermissionDenied);
    }

    Folian pdf(fixedHooks());
    pdf.BeginDoc((dir / "full.pdf").string());
    pdf.BeginPage();
    pdf.SetFont("Arial", 12, 0, 0);
    for (int i = 0; i < 200; ++i) {
        pdf.DrawText(10, 20 + i, "Una riga che riempie il disco");
    }
    {
        ondavia::test::LimiteFile full(1024);
        try {
            pdf.EndDoc();
            ADD_FAILURE() << "a full disk went unnoticed";
        } catch (const folian::Error& error) {
            EXPECT_EQ(error.number(), folian::ErrorCode::DiskFull) << error.what();
        }
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "closed"), {}), 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "full.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir / "full.pdf.part"));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder.pdf"));
}

TEST(FolianProperties, InformationMemoryFactorAndCompression)
{
    Folian pdf(fixedHooks());
    pdf.SetDocProperty("Titolo", "Soggetto", "Autore", "", "", "Parole");
    EXPECT_EQ(A::DocCreator(pdf), "ROSSI MARIO");
    pdf.SetDocProperty("Nuovo");
    EXPECT_EQ(A::RootBookmarkTitle(pdf), "Nuovo");
    EXPECT_EQ(A::DocKeywords(pdf), "");
    EXPECT_EQ(A::DocAuthor(pdf), "Autore");
    pdf.Abort();
    EXPECT_EQ(A::DocAuthor(pdf), "ROSSI MARIO");
    // A new font needs a document.
    EXPECT_THROW(pdf.SetFont("Arial", 10, 0, 0), folian::Error);
    EXPECT_EQ(A::FontCount(pdf), 0);

    pdf.SetMemoryUsage(10);
    pdf.SetMemoryUsage(11);
    EXPECT_THROW(pdf.SetMemoryUsage(-1), folian::Error);
    pdf.BeginDoc((folian::test::scratchDir() / "m.pdf").string());
    pdf.BeginPage();
    EXPECT_EQ(A::PageObjectsUpperBound(pdf), 100); // tenfold
    pdf.Abort();
    pdf.SetCompression(2, 9);
    EXPECT_EQ(A::CompressionQuality(pdf), 3);
}

TEST(FolianUnits, ScalesPapersAndMargins)
{
    Folian pdf(fixedHooks());
    pdf.SetScale(1);
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(), 596.0f / 72); // inches
    pdf.SetScale(2);
    pdf.SetMargins(10, 10, 10, 10);
    EXPECT_EQ(pdf.GetPageWidth(true), 190.25555f);
    pdf.SetScale(3);
    EXPECT_FLOAT_EQ(pdf.GetPageWidth(true), 19.025555f); // margins stay in points

    // Unknown paper and scale codes change nothing; a paper of the caller's size is in its unit.
    pdf.SetScale(0);
    pdf.SetPaperSize(18);
    pdf.SetPaperSize(-9);
    pdf.SetScale(4);
    EXPECT_EQ(pdf.GetPageWidth(), 596.0f);
    pdf.SetScale(2);
    pdf.SetPaperSize(255, 100, 50);
    pdf.SetScale(0);
    EXPECT_FLOAT_EQ(pdf.GetPageHeight(), 141.73228f);
    pdf.SetScale(255, 0);
    try {
        pdf.GetPageWidth();
        ADD_FAILURE() << "a zero scale gives no width";
    } catch (const folian::Error& e) {
        EXPECT_EQ(e.number(), folian::ErrorCode::DivisionByZero);
    }
}
