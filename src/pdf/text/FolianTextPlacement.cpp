// Placing single lines of text: DrawText, WriteText, WriteTextLn and the line writer they share.
#include "core/Folian.h"
#include "core/Formatting.h"

#include <cstdint>
#include <cstring>

namespace folian {

namespace {

bool isBlank(std::string_view text)
{
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// Puts a value back when the scope ends, also when a failure leaves it early.
template <typename T> class Restore {
public:
    explicit Restore(T& target) : m_target(target), m_value(target) {}
    ~Restore() { m_target = m_value; }
    Restore(const Restore&) = delete;
    Restore& operator=(const Restore&) = delete;

private:
    T& m_target;
    T m_value;
};

} // namespace

// How a line is measured for its alignment, in user units.
struct Folian::LineMeasure {
    double lineWidth = 0; // what the position moves by
    double measured = 0;  // what alignment places: the words alone when justified
    double space = 0;     // one blank, when justified
    int32_t gaps = 0;     // blanks between the words, when justified
};

// The word spacing (Tw) or horizontal scaling (Tz) that makes a line fill its width, set before
// its text and put back after it, and where the line goes.
struct Folian::LineFit {
    enum class Kind { None, WordSpacing, Scaling };
    Kind kind = Kind::None;
    float value = 0;
    double offset = 0;     // from x, the indentation included
    double lineWidth = 0;  // what the position moves by
    double drawnWidth = 0; // the length of the lines drawn with the text
};

void Folian::WriteTextLine(float x, float y, float width, std::string_view text, float indentation, int32_t Align,
                           bool newLine, const KnownWords* known)
{
    const double sf = ScaleFactor;
    double lineWidth = 0;
    double advance = 0;
    if (!isBlank(text)) {
        const FontRecord* font = currentFont();
        if (font == nullptr) {
            throw Error(ErrorCode::InvalidCall, "Invalid procedure call: no font is selected for the text");
        }
        Restore<float> scaling(HorizontalScaling);
        const float savedScaling = HorizontalScaling;
        LineMeasure measure = measureLine(*font, text, Align, known);
        if (indentation != 0) {
            measure.measured += indentation;
        }
        const LineFit fit = fitLine(measure, width, indentation, Align, savedScaling);
        lineWidth = fit.lineWidth;

        const double left = (x + fit.offset) * sf;
        const double height = TextHeight();
        const double bottom = PageHeight - y * sf + FontSize * static_cast<double>(font->Descent) / 1000.0;
        SetLastBounds(static_cast<float>(left), static_cast<float>(bottom),
                      static_cast<float>((x + fit.offset + measure.measured) * sf),
                      static_cast<float>(bottom + height * LineSpacing * sf));
        advance = height * sf * LineSpacing;

        const float baseline = toPoints(y);
        writeLineText(text, left, baseline, fit, measure.measured > width, savedScaling);
        if (FontStyle & (Emphasis::Underline | Emphasis::Overline | Emphasis::LineThrough)) {
            writeLineDecorations(left, baseline, fit.drawnWidth);
        }
    }

    if (newLine) {
        CurrentX = 0;
        CurrentY = static_cast<float>(y * sf + advance);
    } else {
        CurrentX = static_cast<float>((x + lineWidth) * sf);
        CurrentY = static_cast<float>(y * sf);
    }
}

Folian::LineMeasure Folian::measureLine(const FontRecord& font, std::string_view text, int32_t Align,
                                        const KnownWords* known)
{
    LineMeasure measure;
    if (!(Align & TextAlign::Justify)) {
        if (Align & (TextAlign::Shrink | TextAlign::Fit)) {
            HorizontalScaling = 100;
        }
        measure.measured = measure.lineWidth = TextLength(text);
        return measure;
    }
    requireScale(ScaleFactor);
    double words = 0;
    if (known != nullptr) {
        words = known->width;
        measure.gaps = known->gaps;
    } else {
        const char* start = text.data();
        const char* const end = start + text.size();
        for (const char* p = start;; ++p) {
            if (p == end || *p == ' ') {
                words += lengthIn(font, std::string_view(start, static_cast<std::size_t>(p - start)));
                if (p == end) {
                    break;
                }
                ++measure.gaps;
                start = p + 1;
            }
        }
    }
    measure.space = lengthIn(font, " ");
    measure.lineWidth = measure.gaps * measure.space + words;
    measure.measured = words;
    return measure;
}

Folian::LineFit Folian::fitLine(const LineMeasure& measure, float width, float indentation, int32_t Align,
                                float savedScaling) const
{
    LineFit fit;
    fit.lineWidth = measure.lineWidth;
    fit.drawnWidth = measure.lineWidth;
    const double measured = measure.measured;
    using namespace TextAlign;
    switch (Align & (Left | Right | Center | Justify | Shrink | Fit)) {
    case Right:
        fit.offset = width - measured;
        break;
    case Center:
        fit.offset = (width - measured) / 2;
        break;
    case Justify:
        if (measure.gaps >= 1) {
            // Tw replaces the word spacing and is scaled with the text, so both are taken out of
            // the extra space for the words to reach the width exactly.
            const double extra = (width - measured - measure.gaps * measure.space) / measure.gaps;
            const double scale = savedScaling != 0 ? savedScaling / 100.0 : 1.0;
            fit.kind = LineFit::Kind::WordSpacing;
            fit.value = static_cast<float>(extra * static_cast<double>(ScaleFactor) / scale + WordSpacing);
            fit.lineWidth = fit.drawnWidth = width - indentation;
        }
        break;
    case Shrink:
    case Fit:
        if (measured > 0 && (measured > width || (Align & Fit))) {
            const double scale = width * 100.0 / measured;
            fit.kind = LineFit::Kind::Scaling;
            fit.value = static_cast<float>(scale);
            fit.drawnWidth = measure.lineWidth * scale / 100.0;
        }
        break;
    default:
        break;
    }
    if (indentation != 0) {
        fit.offset += indentation;
    }
    return fit;
}

void Folian::writeLineText(std::string_view text, double left, float baseline, const LineFit& fit, bool widerThanBox,
                           float savedScaling)
{
    // Plain colours, the case of nearly every line, are set by their kept operator lines; the
    // fill colour is then the same as before, as restoreFill would leave it.
    const bool plain = !TilingUncolored && isPlainColor(TextColor) && isPlainColor(FillColor);
    const std::string savedFill = plain ? std::string() : FillColor;
    const std::string savedFill2 = plain ? std::string() : FillColor2;
    const std::string* fillLine = nullptr;
    if (plain) {
        const std::string& textLine = colorLine(TextColor, "rg");
        if (TextBuffer* out = contentTarget()) {
            out->append(textLine);
        }
        fillLine = &colorLine(FillColor, "rg");
        FillColor2.clear();
    } else {
        restoreFill(TextColor, TextColor2);
    }
    if (TextBuffer* out = contentTarget()) {
        // The line's operators go into the content in one piece.
        const std::string_view sizeText = m_numbers.fontSize.of(FontSize);
        char* p = out->extend(96 + 3 * FontResource.size() + 6 * kRealSize + 2 * text.size());
        p = writeText(p, "\rBT\r/");
        p = writeName(p, FontResource);
        *p++ = ' ';
        p = writeText(p, sizeText);
        p = writeText(p, " Tf ");
        p = writeText(p, sizeText);
        p = writeText(p, " TL\r1 0 0 -1 ");
        p = writeText(p, m_numbers.lineLeft.of(static_cast<float>(left)));
        *p++ = ' ';
        p = writeReal(p, baseline);
        p = writeText(p, " Tm\r");
        if (fit.kind != LineFit::Kind::None) {
            p = writeReal(p, fit.value);
            p = fit.kind == LineFit::Kind::WordSpacing ? writeText(p, " Tw ") : writeText(p, " Tz ");
        }
        *p++ = '(';
        p = writeEscaped(p, text);
        p = writeText(p, ") Tj");
        if (fit.kind == LineFit::Kind::WordSpacing) {
            *p++ = ' ';
            p = writeText(p, m_numbers.wordSpacing.of(WordSpacing));
            p = writeText(p, " Tw");
        } else if (fit.kind == LineFit::Kind::Scaling) {
            p = widerThanBox ? writeText(p, " ") : writeText(p, "  ");
            p = writeReal(p, savedScaling);
            p = writeText(p, " Tz");
        }
        p = writeText(p, "\rET");
        out->commit(p);
        if (fillLine != nullptr) {
            out->append(*fillLine);
        }
    }
    if (!plain) {
        restoreFill(savedFill, savedFill2);
    }
}

void Folian::writeLineDecorations(double left, float baseline, double length)
{
    const std::string savedLine = LineColor + ";" + LineColor2;
    const std::string lengthText = FormatUnits(static_cast<float>(length));
    OutContent("q");
    SetColorLine(TextColor + ";" + TextColor2);
    OutContent(FormatReal(static_cast<float>(FontSize / 16.0)) + " w ");
    OutContent("1 0 0 1 " + FormatReal(static_cast<float>(left)) + " " + FormatReal(baseline) + " cm");
    // Underline below the baseline, overline above the letters, line through their middle.
    struct Decoration {
        int32_t bit;
        double position; // in font sizes, downwards
    };
    static constexpr Decoration decorations[] = {
        {Emphasis::Underline, 1.0 / 8}, {Emphasis::Overline, -0.8}, {Emphasis::LineThrough, -0.3}};
    for (const Decoration& decoration : decorations) {
        if (FontStyle & decoration.bit) {
            const std::string d = FormatReal(static_cast<float>(FontSize * decoration.position));
            OutContent("0 " + d + " m " + lengthText + " " + d + " l S");
        }
    }
    SetColorLine(savedLine);
    OutContent("Q");
}

void Folian::DrawText(float x, float Y, std::string_view Text, int32_t Align)
{
    WriteTextLine(x, Y, 0, Text, 0, Align & (TextAlign::Left | TextAlign::Right | TextAlign::Center), false);
}

void Folian::WriteText(std::string_view Text, int32_t TextStyle, float PercenteSize)
{
    Restore<float> y(CurrentY);
    Restore<float> size(FontSize);
    const double sf = ScaleFactor;
    double baseline = CurrentY / sf;
    if (TextStyle >= 1 && TextStyle <= 3) {
        const double h = TextHeight();
        const double oldSize = FontSize;
        FontSize = static_cast<float>(FontSize * static_cast<double>(PercenteSize) / 100.0);
        const FontRecord* font = currentFont();
        const double descent = font != nullptr ? font->Descent / 1000.0 : 0.0;
        if (TextStyle == 1) {
            baseline = (CurrentY - FontSize * descent) / sf - h / 2;
        } else if (TextStyle == 2) {
            baseline = (CurrentY - (oldSize + FontSize) * descent) / sf;
        }
    }
    WriteTextLine(static_cast<float>(CurrentX / sf), static_cast<float>(baseline), 0, Text, 0, TextAlign::Left, false);
    // The line moved CurrentX to the text's end; the baseline and size are put back on return.
}

void Folian::WriteTextLn(std::string_view Text)
{
    WriteTextLine(static_cast<float>(CurrentX / static_cast<double>(ScaleFactor)),
                  static_cast<float>(CurrentY / static_cast<double>(ScaleFactor)), 0, Text, 0, TextAlign::Left, true);
}

} // namespace folian
