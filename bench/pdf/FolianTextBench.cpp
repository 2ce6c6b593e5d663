// Writes a 1,000-page document whose pages each carry a table of 20 cells and 60 lines of
// Italian prose in Arial 9, justified in a text box, and the same pages with libharu writing
// the same lines as its users write plain lines (BeginText, MoveTextPos, ShowText, with the
// word spacing that justifies each line), without compression and with Flate in both, in
// interleaved rounds. Reports the median of the ratios of the two times, and how many
// TextLength calls a second the writer makes on words and on whole lines.
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
using bench::median;
using bench::sizeOf;

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

// One line of a justified box as libharu is given it: the text and the word spacing that
// makes it reach the box's width (none on a paragraph's last line).
struct HaruLine {
    std::string text;
    float wordSpacing = 0;
};

// The lines of each page text as a greedy break at blanks in the box's width puts them, made
// once outside the timing with the writer's own measurement.
std::vector<std::vector<HaruLine>> haruLines(const folian::Folian& measure, const std::vector<std::string>& texts)
{
    std::vector<std::vector<HaruLine>> pages;
    for (const std::string& text : texts) {
        std::vector<HaruLine> lines;
        std::string line;
        std::size_t at = 0;
        while (lines.size() < kLines && at < text.size()) {
            const std::size_t blank = std::min(text.find(' ', at), text.size());
            const std::string word = text.substr(at, blank - at);
            const std::string longer = line.empty() ? word : line + " " + word;
            if (!line.empty() && measure.TextLength(longer) > kBoxWidth) {
                const auto gaps = static_cast<float>(std::count(line.begin(), line.end(), ' '));
                lines.push_back({line, gaps > 0 ? (kBoxWidth - measure.TextLength(line)) / gaps : 0});
                line = word;
            } else {
                line = longer;
            }
            at = blank + 1;
        }
        if (lines.size() < kLines && !line.empty()) {
            lines.push_back({line, 0});
        }
        pages.push_back(lines);
    }
    return pages;
}

void writeFolian(const std::string& path, int compression, const std::vector<std::string>& texts)
{
    folian::Folian pdf(folian::test::fixedHooks());
    pdf.SetFileSync(false); // libharu does not wait for the disk either
    pdf.SetCompression(compression);
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
        pdf.DrawTextBox(kBoxX, kBoxY, kBoxWidth, kBoxHeight, texts[static_cast<std::size_t>(p) % texts.size()], 0, 64,
                        1);
    }
    pdf.EndDoc();
}

void writeHaru(const std::string& path, bool flate, const std::vector<std::vector<HaruLine>>& pages)
{
    HPDF_Doc pdf = HPDF_New(bench::haruError, nullptr);
    HPDF_SetCompressionMode(pdf, flate ? HPDF_COMP_ALL : HPDF_COMP_NONE);
    HPDF_Font font = HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding");
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
        const std::vector<HaruLine>& lines = pages[static_cast<std::size_t>(p) % pages.size()];
        float baseline = 842 - kBoxY - kFontSize;
        for (const HaruLine& line : lines) {
            HPDF_Page_BeginText(page);
            HPDF_Page_SetWordSpace(page, line.wordSpacing);
            HPDF_Page_MoveTextPos(page, kBoxX, baseline);
            HPDF_Page_ShowText(page, line.text.c_str());
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

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / "folian-text-bench";
    std::filesystem::create_directories(dir);
    const std::string ours = (dir / "folian.pdf").string();
    const std::string haru = (dir / "libharu.pdf").string();

    folian::Folian measure;
    measure.BeginDoc((dir / "measure.pdf").string());
    measure.SetFont("Arial", kFontSize, 0, 0);
    const std::vector<std::string> texts = pageTexts(measure);

    const std::string oursFlate = (dir / "folian-flate.pdf").string();
    const std::string haruFlate = (dir / "libharu-flate.pdf").string();
    const auto haruPages = haruLines(measure, texts);
    bench::Comparison plain;
    bench::Comparison flate;
    for (int round = 0; round < kRounds; ++round) {
        plain.round(round, [&] { writeFolian(ours, 0, texts); }, [&] { writeHaru(haru, false, haruPages); });
        flate.round(round, [&] { writeFolian(oursFlate, 2, texts); }, [&] { writeHaru(haruFlate, true, haruPages); });
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

    std::printf("%d pages, %d justified lines of Arial/Helvetica 9 and a table of 20 cells each; median of %d "
                "interleaved rounds\n",
                kPages, kLines, kRounds);
    bench::printComparisons(plain, flate, ours, haru, oursFlate, haruFlate);
    std::printf("uncompressed: %.3f of libharu's time; Flate: %.3f\n", median(plain.ratios), median(flate.ratios));
    std::printf("TextLength: %.1f million calls/s on words (%.1f bytes), %.1f million calls/s on 110-byte lines\n",
                wordRate / 1e6, [&] {
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
    return 0;
}
