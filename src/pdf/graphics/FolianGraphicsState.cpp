// Colours, line width and axis rotation of the current content.
#include "core/Folian.h"
#include "core/Formatting.h"

#include <cmath>
#include <numbers>

namespace folian {

namespace {

void writeColorOperator(TextBuffer* out, uint32_t rgb, const char* rgbOperator)
{
    if (out != nullptr) {
        out->append('\r');
        out->appendColorRGB(rgb);
        out->append(' ');
        out->append(rgbOperator);
    }
}

} // namespace

void Folian::setColor(std::string_view color, std::string& target, std::string& companion, const char* rgbOperator,
                      const char* spaceOperator, const char* patternOperator)
{
    if (color.empty() || TilingUncolored) {
        return;
    }
    std::string normalised(color);
    std::string second;
    ParseColor(normalised, second);
    if (normalised.empty()) {
        return;
    }
    if (normalised[0] == '#') {
        // Validate before anything changes, so a bad colour leaves the state as it was.
        const uint32_t rgb = parseColorRGB(normalised);
        target = normalised;
        companion = second;
        writeColorOperator(contentTarget(), rgb, rgbOperator);
        return;
    }
    // A name that is no colour is the name of a pattern, optionally painted in the second colour.
    if (!second.empty() && second[0] == '#') {
        const std::string operands = FormatColorRGB(second);
        target = normalised;
        companion = second;
        OutContent(std::string("/xxCSxx ") + spaceOperator + " " + operands + " /" + FormatName(normalised) + " " +
                   patternOperator);
        return;
    }
    target = normalised;
    companion = second;
    OutContent(std::string("/Pattern ") + spaceOperator + " /" + FormatName(normalised) + " " + patternOperator);
}

void Folian::restoreColor(const std::string& color, const std::string& companion, std::string& target,
                          std::string& targetCompanion, const char* rgbOperator, const char* spaceOperator,
                          const char* patternOperator)
{
    if (TilingUncolored) {
        return;
    }
    // A plain colour, the case of nearly every line of text, is set without being read again.
    if (isPlainColor(color)) {
        const std::string& line = colorLine(color, rgbOperator);
        if (target != color) {
            target = color;
        }
        targetCompanion.clear();
        if (TextBuffer* out = contentTarget()) {
            out->append(line);
        }
        return;
    }
    setColor(color + ";" + companion, target, targetCompanion, rgbOperator, spaceOperator, patternOperator);
}

const std::string& Folian::colorLine(const std::string& color, const char* rgbOperator)
{
    for (const ColorLine& known : m_colorLines) {
        if (known.rgbOperator == rgbOperator && known.color == color) {
            return known.line;
        }
    }
    const uint32_t rgb = parseColorRGB(color);
    ColorLine& slot = m_colorLines[m_nextColorLine];
    m_nextColorLine = (m_nextColorLine + 1) % m_colorLines.size();
    slot.color = color;
    slot.rgbOperator = rgbOperator;
    slot.line = "\r";
    appendColorRGB(slot.line, rgb);
    slot.line += ' ';
    slot.line += rgbOperator;
    return slot.line;
}

void Folian::restoreFill(const std::string& color, const std::string& companion)
{
    restoreColor(color, companion, FillColor, FillColor2, "rg", "cs", "scn");
}

void Folian::restoreLine(const std::string& color, const std::string& companion)
{
    restoreColor(color, companion, LineColor, LineColor2, "RG", "CS", "SCN");
}

void Folian::SetColorFill(std::string_view Color)
{
    setColor(Color, FillColor, FillColor2, "rg", "cs", "scn");
}

void Folian::SetColorLine(std::string_view Color)
{
    setColor(Color, LineColor, LineColor2, "RG", "CS", "SCN");
}

void Folian::SetColorText(std::string_view Color)
{
    if (Color.empty() || TilingUncolored) {
        return;
    }
    std::string normalised(Color);
    std::string second;
    ParseColor(normalised, second);
    TextColor = normalised;
    TextColor2 = second;
}

void Folian::SetLineWidth(float Width)
{
    LineWidth = static_cast<float>(static_cast<double>(Width) * ScaleFactor);
    if (TextBuffer* out = contentTarget()) {
        out->append('\r');
        out->appendReal(LineWidth);
        out->append(" w");
    }
}

void Folian::AxisRotation(float Angle)
{
    const double whole = std::nearbyint(static_cast<double>(Angle));
    if (std::fmod(whole, 360.0) == 0) {
        return;
    }
    // Page content runs with y downwards, so the matrix is mirrored to turn counter-clockwise
    // as the page is seen.
    const double radians = static_cast<double>(Angle) * std::numbers::pi / 180.0;
    const float c = static_cast<float>(std::cos(radians));
    const float s = static_cast<float>(std::sin(radians));
    OutContent(FormatReal(c) + " " + FormatReal(-s) + " " + FormatReal(s) + " " + FormatReal(c) + " 0 0 cm");
}

} // namespace folian
