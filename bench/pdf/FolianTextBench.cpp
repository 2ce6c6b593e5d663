// Writes a 1,000-page document whose pages each carry the table of 20 cells of the layout
// benchmark and 60 lines of Italian prose in Arial 9, justified in a text box, and the same
// document with libharu (its built-in Helvetica, justified by its own text box, no
// compression). Reports pages per second for both, their ratio, and how many TextLength calls
// a second the writer makes on words and on whole lines.
#include "core/Folian.h"

#include <hpdf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPages = 1000;
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

double writeFolian(const std::string& path, const std::vector<std::string>& texts)
{
    folian::Hooks hooks;
    hooks.nomeCorrente = [] { return std::string("ROSSI MARIO"); };
    hooks.oggiTesto = [] { return std::string("05122026"); };
    hooks.now = [] { return folian::LocalDateTime{2026, 12, 5, 14, 3, 9}; };
    const auto start = Clock::now();
    folian::Folian pdf(hooks);
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
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void haruError(HPDF_STATUS error, HPDF_STATUS detail, void*)
{
    std::fprintf(stderr, "libharu error %04X (%u)\n", static_cast<unsigned>(error), static_cast<unsigned>(detail));
    std::exit(2);
}

double writeHaru(const std::string& path, const std::vector<std::string>& texts)
{
    const auto start = Clock::now();
    HPDF_Doc pdf = HPDF_New(haruError, nullptr);
    HPDF_SetCompressionMode(pdf, HPDF_COMP_NONE);
    HPDF_Font font = HPDF_GetFont(pdf, "Helvetica", "WinAnsiEncoding");
    for (int p = 0; p < kPages; ++p) {
        HPDF_Page page = HPDF_AddPage(pdf);
        HPDF_Page_SetWidth(page, 596);
        HPDF_Page_SetHeight(page, 842);
        HPDF_Page_SetLineWidth(page, 0.5f);
        HPDF_Page_SetRGBFill(page, 1.0f, 1.0f, 0.878f);
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 5; ++c) {
                HPDF_Page_Rectangle(page, 40 + 103.0f * c + 0.25f, 842 - 40 - 24.0f * (r + 1) + 0.25f, 102.5f, 23.5f);
                HPDF_Page_FillStroke(page);
            }
        }
        HPDF_Page_SetRGBFill(page, 0, 0, 0);
        HPDF_Page_BeginText(page);
        HPDF_Page_SetFontAndSize(page, font, kFontSize);
        HPDF_Page_SetTextLeading(page, kLineHeight);
        HPDF_UINT drawn = 0;
        // The box's top is one line above the first baseline's ascent, as in the writer's box.
        HPDF_Page_TextRect(page, kBoxX, 842 - kBoxY, kBoxX + kBoxWidth, 842 - kBoxY - kBoxHeight,
                           texts[static_cast<std::size_t>(p) % texts.size()].c_str(), HPDF_TALIGN_JUSTIFY, &drawn);
        HPDF_Page_EndText(page);
    }
    HPDF_SaveToFile(pdf, path.c_str());
    HPDF_Free(pdf);
    return std::chrono::duration<double>(Clock::now() - start).count();
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

    double bestOurs = 1e9;
    double bestHaru = 1e9;
    for (int run = 0; run < 5; ++run) { // alternated, so that both meet the same machine state
        bestOurs = std::min(bestOurs, writeFolian(ours, texts));
        bestHaru = std::min(bestHaru, writeHaru(haru, texts));
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

    const auto size = [](const std::string& path) { return static_cast<long long>(std::filesystem::file_size(path)); };
    std::printf("%d pages, 60 justified lines of Arial/Helvetica 9 and a table of 20 cells each\n", kPages);
    std::printf("Folian   %8.1f ms  %9.0f pages/s  %11lld bytes\n", bestOurs * 1e3, kPages / bestOurs, size(ours));
    std::printf("libharu  %8.1f ms  %9.0f pages/s  %11lld bytes\n", bestHaru * 1e3, kPages / bestHaru, size(haru));
    std::printf("time ratio Folian / libharu: %.3f (goal below 0.5)\n", bestOurs / bestHaru);
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
