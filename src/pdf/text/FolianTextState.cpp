// Text state and the measurement of text in the selected font.
#include "core/Folian.h"

#include <limits>

namespace folian {

namespace {
void requireScale(float factor)
{
    if (factor == 0) {
        throw Error(ErrorCode::DivisionByZero, "Division by zero");
    }
}
} // namespace

void Folian::SetCharSpacing(float w)
{
    CharSpacing = w;
    OutContent(FormatReal(w) + " Tc");
}

void Folian::SetWordSpacing(float w)
{
    WordSpacing = w;
    OutContent(FormatReal(w) + " Tw");
}

void Folian::SetTextHorizontalScaling(float Percent)
{
    HorizontalScaling = Percent;
    OutContent(FormatReal(Percent) + " Tz");
}

void Folian::SetTextMode(int32_t Mode)
{
    if (Mode < std::numeric_limits<int16_t>::min() || Mode > std::numeric_limits<int16_t>::max()) {
        throw Error(ErrorCode::Overflow, "Overflow: text mode " + std::to_string(Mode));
    }
    OutContent(std::to_string(Mode) + " Tr");
}

void Folian::SetTextLineSpacing(float Value)
{
    if (Value >= 0) {
        LineSpacing = Value;
    }
}

float Folian::TextLength(std::string_view Phrase) const
{
    const FontRecord* font = currentFont();
    if (font == nullptr) {
        return 0;
    }
    requireScale(ScaleFactor);
    // Codes are unsigned bytes: the upper half of Windows-1252 must not index below the table.
    int64_t sum = 0;
    int64_t blanks = 0;
    for (const char c : Phrase) {
        const auto code = static_cast<unsigned char>(c);
        sum += font->Widths[code];
        blanks += code == ' ';
    }
    const double n = static_cast<double>(Phrase.size());
    const double width = (static_cast<double>(sum) * FontSize / 1000.0 + static_cast<double>(blanks) * WordSpacing +
                          n * CharSpacing) *
                         HorizontalScaling / 100.0 / ScaleFactor;
    return static_cast<float>(width);
}

float Folian::TextHeight() const
{
    const FontRecord* font = currentFont();
    if (font == nullptr) {
        return 0;
    }
    requireScale(ScaleFactor);
    return static_cast<float>(static_cast<double>(font->Height) * FontSize / 1000.0 / ScaleFactor);
}

} // namespace folian
