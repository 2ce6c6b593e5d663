// Text state and the measurement of text in the selected font.
#include "core/Folian.h"

#include <algorithm>
#include <limits>

namespace folian {

void Folian::requireScale(float factor)
{
    if (factor == 0) {
        throw Error(ErrorCode::DivisionByZero, "Division by zero");
    }
}

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
    return lengthIn(*font, Phrase);
}

float Folian::lengthIn(const FontRecord& font, std::string_view Phrase) const
{
    // Codes are unsigned bytes: the upper half of Windows-1252 must not index below the table.
    // Four sums, so that the additions of one do not wait for another's.
    const auto* bytes = reinterpret_cast<const unsigned char*>(Phrase.data());
    const std::size_t size = Phrase.size();
    int64_t sums[4] = {};
    std::size_t i = 0;
    for (; i + 4 <= size; i += 4) {
        sums[0] += font.Widths[bytes[i]];
        sums[1] += font.Widths[bytes[i + 1]];
        sums[2] += font.Widths[bytes[i + 2]];
        sums[3] += font.Widths[bytes[i + 3]];
    }
    for (; i < size; ++i) {
        sums[0] += font.Widths[bytes[i]];
    }
    // Blanks count only when a word spacing is set.
    int64_t blanks = 0;
    if (WordSpacing != 0) {
        blanks = static_cast<int64_t>(std::count(Phrase.begin(), Phrase.end(), ' '));
    }
    return lengthOf(sums[0] + sums[1] + sums[2] + sums[3], blanks, size);
}

float Folian::lengthOf(int64_t widths, int64_t blanks, std::size_t size) const
{
    const double n = static_cast<double>(size);
    const double width = (static_cast<double>(widths) * FontSize / 1000.0 + static_cast<double>(blanks) * WordSpacing +
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
