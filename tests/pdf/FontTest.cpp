#include "PageFixture.h"

namespace {

class FolianFonts : public PageFixture {
protected:
    const folian::FontRecord& selected() const { return A::Font(pdf, A::FontIndex(pdf)); }
    int width(const char* family, int32_t style, int code)
    {
        pdf.SetFont(family, 10, style, 0);
        return selected().Widths[static_cast<std::size_t>(code)];
    }
};

} // namespace

TEST_F(FolianFonts, StandardWidthsAreThoseOfTheMetricCompatibleFonts)
{
    // Liberation Sans, Serif and Mono have the advance widths of Arial, Times and Courier: every
    // character of the code page in every style measures the same in both.
    const char* const families[][2] = {{"Arial", "Sans"}, {"Times", "Serif"}, {"Courier", "Mono"}};
    const char* const styles[] = {"Regular", "Bold", "Italic", "BoldItalic"};
    for (const auto& [family, liberation] : families) {
        for (int32_t style = 0; style < 4; ++style) {
            const std::string alias = std::string(liberation) + styles[style];
            ASSERT_EQ(pdf.AddFont("/usr/share/fonts/truetype/liberation/Liberation" + std::string(liberation) + "-" +
                                      styles[style] + ".ttf",
                                  alias, false, 0),
                      alias);
            pdf.SetFont(alias, 10, 0, 0);
            const auto expected = selected().Widths;
            pdf.SetFont(family, 10, style, 0);
            for (std::size_t code = 32; code < 256; ++code) {
                if (code != 127 && folian::Cp1252CodePoint(static_cast<unsigned char>(code)) != 0) {
                    EXPECT_EQ(selected().Widths[code], expected[code]) << family << " " << style << " code " << code;
                }
            }
        }
    }

    // What no font file shows: control codes, codes without a character, style bits beyond
    // bold and italic, a name that is no family, and the two symbol fonts.
    struct Sample {
        const char* family;
        int32_t style;
        int code;
        int width;
    };
    const Sample samples[] = {
        {"Arial", 0, 0, 272},          {"Times", 1, 0, 333},        {"Arial", 7, 65, 722},
        {"Arial", 4, 65, 667},         {"Symbol", 0, 183, 460},     {"Neue Grotesk", 1, 65, 722},
        {"ZapfDingbats", 0, 212, 894}, {"ZapfDingbats", 0, 240, 0},
    };
    for (const Sample& s : samples) {
        EXPECT_EQ(width(s.family, s.style, s.code), s.width) << s.family << " style " << s.style << " code " << s.code;
    }
    for (int32_t style = 0; style < 4; ++style) {
        for (const int code : {127, 129, 141, 143, 144, 157}) {
            EXPECT_EQ(width("Arial", style, code), 750) << "Arial " << style << " code " << code;
            EXPECT_EQ(width("Times", style, code), 778) << "Times " << style << " code " << code;
        }
    }
    pdf.SetFont("Courier", 10, 2, 0);
    EXPECT_EQ(selected().Height, 1133);
    for (int code = 0; code < 256; ++code) {
        ASSERT_EQ(selected().Widths[static_cast<std::size_t>(code)], 600) << code;
    }
}

TEST_F(FolianFonts, FamiliesStylesAndResourceNames)
{
    pdf.SetFont("Helvetica", 0, 0, 0);
    EXPECT_EQ(A::FontSize(pdf), 10.0f);
    pdf.SetFont("Helvetica", 0, 0, 0);
    EXPECT_EQ(A::FontCount(pdf), 1);

    pdf.SetFont("times new roman", 12, 3, 0);
    EXPECT_EQ(A::FontResource(pdf), "TimesNewRoman,BoldItalic");
    EXPECT_EQ(selected().Height, 1107);

    pdf.SetFont("Arial", 14, 1, 0);
    const int32_t bold = A::FontIndex(pdf);
    pdf.SetFont("ARIAL", 0, 1, 0);
    EXPECT_EQ(A::FontIndex(pdf), bold);
    EXPECT_EQ(A::FontSize(pdf), 14.0f);
    pdf.SetFontSize(0);
    pdf.SetFont("Arial", 0, 0, 0);
    EXPECT_EQ(A::FontSize(pdf), 10.0f);

    pdf.SetFont("Courier", 9, 1, 1);
    EXPECT_EQ(A::FontResource(pdf), "MACCourierNew,Bold");
    const int32_t mac = A::FontIndex(pdf);
    pdf.SetFont("Courier", 9, 1, 0);
    EXPECT_NE(A::FontIndex(pdf), mac);
    EXPECT_EQ(A::FontResource(pdf), "CourierNew,Bold");

    pdf.SetFont("Times-Roman", 10, 0, 0);
    EXPECT_EQ(A::FontResource(pdf), "Times-Roman");
    EXPECT_EQ(selected().BaseFontName, "Arial");
    // A name that is no family is found again under its own name, and never takes the place of
    // the Arial entry whose metrics it has.
    pdf.SetFont("Neue Grotesk", 10, 1, 0);
    const int32_t grotesk = A::FontIndex(pdf);
    EXPECT_EQ(selected().BaseFontName, "Arial,Bold");
    pdf.SetFont("NEUEGROTESK", 10, 1, 0);
    EXPECT_EQ(A::FontIndex(pdf), grotesk);
    pdf.SetFont("", 10, 0, 0);
    EXPECT_EQ(A::FontResource(pdf), "Arial");

    const std::string resources = A::FontResources(pdf);
    for (const char* name : {"/Arial ", "/Arial,Bold ", "/NeueGrotesk ", "/Times-Roman ", "/CourierNew,Bold "}) {
        EXPECT_EQ(folian::test::countOf(resources, name), 1) << name;
    }
    EXPECT_EQ(folian::test::countOf(resources, " 0 R "), A::FontCount(pdf));
    EXPECT_EQ(drawn(), ""); // selecting a font writes nothing into the content
}

TEST_F(FolianFonts, TableStateBringsTheFontAndColoursBack)
{
    A::RestoreTableState(pdf); // nothing saved: nothing drawn
    EXPECT_EQ(drawn(), "");
    A::SaveTableState(pdf);
    pdf.SetFont("Arial", 9, 0, 0);
    A::RestoreTableState(pdf);
    EXPECT_EQ(A::FontCount(pdf), 1); // no font before the table: none is added on the way out

    pdf.SetFont("Times", 12, 1, 0);
    pdf.SetLineWidth(2);
    A::SaveTableState(pdf);
    pdf.SetFont("Courier", 8, 0, 1);
    pdf.SetColorFill("blue");
    pdf.SetColorLine("red");
    restart();
    A::RestoreTableState(pdf);
    EXPECT_EQ(drawn(), "\r0 0 0 RG\r0 0 0 rg\r2 w");
    EXPECT_EQ(A::FontResource(pdf), "TimesNewRoman,Bold");
    EXPECT_EQ(A::FontSize(pdf), 12.0f);
}
