// A whole document with text, read back by qpdf, pdffonts and pdftotext.
#include "PageFixture.h"

#include <map>
#include <sstream>

namespace {

using folian::test::PlacedWord;

class FolianTextReaders : public PageFixture {
protected:
    void SetUp() override
    {
        pdf.SetMargins(20, 20, 30, 20);
        PageFixture::SetUp();
    }

    // Where each word of a line should stand: page points from the top-left corner, with the
    // baseline in yMin and yMax.
    void expectLine(float x, float y, const std::string& line)
    {
        std::istringstream words(line);
        std::string before;
        for (std::string word; words >> word; before += word + " ") {
            const double left = 20 + x + pdf.TextLength(before);
            expected.push_back({left, 30 + y, left + pdf.TextLength(word), 30 + y, word});
        }
    }

    std::vector<PlacedWord> expected;
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

    // A TrueType font added without an alias goes by its own name, whatever the letter case and blanks.
    const std::string liberation = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
    ASSERT_EQ(pdf.AddFont(liberation, "", true, 0), "LiberationSans");
    EXPECT_EQ(A::Font(pdf, A::FontCount(pdf)).Height, 1117);
    pdf.SetFont("liberation sans", 10, 0, 0);
    pdf.SetWordSpacing(1);
    const std::string paragraph =
        "Il soggetto obbligato comunica al Registro Elettronico degli Indirizzi il suo indirizzo di posta "
        "elettronica certificata e le sue variazioni, con la data di inizio e di fine della validita.";
    EXPECT_EQ(pdf.DrawTextBox(50, 220, 300, 0, paragraph, 15, 64, 1), "");
    const float space = pdf.TextLength(" ");

    const auto path = finish();
    const auto report = folian::test::readWithReaders(path);
    EXPECT_TRUE(report.qpdfClean) << report.qpdfOutput;
    EXPECT_EQ(report.pdfinfoStderr, "");
    const std::string written = folian::test::readFile(path);
    EXPECT_NE(written.find("/Flags 32 /FontBBox ["), std::string::npos);
    EXPECT_NE(written.find("/StemV 70 /ItalicAngle 0 /CapHeight 905 /XHeight 452 /Ascent 905 /Descent -212 "),
              std::string::npos);
    EXPECT_NE(written.find("/Length1 " + std::to_string(folian::test::readFile(liberation).size())), std::string::npos);

    const std::vector<PlacedWord> placed = folian::test::placedWords(path);
    ASSERT_GE(placed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const PlacedWord& want = expected[i];
        EXPECT_EQ(placed[i].text, want.text);
        EXPECT_NEAR(placed[i].xMin, want.xMin, 0.01) << want.text;
        EXPECT_NEAR(placed[i].xMax, want.xMax, 0.01) << want.text;
        EXPECT_TRUE(placed[i].yMin < want.yMin && want.yMax < placed[i].yMax) << want.text; // baseline inside
    }

    // The justified box: every line but the last fills the width (the first after its
    // indentation) with equal gaps; the last is set with plain blanks, word spacing included.
    std::map<double, std::vector<PlacedWord>> rows;
    for (std::size_t i = expected.size(); i < placed.size(); ++i) {
        rows[placed[i].yMin].push_back(placed[i]);
    }
    ASSERT_GE(rows.size(), 3u);
    std::size_t row = 0;
    for (const auto& [top, words] : rows) {
        const bool last = ++row == rows.size();
        EXPECT_NEAR(words.front().xMin, 20 + 50 + (row == 1 ? 15 : 0), 0.01) << row;
        if (!last) {
            EXPECT_NEAR(words.back().xMax, 20 + 50 + 300, 0.01) << row;
        }
        for (std::size_t k = 1; k < words.size(); ++k) {
            EXPECT_NEAR(words[k].xMax - words[k].xMin, pdf.TextLength(words[k].text), 0.01) << words[k].text;
            EXPECT_NEAR(words[k].xMin - words[k - 1].xMax, last ? space : words[1].xMin - words[0].xMax, 0.01)
                << words[k].text;
        }
    }
}
