#pragma once

#include "../support/FixedHooks.h"
#include "core/Folian.h"

#include <filesystem>
#include <string>
#include <vector>

namespace folian::test {

// A fresh folder for one test's files.
std::filesystem::path scratchDir();

std::string readFile(const std::filesystem::path& path);

struct ReaderReport {
    bool qpdfClean = false; // exit 0, no warnings
    std::string qpdfOutput;
    std::string pdfinfoStderr;
    std::string pdfinfoOutput;
    std::string field(const std::string& name) const; // "Pages", "Page size", "Title", "PDF version"
};

// Runs the two independent readers over a file.
ReaderReport readWithReaders(const std::filesystem::path& path);

// The body of object `n` of a written file, between its "n 0 obj" and "endobj" lines.
std::string objectText(const std::string& file, int n);

// Counts the occurrences of `needle` in `text`.
int countOf(const std::string& text, const std::string& needle);

// Standard output of a shell command.
std::string runCommand(const std::string& command);

// The fonts pdffonts lists, one row of words each: name, type ("Type 1" is two words),
// encoding, and "yes" or "no" for embedded.
std::vector<std::vector<std::string>> listedFonts(const std::filesystem::path& path);

// A word as pdftotext -bbox places it: points from the page's top-left corner.
struct PlacedWord {
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
    std::string text;
};
std::vector<PlacedWord> placedWords(const std::filesystem::path& path, const std::string& options = {});

// The bytes between "stream" and "endstream" of object `n` of a written file, as stored.
std::string storedStream(const std::string& file, int n);

// What qpdf gives as the data of object `n` once every filter (and the encryption) is undone.
std::string filteredStream(const std::filesystem::path& path, int n, const std::string& password = {});

// Draws page `page` at `dpi` with pdftoppm and compares it with the reference picture `reference`, a
// path under tests/data: the same size, and at most `share` of the pixels more than `tolerance` apart in
// any colour. With ONDAVIA_WRITE_GOLDEN set the drawing becomes the reference, to be looked at before
// it is committed.
void expectPageLooksLike(const std::filesystem::path& pdf, int page, int dpi, const std::string& reference,
                         int tolerance = 64, double share = 0.005);

} // namespace folian::test

// Checks a written file with qpdf and pdfinfo: no warnings, no complaints, and the given page
// count, A4 size, title and version.
#define EXPECT_READERS_ACCEPT(path, pages, title, version)                                                             \
    do {                                                                                                               \
        const auto report_ = ::folian::test::readWithReaders(path);                                                    \
        EXPECT_TRUE(report_.qpdfClean) << report_.qpdfOutput;                                                          \
        EXPECT_EQ(report_.pdfinfoStderr, "");                                                                          \
        EXPECT_EQ(report_.field("Pages"), std::to_string(pages));                                                      \
        EXPECT_EQ(report_.field("Page size").substr(0, 13), "596 x 842 pts");                                          \
        EXPECT_EQ(report_.field("Title"), title);                                                                      \
        EXPECT_EQ(report_.field("PDF version"), version);                                                              \
    } while (0)
