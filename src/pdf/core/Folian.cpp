#include "core/Folian.h"
#include "streams/ImportSource.h"

#include <cctype>
#include <cstdio>

namespace folian {

namespace {
constexpr const char* kVersion = "2.4.8";

std::string twoDigits(int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

// The time zone part of a PDF date: "Z00'00'" for UTC, else the sign and the hours and minutes
// of the offset, as "+01'00'".
std::string pdfDateOffset(int minutes)
{
    if (minutes == 0) {
        return "Z00'00'";
    }
    const int magnitude = minutes < 0 ? -minutes : minutes;
    return std::string(minutes < 0 ? "-" : "+") + twoDigits(magnitude / 60 % 100) + "'" + twoDigits(magnitude % 60) +
           "'";
}

bool isEightDigits(const std::string& text)
{
    if (text.size() != 8) {
        return false;
    }
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}
} // namespace

Folian::Folian() : m_hooks(DefaultHooks())
{
    Abort();
}

Folian::Folian(Hooks hooks) : m_hooks(std::move(hooks))
{
    Abort();
}

Folian::~Folian()
{
    closeOutput(false);
}

std::string Folian::applicationName() const
{
    return m_hooks.nomeCorrente ? m_hooks.nomeCorrente() : std::string();
}

std::string Folian::Version()
{
    return kVersion;
}

void Folian::Abort()
{
    closeOutput(false);

    ProtectionOn = 0;
    Rc4Key.clear();
    FileName.clear();
    SavedFileSize = 0;
    MemoryUsage = 1;
    MinVersion = 0;
    CompressionMode = 0;
    SyncOnEnd = true;

    DocTitle = "(senza titolo)";
    DocSubject.clear();
    DocKeywords.clear();

    // The time is the reset's own; the date is the program's launch day, so that every
    // print-out of one session carries the same day.
    const LocalDateTime now = m_hooks.now ? m_hooks.now() : SystemNow();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%s%s%s%s%s", now.year % 10000, twoDigits(now.month).c_str(),
                  twoDigits(now.day).c_str(), twoDigits(now.hour).c_str(), twoDigits(now.minute).c_str(),
                  twoDigits(now.second).c_str());
    // The offset is the one of that moment in the local zone (winter or summer time), so that
    // readers show the hour the document was made.
    const int offset = m_hooks.utcOffsetMinutes ? m_hooks.utcOffsetMinutes(now) : SystemUtcOffsetMinutes(now);
    CreationDate = std::string("D:") + stamp + pdfDateOffset(offset);
    const std::string today = m_hooks.oggiTesto ? m_hooks.oggiTesto() : std::string();
    if (isEightDigits(today)) {
        CreationDate.replace(2, 8, today.substr(4, 4) + today.substr(2, 2) + today.substr(0, 2));
    }

    const std::string name = applicationName();
    DocAuthor = name;
    DocCreator = name;
    DocProducer = name;

    SetScale(0);
    SetPaperSize(0);

    DefaultRotation = 0;
    PageRotation = 0;
    MarginLeft = MarginRight = MarginTop = MarginBottom = 0;
    MarginFlag = false;
    TilingUncolored = InTiling = InObject = InPage = false;
    PageAnnots.clear();
    PageLabels.clear();

    TextColor = "#000000";
    TextColor2.clear();
    FillColor = "#FFFFFF";
    FillColor2.clear();
    LineColor = "#000000";
    LineColor2.clear();
    CurrentX = CurrentY = 0;
    FontName.clear();
    ViewerPrefs = 0;
    FontSize = 0;
    CompressionQuality = 0;
    CharSpacing = WordSpacing = 0;
    HorizontalScaling = 100;
    LineSpacing = 1;

    for (auto& script : DocScripts) {
        script.clear();
    }
    FieldWidgetCount = 0;
    AcroFormFields.clear();
    RadioWidgets.clear();
    AcroFormCalcOrder.clear();
    LastErrNumber = 0;
    ExtGStateCount = 0;
    ExtGStateList.clear();
    TilingName.clear();
    TilingDictionary.clear();
    PatternList.clear();

    MaxObject = 0;
    ObjectCount = 0;
    XObjectResources.clear();
    FontCount = 0;
    FontResources.clear();
    BookmarkCount = 0;
    PageCount = 0;
    ImageCount = 0;
    ImageResources.clear();
    TableStackDepth = 0;
    NamedDestCount = 0;
    LayerCount = 0;
    PageKids.clear();
    XrefLines.clear();
    importSourcesClear();
    ImportCount = 0;
    FormNames.clear();
    PatternNames.clear();

    // Entry 1 of the outline is its root and carries the document title.
    AddBookmark(DocTitle, 0);
}

int32_t Folian::ErrNumber() const
{
    return LastErrNumber;
}

std::string Folian::ErrSource() const
{
    return LastErrSource;
}

std::string Folian::ErrDescription() const
{
    return LastErrDescription;
}

void Folian::SetErrorInfo(const Error& error, std::string_view operation, std::string_view detail)
{
    LastErrNumber = error.number();
    LastErrSource = "Folian." + std::string(operation);
    LastErrDescription = error.what();
    if (!detail.empty()) {
        LastErrDescription += " - " + std::string(detail);
    }
}

} // namespace folian
