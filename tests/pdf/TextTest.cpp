#include "PageFixture.h"

namespace {

class FolianTextLines : public PageFixture {
protected:
    // The content since the mark, with "|" for the CR in front of each operator line.
    std::string ops() const
    {
        std::string text = drawn();
        std::replace(text.begin(), text.end(), '\r', '|');
        return text;
    }
    bool wrote(const std::string& part) const { return ops().find(part) != std::string::npos; }
};

} // namespace

TEST_F(FolianTextLines, StateAndMeasurement)
{
    EXPECT_EQ(pdf.TextLength("ABC"), 0.0f); // no font yet
    EXPECT_EQ(pdf.TextHeight(), 0.0f);
    pdf.SetScale(2);
    pdf.SetCharSpacing(0.5f);
    pdf.SetWordSpacing(2);
    pdf.SetTextHorizontalScaling(50);
    pdf.SetTextMode(3);
    EXPECT_EQ(ops(), "|0.5 Tc|2 Tw|50 Tz|3 Tr");
    EXPECT_THROW(pdf.SetTextMode(40000), folian::Error);
    // Spacings are points whatever the unit; the sum is scaled, then turned into millimetres.
    pdf.SetFont("Courier", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength("A B"), (18 + 2 + 1.5f) / 2 * 25.4f / 72);
    pdf.SetScale(0);
    EXPECT_FLOAT_EQ(pdf.TextLength(" "), (6 + 2 + 0.5f) / 2);

    pdf.SetTextLineSpacing(0);
    pdf.SetTextLineSpacing(-1);
    EXPECT_EQ(A::LineSpacing(pdf), 0.0f);
    pdf.BeginPage();
    EXPECT_EQ(A::LineSpacing(pdf), 1.0f);
    EXPECT_FLOAT_EQ(pdf.TextLength("ABC"), 18); // the new page's text state has no spacing

    // Byte 0 (a text box's continuation mark) and bytes above 127 are codes like any other.
    pdf.SetFont("Arial", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength(std::string("\0\xE8\x80", 3)), 2.72f + 5.56f + 5.56f);
    EXPECT_FLOAT_EQ(pdf.TextHeight(), 12.21f);
    pdf.Abort(); // the selected index now names no font of any document
    EXPECT_EQ(pdf.TextLength("ABC"), 0.0f);
}

TEST_F(FolianTextLines, OneLineItsColoursAndPosition)
{
    EXPECT_THROW(pdf.DrawText(1, 1, "x"), folian::Error); // a line needs a font
    pdf.SetFont("Arial", 10, 0, 0);                       // "text" is 16.12 wide
    pdf.SetColorFill("#FF0000");
    pdf.SetColorText("Blue");
    restart();
    pdf.DrawText(50, 100, "text");
    EXPECT_EQ(ops(), "|0 0 1 rg|BT|/Arial 10 Tf 10 TL|1 0 0 -1 50 100 Tm|(text) Tj|ET|1 0 0 rg");
    EXPECT_FLOAT_EQ(A::CurrentX(pdf), 66.12f);
    const std::array<float, 4> bounds{50, 842 - 102.21f, 66.12f, 842 - 102.21f + 12.21f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(A::LastBounds(pdf)[static_cast<std::size_t>(i)], bounds[static_cast<std::size_t>(i)], 1e-3) << i;
    }

    // Alignments that combine flags (plain right and centred lines are the text readers' test).
    const std::pair<int32_t, const char*> aligned[] = {{6, "100"}, {3, "100"}, {10, "83.88"}};
    for (const auto& [align, x] : aligned) {
        restart();
        pdf.DrawText(100, 50, "text", align);
        EXPECT_TRUE(wrote(std::string("|1 0 0 -1 ") + x + " 50 Tm")) << align;
        EXPECT_FLOAT_EQ(A::CurrentX(pdf), 116.12f) << align;
    }

    const auto before = A::LastBounds(pdf);
    restart();
    pdf.DrawText(10, 20, "   ");
    pdf.WriteTextLn("");
    EXPECT_EQ(ops(), "");
    EXPECT_EQ(A::LastBounds(pdf), before);
    EXPECT_EQ(A::CurrentX(pdf), 0.0f);
    EXPECT_EQ(A::CurrentY(pdf), 20.0f);
    pdf.SetTextLineSpacing(1.5f);
    pdf.SetXY(30, 40);
    pdf.WriteTextLn("x");
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 40 + 12.21f * 1.5f);
}

TEST_F(FolianTextLines, RaisedLoweredAndDecoratedText)
{
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.SetXY(20, 100);
    restart();
    pdf.WriteText("x", 1, 50);
    EXPECT_TRUE(wrote("/Arial 5 Tf 5 TL|1 0 0 -1 20 95 Tm")) << ops();
    EXPECT_EQ(A::FontSize(pdf), 10.0f);
    pdf.WriteText("x", 2, 50);
    EXPECT_TRUE(wrote("|1 0 0 -1 22.5 103.315 Tm")) << ops();

    pdf.SetFont("Arial", 10, 4 + 16, 0);
    pdf.SetColorText("#00FF00");
    pdf.SetColorLine("#0000FF");
    restart();
    pdf.DrawText(50, 100, "text");
    EXPECT_TRUE(wrote("|ET|0 0 0 rg|q|0 1 0 RG|0.625 w |1 0 0 1 50 100 cm|0 1.25 m 16.12 1.25 l S|"
                      "0 -3 m 16.12 -3 l S|0 0 1 RG|Q"))
        << ops();
}

TEST_F(FolianTextLines, JustifiedAndScaledLines)
{
    // Justified lines with blanks are read back by the text readers' test; a single word has no gap to widen.
    pdf.SetFont("Arial", 10, 0, 0); // "ab" 11.12
    A::WriteTextLine(pdf, 0, 10, 100, "abcd", 0, 64);
    EXPECT_TRUE(wrote("|(abcd) Tj|"));

    pdf.SetTextHorizontalScaling(90);
    const std::tuple<int32_t, float, const char*> cases[] = {{256, 50, "|449.64 Tz (ab) Tj  90 Tz|"},
                                                             {128, 50, "|(ab) Tj|"},
                                                             {256, 10, "|89.928 Tz (ab) Tj 90 Tz|"},
                                                             {128, 10, "|89.928 Tz (ab) Tj 90 Tz|"}};
    for (const auto& [align, width, expected] : cases) {
        restart();
        A::WriteTextLine(pdf, 0, 10, width, "ab", 0, align);
        EXPECT_TRUE(wrote(expected)) << align << ops();
        EXPECT_EQ(A::HorizontalScaling(pdf), 90.0f);
    }
}

TEST_F(FolianTextLines, TextBoxes)
{
    pdf.SetFont("Arial", 10, 0, 0); // line advance 12.21, first baseline 10 below the top
    // "aaa" and "bbb" are 16.68 wide, "ccc" 15: two words fit 45 with the indentation of 5.
    const std::string rest = pdf.DrawTextBox(10, 100, 45, 20, "aaa bbb ccc", 5, 0, 1);
    EXPECT_EQ(rest, std::string("\0ccc", 4));
    EXPECT_FALSE(wrote(" re|"));
    EXPECT_TRUE(wrote("|1 0 0 -1 15 110 Tm|(aaa bbb) Tj")) << ops();
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 112.21f);
    restart();
    EXPECT_EQ(pdf.DrawTextBox(10, 200, 45, 20, rest, 5, 0, 0), "");
    EXPECT_EQ(ops().substr(0, 23), "|10 200 45 20 re|S|0 0 ");
    EXPECT_TRUE(wrote("|1 0 0 -1 10 210 Tm|(ccc) Tj")); // a continued paragraph is not indented
    // Without justification the blanks stand as they were typed.
    pdf.DrawTextBox(10, 100, 200, 0, "aa  bb   cc", 0, 0, 1);
    EXPECT_TRUE(wrote("(aa  bb   cc) Tj")) << ops();

    // A cut between paragraphs carries no mark; empty paragraphs and a final CR LF keep a line.
    EXPECT_EQ(pdf.DrawTextBox(10, 100, 45, 20, "aaa bbb\r\nccc\r\nddd", 5, 0, 1), "ccc\r\nddd");
    pdf.DrawTextBox(10, 100, 45, 0, "aaa\r\n\r\nbbb\r\n", 0, 0, 1);
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 100 + 4 * 12.21f);
    EXPECT_EQ(pdf.DrawTextBox(10, 100, 45, 5, "aaa bbb ccc", 0, 0, 3), std::string("\0ccc", 4));

    restart();
    pdf.DrawTextBox(10, 100, 45, 50, "aaa  bbb ccc aaa", 0, 64 + 16, 0);
    EXPECT_EQ(folian::test::countOf(ops(), " Tw "), 1) << ops(); // not on the paragraph's last line
    EXPECT_TRUE(wrote("|1 0 0 -1 10 135.58 Tm|8.86 Tw (aaa bbb) Tj 0 Tw|")) << ops();
    EXPECT_TRUE(wrote("|1 0 0 -1 10 147.79 Tm|(ccc aaa) Tj|")) << ops(); // descent on the bottom edge
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 100 + 2 * 12.21f);

    restart();
    pdf.DrawTextBox(10, 100, 45, 50, "aaa bbb ccc aaa\r\nbbb", 0, 256 + 32, 3);
    EXPECT_TRUE(wrote("|10 100 45 50 re|h|n|")) << ops(); // the unpainted frame's path is ended
    EXPECT_TRUE(wrote("|1 0 0 -1 10 122.79 Tm|61.325 Tz (aaa bbb ccc aaa) Tj 100 Tz|")) << ops();
    EXPECT_TRUE(wrote("|269.784 Tz (bbb) Tj  100 Tz|")) << ops();
}

// A text box finds blanks and adds widths eight bytes at a time: words and double blanks on either
// side of each block's edge are read as one byte at a time would read them.
TEST_F(FolianTextLines, TextBoxWordsAcrossEightByteBlocks)
{
    pdf.SetFont("Arial", 10, 0, 0);
    // A justified text's double blank at every place of three blocks becomes single; single blanks
    // in a row of one-letter words are left alone.
    for (std::size_t k = 0; k < 18; ++k) {
        const std::string before(k, 'a');
        restart();
        pdf.DrawTextBox(10, 100, 400, 0, before + "  b c d e f g h i j k", 0, 64, 1);
        EXPECT_TRUE(wrote("(" + before + " b c d e f g h i j k) Tj")) << k << ops();
    }

    // Words of 1 to 23 letters, narrow and wide, justified: each line fits the box (or is one
    // word wider than it) and would not with the next word, and its word spacing is the one a line
    // that measures its words itself gets.
    std::vector<std::string> words;
    std::string text;
    for (std::size_t n = 1; n < 24; ++n) {
        // Words of one size in both letters, so that no width is taken for another of its size.
        for (const char letter : {'i', 'm'}) {
            if (n < 12 || letter == (n % 2 == 0 ? 'i' : 'm')) {
                words.push_back(std::string(n, letter));
                text += (text.empty() ? "" : " ") + words.back();
            }
        }
    }
    const float width = 150;
    restart();
    pdf.DrawTextBox(10, 100, width, 0, text, 0, 64, 1);
    const std::string box = ops();
    std::vector<std::pair<std::string, std::string>> lines; // a line's text and what stands before it
    for (auto at = box.find(" Tm|"); at != std::string::npos; at = box.find(" Tm|", at + 1)) {
        const auto open = box.find('(', at);
        lines.emplace_back(box.substr(open + 1, box.find(") Tj", open) - open - 1), box.substr(at + 4, open - at - 4));
    }
    ASSERT_GT(lines.size(), 3u);
    std::size_t next = 0;
    for (const auto& [line, spacing] : lines) {
        std::string expected = words[next++];
        while (next < words.size() && line.size() > expected.size()) {
            expected += " " + words[next++];
        }
        EXPECT_EQ(line, expected);
        if (line.find(' ') != std::string::npos) {
            EXPECT_LE(pdf.TextLength(line), width + 0.01f) << line;
        }
        if (next < words.size()) {
            EXPECT_GT(pdf.TextLength(line + " " + words[next]), width - 0.01f) << line;
            restart();
            A::WriteTextLine(pdf, 10, 100, width, line, 0, 64);
            EXPECT_TRUE(wrote("|" + spacing + "(" + line + ") Tj")) << spacing << ops();
        }
    }
    EXPECT_EQ(next, words.size());
}
