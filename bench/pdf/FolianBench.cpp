// Writes 1,000 A4 pages, each a table of 20 filled and outlined cells and 60 lines of Helvetica
// 10 pt placed with DrawText, and the same pages with libharu as its users write plain lines
// (BeginText, MoveTextPos, ShowText, EndText), in interleaved rounds: both uncompressed, and both
// with Flate at each of our qualities, libharu at the zlib level it stands for, each document
// written to a new file. Everything runs twice, under glibc's allocator as it comes and with freed memory kept
// (see BenchSupport.h). Reports the median of the ratios of the two times and their spread, the
// bytes, the peak memory of each writer run alone, how many zlib states each side made, and how
// our time grows from 100 to 1,000 pages, each size timed the same number of times. libharu does
// not wait for the disk, so our writer's sync before the rename is switched off for the comparison
// and its own cost reported.
#include "BenchSupport.h"
#include "LayoutPage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using bench::kLines;
using bench::kPages;
using bench::kRounds;
using bench::median;

constexpr int kSmallPages = 100;
constexpr float kFirstBaseline = 62; // millimetres, below the table
constexpr float kLinePitch = 3.9f;   // millimetres
constexpr float kLeft = 15;

const char* const kProse =
    "Il soggetto obbligato comunica al Registro Elettronico degli Indirizzi l'indirizzo di posta elettronica "
    "certificata (PEC) presso il quale riceve gli atti e le comunicazioni dell'Agenzia delle Entrate. La "
    "comunicazione contiene il codice fiscale del soggetto, la denominazione o il cognome e il nome, la sede legale "
    "o il domicilio fiscale, e i dati del responsabile della comunicazione. Ogni variazione dell'indirizzo è "
    "comunicata entro trenta giorni, indicando la data di inizio e, quando l'indirizzo cessa di essere valido, la "
    "data di fine della validità. Per la cancellazione si indicano la data e il motivo: la fusione per "
    "incorporazione (con il codice fiscale della società incorporante) oppure la cessazione dell'attività. ";

// Seven different pages of 60 lines of about 90 characters, Windows-1252, made once outside
// the timing.
std::vector<std::vector<std::string>> pageLines()
{
    const std::string prose = folian::Utf8ToCp1252(kProse);
    std::vector<std::vector<std::string>> pages;
    for (std::size_t start = 0; start < 7; ++start) {
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < kLines; ++i) {
            const std::size_t at = (start * 37 + i * 90) % (prose.size() - 90);
            lines.push_back(prose.substr(at, 90));
        }
        pages.push_back(lines);
    }
    return pages;
}

void writeFolian(const std::string& path, int pages, int compression, int quality,
                 const std::vector<std::vector<std::string>>& lines, bool sync = false)
{
    folian::Folian pdf(bench::fixedHooks());
    pdf.SetFileSync(sync);
    pdf.SetScale(2);
    pdf.SetCompression(compression, quality);
    pdf.BeginDoc(path);
    for (int p = 0; p < pages; ++p) {
        pdf.BeginPage();
        pdf.SetLineWidth(0.2f);
        bench::drawLayoutTable(pdf, 20);
        pdf.SetFont("Helvetica", 10, 0, 0);
        const std::vector<std::string>& page = lines[static_cast<std::size_t>(p) % lines.size()];
        for (int i = 0; i < kLines; ++i) {
            pdf.DrawText(kLeft, kFirstBaseline + kLinePitch * static_cast<float>(i), page[static_cast<std::size_t>(i)]);
        }
    }
    pdf.EndDoc();
}

// `zlibLevel`: bench::kUncompressed, a zlib level, or bench::kZlibAsItComes.
void writeHaru(const std::string& path, int pages, int zlibLevel, const std::vector<std::vector<std::string>>& lines)
{
    const bench::PeerZlibLevel level(zlibLevel > 0 ? zlibLevel : -1);
    HPDF_Doc pdf = HPDF_New(bench::haruError, nullptr);
    HPDF_SetCompressionMode(pdf, zlibLevel == bench::kUncompressed ? HPDF_COMP_NONE : HPDF_COMP_ALL);
    HPDF_Font font = HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding");
    for (int p = 0; p < pages; ++p) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, 596);
        HPDF_Page_SetHeight(page, 842);
        HPDF_Page_SetLineWidth(page, bench::haruPoints(0.2));
        bench::haruLayoutTable(page, 20);
        HPDF_Page_SetRGBFill(page, 0, 0, 0);
        HPDF_Page_SetFontAndSize(page, font, 10);
        const std::vector<std::string>& text = lines[static_cast<std::size_t>(p) % lines.size()];
        for (int i = 0; i < kLines; ++i) {
            HPDF_Page_BeginText(page);
            HPDF_Page_MoveTextPos(page, bench::haruPoints(kLeft),
                                  static_cast<HPDF_REAL>(842 - bench::haruPoints(kFirstBaseline + kLinePitch * i)));
            HPDF_Page_ShowText(page, text[static_cast<std::size_t>(i)].c_str());
            HPDF_Page_EndText(page);
        }
    }
    HPDF_SaveToFile(pdf, path.c_str());
    HPDF_Free(pdf);
}

int comparisons()
{
    const auto dir = std::filesystem::temp_directory_path() / ("folian-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string ours = (dir / "folian.pdf").string();
    const std::string haru = (dir / "libharu.pdf").string();
    const std::string small = (dir / "small.pdf").string();
    const auto lines = pageLines();

    // Memory first, while this process is still small: each writer alone in a child.
    const long ourPeak = bench::peakKilobytes([&] { writeFolian(ours, kPages, 0, 0, lines); });
    const long haruPeak = bench::peakKilobytes([&] { writeHaru(haru, kPages, bench::kUncompressed, lines); });

    std::vector<bench::Row> rows = bench::standardRows(
        dir, [&](const std::string& path, int mode, int quality) { writeFolian(path, kPages, mode, quality, lines); },
        [&](const std::string& path, int zlibLevel) { writeHaru(path, kPages, zlibLevel, lines); });

    std::vector<double> smallTimes;
    std::vector<double> largeTimes;
    std::vector<double> syncedTimes;
    for (int round = 0; round < kRounds; ++round) {
        bench::round(round, rows);
        // New files, as in the rows.
        std::filesystem::remove(small);
        smallTimes.push_back(bench::timed([&] { writeFolian(small, kSmallPages, 0, 0, lines); }));
        largeTimes.push_back(rows[0].times.ours.back());
        std::filesystem::remove(ours);
        syncedTimes.push_back(bench::timed([&] { writeFolian(ours, kPages, 0, 0, lines, true); }));
    }

    std::printf("%d pages of a 20-cell table and %d lines of Helvetica 10; median of %d interleaved rounds\n", kPages,
                kLines, kRounds);
    const int missed = bench::printRows(rows);
    std::printf("the sync before the rename, left on in the program: %+.1f ms a document (%.1f ms with it)\n",
                (median(syncedTimes) - median(rows[0].times.ours)) * 1e3, median(syncedTimes) * 1e3);
    std::printf("peak memory, uncompressed, each alone: Folian %ld kB, libharu %ld kB\n", ourPeak, haruPeak);

    bench::reportZlibStates(rows.back().ours, rows.back().peer);

    const double growth = median(largeTimes) / median(smallTimes);
    std::printf("time growth %d -> %d pages (median of %d runs each): %.2fx (limit 11x): %s\n", kSmallPages, kPages,
                kRounds, growth, growth <= 11.0 ? "ok" : "TOO SLOW");
    if (std::getenv("FOLIAN_BENCH_KEEP") == nullptr) {
        std::filesystem::remove_all(dir);
    } else {
        std::printf("documents kept in %s\n", dir.string().c_str());
    }
    return growth <= 11.0 && missed == 0 ? 0 : 1;
}

} // namespace

int main()
{
    return bench::underBothAllocatorSettings(comparisons);
}
