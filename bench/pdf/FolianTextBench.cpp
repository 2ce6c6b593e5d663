// Writes a 1,000-page document whose pages each carry a table of 20 cells and 60 lines of
// Italian prose in Arial 9, justified in a text box, and the same pages with libharu, which breaks
// the same text into lines with its own measurement and justifies them with their word spacing
// (BeginText, SetWordSpace, MoveTextPos, ShowText): both break their lines inside the timing. In
// interleaved rounds, both uncompressed and both with Flate at each of our qualities (libharu at
// the zlib level it stands for), under two allocator settings (see BenchSupport.h). Reports the median of
// the ratios of the two times and their spread, and how many TextLength calls a second the writer
// makes on words and on whole lines.
#include "BenchSupport.h"
#include "FixedHooks.h"
#include "core/Folian.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::kLines;
using bench::kPages;
using bench::kRounds;

constexpr float kFontSize = 9;
constexpr float kLineHeight = kFontSize * 1.221f; // Arial's line height
constexpr float kBoxX = 40;
constexpr float kBoxY = 150;
constexpr float kBoxWidth = 515;
constexpr float kBoxHeight = 60 * kLineHeight + 0.5f; // room for exactly 60 lines

const char* const kSentences[] = {
    "Il soggetto obbligato comunica al Registro Elettronico degli Indirizzi l'indirizzo di posta elettronica "
    "certificata presso il quale riceve gli atti e le comunicazioni dell'Agenzia delle Entrate.",
    "La comunicazione contiene il codice fiscale del soggetto, la denominazione o il cognome e il nome, la sede "
    "legale o il domicilio fiscale, e i dati del responsabile della comunicazione.",
    "Ogni variazione dell'indirizzo è comunicata entro trenta giorni, indicando la data di inizio e, quando "
    "l'indirizzo cessa di essere valido, la data di fine della validità.",
    "Per la cancellazione si indicano la data e il motivo: la fusione per incorporazione, con il codice fiscale "
    "della società incorporante, oppure la cessazione dell'attività.",
    "Il file della comunicazione è composto da quattro record di lunghezza fissa e va controllato con il software "
    "di controllo messo a disposizione dall'Agenzia prima dell'invio telematico.",
    "L'intermediario che trasmette la comunicazione ne conserva copia, insieme alla ricevuta, per il periodo "
    "previsto per la conservazione delle scritture contabili.",
    "Gli operatori finanziari indicano anche le sezioni del registro a cui la comunicazione si riferisce: anagrafe "
    "dei rapporti, monitoraggio fiscale, scambio automatico di informazioni.",
};

// One paragraph per page, a little longer than 60 lines, starting at a different sentence on
// each of a few pages so that the pages differ; made once, outside the timing.
std::vector<std::string> pageTexts(folian::Folian& measure)
{
    std::vector<std::string> sentences;
    for (const char* s : kSentences) {
        sentences.push_back(folian::Utf8ToCp1252(s));
    }
    std::vector<std::string> texts;
    for (std::size_t start = 0; start < sentences.size(); ++start) {
        std::string text;
        for (std::size_t i = start; measure.TextLength(text) < 62 * kBoxWidth; ++i) {
            text += (text.empty() ? "" : " ") + sentences[i % sentences.size()];
        }
        texts.push_back(text);
    }
    return texts;
}

void writeFolian(const std::string& path, int compression, int quality, const std::vector<std::string>& texts)
{
    folian::Folian pdf(folian::test::fixedHooks());
    pdf.SetFileSync(false); // libharu does not wait for the disk either
    pdf.SetCompression(compression, quality);
    pdf.BeginDoc(path);
    for (int p = 0; p < kPages; ++p) {
        pdf.BeginPage();
        pdf.SetLineWidth(0.5f);
        pdf.SetColorFill("lightyellow");
        pdf.BeginTable(40, 40);
        for (int r = 0; r < 4; ++r) {
            pdf.BeginRow(24);
            for (int c = 0; c < 5; ++c) {
                pdf.BeginColumn(103);
                pdf.EndColumn();
            }
            pdf.EndRow();
        }
        pdf.EndTable();
        pdf.SetFont("Arial", kFontSize, 0, 0);
        pdf.DrawTextBox(kBoxX, kBoxY, kBoxWidth, kBoxHeight, texts[static_cast<std::size_t>(p) % texts.size()], 0,
                        folian::TextAlign::Justify, folian::PathPaint::NoStroke);
    }
    pdf.EndDoc();
}

// The same page with libharu, its text broken into lines and justified as libharu's users do it:
// libharu measures how much of the rest fits the box's width, breaking at a blank, and the word
// spacing of each line makes it reach the width (none on the paragraph's last line). `zlibLevel`:
// bench::kUncompressed, a zlib level, or bench::kZlibAsItComes.
void writeHaru(const std::string& path, int zlibLevel, const std::vector<std::string>& texts)
{
    const bench::PeerZlibLevel level(zlibLevel > 0 ? zlibLevel : -1);
    HPDF_Doc pdf = HPDF_New(bench::haruError, nullptr);
    HPDF_SetCompressionMode(pdf, zlibLevel == bench::kUncompressed ? HPDF_COMP_NONE : HPDF_COMP_ALL);
    HPDF_Font font = HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding");
    std::string line;
    for (int p = 0; p < kPages; ++p) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, 596);
        HPDF_Page_SetHeight(page, 842);
        HPDF_Page_SetLineWidth(page, 0.5f);
        HPDF_Page_SetRGBFill(page, 1.0f, 1.0f, 0.878f);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 5; ++c) {
                HPDF_Page_Rectangle(page, 40 + 103.0f * c, 842 - 40 - 24.0f * (r + 1), 103, 24);
                HPDF_Page_FillStroke(page);
            }
        }
        HPDF_Page_SetRGBFill(page, 0, 0, 0);
        HPDF_Page_SetFontAndSize(page, font, kFontSize);
        const std::string& text = texts[static_cast<std::size_t>(p) % texts.size()];
        const auto* bytes = reinterpret_cast<const HPDF_BYTE*>(text.data());
        float baseline = 842 - kBoxY - kFontSize;
        std::size_t at = 0;
        for (int i = 0; i < kLines && at < text.size(); ++i) {
            HPDF_REAL width = 0;
            const HPDF_UINT taken = HPDF_Font_MeasureText(font, bytes + at, static_cast<HPDF_UINT>(text.size() - at),
                                                          kBoxWidth, kFontSize, 0, 0, HPDF_TRUE, &width);
            line.assign(text, at, taken);
            at += taken;
            while (!line.empty() && line.back() == ' ') {
                line.pop_back();
            }
            const auto gaps = static_cast<float>(std::count(line.begin(), line.end(), ' '));
            HPDF_Page_BeginText(page);
            HPDF_Page_SetWordSpace(page, at < text.size() && gaps > 0 ? (kBoxWidth - width) / gaps : 0);
            HPDF_Page_MoveTextPos(page, kBoxX, baseline);
            HPDF_Page_ShowText(page, line.c_str());
            HPDF_Page_EndText(page);
            baseline -= kLineHeight;
        }
    }
    HPDF_SaveToFile(pdf, path.c_str());
    HPDF_Free(pdf);
}

// TextLength calls a second on the given texts, cycling through them.
double lengthCallsPerSecond(const folian::Folian& pdf, const std::vector<std::string>& texts, int calls)
{
    volatile float sink = 0;
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) {
        sink = sink + pdf.TextLength(texts[static_cast<std::size_t>(i) % texts.size()]);
    }
    return calls / std::chrono::duration<double>(Clock::now() - start).count();
}

int comparisons()
{
    const auto dir = std::filesystem::temp_directory_path() / ("folian-text-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);

    folian::Folian measure;
    measure.BeginDoc((dir / "measure.pdf").string());
    measure.SetFont("Arial", kFontSize, 0, 0);
    const std::vector<std::string> texts = pageTexts(measure);

    std::vector<bench::Row> rows = bench::standardRows(
        dir, [&](const std::string& path, int mode, int quality) { writeFolian(path, mode, quality, texts); },
        [&](const std::string& path, int zlibLevel) { writeHaru(path, zlibLevel, texts); });
    for (int round = 0; round < kRounds; ++round) {
        bench::round(round, rows);
    }

    std::vector<std::string> words;
    std::vector<std::string> lines;
    for (const std::string& text : texts) {
        std::size_t at = 0;
        for (std::size_t blank; (blank = text.find(' ', at)) != std::string::npos; at = blank + 1) {
            words.push_back(text.substr(at, blank - at));
        }
        for (std::size_t i = 0; i + 110 < text.size(); i += 110) {
            lines.push_back(text.substr(i, 110));
        }
    }
    const double wordRate = lengthCallsPerSecond(measure, words, 5'000'000);
    const double lineRate = lengthCallsPerSecond(measure, lines, 2'000'000);
    measure.Abort();

    std::printf("%d pages, %d justified lines of Arial/Helvetica 9 broken in the timing and a table of 20 cells each;\n"
                "median of %d interleaved rounds\n",
                kPages, kLines, kRounds);
    const int missed = bench::printRows(rows);
    bench::reportZlibStates(rows.back().ours, rows.back().peer);
    std::printf(
        "TextLength: %.1f million calls/s on words (%.1f bytes), %.1f million calls/s on 110-byte lines\n",
        wordRate / 1e6,
        [&] {
            double total = 0;
            for (const auto& w : words) {
                total += static_cast<double>(w.size());
            }
            return total / static_cast<double>(words.size());
        }(),
        lineRate / 1e6);
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
