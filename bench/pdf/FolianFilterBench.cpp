// Writes the 1,000-page document of the layout benchmark (60 short stroked lines and a table of
// 20 filled and outlined cells a page) with each stream filter in turn, and the same pages with
// libharu, in interleaved rounds under two allocator settings (see BenchSupport.h): uncompressed
// beside libharu uncompressed, Flate at each quality beside libharu at the zlib level it stands
// for, and the filters libharu does not have beside its uncompressed file. Reports for each the
// median of the ratios of the two times, their spread, and the file sizes. Then the cost of a page of
// another PDF file imported into such a document: once and placed on all 1,000 pages, and
// imported anew on every page.
#include "BenchSupport.h"
#include "LayoutPage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using bench::haruError;
using bench::kLines;
using bench::kPages;
using bench::kRounds;
using bench::median;
using bench::sizeOf;

using bench::drawLayoutPage;
using bench::fixedHooks;
using bench::lineEnd;

// `under` runs before each page is begun and gives the name of the form to place under its
// drawing (an imported page).
using Under = std::function<std::string(folian::Folian&, int)>;

void writeFolian(const std::string& path, int mode, int quality = 0, const Under& under = {})
{
    folian::Folian pdf(fixedHooks());
    pdf.SetFileSync(false); // libharu does not wait for the disk either
    pdf.SetScale(2);
    pdf.SetCompression(mode, quality);
    pdf.BeginDoc(path);
    for (int p = 0; p < kPages; ++p) {
        const std::string form = under ? under(pdf, p) : std::string();
        pdf.BeginPage();
        if (!form.empty()) {
            pdf.PlayObject(form);
        }
        drawLayoutPage(pdf);
    }
    pdf.EndDoc();
}

// `zlibLevel`: bench::kUncompressed, a zlib level, or bench::kZlibAsItComes.
void writeHaru(const std::string& path, int zlibLevel)
{
    const bench::PeerZlibLevel level(zlibLevel > 0 ? zlibLevel : -1);
    HPDF_Doc pdf = HPDF_New(haruError, nullptr);
    HPDF_SetCompressionMode(pdf, zlibLevel == bench::kUncompressed ? HPDF_COMP_NONE : HPDF_COMP_ALL);
    const auto pt = bench::haruPoints;
    for (int p = 0; p < kPages; ++p) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, 596);
        HPDF_Page_SetHeight(page, 842);
        HPDF_Page_SetLineWidth(page, pt(0.2));
        for (int i = 0; i < kLines; ++i) {
            const double y = 842 - pt(20.0 + i * 4.2);
            HPDF_Page_MoveTo(page, pt(15), static_cast<HPDF_REAL>(y));
            HPDF_Page_LineTo(page, pt(lineEnd(i)), static_cast<HPDF_REAL>(y));
            HPDF_Page_Stroke(page);
        }
        bench::haruLayoutTable(page, 20);
    }
    HPDF_SaveToFile(pdf, path.c_str());
    HPDF_Free(pdf);
}

// A letterhead page by libharu: a frame, two lines of text and a small picture.
void writeSource(const std::string& path)
{
    HPDF_Doc doc = HPDF_New(haruError, nullptr);
    HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    HPDF_Page page = HPDF_AddPage(doc);
    HPDF_Page_SetWidth(page, 596);
    HPDF_Page_SetHeight(page, 842);
    HPDF_Page_Rectangle(page, 30, 30, 536, 782);
    HPDF_Page_Stroke(page);
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(doc, "Times-Bold", nullptr), 24);
    HPDF_Page_TextOut(page, 60, 770, "Intestazione");
    HPDF_Page_SetFontAndSize(page, HPDF_GetFont(doc, "Helvetica", nullptr), 10);
    HPDF_Page_TextOut(page, 60, 750, "Registro Elettronico degli Indirizzi");
    HPDF_Page_EndText(page);
    std::vector<HPDF_BYTE> pixels(32 * 32 * 3, 0x80);
    HPDF_Page_DrawImage(page, HPDF_LoadRawImageFromMem(doc, pixels.data(), 32, 32, HPDF_CS_DEVICE_RGB, 8), 480, 740, 60,
                        60);
    HPDF_SaveToFile(doc, path.c_str());
    HPDF_Free(doc);
}

int comparisons()
{
    const auto dir = std::filesystem::temp_directory_path() / ("folian-filter-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string source = (dir / "source.pdf").string();
    writeSource(source);

    std::vector<bench::Row> rows = bench::standardRows(
        dir, [](const std::string& path, int mode, int quality) { writeFolian(path, mode, quality); }, writeHaru);
    // Filters libharu does not have, beside its uncompressed file; Flate and ASCII85 beside its
    // Flate at the level of our Flate.
    struct Filter {
        int bits;
        int quality;
        const char* name;
    };
    const Filter others[] = {{1, 0, "RunLength"}, {4, 0, "LZW q0"},
                             {4, 3, "LZW q3"},    {8, 0, "ASCII85"},
                             {16, 0, "ASCIIHex"}, {2 + 8, 0, "Flate q0 + ASCII85, libharu zlib 2"}};
    for (const Filter& filter : others) {
        const std::string ours =
            (dir / ("folian-" + std::to_string(filter.bits) + "-" + std::to_string(filter.quality) + ".pdf")).string();
        const bool flate = (filter.bits & 2) != 0;
        const std::string peer = rows[flate ? 1 : 0].peerFile;
        const int level = flate ? bench::zlibLevelOf(filter.quality) : bench::kUncompressed;
        rows.push_back({std::string(filter.name) + (flate ? "" : " (libharu: none)"),
                        ours,
                        peer,
                        0,
                        [ours, filter] { writeFolian(ours, filter.bits, filter.quality); },
                        [peer, level] { writeHaru(peer, level); },
                        {}});
    }

    std::vector<double> plainTimes;
    std::vector<double> placedTimes;
    std::vector<double> everyPageTimes;
    std::vector<double> importTimes;
    for (int round = 0; round < kRounds; ++round) {
        bench::round(round, rows);

        const std::string imported = (dir / "imported.pdf").string();
        plainTimes.push_back(bench::timed([&] { writeFolian(imported, 0); }));
        placedTimes.push_back(bench::timed([&] {
            writeFolian(imported, 0, 0, [&source](folian::Folian& pdf, int p) {
                return p == 0 ? pdf.ImportPage(source, 1, "BASE") : std::string("BASE");
            });
        }));
        everyPageTimes.push_back(bench::timed([&] {
            writeFolian(imported, 0, 0, [&source](folian::Folian& pdf, int p) {
                return pdf.ImportPage(source, 1, "BASE" + std::to_string(p));
            });
        }));
        // One import alone, into an open document.
        folian::Folian pdf(fixedHooks());
        pdf.BeginDoc((dir / "one.pdf").string());
        std::string form;
        importTimes.push_back(bench::timed([&] { form = pdf.ImportPage(source, 1, "BASE"); }));
        if (form.empty()) {
            std::fprintf(stderr, "the import failed: %s\n", pdf.ErrDescription().c_str());
            return 1;
        }
        pdf.Abort();
    }

    std::printf("%d pages of 60 lines and 20 cells; median of %d interleaved rounds\n", kPages, kRounds);
    const int missed = bench::printRows(rows);
    bench::reportZlibStates(rows[5].ours, rows[5].peer);
    std::printf("import of one libharu page (%lld bytes): %.2f ms alone\n", sizeOf(source), median(importTimes) * 1e3);
    std::printf("  1,000 pages without it:        %8.1f ms\n", median(plainTimes) * 1e3);
    std::printf("  imported once, on every page:  %8.1f ms\n", median(placedTimes) * 1e3);
    std::printf("  imported anew on every page:   %8.1f ms\n", median(everyPageTimes) * 1e3);
    if (std::getenv("FOLIAN_BENCH_KEEP") == nullptr) {
        std::filesystem::remove_all(dir);
    } else {
        std::printf("documents kept in %s\n", dir.string().c_str());
    }
    return missed == 0 ? 0 : 1;
}

} // namespace

int main()
{
    return bench::underBothAllocatorSettings(comparisons);
}
