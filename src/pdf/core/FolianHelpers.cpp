// Content routing and the small services shared by the drawing and layout operations.
#include "core/Folian.h"

namespace folian {

TextBuffer* Folian::contentTarget()
{
    if (InObject) {
        return &ObjectContent;
    }
    if (InTiling) {
        return &TilingContent;
    }
    if (InPage) {
        return &PageContent;
    }
    return nullptr;
}

void Folian::OutContent(std::string_view text)
{
    if (TextBuffer* target = contentTarget()) {
        target->BufferAppendByte('\r');
        target->BufferAppend(text);
    }
}

void Folian::SaveTableState()
{
    TableStackDepth += 1;
    TableStateRecord& state = TableStack.ensure(TableStackDepth, MemoryUsage);
    state.ScaleFactor = ScaleFactor;
    state.CurrentX = CurrentX;
    state.CurrentY = CurrentY;
    state.FillColor = FillColor;
    state.FillColor2 = FillColor2;
    state.LineColor = LineColor;
    state.LineColor2 = LineColor2;
    state.TextColor = TextColor;
    state.TextColor2 = TextColor2;
    state.FontName = FontName;
    state.FontStyle = FontStyle;
    state.FontSize = FontSize;
    state.LineWidth = LineWidth;
}

void Folian::RestoreTableState()
{
    if (TableStackDepth == 0) {
        return;
    }
    const TableStateRecord state = TableStack[TableStackDepth];
    CurrentX = state.CurrentX;
    CurrentY = state.CurrentY;
    ScaleFactor = state.ScaleFactor;
    restoreLine(state.LineColor, state.LineColor2);
    restoreFill(state.FillColor, state.FillColor2);
    SetColorText(state.TextColor + ";" + state.TextColor2);
    if (ScaleFactor != 0) {
        SetLineWidth(static_cast<float>(static_cast<double>(state.LineWidth) / ScaleFactor));
    }
    // With no font chosen before the table there is none to go back to; selecting one would
    // add an unused font to the document.
    if (!state.FontName.empty()) {
        SetFont(state.FontName, state.FontSize, state.FontStyle, 0);
    }
    TableStackDepth -= 1;
}

std::vector<std::string_view> Folian::SplitText(std::string_view text, std::string_view delimiter)
{
    std::vector<std::string_view> parts;
    if (text.empty() || delimiter.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(delimiter, start);
        if (found == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, found - start));
        start = found + delimiter.size();
    }
}

std::string Folian::ReplaceText(std::string_view text, std::string_view find, std::string_view replacement)
{
    if (find.empty()) {
        return std::string(text);
    }
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = text.find(find, start);
        if (found == std::string_view::npos) {
            out.append(text.substr(start));
            return out;
        }
        out.append(text.substr(start, found - start));
        out.append(replacement);
        start = found + find.size();
    }
}

void Folian::SetLastBounds(float x1, float y1, float x2, float y2)
{
    LastBounds = {x1, y1, x2, y2};
}

void Folian::RequireVersion(int32_t v)
{
    if (v > MinVersion) {
        MinVersion = v;
    }
}

void Folian::PaintPath(int32_t style)
{
    using namespace PathPaint;
    std::string op;
    if (style & Fill) {
        if (style & NoStroke) {
            op = "f*";
        } else if (style & Close) {
            op = "b*";
        } else {
            op = "B*";
        }
    } else if (style & NoStroke) {
        op = (style & Close) ? "h" : "";
    } else {
        op = (style & Close) ? "h S" : "S";
    }
    if (style & Clip) {
        op = "W " + op;
    }
    if (!op.empty()) {
        OutContent(op);
    }
}

bool Folian::autoObjectWanted(int32_t flags, int32_t page, bool after)
{
    if (((flags & 16) != 0) != after) {
        return false;
    }
    if (page == 1 && (flags & 8)) {
        return false;
    }
    return (flags & 7) == 7 || ((flags & 2) && page % 2 == 0) || ((flags & 4) && page % 2 == 1) ||
           (page == 1 && (flags & 1));
}

void Folian::PlayAutoObjects(bool after)
{
    const int32_t page = PageCount;
    for (int32_t i = 1; i <= ObjectCount; ++i) {
        // An object still being recorded would be placed inside itself, which no reader can draw.
        if (InObject && i == ObjectCount) {
            continue;
        }
        const StoredObjectRecord& object = ObjectTable[i];
        if (autoObjectWanted(object.Flags, page, after)) {
            PlayObject(object.Name);
            PageAnnots += object.AnnotRefs;
        }
    }
}

} // namespace folian
