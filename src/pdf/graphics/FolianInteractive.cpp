// Bookmarks, document scripts and layers.
#include "core/Folian.h"

#include <cctype>

namespace folian {

namespace {
bool sameTextIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}
} // namespace

int32_t Folian::AddBookmark(std::string_view Title, int32_t Level, int32_t Page, std::string_view Color, int32_t Style,
                            std::string_view Dest)
{
    std::string operands;
    if (!Color.empty()) {
        std::string normalised(Color);
        std::string second;
        ParseColor(normalised, second);
        if (!normalised.empty() && normalised[0] == '#') {
            operands = FormatColorRGB(normalised);
        }
    }
    const int32_t entry = BookmarkCount + 1;
    if (entry > 1) {
        // The outline is built from levels alone: a level that skips a step would leave an item
        // without a parent, so it is brought to at most one below the previous bookmark.
        const int32_t previous = entry == 2 ? 0 : BookmarkTable[entry - 1].Level;
        if (Level < 1) {
            Level = 1;
        }
        if (Level > previous + 1) {
            Level = previous + 1;
        }
        if (Level > 255) {
            Level = 255;
        }
        if (!operands.empty() || Style != 0) {
            RequireVersion(1);
        }
    }
    BookmarkCount = entry;
    BookmarkRecord& record = BookmarkTable.make(entry, MemoryUsage);
    record.Title = std::string(Title);
    record.Level = Level;
    record.Page = Page;
    record.Color = operands;
    record.Style = Style;
    record.Dest = std::string(Dest);
    return entry;
}

void Folian::OnDocEvent(int32_t EventType, std::string_view Script)
{
    if (EventType < 0 || EventType > 8) {
        return;
    }
    DocScripts[static_cast<std::size_t>(EventType)] = std::string(Script);
    // The catalog's additional actions, where these scripts go, are newer than the rest of the file.
    if (EventType >= 3 && EventType <= 7 && !Script.empty()) {
        RequireVersion(1);
    }
}

void Folian::BeginLayer(std::string_view Layer, bool StartState, bool ShowInList)
{
    int32_t entry = 0;
    for (int32_t i = 1; i <= LayerCount; ++i) {
        if (sameTextIgnoringCase(LayerTable[i].Name, Layer)) {
            entry = i;
        }
    }
    if (entry == 0) {
        LayerCount += 1;
        LayerRecord& record = LayerTable.make(LayerCount, MemoryUsage);
        record.Name = std::string(Layer);
        record.StartState = StartState;
        record.ShowInList = ShowInList;
        entry = LayerCount;
    }
    OutContent("/OC /_LAY_" + std::to_string(entry) + " BDC");
}

void Folian::EndLayer()
{
    if (LayerCount > 0) {
        OutContent("EMC");
    }
}

} // namespace folian
