// Link targets, links to them and form fields.
#include "core/Folian.h"

#include <algorithm>
#include <cmath>

namespace folian {

namespace {

// Field flags that each kind of field carries whatever the caller adds.
int32_t typeFlags(int32_t type)
{
    switch (type) {
    case FieldType::PushButton:
        return 65536;
    case FieldType::ComboBox:
        return 131072;
    case FieldType::RadioButton:
        return 32768 + 16384; // a radio button, which a click does not turn off again
    default:
        return 0;
    }
}

// A pattern has no place in a field's appearance: it is drawn black.
std::string colorOperands(const std::string& color, std::string (*format)(std::string_view))
{
    return !color.empty() && color[0] == '#' ? format(color) : "0 0 0";
}

} // namespace

void Folian::DefineRef(std::string_view Ref, int32_t Page, std::string_view View)
{
    const std::string name = "/_REF_" + FormatName(Ref);
    const int32_t page = Page == 0 ? std::max(PageCount, 1) : Page;
    std::string view(View);
    if (view.empty()) {
        view =
            "/XYZ 0 " + FormatReal(static_cast<float>(static_cast<double>(PageHeight) - MarginTop - CurrentY)) + " 0";
    }
    // A name stands once in the destinations; defining it again moves it.
    for (int32_t i = 1; i <= NamedDestCount; ++i) {
        if (NamedDests[i].Name == name) {
            NamedDests[i] = NamedDestRecord{page, view, name};
            return;
        }
    }
    NamedDestCount += 1;
    NamedDests.make(NamedDestCount, MemoryUsage) = NamedDestRecord{page, view, name};
}

void Folian::writeLink(const std::string& rect, const std::string& ref)
{
    WriteAnnotation("<< /Type /Annot /Subtype /Link /Rect [" + rect + "] /Border [0 0 0] /Dest /_REF_" +
                        FormatName(ref),
                    {}, {}, {}, {});
}

void Folian::LinkTo(std::string_view Ref, float x, float Y, float Width, float Height)
{
    if (!InPage && !InObject) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: a link needs an open page or stored object");
    }
    // Page coordinates: y upwards from the page's bottom edge, margins included.
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    if (Width == 0 && Height == 0) {
        // The bounds of the last text are measured from the page's edges, without the margins.
        x1 = static_cast<double>(LastBounds[0]) + MarginLeft;
        x2 = static_cast<double>(LastBounds[2]) + MarginLeft;
        y1 = static_cast<double>(LastBounds[1]) - MarginTop;
        y2 = static_cast<double>(LastBounds[3]) - MarginTop;
    } else {
        const double sf = ScaleFactor;
        x1 = MarginLeft + x * sf;
        x2 = MarginLeft + (static_cast<double>(x) + Width) * sf;
        y1 = PageHeight - MarginTop - Y * sf;
        y2 = PageHeight - MarginTop - (static_cast<double>(Y) + Height) * sf;
    }
    writeLink(FormatReal(static_cast<float>(std::min(x1, x2))) + " " +
                  FormatReal(static_cast<float>(std::min(y1, y2))) + " " +
                  FormatReal(static_cast<float>(std::max(x1, x2))) + " " +
                  FormatReal(static_cast<float>(std::max(y1, y2))),
              std::string(Ref));
}

void Folian::AddField(int32_t Type, std::string_view Name, float x, float Y, float Width, float Height,
                      std::string_view Value, int32_t Selected, std::string_view Caption, std::string_view Tooltip,
                      int32_t Flags)
{
    if (!InPage) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: a form field needs an open page");
    }
    if (Type < FieldType::Text || Type > FieldType::RadioButton) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: field type " + std::to_string(Type));
    }
    const FontRecord* font = currentFont();
    if (font == nullptr) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: no font is selected for the field");
    }

    const double sf = ScaleFactor;
    const double left = MarginLeft + x * sf;
    const double right = MarginLeft + (static_cast<double>(x) + Width) * sf;
    const double top = PageHeight - MarginTop - Y * sf;
    const double bottom = PageHeight - MarginTop - (static_cast<double>(Y) + Height) * sf;
    const std::string rect = FormatReal(static_cast<float>(std::min(left, right))) + " " +
                             FormatReal(static_cast<float>(std::min(top, bottom))) + " " +
                             FormatReal(static_cast<float>(std::max(left, right))) + " " +
                             FormatReal(static_cast<float>(std::max(top, bottom)));

    FieldWidgetRecord field;
    field.FieldName = std::string(Name);
    const bool button = Type == FieldType::CheckBox || Type == FieldType::RadioButton;
    field.WidgetDictionary = std::string("<< /Type /Annot /Subtype /Widget /FT /") +
                             (Type == FieldType::Text                                       ? "Tx"
                              : (Type == FieldType::ComboBox || Type == FieldType::ListBox) ? "Ch"
                                                                                            : "Btn") +
                             " /Rect [" + rect + "] /F 4 /BS << /W 1 /S /S >> /Ff " +
                             std::to_string(typeFlags(Type) | Flags);
    field.AppearanceEntries = "/BC [" + colorOperands(LineColor, FormatColorRGB) + "] ";
    field.Tooltip = std::string(Tooltip);
    field.SelectedOption = Selected;
    field.FieldType = Type;

    std::string fontResource = FontResource;
    float fontSize = FontSize;
    if (button) {
        // The tick is a character of ZapfDingbats, under the resource name that readers drawing
        // the field look for; the current font stays the text's.
        fontResource = "ZaDb";
        if (findFont("ZADB", std::string()) == 0) {
            FontCount += 1;
            FontTable.make(FontCount, MemoryUsage);
            LoadZapfDingbatsMetrics();
            FontTable[FontCount].FontKey = "ZADB";
            FontTable[FontCount].ResourceName = fontResource;
            std::vector<uint8_t> noFile;
            WriteFontObjects(fontResource, noFile, 0, {});
        }
        fontSize = 0; // the reader fits the tick into the box
        field.Caption = Caption.empty() ? (Type == FieldType::CheckBox ? "4" : "l") : std::string(Caption);
        const std::string state = FormatName(Value.empty() ? "Yes" : Value);
        const std::string shown = Selected == 1 ? state : "Off";
        field.ExtraEntries = " /V /" + shown + " /AS /" + shown + " ";
        if (Type == FieldType::RadioButton) {
            field.Rect = rect;
            field.Width = static_cast<float>(std::abs(right - left));
            field.Height = static_cast<float>(std::abs(top - bottom));
            field.FieldFlags = typeFlags(Type) | Flags;
            field.OnState = std::string(Value);
            field.BorderColor = colorOperands(LineColor, FormatColorRGB);
            field.MarkColor = colorOperands(TextColor, FormatColorRGB);
        }
    } else {
        field.Caption = std::string(Caption);
        field.Value = std::string(Value);
    }
    field.DefaultAppearance = "/" + FormatName(fontResource) + " " + FormatReal(fontSize) + " Tf " +
                              colorOperands(TextColor, FormatColorRGB) + " rg";

    FieldWidgetCount += 1;
    FieldWidgets.make(FieldWidgetCount, MemoryUsage) = field;
}

} // namespace folian
