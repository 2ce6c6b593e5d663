#include "PageFixture.h"

using A = folian::FolianTestAccess;
using FolianLayout = PageFixture;

TEST_F(FolianLayout, TablesAndSpaces)
{
    pdf.SetLineWidth(1);
    pdf.SetColorFill("#FFFF00");
    restart();
    pdf.BeginTable(10, 20);
    pdf.BeginRow(15);
    pdf.BeginColumn(40);
    EXPECT_EQ(drawn(), "\rq\rq\r1 0 0 1 10 20 cm\r0.5 0.5 39 14 re f*\r0 0 40 15 re S");
    restart();
    pdf.EndColumn();
    EXPECT_EQ(drawn(), "\rQ");
    pdf.SetLineWidth(0);
    restart();
    pdf.BeginColumn(40);
    EXPECT_EQ(drawn(), "\rq\r1 0 0 1 50 20 cm\r0 0 40 15 re f*");
    pdf.EndColumn();
    pdf.EndRow();
    pdf.EndTable();
    EXPECT_EQ(A::LineWidth(pdf), 1.0f); // restored from the table's entry

    // Spaces and row strips move the position.
    pdf.SetXY(5, 5);
    restart();
    pdf.BeginSpace(0, 0, 1, 1, 0);
    EXPECT_EQ(drawn(), "\rq");
    EXPECT_EQ(pdf.GetY(), 0.0f);
    pdf.EndSpace();
    pdf.SetScale(2);
    pdf.BeginTable(0, 0);
    const float before = A::CurrentY(pdf);
    pdf.BeginRow(10);
    pdf.EndRow();
    EXPECT_EQ(A::FormatReal(A::CurrentY(pdf) - before), "28.346");
    pdf.EndTable();
    pdf.SetXY(10, 20); // kept in points, given back in millimetres
    EXPECT_EQ(A::FormatReal(A::CurrentX(pdf)), "28.346");
    EXPECT_FLOAT_EQ(pdf.GetX(), 10);
    EXPECT_FLOAT_EQ(pdf.GetY(), 20);
}

TEST_F(FolianLayout, RotationTurnsCounterClockwiseOnThePage)
{
    pdf.AxisRotation(90);
    // The x axis (1, 0) becomes (0, -1), which the page's y flip turns straight up: a quarter
    // turn counter-clockwise as the page is seen.
    EXPECT_EQ(drawn(), "\r0 -1 1 0 0 0 cm");
    restart();
    pdf.AxisRotation(-30);
    EXPECT_EQ(drawn(), "\r0.866 0.5 -0.5 0.866 0 0 cm");
    restart();
    for (float whole : {0.0f, 360.0f, -720.0f, 359.6f}) {
        pdf.AxisRotation(whole);
    }
    EXPECT_EQ(drawn(), "");
}

TEST_F(FolianLayout, ColoursAndLineWidth)
{
    pdf.SetColorFill("red");
    pdf.SetColorLine("@0;0;255");
    pdf.SetColorFill("");
    pdf.SetColorText("navy");
    EXPECT_EQ(drawn(), "\r1 0 0 rg\r0 0 1 RG");
    EXPECT_THROW(pdf.SetColorFill("#GG0000"), folian::Error);
    EXPECT_EQ(A::FillColor(pdf), "#FF0000");
    restart();
    pdf.SetColorFill("Dots;lime");
    pdf.SetColorLine("Dots");
    EXPECT_EQ(drawn(), "\r/xxCSxx cs 0 1 0 /DOTS scn\r/Pattern CS /DOTS SCN");
    restart();
    pdf.SetScale(2);
    pdf.SetLineWidth(1);
    EXPECT_EQ(drawn(), "\r2.835 w");
}

TEST_F(FolianLayout, PathPaintingOperators)
{
    const std::pair<int, const char*> cases[] = {
        {5, "\rf*"}, {6, "\rb*"}, {4, "\rB*"}, {0, "\rS"},    {2, "\rh S"},
        {1, ""},     {3, "\rh"},  {7, "\rf*"}, {129, "\rW "}, {128 + 4, "\rW B*"}};
    for (const auto& [style, expected] : cases) {
        restart();
        A::PaintPath(pdf, style);
        EXPECT_EQ(drawn(), expected) << "style " << style;
    }
}

TEST(FolianAutoObjects, PageSelection)
{
    auto pages = [](int flags, bool after) {
        std::string chosen;
        for (int page = 1; page <= 4; ++page) {
            chosen += A::AutoObjectWanted(flags, page, after) ? std::to_string(page) : "-";
        }
        return chosen;
    };
    EXPECT_EQ(pages(1, false), "1---");
    EXPECT_EQ(pages(2, false), "-2-4");
    EXPECT_EQ(pages(15, false), "-234");
    EXPECT_EQ(pages(16 + 7, false), "----");
}
