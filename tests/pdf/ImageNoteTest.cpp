// The image and note writers that wait for their public operations: what they write is read back
// from the file.
#include "FolianTestAccess.h"
#include "PdfTestSupport.h"

#include <gtest/gtest.h>

using folian::Folian;
using A = folian::FolianTestAccess;
using namespace folian::test;

TEST(FolianImageObjects, ColourSpacePaletteAndFilterByKindAndDepth)
{
    struct Case {
        const char* kind;
        uint8_t bits;
        const char* colorSpace;
        const char* filter;
        const char* mask;
        const char* entries; // after the size, "%" standing for the palette's object number
        bool palette;
    };
    const Case cases[] = {
        {"GIF", 8, "", "", "", "/BitsPerComponent 8 /ColorSpace [/Indexed /DeviceRGB 255 % 0 R]\n", true},
        {"BMP", 4, "", "", "", "/BitsPerComponent 4 /ColorSpace [/Indexed /DeviceRGB 15 % 0 R]\n", true},
        {"BMP", 24, "", "", "", "/BitsPerComponent 8 /ColorSpace /DeviceRGB\n", false},
        // A true-colour mark wins over the depth: no palette even at 8 bits.
        {"TGA", 8, "", "", "", "/BitsPerComponent 8 /ColorSpace /DeviceRGB\n", false},
        {"JPG", 24, "DeviceGray", "/DCTDecode ", "255 255",
         "/Mask [255 255]\n/BitsPerComponent 8 /ColorSpace /DeviceGray\n", false},
        {"GIF", 16, "", "", "", "", false},
    };
    const std::string pixels = "RGBrgb";
    const std::string palette = "ABCDEF";
    const auto dir = scratchDir();
    const auto path = dir / "images.pdf";
    Folian pdf(fixedHooks());
    pdf.SetCompression(2);
    pdf.BeginDoc(path.string());
    pdf.BeginPage();
    std::vector<int32_t> numbers;
    for (const Case& c : cases) {
        numbers.push_back(A::WriteImage(pdf, c.kind, pixels, palette, c.bits, c.colorSpace, c.filter, c.mask));
    }
    pdf.EndDoc();

    const std::string file = readFile(path);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(std::string(c.kind) + " " + std::to_string(c.bits));
        const int32_t n = numbers[i];
        std::string entries = c.entries;
        if (const auto at = entries.find('%'); at != std::string::npos) {
            entries.replace(at, 1, std::to_string(n + 1));
        }
        const std::string body = objectText(file, n);
        EXPECT_EQ(body.substr(0, body.find("/Filter")),
                  "<< /Type /XObject /Subtype /Image /Name /Im1 /Width 2 /Height 1\n" + entries);
        if (*c.filter != '\0') {
            // The caller's filter stands alone: its data are not compressed again.
            EXPECT_NE(body.find("/Filter [/DCTDecode ]"), std::string::npos);
            EXPECT_EQ(storedStream(file, n), pixels);
        } else {
            EXPECT_EQ(filteredStream(path, n), pixels);
        }
        if (c.palette) {
            EXPECT_EQ(filteredStream(path, n + 1), palette);
        } else {
            // The next image's object, or the page's after the last one.
            const std::string next = i + 1 < std::size(cases) ? "<< /Type /XObject" : "<< /Type /Page";
            EXPECT_EQ(objectText(file, n + 1).substr(0, next.size()), next);
        }
    }
    EXPECT_READERS_ACCEPT(path, 1, "(senza titolo)", "1.3");
}

TEST(FolianAnnotations, EntriesInOrderAndTheTwoKindsOfTarget)
{
    const auto dir = scratchDir();
    const auto path = dir / "notes.pdf";
    Folian pdf(fixedHooks());
    pdf.BeginDoc(path.string());
    pdf.BeginPage();
    const std::string opening = "<< /Type /Annot /Subtype /Text /Rect [0 0 10 10]";
    A::WriteAnnotation(pdf, opening, "Testo", "Titolo", "/Helv 10 Tf 0 g", "https://www.example.it/a(1)");
    A::WriteAnnotation(pdf, opening, "", "", "", "file:altri/Modello 2.pdf");
    A::WriteAnnotation(pdf, opening, "", "", "", "fil:e");
    pdf.EndDoc();

    const std::string file = readFile(path);
    EXPECT_EQ(objectText(file, 4), opening + " /T (Titolo) /Contents (Testo) /DA (/Helv 10 Tf 0 g) /A << /S /URI "
                                             "/URI (https://www.example.it/a\\(1\\)) >>  >>");
    EXPECT_EQ(objectText(file, 5),
              opening + " /A << /Type /Action /S /GoToR /F (altri/Modello 2.pdf) /D [-1 /XYZ 0 0 0] >>  >>");
    EXPECT_EQ(objectText(file, 6), opening + " /A << /S /URI /URI (fil:e) >>  >>");
    EXPECT_NE(file.find("[ 4 0 R 5 0 R 6 0 R  ]"), std::string::npos); // the page's /Annots
    EXPECT_READERS_ACCEPT(path, 1, "(senza titolo)", "1.3");
}

TEST(FolianFormat, ColourBytesAndBooleansAsEntryValues)
{
    EXPECT_EQ(A::ColorByteToText(255), "1");
    EXPECT_EQ(A::ColorByteToText(128), "0.502");
    EXPECT_EQ(A::ColorByteToText(1), "0.004");
    EXPECT_EQ(A::ColorByteToText(0), "0");
    EXPECT_EQ(A::BoolToText(true), "true");
    EXPECT_EQ(A::BoolToText(false), "false");
}
