// Document information, viewer settings, transitions, table sizing and compression.
#include "core/Folian.h"

#include <array>

namespace folian {

namespace {
constexpr std::array<const char*, 18> kTransitionStyles = {
    "",
    "/S /Split /Dm /H /M /I >> ",
    "/S /Split /Dm /V /M /I >> ",
    "/S /Split /Dm /H /M /O >> ",
    "/S /Split /Dm /V /M /O >> ",
    "/S /Wipe /Di 180 >> ",
    "/S /Wipe /Di 0 >> ",
    "/S /Wipe /Di 270 >> ",
    "/S /Wipe /Di 90 >> ",
    "/S /Box /M /I >> ",
    "/S /Box /M /O >> ",
    "/S /Blinds /Dm /H >> ",
    "/S /Blinds /Dm /V >> ",
    "/S /Dissolve >> ",
    "/S /Glitter /Di 0 >> ",
    "/S /Glitter /Di 270 >> ",
    "/S /Glitter /Di 315 >> ",
    "/S /R >> ",
};
} // namespace

void Folian::SetDocProperty(std::string_view Title, std::string_view Subject, std::string_view Author,
                            std::string_view Creator, std::string_view Producer, std::string_view Keywords)
{
    DocTitle = std::string(Title);
    BookmarkTable[1].Title = DocTitle;
    DocSubject = std::string(Subject);
    DocKeywords = std::string(Keywords);
    if (!Author.empty()) {
        DocAuthor = std::string(Author);
    }
    if (!Creator.empty()) {
        DocCreator = std::string(Creator);
    }
    if (!Producer.empty()) {
        DocProducer = std::string(Producer);
    }
}

void Folian::SetViewerPreferences(int32_t Mode)
{
    ViewerPrefs = Mode;
}

void Folian::SetPageTransition(int32_t Transition, float ShowTime, float TransTime)
{
    // A code outside the table would leave an unclosed dictionary in every page; it is ignored.
    if (Transition < 0 || Transition >= static_cast<int32_t>(kTransitionStyles.size())) {
        return;
    }
    std::string text;
    if (Transition != 0) {
        text = "<< /Type /Trans /D " + FormatReal(TransTime) + " " +
               kTransitionStyles[static_cast<std::size_t>(Transition)];
    }
    if (InPage) {
        PageTransition = text;
        PageDuration = ShowTime;
    } else {
        PendingTransition = text;
        PendingDuration = ShowTime;
    }
}

void Folian::SetMemoryUsage(int32_t Value)
{
    if (Value < 0 || Value > 32767) {
        throw Error(ErrorCode::Overflow, "Overflow");
    }
    if (Value < 11) {
        // 0 would leave no room for any table's first entry.
        MemoryUsage = static_cast<uint8_t>(Value == 0 ? 1 : Value);
    }
}

void Folian::SetCompression(int32_t Mode, int32_t Quality)
{
    if (Quality < 0 || Quality > 255) {
        throw Error(ErrorCode::Overflow, "Overflow");
    }
    CompressionMode = Mode;
    CompressionQuality = static_cast<uint8_t>(Quality > 3 ? 3 : Quality);
}

void Folian::SetFileSync(bool On)
{
    SyncOnEnd = On;
}

} // namespace folian
