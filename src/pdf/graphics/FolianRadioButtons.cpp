// Radio buttons: the buttons of the document that share a name are one field.
#include "core/Folian.h"
#include "core/Formatting.h"

#include <algorithm>
#include <map>

namespace folian {

void Folian::writeRadioButtons()
{
    // The buttons by name, each group in the order the buttons were added.
    std::vector<std::vector<std::size_t>> groups;
    std::map<std::string, std::size_t> groupOf;
    for (std::size_t i = 0; i < RadioWidgets.size(); ++i) {
        const auto [entry, added] = groupOf.emplace(RadioWidgets[i].Field.FieldName, groups.size());
        if (added) {
            groups.emplace_back();
        }
        groups[entry->second].push_back(i);
    }
    for (const std::vector<std::size_t>& members : groups) {
        if (members.size() == 1) {
            const RadioWidgetRecord& button = RadioWidgets[members.front()];
            BeginObj(button.Object);
            writeWidget(button.Field, button.Page);
        } else {
            writeRadioGroup(members);
        }
    }
    RadioWidgets.clear();
}

void Folian::writeRadioGroup(const std::vector<std::size_t>& members)
{
    // A reader turns a button on by the state its appearance names, and every other button of
    // the field off: a button without a value of its own (or named after the off state) takes
    // its place in the group, so that no two buttons turn on together unasked.
    std::vector<std::string> states;
    std::string chosen = "Off";
    int32_t flags = 0;
    std::string tooltip;
    for (std::size_t k = 0; k < members.size(); ++k) {
        const FieldWidgetRecord& field = RadioWidgets[members[k]].Field;
        const bool named = !field.OnState.empty() && field.OnState != "Off";
        states.push_back(FormatName(named ? field.OnState : std::to_string(k + 1)));
        if (field.SelectedOption == 1) {
            chosen = states.back(); // the last one chosen, as clicking them in turn would leave it
        }
        flags |= field.FieldFlags;
        if (tooltip.empty()) {
            tooltip = field.Tooltip;
        }
    }

    const int32_t parent = ++MaxObject;
    std::string kids;
    for (std::size_t k = 0; k < members.size(); ++k) {
        const RadioWidgetRecord& button = RadioWidgets[members[k]];
        const FieldWidgetRecord& field = button.Field;
        const int32_t on = writeRadioAppearance(field, true);
        const int32_t off = writeRadioAppearance(field, false);
        BeginObj(button.Object);
        WriteLine("<< /Type /Annot /Subtype /Widget /Parent " + ref(parent) + " /Rect [" + field.Rect +
                  "] /F 4 /BS << /W 1 /S /S >> /DA " + FormatTextString(field.DefaultAppearance) + " /MK << /CA " +
                  FormatTextString(field.Caption) + " " + field.AppearanceEntries + ">> /AS /" +
                  (states[k] == chosen ? chosen : std::string("Off")) + " /AP << /N << /" + states[k] + " " + ref(on) +
                  " /Off " + ref(off) + " >> >> /P " + ref(button.Page) + " >>");
        EndObj();
        kids += ref(button.Object) + " ";
    }

    BeginObj(parent);
    const std::string& name = RadioWidgets[members.front()].Field.FieldName;
    std::string text = "<< /FT /Btn /Ff " + std::to_string(flags) + " /T " + FormatShownText(name);
    if (!tooltip.empty()) {
        text += " /TU " + FormatShownText(tooltip);
    }
    WriteLine(text + " /V /" + chosen + " /Kids [ " + kids + "] >>");
    EndObj();

    // The field stands in /Fields once, where its first button stood.
    const auto first = std::find(AcroFormFields.begin(), AcroFormFields.end(), RadioWidgets[members[0]].Object);
    if (first != AcroFormFields.end()) {
        *first = parent;
    }
    for (std::size_t k = 1; k < members.size(); ++k) {
        std::erase(AcroFormFields, RadioWidgets[members[k]].Object);
    }
}

int32_t Folian::writeRadioAppearance(const FieldWidgetRecord& field, bool on)
{
    const float width = field.Width;
    const float height = field.Height;
    std::string content = "q " + field.BorderColor + " RG 1 w 0.5 0.5 " + FormatReal(width - 1) + " " +
                          FormatReal(height - 1) + " re S Q";
    const int32_t font = findFont("ZADB", std::string());
    if (on && font != 0) {
        const float size = RoundTo3Decimals(0.7f * std::min(width, height));
        double advance = 0;
        for (const char c : field.Caption) {
            advance += FontTable[font].Widths[static_cast<unsigned char>(c)];
        }
        advance *= size / 1000.0;
        // The marks of ZapfDingbats stand about 0.37 of the size above their baseline at their middle.
        const double x = (width - advance) / 2;
        const double y = height / 2.0 - 0.37 * size;
        content += " BT /ZaDb " + FormatReal(size) + " Tf " + field.MarkColor + " rg " +
                   FormatReal(static_cast<float>(x)) + " " + FormatReal(static_cast<float>(y)) + " Td (" +
                   EscapeString(field.Caption) + ") Tj ET";
    }
    const int32_t n = BeginObj();
    WriteLine("<< /Type /XObject /Subtype /Form /BBox [0 0 " + FormatReal(width) + " " + FormatReal(height) +
              "] /Resources 3 0 R");
    std::vector<uint8_t> data(content.begin(), content.end());
    WriteStream(data, 0, std::string(), 0);
    EndObj();
    return n;
}

} // namespace folian
