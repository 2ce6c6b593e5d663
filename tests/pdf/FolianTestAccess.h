#pragma once

// Reaches the writer's private operations and fields from the tests.
#include "core/Folian.h"

#include <string>
#include <vector>

namespace folian {

struct FolianTestAccess {
    static std::string FormatReal(float x) { return Folian::FormatReal(x); }
    static std::string FormatColorRGB(const std::string& c) { return Folian::FormatColorRGB(c); }
    static std::string EscapeString(const std::string& t) { return Folian::EscapeString(t); }
    static std::pair<std::string, std::string> ParseColor(std::string spec)
    {
        std::string second = "untouched";
        Folian::ParseColor(spec, second);
        return {spec, second};
    }
    // Runs one encoder of the stream writer: 1 RunLength, 2 Flate, 4 LZW, 8 ASCII85, 16 ASCIIHex.
    static std::string Encode(const std::string& t, int filter, int32_t quality = 0)
    {
        std::vector<uint8_t> data(t.begin(), t.end());
        switch (filter) {
        case 1:
            Folian::EncodeRunLength(data);
            break;
        case 2:
            Folian::zzToFlateDecode(data, quality);
            break;
        case 4:
            Folian::EncodeLZW(data, quality);
            break;
        case 8:
            Folian::EncodeASCII85(data);
            break;
        default:
            Folian::EncodeASCIIHex(data);
            break;
        }
        return std::string(data.begin(), data.end());
    }
    static std::string Xmp(const Folian& f) { return f.BuildXmpMetadata(); }
    // Whether the last file closed was on the disk before it took its name.
    static bool FileSynced(const Folian& f) { return f.m_out.synced(); }

    static void PaintPath(Folian& f, int32_t style) { f.PaintPath(style); }
    static void SaveTableState(Folian& f) { f.SaveTableState(); }
    static void RestoreTableState(Folian& f) { f.RestoreTableState(); }
    static bool AutoObjectWanted(int32_t flags, int32_t page, bool after)
    {
        return Folian::autoObjectWanted(flags, page, after);
    }

    static const std::string& PageContent(const Folian& f) { return f.PageContent.BufferGetText(); }
    static const std::string& CreationDate(const Folian& f) { return f.CreationDate; }
    static const std::string& DocAuthor(const Folian& f) { return f.DocAuthor; }
    static const std::string& DocCreator(const Folian& f) { return f.DocCreator; }
    static const std::string& DocKeywords(const Folian& f) { return f.DocKeywords; }
    static const std::string& RootBookmarkTitle(const Folian& f) { return f.BookmarkTable[1].Title; }
    static float LineWidth(const Folian& f) { return f.LineWidth; }
    static float CurrentY(const Folian& f) { return f.CurrentY; }
    static const std::string& FillColor(const Folian& f) { return f.FillColor; }
    static int32_t CompressionQuality(const Folian& f) { return f.CompressionQuality; }
    static int32_t PageObjectsUpperBound(const Folian& f) { return f.PageObjects.upperBound(); }

    static const FontRecord& Font(const Folian& f, int32_t i) { return f.FontTable[i]; }
    static int32_t FontCount(const Folian& f) { return f.FontCount; }
    static int32_t FontIndex(const Folian& f) { return f.FontIndex; }
    static const std::string& FontResource(const Folian& f) { return f.FontResource; }
    static const std::string& FontResources(const Folian& f) { return f.FontResources; }
    static float FontSize(const Folian& f) { return f.FontSize; }
    static float CurrentX(const Folian& f) { return f.CurrentX; }
    static float LineSpacing(const Folian& f) { return f.LineSpacing; }
    static float HorizontalScaling(const Folian& f) { return f.HorizontalScaling; }
    static std::array<float, 4> LastBounds(const Folian& f) { return f.LastBounds; }
    static void WriteTextLine(Folian& f, float x, float y, float width, const std::string& text, float indentation,
                              int32_t align)
    {
        f.WriteTextLine(x, y, width, text, indentation, align, false);
    }
    static void WriteNote(Folian& f, const std::string& title, const std::string& contents)
    {
        f.WriteAnnotation("<< /Type /Annot /Subtype /Text /Rect [0 0 10 10]", contents, title, "", "");
    }
    // The writers that no public operation reaches, with the arguments their callers would give.
    static void WriteAnnotation(Folian& f, const std::string& opening, const std::string& contents,
                                const std::string& title, const std::string& appearance, const std::string& target)
    {
        f.WriteAnnotation(opening, contents, title, appearance, target);
    }
    static int32_t WriteImage(Folian& f, const std::string& kind, const std::string& pixels, const std::string& palette,
                              uint8_t bitsPerPixel, const std::string& colorSpace, const std::string& filter,
                              const std::string& mask)
    {
        std::vector<uint8_t> data(pixels.begin(), pixels.end());
        std::vector<uint8_t> colours(palette.begin(), palette.end());
        return f.WriteImageObject(kind, data, colours, 2, 1, bitsPerPixel, "/Im1", colorSpace, filter, mask);
    }
    static std::string ColorByteToText(uint8_t value) { return Folian::ColorByteToText(value); }
    static std::string BoolToText(bool value) { return Folian::BoolToText(value); }
};

} // namespace folian
