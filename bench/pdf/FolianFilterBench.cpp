// Writes the 1,000-page document of the layout benchmark (60 short stroked lines and a table of
// 20 filled and outlined cells a page) with each stream filter in turn, and the same pages with
// libharu and its Flate compression, in interleaved rounds; reports for each filter the median
// over the rounds of the ratio of the two times, and the file sizes. Then the cost of a page of
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

void writeHaru(const std::string& path)
{
    HPDF_Doc pdf = HPDF_New(haruError, nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_ALL);
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

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / "folian-filter-bench";
    std::filesystem::create_directories(dir);
    const std::string haru = (dir / "libharu.pdf").string();
    const std::string source = (dir / "source.pdf").string();
    writeSource(source);

    struct Mode {
        int bits;
        int quality;
        const char* name;
        bench::Comparison times;
        long long bytes = 0;
    };
    std::vector<Mode> modes = {{0, 0, "none", {}},          {1, 0, "RunLength", {}},
                               {2, 0, "Flate", {}},         {2, 3, "Flate, quality 3", {}},
                               {4, 0, "LZW", {}},           {4, 3, "LZW, quality 3", {}},
                               {8, 0, "ASCII85", {}},       {16, 0, "ASCIIHex", {}},
                               {2 + 8, 0, "Flate+ASCII85", {}}};
    std::vector<double> haruTimes;
    std::vector<double> plainTimes;
    std::vector<double> placedTimes;
    std::vector<double> everyPageTimes;
    std::vector<double> importTimes;
    for (int round = 0; round < kRounds; ++round) {
        for (Mode& mode : modes) {
            const std::string ours =
                (dir / ("folian-" + std::to_string(mode.bits) + "-" + std::to_string(mode.quality) + ".pdf")).string();
            mode.times.round(
                round, [&] { writeFolian(ours, mode.bits, mode.quality); }, [&] { writeHaru(haru); });
            haruTimes.push_back(mode.times.peer.back());
            mode.bytes = sizeOf(ours);
        }

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
    std::printf("libharu, Flate: %8.1f ms  %9lld bytes\n", median(haruTimes) * 1e3, sizeOf(haru));
    std::printf("%-18s %10s %12s %18s\n", "Folian filter", "time (ms)", "bytes", "time / libharu's");
    for (const Mode& mode : modes) {
        std::printf("%-18s %10.1f %12lld %18.2f\n", mode.name, median(mode.times.ours) * 1e3, mode.bytes,
                    median(mode.times.ratios));
    }
    const double flate = median(modes[2].times.ratios);
    std::printf("Flate against libharu's Flate: %.2f (goal at most 0.70): %s\n", flate,
                flate <= 0.70 ? "met" : "NOT MET");
    std::printf("import of one libharu page (%lld bytes): %.2f ms alone\n", sizeOf(source), median(importTimes) * 1e3);
    std::printf("  1,000 pages without it:        %8.1f ms\n", median(plainTimes) * 1e3);
    std::printf("  imported once, on every page:  %8.1f ms\n", median(placedTimes) * 1e3);
    std::printf("  imported anew on every page:   %8.1f ms\n", median(everyPageTimes) * 1e3);
    if (std::getenv("FOLIAN_BENCH_KEEP") == nullptr) {
        std::filesystem::remove_all(dir);
    } else {
        std::printf("documents kept in %s\n", dir.string().c_str());
    }
    return 0;
}
