#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace folian {

// One entry of the outline: the caller's fields first, then the links that the outline
// writer fills in.
struct BookmarkRecord {
    std::string Title;
    int32_t Level = 0;
    int32_t Page = 0;
    std::string Color; // three colour operands, or empty
    int32_t Style = 0;
    std::string Dest; // view text after the page reference, or empty
    int32_t Parent = 0;
    int32_t Obj = 0;
    int32_t First = 0;
    int32_t Last = 0;
    int32_t Next = 0;
    int32_t Prev = 0;
};

// A form field placed on the open page, turned into a widget object when the page ends.
struct FieldWidgetRecord {
    std::string FieldName;
    std::string WidgetDictionary; // opens with "<<"; the page's end appends to it
    std::string ExtraEntries;
    std::string ActionEntries;
    bool CalcOrder = false;
    std::string Caption;
    std::string DefaultAppearance;
    std::string AppearanceEntries;
    std::string Tooltip;
    std::string Value;          // the value, or the options joined by "|"
    int32_t SelectedOption = 0; // 1-based, 0 none
    int32_t FieldType = 0;      // 0 to 5
    // What a radio button of a group needs apart from its dictionary: the box in page
    // coordinates and its size in points, its field flags, the on state it was given (empty
    // for none) and the border and mark colours as colour operands.
    std::string Rect;
    float Width = 0;
    float Height = 0;
    int32_t FieldFlags = 0;
    std::string OnState;
    std::string BorderColor;
    std::string MarkColor;
};

// A radio button whose page has ended: its widget object waits for the document's end, when
// the buttons sharing its name are known.
struct RadioWidgetRecord {
    FieldWidgetRecord Field;
    int32_t Object = 0; // the number kept for its widget
    int32_t Page = 0;   // the page object it lies on
};

struct NamedDestRecord {
    int32_t Page = 0;
    std::string View; // "/XYZ " and its numbers, "/FitH " and a number, ...
    std::string Name; // "/_REF_" and the reference's name
};

struct StoredObjectRecord {
    std::string Name;
    std::string AnnotRefs;
    int32_t Flags = 0;
};

struct LayerRecord {
    std::string Name;
    bool StartState = false;
    bool ShowInList = false;
};

// One font of the document. FontKey is ResourceName in upper case, so every resource name
// stands once in the document's /Font resources and every look-up finds the entry it made.
struct FontRecord {
    std::string FontKey;
    bool IsTrueType = false;
    std::string BaseFontName;
    std::array<int16_t, 256> Widths{};
    int16_t Height = 0;
    int32_t Descent = 0;
    int32_t Encoding = 0;
    std::string ResourceName; // the name the font object was written under
};

// An image loaded into the document, kept so that a second use of the same file writes it once.
struct ImageRecord {
    std::string FileName;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Object = 0;
};

// What a text box knows of the words of a line it lays out (split at every blank): the sum of
// their widths, added in the order a line adds them, and the number of blanks between them.
struct KnownWords {
    double width = 0;
    int32_t gaps = 0;
};

// What a table, row or column saves on entry and gives back on exit.
struct TableStateRecord {
    float ScaleFactor = 1;
    float CurrentX = 0;
    float CurrentY = 0;
    std::string FillColor;
    std::string FillColor2;
    std::string LineColor;
    std::string LineColor2;
    std::string TextColor;
    std::string TextColor2;
    std::string FontName;
    int32_t FontStyle = 0;
    float FontSize = 0;
    float LineWidth = 0;
};

} // namespace folian
