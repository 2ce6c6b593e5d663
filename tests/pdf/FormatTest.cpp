#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

using folian::Folian;
using A = folian::FolianTestAccess;

TEST(FolianFormat, RealNumbersHaveThreeDecimalsRoundedAwayFromZero)
{
    EXPECT_EQ(A::FormatReal(0.12345f), "0.123");
    EXPECT_EQ(A::FormatReal(-0.0004f), "0"); // never "-0"
    EXPECT_EQ(A::FormatReal(-0.0005f), "-0.001");
    EXPECT_EQ(A::FormatReal(0.05f), "0.05");
    // Seven significant digits at most, and never an exponent.
    EXPECT_EQ(A::FormatReal(12345.678f), "12345.68");
    EXPECT_EQ(A::FormatReal(123456789.0f), "123456800");
}

TEST(FolianFormat, ColourSpecificationsAreNormalised)
{
    using Pair = std::pair<std::string, std::string>;
    EXPECT_EQ(A::ParseColor("  Red ;BLUE"), Pair("#FF0000", ""));
    EXPECT_EQ(A::ParseColor("@0;0;0;0"), Pair("#FFFFFF", ""));
    EXPECT_EQ(A::ParseColor("@255;128;0"), Pair("#FF8000", ""));
    EXPECT_EQ(A::ParseColor("@1;2"), Pair("", ""));
    EXPECT_EQ(A::ParseColor("#ff8000xyz"), Pair("#ff8000", ""));
    EXPECT_EQ(A::ParseColor("%50"), Pair("#808080", ""));
    // Halves go to the even neighbour; a comma is read as the decimal point.
    EXPECT_EQ(A::ParseColor("@0,5;1.5;2.5"), Pair("#000202", ""));
    // 50 % cyan is 127.4999... in binary arithmetic, hence 7F and not 80.
    EXPECT_EQ(A::ParseColor("@50;0;0;0"), Pair("#7FFFFF", ""));
    // An unknown name is a pattern, with its optional colour normalised.
    EXPECT_EQ(A::ParseColor(" dots ; red "), Pair("DOTS", "#FF0000"));
    EXPECT_EQ(A::FormatColorRGB("#FF8000"), "1 0.502 0");
    EXPECT_THROW(A::FormatColorRGB("#GG0000"), folian::Error);
}

TEST(FolianText, Utf8AndWindows1252)
{
    EXPECT_EQ(folian::Utf8ToCp1252("Perché 10 €, «Città»"), "Perch\xE9 10 \x80, \xAB"
                                                            "Citt\xE0\xBB");
    EXPECT_EQ(folian::Utf8ToCp1252("日本 \xF0\x9F\x98\x80 \xC3"), "?? ? ?"); // missing, outside, cut short
    EXPECT_EQ(folian::Cp1252ToUtf8("Perch\xE9 \x80 \x81"), "Perché € ?");
    const std::string all = [] {
        std::string s;
        for (int b = 0x20; b < 0x100; ++b) {
            if (b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D) {
                s += static_cast<char>(b);
            }
        }
        return s;
    }();
    EXPECT_EQ(folian::Utf8ToCp1252(folian::Cp1252ToUtf8(all)), all);
}
