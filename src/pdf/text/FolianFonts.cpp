// The font table: selecting fonts by family, size and style, and the standard fonts' metrics.
#include "core/AsciiCase.h"
#include "core/Folian.h"
#include "text/StandardFontWidths.h"

namespace folian {

namespace {

const char* styleEnding(int32_t style)
{
    static constexpr const char* endings[] = {"", ",Bold", ",Italic", ",BoldItalic"};
    return endings[style & (Emphasis::Bold | Emphasis::Italic)];
}

} // namespace

const FontRecord* Folian::currentFont() const
{
    // An index left from before a reset names no font of this document.
    if (FontIndex < 1 || FontIndex > FontCount) {
        return nullptr;
    }
    return &FontTable[FontIndex];
}

int32_t Folian::findFont(const std::string& key, const std::string& trueTypeKey) const
{
    for (int32_t i = 1; i <= FontCount; ++i) {
        const FontRecord& font = FontTable[i];
        if (font.FontKey == key || (font.IsTrueType && font.FontKey == trueTypeKey)) {
            return i;
        }
    }
    return 0;
}

void Folian::SetFont(std::string_view FontFamily, float Size, int32_t Style, int32_t Encoding)
{
    FontName = std::string(FontFamily);
    FontStyle = Style;
    if (Size != 0) {
        FontSize = Size;
    }
    if (FontSize == 0) {
        FontSize = 10;
    }

    const std::string name = ReplaceText(FontFamily, " ", "");
    const std::string upperName = asciiUpper(name);
    std::string family;
    bool styled = true;
    if (upperName == "TIMES" || upperName == "TIMESNEWROMAN") {
        family = "TimesNewRoman";
    } else if (upperName == "COURIER" || upperName == "COURIERNEW") {
        family = "CourierNew";
    } else if (upperName == "HELVETICA" || upperName == "ARIAL" || upperName.empty()) {
        // An empty name would make an empty resource name; it is measured as Arial anyway.
        family = "Arial";
    } else {
        styled = false;
        family = upperName == "SYMBOL" ? "Symbol" : upperName == "ZAPFDINGBATS" ? "ZapfDingbats" : name;
    }
    std::string resource = family;
    if (styled) {
        resource += styleEnding(Style);
    }
    if (Encoding == 1) {
        resource = "MAC" + resource;
    }

    // A TrueType font is found by its alias whatever the encoding asked for: its encoding is
    // the one it was added with.
    int32_t index = findFont(asciiUpper(resource), upperName);
    if (index == 0) {
        if (!m_out.isOpen()) {
            throw Error(ErrorCode::BadFileNameOrNumber, "No document is open for the font " + resource);
        }
        FontCount += 1;
        FontTable.make(FontCount, MemoryUsage);
        if (family == "TimesNewRoman") {
            LoadTimesNewRomanMetrics(Style);
        } else if (family == "CourierNew") {
            LoadCourierNewMetrics(Style);
        } else if (family == "Symbol") {
            LoadSymbolMetrics();
        } else if (family == "ZapfDingbats") {
            LoadZapfDingbatsMetrics();
        } else {
            LoadArialMetrics(Style);
        }
        FontRecord& font = FontTable[FontCount];
        font.Encoding = Encoding;
        // Keyed by the resource name, which for the standard families is the base name (with
        // "MAC" in front for Mac Roman); a name that is no family keeps its own key, so that it
        // is found again and never takes the key of the Arial entry it is measured like.
        font.FontKey = asciiUpper(resource);
        font.ResourceName = resource;
        std::vector<uint8_t> noFile;
        WriteFontObjects(resource, noFile, 0, {});
        index = FontCount;
    }
    FontIndex = index;
    FontResource = FontTable[index].ResourceName;
}

void Folian::SetFontSize(float Points)
{
    FontSize = Points;
}

void Folian::LoadArialMetrics(int32_t Style)
{
    FontRecord& font = FontTable[FontCount];
    font.IsTrueType = false;
    font.BaseFontName = std::string("Arial") + styleEnding(Style);
    font.Height = 1221;
    font.Descent = -221;
    font.Widths = kArialWidths[static_cast<std::size_t>(Style & (Emphasis::Bold | Emphasis::Italic))];
    font.FontKey = asciiUpper(font.BaseFontName);
}

void Folian::LoadCourierNewMetrics(int32_t Style)
{
    FontRecord& font = FontTable[FontCount];
    font.IsTrueType = false;
    font.BaseFontName = std::string("CourierNew") + styleEnding(Style);
    font.Height = 1133;
    font.Descent = -300;
    font.Widths = kCourierNewWidths;
    font.FontKey = asciiUpper(font.BaseFontName);
}

void Folian::LoadTimesNewRomanMetrics(int32_t Style)
{
    FontRecord& font = FontTable[FontCount];
    font.IsTrueType = false;
    font.BaseFontName = std::string("TimesNewRoman") + styleEnding(Style);
    font.Height = 1107;
    font.Descent = -216;
    font.Widths = kTimesNewRomanWidths[static_cast<std::size_t>(Style & (Emphasis::Bold | Emphasis::Italic))];
    font.FontKey = asciiUpper(font.BaseFontName);
}

void Folian::LoadSymbolMetrics()
{
    FontRecord& font = FontTable[FontCount];
    font.IsTrueType = false;
    font.BaseFontName = "Symbol";
    font.Height = 1225;
    font.Descent = -220;
    font.Widths = kSymbolWidths;
    font.FontKey = "SYMBOL";
}

void Folian::LoadZapfDingbatsMetrics()
{
    FontRecord& font = FontTable[FontCount];
    font.IsTrueType = false;
    font.BaseFontName = "ZapfDingbats";
    font.Height = 1221;
    font.Descent = -221;
    font.Widths = kZapfDingbatsWidths;
    font.FontKey = "ZAPFDINGBATS";
}

} // namespace folian
