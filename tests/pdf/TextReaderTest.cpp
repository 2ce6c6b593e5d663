// Whole documents with text, read back by qpdf, pdffonts and pdftotext.
#include "PageFixture.h"

#include <map>
#include <sstream>

namespace {

using folian::test::PlacedWord;

class FolianTextReaders : public PageFixture {
protected:
    void SetUp() override
    {
        dir = folian::test::scratchDir();
        pdf.SetMargins(20, 20, 30, 20);
        pdf.BeginDoc((dir / "page.pdf").string());
        pdf.BeginPage();
    }

    // Where each word of a line should stand, in page points from the top-left corner.
    void expectLine(float x, float y, const std::string& line)
    {
        std::istringstream words(line);
        std::string before;
        for (std::string word; words >> word; before += word + " ") {
            const double left = 20 + x + pdf.TextLength(before);
            expected.push_back({left, 30 + y, left + pdf.TextLength(word), 30 + y, word});
        }
    }

    std::vector<PlacedWord> expected; // yMin and yMax both hold the baseline
};

} // namespace

TEST_F(FolianTextReaders, WordsStandWhereTheyWereMeasured)
{
    pdf.SetFont("Arial", 12, 0, 0);
    pdf.DrawText(50, 100, "Registro Elettronico degli Indirizzi");
    expectLine(50, 100, "Registro Elettronico degli Indirizzi");
    pdf.SetFont("Times", 11, 1, 0);
    pdf.DrawText(500, 130, "Agenzia delle Entrate", 2);
    expectLine(500 - pdf.TextLength("Agenzia delle Entrate"), 130, "Agenzia delle Entrate");
    pdf.SetFont("Courier", 10, 0, 0);
    pdf.DrawText(300, 160, "REI 2026", 4);
    expectLine(300 - pdf.TextLength("REI 2026") / 2, 160, "REI 2026");
    pdf.SetFont("Times", 11, 0, 0);
    pdf.SetXY(50, 190);
    pdf.WriteText("Comunicazione ", 0, 100);
    expectLine(50, 190, "Comunicazione");
    const float next = pdf.GetX();
    pdf.WriteText("bis", 3, 80);
    pdf.SetFontSize(8.8f);
    expectLine(next, 190, "bis");
    pdf.SetFontSize(11);

    const std::string alias =
        pdf.AddFont("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf", "Liberation", true, 0);
    ASSERT_EQ(alias, "Liberation");
    pdf.SetFont(alias, 10, 0, 0);
    pdf.SetWordSpacing(1);
    const std::string paragraph =
        "Il soggetto obbligato comunica al Registro Elettronico degli Indirizzi il suo indirizzo di posta elettronica "
        "certificata e le sue variazioni, con la data di inizio e di fine della validita.";
    EXPECT_EQ(pdf.DrawTextBox(50, 220, 300, 0, paragraph, 15, 64, 1), "");
    const float boxBottom = pdf.GetY();
    const float space = pdf.TextLength(" ");

    const auto path = finish();
    const auto report = folian::test::readWithReaders(path);
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    EXPECT_EQ(report.pdfinfoStderr, "");
    const auto fonts = folian::test::listedFonts(path);
    const std::vector<std::vector<std::string>> listed{{"Arial", "Type 1", "WinAnsi", "no"},
                                                       {"TimesNewRoman,Bold", "Type 1", "WinAnsi", "no"},
                                                       {"CourierNew", "Type 1", "WinAnsi", "no"},
                                                       {"TimesNewRoman", "Type 1", "WinAnsi", "no"},
                                                       {"LiberationSans", "TrueType", "WinAnsi", "yes"}};
    EXPECT_EQ(fonts, listed);

    std::vector<PlacedWord> placed = folian::test::placedWords(path);
    ASSERT_GE(placed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PlacedWord& want = expected[i];
        const PlacedWord& got = placed[i];
        EXPECT_EQ(got.text, want.text);
        EXPECT_NEAR(got.xMin, want.xMin, 0.01) << want.text;
        EXPECT_NEAR(got.xMax, want.xMax, 0.01) << want.text;
        EXPECT_LT(got.yMin, want.yMin) << want.text; // the baseline lies inside the word's box
        EXPECT_GT(got.yMax, want.yMax) << want.text;
    }

    // The justified box: words keep their measured widths; every line but the last fills the
    // width (the first after its indentation) with equal gaps, and the last is set with plain
    // blanks (word spacing included).
    std::map<double, std::vector<PlacedWord>> rows;
    for (std::size_t i = expected.size(); i < placed.size(); ++i) {
        rows[placed[i].yMin].push_back(placed[i]);
    }
    ASSERT_GE(rows.size(), 3u);
    EXPECT_NEAR(rows.rbegin()->second.back().yMax, 30 + boxBottom, 3); // the descent of the last line
    std::size_t row = 0;
    for (const auto& [top, words] : rows) {
        const bool last = ++row == rows.size();
        EXPECT_NEAR(words.front().xMin, 20 + 50 + (row == 1 ? 15 : 0), 0.01) << row;
        if (!last) {
            EXPECT_NEAR(words.back().xMax, 20 + 50 + 300, 0.01) << row;
        }
        const double gap = words.size() > 1 ? words[1].xMin - words[0].xMax : 0;
        for (std::size_t k = 0; k < words.size(); ++k) {
            EXPECT_NEAR(words[k].xMax - words[k].xMin, pdf.TextLength(words[k].text), 0.01) << words[k].text;
            if (k > 0) {
                EXPECT_NEAR(words[k].xMin - words[k - 1].xMax, last ? space : gap, 0.01) << words[k].text;
            }
        }
    }
}

TEST_F(FolianTextReaders, OddFontNamesStayValidNames)
{
    pdf.SetFont("Neue (Grotesk)/%#1", 10, 0, 0);
    pdf.DrawText(50, 50, "odd");
    const auto path = finish();
    EXPECT_TRUE(folian::test::readWithReaders(path).qpdfClean);
    EXPECT_NE(folian::test::readFile(path).find("/Neue#28Grotesk#29#2F#25#231 10 Tf"), std::string::npos);
}
