// Text boxes: a text flowed into a rectangle, paragraph by paragraph and line by line.
#include "core/Folian.h"

namespace folian {

namespace {

constexpr char kContinuation = '\0';
constexpr std::string_view kNewLine = "\r\n";

struct BoxLine {
    std::string_view text; // a piece of its paragraph
    double wordsWidth = 0; // the sum of its words' widths, in the order a line adds them
    bool first = false; // first line of a paragraph: written with the indentation
    bool last = false;  // last line of a paragraph: never justified
};

// The words of a paragraph as pieces of it, split at every blank (two blanks in a row give an
// empty word), so that the words from one to another, blanks included, are again one piece.
void splitWords(std::string_view paragraph, std::vector<std::string_view>& words)
{
    words.clear();
    const char* start = paragraph.data();
    const char* const end = start + paragraph.size();
    for (const char* p = start;; ++p) {
        if (p == end || *p == ' ') {
            words.emplace_back(start, static_cast<std::size_t>(p - start));
            if (p == end) {
                return;
            }
            start = p + 1;
        }
    }
}

// The lines of a box, and the text that did not fit.
struct BoxText {
    std::vector<BoxLine> lines;
    std::string rest;
};

// The box's size and the measures its lines are laid out by: width and indentation in user
// units, line advance in points.
struct BoxFrame {
    float width = 0;
    float height = 0; // 0 or below: no limit
    double scale = 1; // points per user unit
    float indentation = 0;
    double blank = 0;
    double advance = 0;
    bool scaled = false; // every paragraph one line, scaled to the width
};

// Lays paragraphs out into lines at blanks until they end or the box is full. `Measure` gives
// the width of a word in user units.
template <typename Measure>
class BoxLayout {
public:
    BoxLayout(const BoxFrame& frame, Measure measure) : m_frame(frame), m_measure(measure) {}

    // `continued`: the first paragraph goes on from an earlier box, without its indentation.
    BoxText run(const std::vector<std::string>& paragraphs, bool continued)
    {
        for (std::size_t p = 0; p < paragraphs.size(); ++p) {
            if (!layOutParagraph(paragraphs, p, continued && p == 0)) {
                break;
            }
        }
        return std::move(m_box);
    }

private:
    // False when the box filled up, with the rest taken.
    bool layOutParagraph(const std::vector<std::string>& paragraphs, std::size_t p, bool continues)
    {
        splitWords(paragraphs[p], m_words);
        // Words are measured as the lines reach them: the part of a paragraph that does not fit
        // is never measured.
        m_widths.clear();
        std::size_t i = 0;
        while (i < m_words.size()) {
            const std::size_t next = lineEnd(i);
            addLine(i, next, i == 0 && !continues);
            i = next;
            if (full()) {
                takeRest(paragraphs, p, i);
                return false;
            }
        }
        return true;
    }

    // The word after the last one that goes on the line beginning with word i; the first is
    // always taken, however wide.
    std::size_t lineEnd(std::size_t i)
    {
        // The indentation counts also for a continued paragraph, which is written without it.
        double sofar = width(i) + (i == 0 ? m_frame.indentation : 0);
        int32_t n = 0;
        std::size_t next = i + 1;
        for (; next < m_words.size(); ++next) {
            const bool fits = (n + 1) * m_frame.blank + sofar + width(next) <= m_frame.width;
            if (!fits && !m_frame.scaled) {
                break;
            }
            sofar += width(next);
            ++n;
        }
        return next;
    }

    // The words from `from` to `to` - 1 with the blanks between them.
    void addLine(std::size_t from, std::size_t to, bool first)
    {
        BoxLine line;
        line.first = first;
        for (std::size_t k = from; k < to; ++k) {
            line.wordsWidth += width(k);
        }
        const std::string_view last = m_words[to - 1];
        line.text = std::string_view(m_words[from].data(),
                                     static_cast<std::size_t>(last.data() + last.size() - m_words[from].data()));
        line.last = to >= m_words.size();
        m_box.lines.push_back(line);
    }

    bool full() const
    {
        return m_frame.height > 0 &&
               static_cast<double>(m_box.lines.size() + 1) * m_frame.advance > m_frame.height * m_frame.scale;
    }

    // The words of paragraph p from word i on, marked as going on, and the paragraphs after it.
    void takeRest(const std::vector<std::string>& paragraphs, std::size_t p, std::size_t i)
    {
        std::string& rest = m_box.rest;
        if (i < m_words.size()) {
            rest += kContinuation;
            for (std::size_t k = i; k < m_words.size(); ++k) {
                rest += m_words[k];
                if (k + 1 < m_words.size()) {
                    rest += ' ';
                }
            }
        }
        for (std::size_t q = p + 1; q < paragraphs.size(); ++q) {
            if (!rest.empty()) {
                rest += kNewLine;
            }
            rest += paragraphs[q];
        }
    }

    double width(std::size_t k)
    {
        while (m_widths.size() <= k) {
            m_widths.push_back(m_measure(m_words[m_widths.size()]));
        }
        return m_widths[k];
    }

    const BoxFrame& m_frame;
    Measure m_measure;
    BoxText m_box;
    std::vector<std::string_view> m_words;
    std::vector<double> m_widths;
};

// The first line's baseline in points: the block of `count` lines at the top of the box, at its
// bottom or around its middle.
double firstBaseline(int32_t align, float y, float height, double scale, double advance, double count)
{
    if (align & TextAlign::Middle) {
        return (y + height / 2.0) * scale + advance * (2 - count) / 2;
    }
    if (align & TextAlign::Bottom) {
        return (y + height) * scale - (count - 1) * advance;
    }
    return y * scale + advance;
}

} // namespace

// The text as its paragraphs are split: double blanks of a justified text made single, and an
// empty paragraph (also one after a final CR LF) kept as a single blank, so that it takes a line.
std::string Folian::boxText(std::string text, int32_t Align)
{
    if (Align & TextAlign::Justify) {
        while (text.find("  ") != std::string::npos) {
            text = ReplaceText(text, "  ", " ");
        }
    }
    while (text.find("\r\n\r\n") != std::string::npos) {
        text = ReplaceText(text, "\r\n\r\n", "\r\n \r\n");
    }
    if (text.ends_with(kNewLine)) {
        text += ' ';
    }
    return text;
}

std::string Folian::DrawTextBox(float x, float Y, float Width, float Height, std::string_view Text,
                                float Indentation, int32_t Align, int32_t Options)
{
    const bool continued = !Text.empty() && Text[0] == kContinuation;
    const double sf = ScaleFactor;
    BoxFrame frame;
    frame.width = Width;
    frame.height = Height;
    frame.scale = sf;
    frame.indentation = Indentation;
    frame.advance = static_cast<double>(TextHeight()) * sf * LineSpacing;
    frame.blank = TextLength(" ");
    frame.scaled = (Align & (TextAlign::Shrink | TextAlign::Fit)) != 0;
    const std::string text = boxText(std::string(continued ? Text.substr(1) : Text), Align);
    const std::vector<std::string> paragraphs = SplitText(text, kNewLine);

    if (Options != PathPaint::NoStroke) {
        OutContent(FormatUnits(x) + " " + FormatUnits(Y) + " " + FormatUnits(Width) + " " + FormatUnits(Height) +
                   " re");
        PaintPath(Options);
        // Codes that neither fill nor stroke would leave the frame's path open under the text.
        if ((Options & (PathPaint::NoStroke | PathPaint::Fill)) == PathPaint::NoStroke) {
            OutContent("n");
        }
    }

    // TextHeight has refused a scale factor of 0 when there is a font; with none every word
    // measures 0.
    const FontRecord* font = currentFont();
    const auto measure = [this, font](std::string_view word) {
        return font != nullptr ? lengthIn(*font, word) : 0.0f;
    };
    const BoxText box = BoxLayout<decltype(measure)>(frame, measure).run(paragraphs, continued);

    const double a = frame.advance;
    const double count = static_cast<double>(box.lines.size());
    // Each line's descent ends at the bottom of its line advance.
    const double first = firstBaseline(Align, Y, Height, sf, a, count) +
                         FontSize * (font != nullptr ? font->Descent : 0) / 1000.0;

    for (std::size_t k = 0; k < box.lines.size(); ++k) {
        const BoxLine& line = box.lines[k];
        // The last line of a justified paragraph keeps its natural spacing.
        const int32_t lineAlign = (Align & TextAlign::Justify) && line.last ? TextAlign::Left : Align;
        WriteTextLine(x, static_cast<float>((static_cast<double>(k) * a + first) / sf), Width, line.text,
                      line.first ? Indentation : 0, lineAlign, false, font != nullptr ? line.wordsWidth : -1);
    }

    const double top = PageHeight - Y * sf;
    SetLastBounds(static_cast<float>(x * sf), static_cast<float>(top), static_cast<float>((x + Width) * sf),
                  static_cast<float>(top - count * a));
    SetXY(x, static_cast<float>(Y + count * a / sf));
    return box.rest;
}

} // namespace folian
