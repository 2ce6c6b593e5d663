#include "PageFixture.h"

#include <cmath>

namespace {

using FolianTextLines = PageFixture;

// The content as one text per operator line.
std::string lines(std::string content)
{
    for (char& c : content) {
        if (c == '\r') {
            c = '|';
        }
    }
    return content;
}

} // namespace

TEST_F(FolianTextLines, StateOperatorsAndTheirFields)
{
    pdf.SetScale(2);
    pdf.SetCharSpacing(0.5f);
    pdf.SetWordSpacing(-1.25f);
    pdf.SetTextHorizontalScaling(80);
    pdf.SetTextMode(3);
    EXPECT_EQ(lines(drawn()), "|0.5 Tc|-1.25 Tw|80 Tz|3 Tr");
    restart();
    EXPECT_THROW(pdf.SetTextMode(40000), folian::Error);
    EXPECT_EQ(drawn(), "");

    pdf.SetTextLineSpacing(0);
    EXPECT_EQ(A::LineSpacing(pdf), 0.0f);
    pdf.SetTextLineSpacing(-1);
    EXPECT_EQ(A::LineSpacing(pdf), 0.0f);
    pdf.SetColorText("RED");
    pdf.SetColorText("");
    EXPECT_EQ(A::TextColor(pdf), "#FF0000");

    pdf.BeginPage();
    EXPECT_EQ(A::HorizontalScaling(pdf), 100.0f);
    EXPECT_EQ(A::LineSpacing(pdf), 1.0f);
    EXPECT_EQ(A::TextColor(pdf), "#000000");
    pdf.SetFont("Courier", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength("ABC"), 18 * 25.4f / 72); // no spacing left from the page before
}

TEST_F(FolianTextLines, Measurement)
{
    EXPECT_EQ(pdf.TextLength("ABC"), 0.0f); // no font yet
    EXPECT_EQ(pdf.TextHeight(), 0.0f);
    pdf.SetFont("Courier", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength("ABC"), 18);
    EXPECT_EQ(pdf.TextLength(""), 0.0f);
    pdf.SetWordSpacing(2);
    pdf.SetCharSpacing(0.5f);
    EXPECT_FLOAT_EQ(pdf.TextLength(" "), 6 + 2 + 0.5f);
    pdf.SetTextHorizontalScaling(50);
    EXPECT_FLOAT_EQ(pdf.TextLength("A B"), (18 + 2 + 1.5f) / 2);
    pdf.SetScale(2);
    EXPECT_FLOAT_EQ(pdf.TextLength("A B"), (18 + 2 + 1.5f) / 2 * 25.4f / 72);
    pdf.SetScale(0);
    pdf.SetTextHorizontalScaling(100);
    pdf.SetWordSpacing(0);
    pdf.SetCharSpacing(0);
    // Byte 0 (a text box's continuation mark) and bytes above 127 are codes like any other.
    pdf.SetFont("Arial", 10, 0, 0);
    EXPECT_FLOAT_EQ(pdf.TextLength(std::string("\0\xE8\x80", 3)), 2.72f + 5.56f + 5.56f);
    EXPECT_FLOAT_EQ(pdf.TextHeight(), 12.21f);
    pdf.Abort(); // the selected index now names no font of any document
    EXPECT_EQ(pdf.TextLength("ABC"), 0.0f);
}

TEST_F(FolianTextLines, OneLineAndItsColours)
{
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.SetColorFill("#FF0000");
    pdf.SetColorText("Blue");
    restart();
    pdf.DrawText(50, 100, "text");
    EXPECT_EQ(lines(drawn()), "|0 0 1 rg|BT|/Arial 10 Tf 10 TL|1 0 0 -1 50 100 Tm|(text) Tj|ET|1 0 0 rg");
    EXPECT_FLOAT_EQ(A::CurrentX(pdf), 50 + 16.12f);
    EXPECT_EQ(A::CurrentY(pdf), 100.0f);
    const auto bounds = A::LastBounds(pdf);
    EXPECT_FLOAT_EQ(bounds[0], 50);
    EXPECT_FLOAT_EQ(bounds[1], 842 - 100 - 2.21f);
    EXPECT_FLOAT_EQ(bounds[2], 66.12f);
    EXPECT_FLOAT_EQ(bounds[3], 842 - 100 - 2.21f + 12.21f);

    restart();
    pdf.DrawText(10, 20, "a(b)\\\r\n");
    EXPECT_NE(drawn().find("(a\\(b\\)\\\\\\r\\n) Tj"), std::string::npos);
    const auto escaped = A::LastBounds(pdf);

    restart();
    pdf.DrawText(10, 20, "   ");
    pdf.WriteTextLn("");
    EXPECT_EQ(drawn(), "");
    EXPECT_EQ(A::LastBounds(pdf), escaped);
    EXPECT_EQ(A::CurrentX(pdf), 0.0f);
    EXPECT_EQ(A::CurrentY(pdf), 20.0f);

    pdf.SetTextLineSpacing(1.5f);
    pdf.SetXY(30, 40);
    pdf.WriteTextLn("x");
    EXPECT_EQ(A::CurrentX(pdf), 0.0f);
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 40 + 12.21f * 1.5f);
}

TEST_F(FolianTextLines, AlignmentOfDrawText)
{
    pdf.SetFont("Arial", 10, 0, 0); // "text" is 16.12 wide
    const std::pair<int32_t, const char*> cases[] = {{2, "83.88"}, {4, "91.94"}, {6, "100"},
                                                     {1, "100"},   {3, "100"},   {10, "83.88"}};
    for (const auto& [align, x] : cases) {
        restart();
        pdf.DrawText(100, 50, "text", align);
        EXPECT_NE(drawn().find(std::string("1 0 0 -1 ") + x + " 50 Tm"), std::string::npos) << align;
        EXPECT_FLOAT_EQ(A::CurrentX(pdf), 116.12f) << align;
    }
    pdf.Abort();
    pdf.BeginDoc((dir / "none.pdf").string());
    pdf.BeginPage();
    EXPECT_THROW(pdf.DrawText(1, 1, "x"), folian::Error); // a line needs a font
}

TEST_F(FolianTextLines, RaisedLoweredAndDecoratedText)
{
    pdf.SetFont("Arial", 10, 0, 0);
    pdf.SetXY(20, 100);
    restart();
    pdf.WriteText("x", 1, 50);
    EXPECT_NE(lines(drawn()).find("/Arial 5 Tf 5 TL|1 0 0 -1 20 95 Tm"), std::string::npos) << lines(drawn());
    EXPECT_EQ(A::FontSize(pdf), 10.0f);
    EXPECT_EQ(A::CurrentY(pdf), 100.0f);
    EXPECT_FLOAT_EQ(A::CurrentX(pdf), 20 + 2.5f);
    restart();
    pdf.WriteText("x", 2, 50);
    EXPECT_NE(lines(drawn()).find("1 0 0 -1 22.5 103.315 Tm"), std::string::npos) << lines(drawn());

    pdf.SetFont("Arial", 10, 4 + 16, 0);
    pdf.SetColorText("#00FF00");
    pdf.SetColorLine("#0000FF");
    restart();
    pdf.DrawText(50, 100, "text");
    const std::string text = lines(drawn());
    EXPECT_EQ(text.substr(text.find("|q")),
              "|q|0 1 0 RG|0.625 w |1 0 0 1 50 100 cm|0 1.25 m 16.12 1.25 l S|0 -3 m 16.12 -3 l S|0 0 1 RG|Q");
}

TEST_F(FolianTextLines, JustifiedAndScaledLines)
{
    pdf.SetFont("Arial", 10, 0, 0); // "ab" 11.12, "cd" 10.56, blank 2.78
    A::WriteTextLine(pdf, 0, 10, 100, "ab cd", 0, 64);
    EXPECT_NE(drawn().find("\r75.54 Tw (ab cd) Tj 0 Tw\r"), std::string::npos) << lines(drawn());
    EXPECT_FLOAT_EQ(A::CurrentX(pdf), 100);
    // Tw replaces the word spacing, so the same extra space is asked for whatever it was.
    pdf.SetWordSpacing(1);
    restart();
    A::WriteTextLine(pdf, 0, 10, 100, "ab cd", 0, 64);
    EXPECT_NE(drawn().find("\r75.54 Tw (ab cd) Tj 1 Tw\r"), std::string::npos) << lines(drawn());
    restart();
    A::WriteTextLine(pdf, 0, 10, 100, "abcd", 0, 64);
    EXPECT_NE(drawn().find("\r(abcd) Tj\r"), std::string::npos);
    pdf.SetWordSpacing(0);

    pdf.SetTextHorizontalScaling(90);
    const std::pair<int32_t, float> narrow[] = {{256, 50}, {128, 50}, {256, 10}, {128, 10}};
    const char* expected[] = {"\r449.64 Tz (ab) Tj  90 Tz\r", "\r(ab) Tj\r", "\r89.928 Tz (ab) Tj 90 Tz\r",
                              "\r89.928 Tz (ab) Tj 90 Tz\r"};
    for (int i = 0; i < 4; ++i) {
        restart();
        A::WriteTextLine(pdf, 0, 10, narrow[i].second, "ab", 0, narrow[i].first);
        EXPECT_NE(drawn().find(expected[i]), std::string::npos) << i << lines(drawn());
        EXPECT_EQ(A::HorizontalScaling(pdf), 90.0f);
    }
}

TEST_F(FolianTextLines, TextBoxLayout)
{
    pdf.SetFont("Arial", 10, 0, 0); // line advance 12.21, first baseline 10 below the top
    // "aaa" and "bbb" are 16.68 wide, "ccc" 15: two words fit 45 with the indentation of 5.
    std::string rest = pdf.DrawTextBox(10, 100, 45, 20, "aaa bbb ccc", 5, 0, 1);
    EXPECT_EQ(rest, std::string("\0ccc", 4));
    EXPECT_EQ(lines(drawn()).find(" re"), std::string::npos);
    EXPECT_NE(drawn().find("1 0 0 -1 15 110 Tm\r(aaa bbb) Tj"), std::string::npos) << lines(drawn());
    EXPECT_EQ(A::CurrentX(pdf), 10.0f);
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 112.21f);
    restart();
    EXPECT_EQ(pdf.DrawTextBox(10, 200, 45, 20, rest, 5, 0, 0), "");
    EXPECT_EQ(lines(drawn()).substr(0, 23), "|10 200 45 20 re|S|0 0 ");
    EXPECT_NE(drawn().find("1 0 0 -1 10 210 Tm\r(ccc) Tj"), std::string::npos); // continued: not indented

    // A cut between paragraphs carries no mark; empty paragraphs and a final CR LF keep a line.
    EXPECT_EQ(pdf.DrawTextBox(10, 100, 45, 20, "aaa bbb\r\nccc\r\nddd", 5, 0, 1), "ccc\r\nddd");
    pdf.DrawTextBox(10, 100, 45, 0, "aaa\r\n\r\nbbb\r\n", 0, 0, 1);
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 100 + 4 * 12.21f);
    EXPECT_EQ(pdf.DrawTextBox(10, 100, 45, 5, "aaa bbb ccc", 0, 0, 3), std::string("\0ccc", 4));

    restart();
    pdf.DrawTextBox(10, 100, 45, 50, "aaa  bbb ccc aaa", 0, 64 + 16, 0);
    const std::string justified = lines(drawn());
    EXPECT_EQ(folian::test::countOf(justified, " Tw "), 1) << justified; // not the paragraph's last line
    EXPECT_NE(justified.find("1 0 0 -1 10 135.58 Tm|8.86 Tw (aaa bbb) Tj 0 Tw"), std::string::npos) << justified;
    EXPECT_NE(justified.find("1 0 0 -1 10 147.79 Tm|(ccc aaa) Tj"), std::string::npos) << justified;
    EXPECT_FLOAT_EQ(A::CurrentY(pdf), 100 + 2 * 12.21f);

    restart();
    pdf.DrawTextBox(10, 100, 45, 50, "aaa bbb ccc aaa\r\nbbb", 0, 256 + 32, 3);
    const std::string fitted = lines(drawn());
    EXPECT_NE(fitted.find("|10 100 45 50 re|h|n|"), std::string::npos) << fitted;
    EXPECT_NE(fitted.find("1 0 0 -1 10 122.79 Tm|61.325 Tz (aaa bbb ccc aaa) Tj 100 Tz"), std::string::npos)
        << fitted;
    EXPECT_NE(fitted.find("269.784 Tz (bbb) Tj  100 Tz"), std::string::npos) << fitted;
}
