#pragma once

// Reaches the writer's private operations and fields from the tests.
#include "core/Folian.h"

#include <string>
#include <vector>

namespace folian {

struct FolianTestAccess {
    static std::string FormatReal(float x) { return Folian::FormatReal(x); }
    static float RoundTo3Decimals(float x) { return Folian::RoundTo3Decimals(x); }
    static std::string FormatUnits(const Folian& f, float v) { return f.FormatUnits(v); }
    static std::string ColorByteToText(uint8_t v) { return Folian::ColorByteToText(v); }
    static std::string FormatColorRGB(const std::string& c) { return Folian::FormatColorRGB(c); }
    static std::string EscapeString(const std::string& t) { return Folian::EscapeString(t); }
    static std::string FormatTextString(Folian& f, const std::string& t) { return f.FormatTextString(t); }
    static std::pair<std::string, std::string> ParseColor(std::string spec)
    {
        std::string second = "untouched";
        Folian::ParseColor(spec, second);
        return {spec, second};
    }
    static std::vector<std::string> SplitText(const std::string& t, const std::string& d) { return Folian::SplitText(t, d); }
    static std::string ReplaceText(const std::string& t, const std::string& f, const std::string& r)
    {
        return Folian::ReplaceText(t, f, r);
    }
    static std::string EncodeASCIIHex(const std::string& t)
    {
        std::vector<uint8_t> data(t.begin(), t.end());
        Folian::EncodeASCIIHex(data);
        return std::string(data.begin(), data.end());
    }
    // Runs one encoder of the stream writer: 1 RunLength, 4 LZW, 8 ASCII85, 16 ASCIIHex.
    static std::string Encode(const std::string& t, int filter, int32_t quality = 0)
    {
        std::vector<uint8_t> data(t.begin(), t.end());
        switch (filter) {
        case 1:
            Folian::EncodeRunLength(data);
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
    static std::string RC4(Folian& f, const std::string& key, const std::string& t)
    {
        std::vector<uint8_t> data(t.begin(), t.end());
        f.RC4Crypt(key, data);
        return std::string(data.begin(), data.end());
    }
    static std::string Xmp(const Folian& f) { return f.BuildXmpMetadata(); }
    // Whether the last file closed was on the disk before it took its name.
    static bool FileSynced(const Folian& f) { return f.m_out.synced(); }

    static void OutContent(Folian& f, const std::string& t) { f.OutContent(t); }
    static void PaintPath(Folian& f, int32_t style) { f.PaintPath(style); }
    static void SaveTableState(Folian& f) { f.SaveTableState(); }
    static void RestoreTableState(Folian& f) { f.RestoreTableState(); }
    static void RequireVersion(Folian& f, int32_t v) { f.RequireVersion(v); }
    static bool AutoObjectWanted(int32_t flags, int32_t page, bool after) { return Folian::autoObjectWanted(flags, page, after); }
    static void BeginObjectRecording(Folian& f) { f.InObject = true; f.ObjectContent.BufferReset(); }
    static void AddStoredObject(Folian& f, const std::string& name, int32_t flags, const std::string& annots)
    {
        f.ObjectCount += 1;
        StoredObjectRecord& r = f.ObjectTable.make(f.ObjectCount, f.MemoryUsage);
        r.Name = name;
        r.Flags = flags;
        r.AnnotRefs = annots;
    }

    static const std::string& PageContent(const Folian& f) { return f.PageContent.BufferGetText(); }
    static const std::string& ObjectContent(const Folian& f) { return f.ObjectContent.BufferGetText(); }
    static const std::string& TilingContent(const Folian& f) { return f.TilingContent.BufferGetText(); }
    static const std::string& XObjectResources(const Folian& f) { return f.XObjectResources; }
    static const std::string& PatternList(const Folian& f) { return f.PatternList; }
    static const std::string& CreationDate(const Folian& f) { return f.CreationDate; }
    static const std::string& DocAuthor(const Folian& f) { return f.DocAuthor; }
    static const std::string& DocCreator(const Folian& f) { return f.DocCreator; }
    static const std::string& DocProducer(const Folian& f) { return f.DocProducer; }
    static const std::string& DocTitle(const Folian& f) { return f.DocTitle; }
    static const std::string& DocSubject(const Folian& f) { return f.DocSubject; }
    static const std::string& DocKeywords(const Folian& f) { return f.DocKeywords; }
    static const std::string& RootBookmarkTitle(const Folian& f) { return f.BookmarkTable[1].Title; }
    static const BookmarkRecord& Bookmark(const Folian& f, int32_t i) { return f.BookmarkTable[i]; }
    static float ScaleFactor(const Folian& f) { return f.ScaleFactor; }
    static float Margin(const Folian& f, int side)
    {
        const float m[] = {f.MarginLeft, f.MarginRight, f.MarginTop, f.MarginBottom};
        return m[side];
    }
    static float PageWidthPoints(const Folian& f) { return f.PageWidth; }
    static float PageHeightPoints(const Folian& f) { return f.PageHeight; }
    static float LineWidth(const Folian& f) { return f.LineWidth; }
    static float CurrentY(const Folian& f) { return f.CurrentY; }
    static float TableX(const Folian& f) { return f.TableX; }
    static int32_t TableStackDepth(const Folian& f) { return f.TableStackDepth; }
    static const std::string& FillColor(const Folian& f) { return f.FillColor; }
    static const std::string& LineColor(const Folian& f) { return f.LineColor; }
    static const std::string& TextColor(const Folian& f) { return f.TextColor; }
    static const std::string& PendingTransition(const Folian& f) { return f.PendingTransition; }
    static int32_t MemoryUsage(const Folian& f) { return f.MemoryUsage; }
    static int32_t MinVersion(const Folian& f) { return f.MinVersion; }
    static int32_t CompressionQuality(const Folian& f) { return f.CompressionQuality; }
    static int32_t PageObjectsUpperBound(const Folian& f) { return f.PageObjects.upperBound(); }
    static const std::vector<int32_t>& AcroFormFields(const Folian& f) { return f.AcroFormFields; }

    static void AddField(Folian& f, const FieldWidgetRecord& record)
    {
        f.FieldWidgetCount += 1;
        f.FieldWidgets.make(f.FieldWidgetCount, f.MemoryUsage) = record;
    }
    static void AddNamedDest(Folian& f, int32_t page, const std::string& view, const std::string& name)
    {
        f.NamedDestCount += 1;
        f.NamedDests.make(f.NamedDestCount, f.MemoryUsage) = NamedDestRecord{page, view, name};
    }
    static void SetProtection(Folian& f, const std::string& key, const std::string& owner, const std::string& user,
                              int16_t permissions, uint8_t keyLength, const std::string& fileId)
    {
        f.ProtectionOn = -1;
        f.EncryptionKey = key;
        f.OwnerEntry = owner;
        f.UserEntry = user;
        f.PermissionFlags = permissions;
        f.ObjectKeyLength = keyLength;
        f.FileId = fileId;
    }
    static void AddTrueTypeFont(Folian& f, const std::string& base, int16_t width)
    {
        f.FontCount += 1;
        FontRecord& r = f.FontTable.make(f.FontCount, f.MemoryUsage);
        r.IsTrueType = true;
        r.BaseFontName = base;
        r.Widths.fill(width);
    }
    static void AddStandardFont(Folian& f, const std::string& base)
    {
        f.FontCount += 1;
        FontRecord& r = f.FontTable.make(f.FontCount, f.MemoryUsage);
        r.BaseFontName = base;
    }
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
    static int32_t WriteFontObjects(Folian& f, const std::string& name, std::vector<uint8_t> file, int32_t length1,
                                    const std::string& entries)
    {
        return f.WriteFontObjects(name, file, length1, entries);
    }
    static int32_t WriteImage(Folian& f, const std::string& kind, uint8_t bits, std::vector<uint8_t> data,
                              std::vector<uint8_t> palette, const std::string& filter)
    {
        return f.WriteImageObject(kind, data, palette, 2, 2, bits, "/Im1", "DeviceGray", filter, "");
    }
    static void WriteAnnotation(Folian& f, const std::string& target)
    {
        f.WriteAnnotation("<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /Border [0 0 0]", "", "", "", target);
    }
    static void WriteNote(Folian& f, const std::string& title, const std::string& contents)
    {
        f.WriteAnnotation("<< /Type /Annot /Subtype /Text /Rect [0 0 10 10]", contents, title, "", "");
    }
};

} // namespace folian
