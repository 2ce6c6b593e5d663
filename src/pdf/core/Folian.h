#pragma once

#include "core/Cp1252.h"
#include "core/Deflater.h"
#include "core/Error.h"
#include "core/Formatting.h"
#include "core/GrowTable.h"
#include "core/Hooks.h"
#include "core/OutputFile.h"
#include "core/Records.h"
#include "core/TextBuffer.h"

#include <nettle/arcfour.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace folian {

struct FolianTestAccess;
struct ImportSource;
struct ImportWriter;

// What a protected document lets a reader do without the owner password: the bits to add up
// for SetProtection. The first four hold for both key lengths; the others need 128-bit keys
// (with 40-bit keys readers derive them from the first four).
namespace Permission {
inline constexpr int32_t Print = 4;
inline constexpr int32_t Modify = 8;
inline constexpr int32_t Copy = 16;
inline constexpr int32_t Annotate = 32;
inline constexpr int32_t FillForms = 256;
inline constexpr int32_t Accessibility = 512;
inline constexpr int32_t Assemble = 1024;
inline constexpr int32_t PrintHighQuality = 2048;
inline constexpr int32_t All =
    Print | Modify | Copy | Annotate | FillForms | Accessibility | Assemble | PrintHighQuality;
} // namespace Permission

// The kinds of form field that AddField makes.
namespace FieldType {
inline constexpr int32_t Text = 0;
inline constexpr int32_t PushButton = 1;
inline constexpr int32_t ComboBox = 2;
inline constexpr int32_t ListBox = 3;
inline constexpr int32_t CheckBox = 4;
inline constexpr int32_t RadioButton = 5;
} // namespace FieldType

// Where DrawText and DrawTextBox place a line, as bits to add up; DrawText takes the first three.
// Any value without Right, Center, Justify, Shrink or Fit leaves the line where it begins.
namespace TextAlign {
inline constexpr int32_t Left = 1;
inline constexpr int32_t Right = 2;
inline constexpr int32_t Center = 4;
inline constexpr int32_t Bottom = 16; // a text box's lines at its bottom
inline constexpr int32_t Middle = 32; // a text box's lines around its middle
inline constexpr int32_t Justify = 64;
inline constexpr int32_t Shrink = 128; // scaled down to the width when wider
inline constexpr int32_t Fit = 256;    // scaled to the width, down or up
} // namespace TextAlign

// The style bits of SetFont. Bold and Italic choose the font itself; the others are lines drawn
// with the text.
namespace Emphasis {
inline constexpr int32_t Bold = 1;
inline constexpr int32_t Italic = 2;
inline constexpr int32_t Underline = 4;
inline constexpr int32_t Overline = 8;
inline constexpr int32_t LineThrough = 16;
} // namespace Emphasis

// How a path is painted, as bits to add up: DrawTextBox's Options for its frame. Fills use the
// even-odd rule.
namespace PathPaint {
inline constexpr int32_t Stroke = 0;
inline constexpr int32_t NoStroke = 1; // alone: neither filled nor stroked, and a text box has no frame
inline constexpr int32_t Close = 2;
inline constexpr int32_t Fill = 4;
inline constexpr int32_t Clip = 128;
} // namespace PathPaint

// Folian writes one PDF document to one file. Strings are Windows-1252 bytes throughout;
// callers holding UTF-8 convert before they call. Coordinates and sizes are taken in the
// unit chosen with SetScale and kept in points; page content has its origin at the top-left
// corner inside the margins, with y growing downwards.
//
// Failures reach the caller as folian::Error, except in BeginDoc, AddFont, GetInfo and
// ImportPage, which record them for ErrNumber/ErrSource/ErrDescription and return normally.
class Folian {
public:
    // Uses DefaultHooks() for the application's name, launch date, clock and viewer.
    Folian();
    explicit Folian(Hooks hooks);
    ~Folian();
    Folian(const Folian&) = delete;
    Folian& operator=(const Folian&) = delete;

    // Resets every setting to its default and drops an unfinished document (its partial
    // file is removed, an existing file of the same name is left untouched).
    void Abort();

    // --- document and page life ---

    // Opens the output file (a generated "~<hex>.pdf" in the current folder when the name is
    // empty), writes the header and returns the path. Never raises: failures are recorded.
    std::string BeginDoc(std::string_view strFileName = {});
    // Opens a new page (ending an open one) and returns its number. Raises when no document
    // file is open.
    int32_t BeginPage();
    // Writes the open page; nothing when no page is open.
    void EndPage();
    // Writes the rest of the document and closes the file. Raises when there is no open file
    // or when any part of the file could not be written.
    void EndDoc();
    int32_t GetPage() const;
    // The output file's current length while it is open, the finished length after EndDoc.
    int32_t FileSize() const;
    // Hands the finished file to the viewer hook. Raises when there is no hook, no file name,
    // or the hook reports failure.
    void OpenDoc();

    // --- units, paper, margins, position ---
    void SetScale(int32_t ScaleMode, float UserFactor = 0);
    void SetPaperSize(int32_t PaperSize, float UserWidth = 0, float UserHeight = 0);
    void SetMargins(float Left, float Right, float Top, float Bottom, bool ClipPage = false);
    void SetPageView(int32_t ViewMode);
    float GetPageWidth(bool KeepMargins = false) const;
    float GetPageHeight(bool KeepMargins = false) const;
    float GetX() const;
    float GetY() const;
    void SetXY(float x, float Y);

    // --- document properties and viewer settings ---
    void SetDocProperty(std::string_view Title = {}, std::string_view Subject = {}, std::string_view Author = {},
                        std::string_view Creator = {}, std::string_view Producer = {}, std::string_view Keywords = {});
    void SetViewerPreferences(int32_t Mode);
    // Codes 0 (none) to 17; other codes are ignored.
    void SetPageTransition(int32_t Transition, float ShowTime = 0, float TransTime = 0);
    // 0 counts as 1; values above 10 are ignored; negative values raise an overflow.
    void SetMemoryUsage(int32_t Value);
    // Filters for every stream written from now on, as bits to add up: 1 RunLength, 2 Flate,
    // 4 LZW, 8 ASCII85, 16 ASCIIHex. They are applied in that order and listed in /Filter in the
    // reverse order, the one in which a reader undoes them. Quality 0 to 3 (more is taken as 3)
    // is the effort: deflate's (as zlib's levels 2 to 5; see Deflater), and the LZW dictionary
    // (512 entries at 0 to 4,096 at 3).
    void SetCompression(int32_t Mode, int32_t Quality = 0);
    // Whether EndDoc waits until the finished file is on the disk before it gives the file its
    // name: on by default and after every reset, so that a power cut leaves the earlier file or
    // the whole new one. Switch it off only to compare with writers that do not wait.
    void SetFileSync(bool On);
    static std::string Version();

    // --- protection ---
    // Encrypts every string and stream of the document with the standard security handler:
    // 128-bit keys (revision 3) when Strong, else 40-bit keys (revision 2). A reader asks for
    // UserPassword when it is not empty, and grants only the Permission bits given unless the
    // OwnerPassword is typed; an empty OwnerPassword is replaced by a random one, so that the
    // permissions hold. Passwords are Windows-1252 bytes; only their first 32 bytes count.
    // Must come before the first page, font or object is written: later it raises InvalidCall.
    void SetProtection(std::string_view UserPassword, std::string_view OwnerPassword = {},
                       int32_t Permissions = Permission::All, bool Strong = true);

    // --- errors recorded by BeginDoc, AddFont, GetInfo and ImportPage ---
    int32_t ErrNumber() const;
    std::string ErrSource() const;
    std::string ErrDescription() const;

    // --- graphics state ---
    // Colours: "#RRGGBB", a colour name, "%grey", "@C;M;Y;K", "@R;G;B", or a pattern name
    // optionally followed by ";" and a colour.
    void SetColorFill(std::string_view Color);
    void SetColorLine(std::string_view Color);
    void SetColorText(std::string_view Color);
    void SetLineWidth(float Width);
    // A positive angle turns counter-clockwise on the printed page.
    void AxisRotation(float Angle);

    // --- fonts ---
    // Selects a font: "Arial" (or "Helvetica"), "TimesNewRoman" (or "Times"), "CourierNew" (or
    // "Courier"), "Symbol", "ZapfDingbats", or the alias of a font added with AddFont; blanks and
    // letter case do not matter, and any other name is measured as Arial. Style: Emphasis bits
    // (Bold and Italic for the standard text families only). Size in
    // points, 0 keeps the current size (10 when none). Encoding 1 is Mac Roman, else WinAnsi.
    // A font used for the first time is written into the document, so a document must be open
    // then; otherwise Error 52 is raised.
    void SetFont(std::string_view FontFamily, float Size, int32_t Style, int32_t Encoding);
    void SetFontSize(float Points);
    // Reads a TrueType file and adds it to the document's fonts, embedding the file when asked;
    // returns the name to give SetFont (the alias, or the font's full name without blanks).
    // Never raises: a missing file, a damaged font, an alias already in use or no open document
    // is recorded (ErrNumber, ErrSource "Folian.AddFont") and gives an empty result, with nothing
    // added to the document.
    std::string AddFont(std::string_view TTFFile, std::string_view FontAlias, bool Embedded, int32_t Encoding);

    // --- text state (spacings in points whatever the unit) ---
    void SetCharSpacing(float w);
    void SetWordSpacing(float w);
    void SetTextHorizontalScaling(float Percent);
    // Rendering mode; a value outside the 16-bit range raises Overflow before anything is written.
    void SetTextMode(int32_t Mode);
    // Factor on the line height between lines; negative values are ignored.
    void SetTextLineSpacing(float Value);

    // --- text placement and measurement (user units; y is the baseline) ---
    // Width of the text in the current font, size, spacings and scaling; 0 with no font.
    float TextLength(std::string_view Phrase) const;
    // Height of one line of the current font and size; 0 with no font.
    float TextHeight() const;
    // One line through (x, Y): Align TextAlign::Right ends it at x, Center centres it on x, else
    // it begins at x.
    // Placing text (anything but blanks) with no font selected raises InvalidCall.
    void DrawText(float x, float Y, std::string_view Text, int32_t Align = 0);
    // Text at the current position, which then moves to its end. TextStyle 1 raises, 2 lowers
    // and 3 keeps the baseline, each at PercenteSize percent of the size; 0 (or any other value)
    // writes it plainly.
    void WriteText(std::string_view Text, int32_t TextStyle, float PercenteSize);
    // A line at the current position, then a move to the beginning of the next line.
    void WriteTextLn(std::string_view Text);
    // Flows the text into the box: paragraphs at CR LF, lines at blanks, the first line of each
    // paragraph indented. Align: TextAlign bits, one of Right, Center, Justify, Shrink or Fit,
    // plus Bottom or Middle. Options: PathPaint::NoStroke for no frame, else how the frame is
    // painted. Returns the text that did not fit; when it begins with byte 0 it continues
    // a paragraph, and a further call goes on with it unindented.
    std::string DrawTextBox(float x, float Y, float Width, float Height, std::string_view Text, float Indentation,
                            int32_t Align, int32_t Options);

    // --- tables, rows, columns, local spaces ---
    void BeginSpace(float NewX = 0, float NewY = 0, float ScaleX = 1, float ScaleY = 1, float Angle = 0);
    void EndSpace();
    void BeginTable(float x, float Y);
    void EndTable();
    void BeginRow(float Height);
    void EndRow();
    void BeginColumn(float Width);
    void EndColumn();

    // --- layers, stored objects, tiling patterns, imported pages ---
    // Marks the following content as optional content named `Layer` (names match without
    // regard to case); "SCREEN" is shown but never printed, "PRINTER" printed but not shown.
    void BeginLayer(std::string_view Layer, bool StartState = true, bool ShowInList = true);
    void EndLayer();
    // Records the following content into the stored object `Name` instead of the page, until
    // EndObject. Flags place it by itself, under the page's own content: 1 on the first page,
    // 2 on even pages, 4 on odd pages (7 on every page), 8 never on page 1, plus 16 to place it
    // over the content instead. With 0 it appears only where PlayObject names it. It is drawn
    // in the page's coordinates (top-left corner inside the margins, y downwards) and may reach
    // twice the page size in every direction. Ignored while an object is being recorded.
    // Raises when no document is open or the name is empty or already names an object.
    void BeginObject(std::string_view Name, int32_t Flags = 0);
    // Writes the object being recorded; nothing when none is.
    void EndObject();
    // Places a stored object or an imported page in the current content ("q /Name Do Q").
    void PlayObject(std::string_view Name);
    // Records the following content into the cell of a tiling pattern, which SetColorFill,
    // SetColorLine and SetColorText then take as a colour by its name (trimmed and upper-cased).
    // The cell spans XMin..XMax, YMin..YMax, y downwards from its top; cells repeat every
    // XStep and YStep (user units) from the page's lower-left corner. An Uncolored pattern (1)
    // draws no colours of its own: it is used as "NAME;colour", and colour changes made while
    // it is recorded are ignored. A second BeginTiling while recording only sets Uncolored.
    // Raises when no document is open or the name is empty or already names a pattern.
    void BeginTiling(std::string_view Name, float XMin, float YMin, float XMax, float YMax, float XStep, float YStep,
                     int32_t Uncolored = 0);
    // Writes the pattern being recorded; nothing when none is.
    void EndTiling();

    // Reads an existing PDF file: returns its page count and, when Entries is given, fills it
    // with the file's information entries (keys without "/", such as "Title" or "Author";
    // text values in Windows-1252, other values as written in the file). Never raises: a
    // missing, damaged or password-protected file gives 0 and is recorded (ErrNumber,
    // ErrSource "Folian.GetInfo", ErrDescription ending in " - " and the file name).
    int32_t GetInfo(std::string_view FileName, std::map<std::string, std::string>* Entries = nullptr);
    // Copies page PageNumber (from 1) of an existing PDF file into the document as a form
    // object and returns the name under which PlayObject places it (Name, or "_IMP_" and a
    // number when Name is empty). The page's content and resources (fonts, images, nested
    // forms) are copied with this document's filters and protection; its annotations and form
    // fields are not. Objects shared by several pages of one file are copied once. The file
    // is read when first named and kept open until the document ends or is aborted.
    //
    // PlayObject puts the page's top-left corner at the origin of the current content, which
    // on a page is the top-left corner inside the margins: with no margins and the paper size
    // of the source page, the page lands exactly where it stood, so that content drawn after
    // PlayObject goes over it. BeginSpace before PlayObject moves and scales it. A rotated
    // source page is placed as it is shown. A template page under a page's text:
    //
    //     pdf.BeginDoc(output);
    //     if (pdf.ImportPage(templateFile, 1, "BASE").empty()) {
    //         ... pdf.ErrDescription() names the file and what is wrong with it ...
    //     }
    //     pdf.BeginPage();
    //     pdf.PlayObject("BASE");
    //     pdf.DrawText(...); // over the template
    //
    // A file whose structure the reader mends as every viewer does (a wrong trailer /Size, a
    // cross-reference table it rebuilds) is read. Never raises: a missing or encrypted file, a
    // page whose content or resources cannot be read whole (an object damaged or lost, data
    // that does not decode), a page number outside the file, a
    // name already in use or no open document gives an empty result and is recorded
    // (ErrNumber, ErrSource "Folian.ImportPage", ErrDescription ending in " - " and the file
    // name), and nothing is written, so the document stays whole.
    std::string ImportPage(std::string_view FileName, int32_t PageNumber = 1, std::string_view Name = {});

    // --- bookmarks, links, form fields, scripts ---
    // Levels start at 1 under the outline root and go at most one deeper than the bookmark
    // before; other levels are brought into that range. Returns the bookmark's entry number.
    int32_t AddBookmark(std::string_view Title, int32_t Level = 1, int32_t Page = 0, std::string_view Color = {},
                        int32_t Style = 0, std::string_view Dest = {});
    // Event types: 0 page open, 1 page close, 2 document open, 3 will close, 4 will print,
    // 5 will save, 6 did print, 7 did save, 8 global script; others are ignored.
    void OnDocEvent(int32_t EventType, std::string_view Script);
    // Defines the link target `Ref` on page `Page` (0: the open page, or the first page before
    // any; -1: the document's last page; a number past the end counts as the last page) with
    // the destination view `View` in PDF page coordinates, such as "/Fit", "/FitH 700" or
    // "/XYZ 0 842 0". An empty View shows the current position at the top of the window, at
    // the reader's zoom. Defining the same Ref again moves it.
    void DefineRef(std::string_view Ref, int32_t Page = 0, std::string_view View = {});
    // Makes the rectangle at (x, Y) of Width by Height (user units, from the top-left corner
    // inside the margins) a link to the target `Ref`, which DefineRef may define before or
    // after. With Width and Height 0 the link covers the text or text box drawn last. Goes on
    // the open page, or on every page a stored object being recorded is placed on. Raises
    // InvalidCall when no page or stored object is open.
    void LinkTo(std::string_view Ref, float x = 0, float Y = 0, float Width = 0, float Height = 0);
    // Adds a form field named `Name` on the open page in the rectangle at (x, Y) of Width by
    // Height (user units), drawn by the reader in the current font, size and text colour with
    // a border in the line colour. By Type, one of FieldType:
    //   Text: Value is its text;
    //   PushButton: Caption is written on it;
    //   ComboBox, ListBox: Value holds the options joined by "|", Selected (from 1) the one
    //     chosen, 0 none;
    //   CheckBox, RadioButton: Selected 1 ticks it; Value names its on state ("Yes" when
    //     empty), Caption is the ZapfDingbats character shown when on ("4" a tick, "l" a dot
    //     when empty).
    // Radio buttons given the same Name anywhere in the document are one field, so that a
    // reader turns the others off when one is chosen: each button's Value names its own on
    // state and should differ from the others' (a button of such a group without one, or with
    // "Off", is named by its place in the group: "1", "2", ...). The field's value is the on
    // state of the last of its buttons added with Selected 1, or none; the field has the
    // flags of all its buttons and the first tooltip given. A radio button alone is a field
    // by itself, like any other.
    // Tooltip is shown on hovering; Flags are field flags added to those of the type (1 read
    // only, 2 required, 4096 multi-line text, 8192 password, 262144 editable combo box).
    // Names, values, options, push-button captions and tooltips are read as the text given.
    // Raises InvalidCall when no page is open, the type is not one of FieldType, or no font
    // is selected.
    void AddField(int32_t Type, std::string_view Name, float x, float Y, float Width, float Height,
                  std::string_view Value = {}, int32_t Selected = 0, std::string_view Caption = {},
                  std::string_view Tooltip = {}, int32_t Flags = 0);

    // Replaces the data by their deflate encoding (zlib stream, header 78 5E).
    static void zzToFlateDecode(std::vector<uint8_t>& data, int32_t CompressionQuality);

private:
    friend struct FolianTestAccess;
    friend struct ImportWriter;

    std::string applicationName() const;

    // errors
    void SetErrorInfo(const Error& error, std::string_view operation, std::string_view detail);

    // file structure
    void WriteLine(std::string_view text);
    void writeBytes(const void* data, std::size_t size);
    int32_t BeginObj(int32_t n = 0);
    void EndObj();
    void openOutput(const std::string& path);
    // Closes the file being written; with `keep` it takes its final name, and true tells that it did.
    bool closeOutput(bool keep);
    std::string resourceDictionary(bool withPatterns, const std::string& layerProperties) const;

    // document end, in the order EndDoc writes the parts
    struct CatalogParts;
    // What is still open (stored object, pattern, page, radio buttons) written, and a first page
    // when there is none.
    void finishContent();
    // The encryption dictionary's object, 0 when the document is not protected.
    int32_t writeEncryption();
    void writeDocumentScripts(CatalogParts& parts);
    // The layers' objects; returns their /Properties entries.
    std::string writeLayers(CatalogParts& parts);
    int32_t writeMetadata();
    // The named destinations' object, 0 when there are none.
    int32_t writeNamedDests();
    void writeResourcesAndPageTree(const std::string& layerProperties);
    void writeCatalog(const CatalogParts& parts);
    void writeDocumentActions(const CatalogParts& parts);
    void writeOptionalContent(const CatalogParts& parts);
    void writeViewerSettings(const CatalogParts& parts);
    int32_t writeInformation();
    void writeCrossReference(int32_t info, int32_t catalog, int32_t encryptObject);
    // Closes the finished file under its name; raises when any part of it could not be written.
    void closeFinishedFile();

    // content routing
    void OutContent(std::string_view text);
    // The buffer OutContent appends to now, or nullptr when it drops what it is given; for
    // operators formatted straight into it, each beginning with the CR that OutContent adds.
    TextBuffer* contentTarget();

    // formatting
    static float RoundTo3Decimals(float x);
    static std::string FormatReal(float x);
    std::string FormatUnits(float value) const;
    // A value in user units in points, as FormatUnits writes it.
    float toPoints(float value) const { return static_cast<float>(static_cast<double>(ScaleFactor) * value); }
    // Kept for the colour entries of the drawing operations, which this writer does not have: nothing calls it.
    static std::string ColorByteToText(uint8_t value);
    static std::string FormatColorRGB(std::string_view color);
    // Kept for the boolean entries of the drawing operations, like ColorByteToText: nothing calls it.
    static std::string BoolToText(bool value);
    static std::string EscapeString(std::string_view text);
    static std::string FormatName(std::string_view name);
    std::string FormatTextString(std::string_view text);
    // A text that readers show as it stands (document information, bookmarks, layers, the
    // texts of form fields and annotations): as FormatTextString, but in UTF-16BE with its
    // byte-order mark when a byte of it would read differently through the readers'
    // PDFDocEncoding than in Windows-1252.
    std::string FormatShownText(std::string_view text);
    static void ParseColor(std::string& spec, std::string& second);

    // streams and object writers
    void WriteStream(std::vector<uint8_t>& data, int32_t objectNumber, std::string filter, int32_t length1);
    // The document's filters applied to data, their decoders put in front of `filter`; with
    // `deflated` the data already hold the Flate encoding of the stream.
    void encodeStream(std::vector<uint8_t>& data, std::string& filter, bool deflated);
    // The end of a stream object's dictionary and the stream of the parts one after the other.
    void writeStreamData(const std::string& filter, int32_t length1, std::initializer_list<std::string_view> parts);
    // The page's content stream, written from where its two parts lie.
    void writeContentStream(std::string_view head, std::string_view body);
    int32_t WriteStreamObject(std::string_view text);
    // Kept for the image loaders: written and tested, but no public operation reaches it.
    int32_t WriteImageObject(std::string_view kind, std::vector<uint8_t>& data, std::vector<uint8_t>& palette,
                             int32_t width, int32_t height, uint8_t bitsPerPixel, std::string_view name,
                             std::string_view colorSpace, const std::string& filter, std::string_view mask);
    // An annotation object from its dictionary's opening, listed for the open page or stored object.
    void WriteAnnotation(std::string text, std::string_view contents, std::string_view title,
                         std::string_view defaultAppearance, std::string_view target);
    int32_t WriteFontObjects(std::string_view name, std::vector<uint8_t>& fontFile, int32_t length1,
                             std::string_view descriptorEntries);

    // encoders and encryption
    static void EncodeRunLength(std::vector<uint8_t>& data);
    static void EncodeLZW(std::vector<uint8_t>& data, int32_t CompressionQuality);
    static void EncodeASCII85(std::vector<uint8_t>& data);
    static void EncodeASCIIHex(std::vector<uint8_t>& data);
    std::string GetObjectKey(int32_t& objectNumber) const;
    void RC4Crypt(const std::string& key, std::vector<uint8_t>& data);
    std::string rc4Text(const std::string& key, std::string_view text);

    // stored objects, patterns, imports, links
    void requireDocument(const char* what) const;
    bool formNameTaken(const std::string& name) const;
    void importSourcesClear();
    ImportSource& importSource(const std::string& path);
    void writeLink(const std::string& rect, const std::string& ref);
    // The widget object, just begun, of a field that stands alone, on the page object `page`.
    void writeWidget(const FieldWidgetRecord& field, int32_t page);
    // The widgets kept in RadioWidgets: buttons sharing a name as one radio field, with an
    // appearance of each state for each button; a button alone as any other field.
    void writeRadioButtons();
    void writeRadioGroup(const std::vector<std::size_t>& members);
    // A form object drawing the button's box, with its mark when `on`; returns its number.
    int32_t writeRadioAppearance(const FieldWidgetRecord& field, bool on);

    // outlines and metadata
    int32_t WriteOutlines();
    // The XMP packet in UTF-8, the document properties escaped as XML text.
    std::string BuildXmpMetadata() const;

    // shared helpers
    void SaveTableState();
    void RestoreTableState();
    // The pieces of `text` between the delimiters, as views into it.
    static std::vector<std::string_view> SplitText(std::string_view text, std::string_view delimiter);
    static std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement);
    void SetLastBounds(float x1, float y1, float x2, float y2);
    void RequireVersion(int32_t v);
    void PaintPath(int32_t style);
    void PlayAutoObjects(bool after);
    static bool autoObjectWanted(int32_t flags, int32_t page, bool after);
    void setColor(std::string_view color, std::string& target, std::string& companion, const char* rgbOperator,
                  const char* spaceOperator, const char* patternOperator);
    // Sets a colour kept as the colour setters normalise it, with its companion, exactly as
    // setColor(color + ";" + companion) does, without parsing it again.
    void restoreColor(const std::string& color, const std::string& companion, std::string& target,
                      std::string& targetCompanion, const char* rgbOperator, const char* spaceOperator,
                      const char* patternOperator);
    void restoreFill(const std::string& color, const std::string& companion);
    // The content line that sets a "#RRGGBB" colour with the operator ("rg" or "RG"), such as
    // CR "0 0 0 rg"; the last few are kept, as text lines set the same two colours again and
    // again. Raises like FormatColorRGB on a bad colour.
    const std::string& colorLine(const std::string& color, const char* rgbOperator);
    void restoreLine(const std::string& color, const std::string& companion);
    void drawTableCell(float width, float height);
    // The operators that open a local space moved to (NewX, NewY) and scaled, written at `p`;
    // returns their end.
    char* writeSpace(char* p, float NewX, float NewY, float ScaleX, float ScaleY);

    // fonts and text
    const FontRecord* currentFont() const;
    // TextLength in the font given, with the scale factor known not to be 0: for measuring
    // many words after one check.
    float lengthIn(const FontRecord& font, std::string_view phrase) const;
    // What lengthIn gives for a text of `size` characters, `blanks` of them blanks, whose widths
    // add up to `widths` (thousandths of the font size).
    float lengthOf(int64_t widths, int64_t blanks, std::size_t size) const;
    // Measuring divides by the scale factor: 0 raises DivisionByZero.
    static void requireScale(float factor);
    int32_t findFont(const std::string& key, const std::string& trueTypeKey) const;
    void LoadArialMetrics(int32_t Style);
    void LoadCourierNewMetrics(int32_t Style);
    void LoadTimesNewRomanMetrics(int32_t Style);
    void LoadSymbolMetrics();
    void LoadZapfDingbatsMetrics();
    void addTrueTypeFont(const std::string& path, std::string_view alias, bool embedded, int32_t encoding,
                         std::string& registeredName);
    // `known`: what a text box already knows of the line's words, which a justified line would
    // otherwise measure again.
    void WriteTextLine(float x, float y, float width, std::string_view text, float indentation, int32_t Align,
                       bool newLine, const KnownWords* known = nullptr);
    struct LineMeasure;
    struct LineFit;
    // The widths a line is aligned by; with Shrink or Fit the scaling is taken as 100 until the
    // caller puts it back.
    LineMeasure measureLine(const FontRecord& font, std::string_view text, int32_t Align, const KnownWords* known);
    // Where the line begins and the word spacing or scaling that makes it fill `width`.
    LineFit fitLine(const LineMeasure& measure, float width, float indentation, int32_t Align,
                    float savedScaling) const;
    // The line's text object, painted in the text colour, at `left` and `baseline` (points).
    void writeLineText(std::string_view text, double left, float baseline, const LineFit& fit, bool widerThanBox,
                       float savedScaling);
    // Underline, overline and line through, as long as `length` (user units).
    void writeLineDecorations(double left, float baseline, double length);
    // A text box's text as its paragraphs are split: double blanks of a justified text made
    // single, and an empty paragraph (also one after a final CR LF) kept as a single blank, so
    // that it takes a line. Gives the text itself when it needs none of that, else `normalised`.
    static std::string_view boxText(std::string_view text, int32_t Align, std::string& normalised);

    Hooks m_hooks;
    OutputFile m_out;
    Deflater m_deflater;
    std::vector<uint8_t> m_streamData; // a page's encoded stream, its storage kept from page to page
    std::string m_partName;            // the file being written; renamed to FileName by EndDoc

    // security
    int32_t ProtectionOn = 0;
    std::string Rc4Key;
    arcfour_ctx Rc4State{};
    std::string EncryptionKey;
    std::string UserEntry;
    std::string OwnerEntry;
    int16_t PermissionFlags = 0;
    int32_t CurrentObject = 0;
    uint8_t ObjectKeyLength = 0;
    std::string FileId;

    // output file
    std::string FileName;
    int32_t SavedFileSize = 0;

    // document information
    std::string DocTitle;
    std::string DocSubject;
    std::string DocKeywords;
    std::string DocAuthor;
    std::string DocCreator;
    std::string DocProducer;
    std::string CreationDate;

    // page geometry, in points
    float PageWidth = 0;
    float PageHeight = 0;
    float ScaleFactor = 0;
    int32_t DefaultRotation = 0;
    int32_t PageRotation = 0;
    float MarginLeft = 0;
    float MarginRight = 0;
    float MarginTop = 0;
    float MarginBottom = 0;
    bool MarginFlag = false;
    int32_t MinVersion = 0;
    std::string PageKids;

    // content routing
    bool TilingUncolored = false;
    bool InTiling = false;
    bool InObject = false;
    bool InPage = false;
    std::string PageLabels;
    std::string PageAnnots;

    // graphics and text state
    std::string FillColor;
    std::string FillColor2;
    std::string TextColor;
    std::string TextColor2;
    std::string LineColor;
    std::string LineColor2;
    float LineWidth = 0;
    float CurrentX = 0;
    float CurrentY = 0;
    float CharSpacing = 0;
    float WordSpacing = 0;
    float HorizontalScaling = 0;
    std::string FontName;
    int32_t FontStyle = 0;
    float FontSize = 0;
    std::string FontResource;
    int32_t FontIndex = 0;
    float LineSpacing = 0;

    // settings
    int32_t ViewerPrefs = 0;
    uint8_t MemoryUsage = 1;
    int32_t CompressionMode = 0;
    uint8_t CompressionQuality = 0;
    bool SyncOnEnd = true;
    std::array<std::string, 9> DocScripts;
    std::string PendingTransition;
    std::string PageTransition;
    float PendingDuration = 0;
    float PageDuration = 0;

    // form fields
    std::vector<int32_t> AcroFormFields;         // the objects /AcroForm lists in /Fields
    std::vector<RadioWidgetRecord> RadioWidgets; // radio buttons of ended pages, not yet written
    std::string AcroFormCalcOrder;
    GrowTable<FieldWidgetRecord> FieldWidgets;
    int32_t FieldWidgetCount = 0;

    // recorded error
    int32_t LastErrNumber = 0;
    std::string LastErrSource;
    std::string LastErrDescription;

    // resources
    int32_t ExtGStateCount = 0;
    std::string ExtGStateList;
    std::string TilingName;
    std::string TilingDictionary;
    std::string PatternList;

    // tables
    float TableX = 0;
    float TableY = 0;
    bool TableRowOpen = false;
    bool TableColumnOpen = false;
    float TableColumnWidth = 0;
    float TableRowHeight = 0;

    struct ColorLine {
        std::string color;
        const char* rgbOperator = nullptr;
        std::string line;
    };
    std::array<ColorLine, 4> m_colorLines;
    std::size_t m_nextColorLine = 0;
    // The texts of numbers that come again and again in the content: a text line's font size,
    // left edge and word spacing, a local space's scales, a table cell's sizes.
    struct NumberTexts {
        RealText fontSize;
        RealText lineLeft;
        RealText wordSpacing;
        RealText scaleX;
        RealText scaleY;
        RealText cellHalfLine;
        RealText cellInnerWidth;
        RealText cellInnerHeight;
        RealText cellWidth;
        RealText cellHeight;
    };
    NumberTexts m_numbers;

    TextBuffer PageContent;
    TextBuffer ObjectContent;
    TextBuffer TilingContent;
    std::array<float, 4> LastBounds{};

    // objects and tables of the document
    int32_t MaxObject = 0;
    GrowTable<std::string> XrefLines;
    int32_t ObjectCount = 0;
    GrowTable<StoredObjectRecord> ObjectTable;
    std::string XObjectResources;
    int32_t FontCount = 0;
    GrowTable<FontRecord> FontTable;
    std::string FontResources;
    int32_t BookmarkCount = 0;
    GrowTable<BookmarkRecord> BookmarkTable;
    GrowTable<int32_t> PageObjects;
    int32_t PageCount = 0;
    int32_t ImageCount = 0;
    GrowTable<ImageRecord> ImageTable; // filled by the image loaders, which this writer does not have
    std::string ImageResources;
    int32_t TableStackDepth = 0;
    GrowTable<TableStateRecord> TableStack;
    GrowTable<NamedDestRecord> NamedDests;
    int32_t NamedDestCount = 0;
    GrowTable<LayerRecord> LayerTable;
    int32_t LayerCount = 0;

    // pdf files read by GetInfo and ImportPage, each with the objects already copied from it
    std::vector<std::unique_ptr<ImportSource>> ImportSources;
    int32_t ImportCount = 0;
    // names of the stored objects and imported pages, and of the tiling patterns
    std::set<std::string> FormNames;
    std::set<std::string> PatternNames;
};

} // namespace folian
