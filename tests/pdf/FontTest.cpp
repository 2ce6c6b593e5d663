#include "PageFixture.h"

using folian::Folian;
using folian::FolianTestAccess;

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

TEST_F(FolianFonts, StandardWidthsByCharacterCode)
{
    struct Sample {
        const char* family;
        int32_t style;
        int code;
        int width;
    };
    const Sample samples[] = {
        {"Arial", 0, 32, 278},        {"Arial", 3, 32, 278},         {"Times", 0, 32, 250},  {"Times", 3, 32, 250},
        {"Arial", 0, 65, 667},        {"Arial", 2, 65, 667},         {"Arial", 1, 65, 722},  {"Arial", 3, 65, 722},
        {"Times", 0, 65, 722},        {"Times", 1, 65, 722},         {"Times", 2, 65, 611},  {"Times", 3, 65, 667},
        {"Arial", 1, 87, 944},        {"Times", 0, 87, 944},         {"Times", 1, 87, 1000}, {"Times", 2, 87, 833},
        {"Times", 3, 87, 889},        {"Arial", 0, 64, 1015},        {"Arial", 1, 64, 975},  {"Times", 0, 64, 921},
        {"Arial", 0, 39, 191},        {"Arial", 1, 39, 238},         {"Times", 0, 39, 180},  {"Times", 0, 146, 333},
        {"Arial", 0, 0, 272},         {"Arial", 2, 31, 259},         {"Arial", 3, 5, 311},   {"Times", 1, 0, 333},
        {"Arial", 7, 65, 722},        {"Arial", 4, 65, 667},         {"Arial", 0, 0xE8, 556},
        {"Neue Grotesk", 1, 65, 722},
        {"Symbol", 0, 32, 250},       {"Symbol", 0, 65, 722},        {"Symbol", 0, 183, 460}, {"Symbol", 0, 30, 600},
        {"Symbol", 0, 29, 332},       {"Symbol", 0, 160, 600},       {"ZapfDingbats", 0, 32, 278},
        {"ZapfDingbats", 0, 33, 974}, {"ZapfDingbats", 0, 212, 894}, {"ZapfDingbats", 0, 254, 918},
        {"ZapfDingbats", 0, 240, 0},  {"ZapfDingbats", 0, 241, 874}, {"ZapfDingbats", 0, 0, 600},
    };
    for (const Sample& s : samples) {
        EXPECT_EQ(width(s.family, s.style, s.code), s.width) << s.family << " style " << s.style << " code " << s.code;
    }
    for (int code = 172; code <= 211; ++code) {
        EXPECT_EQ(width("ZapfDingbats", 0, code), 788) << code;
    }
    // Codes without a character, and a few others, are the same in every style of a family.
    const int fixed[][3] = {{127, 750, 778}, {129, 750, 778}, {141, 750, 778}, {143, 750, 778},
                            {144, 750, 778}, {157, 750, 778}, {128, 556, 500}, {175, 552, 500},
                            {177, 549, 549}, {181, 576, 576}, {247, 549, 549}};
    for (int32_t style = 0; style < 4; ++style) {
        for (const auto& f : fixed) {
            EXPECT_EQ(width("Arial", style, f[0]), f[1]) << "Arial " << style << " code " << f[0];
            EXPECT_EQ(width("Times", style, f[0]), f[2]) << "Times " << style << " code " << f[0];
        }
    }
    pdf.SetFont("Courier", 10, 2, 0);
    EXPECT_EQ(selected().BaseFontName, "CourierNew,Italic");
    EXPECT_EQ(selected().Height, 1133);
    EXPECT_EQ(selected().Descent, -300);
    for (int code = 0; code < 256; ++code) {
        ASSERT_EQ(selected().Widths[static_cast<std::size_t>(code)], 600) << code;
    }
}

TEST_F(FolianFonts, FamiliesStylesAndResourceNames)
{
    pdf.SetFont("Helvetica", 0, 0, 0);
    EXPECT_EQ(A::FontSize(pdf), 10.0f);
    EXPECT_EQ(A::FontResource(pdf), "Arial");
    pdf.SetFont("Helvetica", 0, 0, 0);
    EXPECT_EQ(A::FontCount(pdf), 1);

    pdf.SetFont("times new roman", 12, 3, 0);
    EXPECT_EQ(A::FontResource(pdf), "TimesNewRoman,BoldItalic");
    EXPECT_EQ(selected().FontKey, "TIMESNEWROMAN,BOLDITALIC");
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
    EXPECT_EQ(selected().FontKey, "MACCOURIERNEW,BOLD");
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
    EXPECT_EQ(A::FontResource(pdf), "NeueGrotesk");
    pdf.SetFont("", 10, 0, 0);
    EXPECT_EQ(A::FontResource(pdf), "Arial");

    const std::string resources = A::FontResources(pdf);
    for (const char* name : {"/Arial ", "/Arial,Bold ", "/NeueGrotesk ", "/Times-Roman ", "/CourierNew,Bold "}) {
        EXPECT_EQ(folian::test::countOf(resources, name), 1) << name;
    }
    EXPECT_EQ(folian::test::countOf(resources, " 0 R "), A::FontCount(pdf));
    EXPECT_EQ(drawn(), ""); // selecting a font writes nothing into the content
}

TEST(FolianFontTable, ANewFontNeedsADocument)
{
    Folian pdf(folian::test::fixedHooks());
    EXPECT_THROW(pdf.SetFont("Arial", 10, 0, 0), folian::Error);
    EXPECT_EQ(FolianTestAccess::FontCount(pdf), 0);
}

TEST_F(FolianFonts, TableStateBringsTheFontBack)
{
    A::SaveTableState(pdf);
    pdf.SetFont("Arial", 9, 0, 0);
    A::RestoreTableState(pdf);
    EXPECT_EQ(A::FontCount(pdf), 1); // no font before the table: none is added on the way out

    pdf.SetFont("Times", 12, 1, 0);
    A::SaveTableState(pdf);
    pdf.SetFont("Courier", 8, 0, 1);
    A::RestoreTableState(pdf);
    EXPECT_EQ(A::FontResource(pdf), "TimesNewRoman,Bold");
    EXPECT_EQ(A::FontSize(pdf), 12.0f);
}
