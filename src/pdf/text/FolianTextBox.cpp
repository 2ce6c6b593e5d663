// Text boxes: a text flowed into a rectangle, paragraph by paragraph and line by line.
#include "core/Folian.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace folian {

namespace {

constexpr char kContinuation = '\0';
constexpr std::string_view kNewLine = "\r\n";

struct BoxLine {
    std::string_view text; // a piece of its paragraph
    KnownWords words;
    bool first = false; // first line of a paragraph: written with the indentation
    bool last = false;  // last line of a paragraph: never justified
};

// A word of a paragraph.
struct Word {
    std::string_view text;
    int64_t widths = 0; // the sum of its characters' widths, thousandths of the font size
    double length = 0;  // in user units, once the layout has made it
};

// The blanks among the eight bytes at `p`, as the high bit of each blank's byte, the first byte
// lowest: x has a zero byte for each blank, and adding 0x7F to the low seven bits of a byte carries
// into its high bit unless they are all zero.
uint64_t blankMarks(const char* p)
{
    constexpr uint64_t blanks = 0x2020202020202020ull;
    constexpr uint64_t low7 = 0x7F7F7F7F7F7F7F7Full;
    uint64_t word = 0;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, p, sizeof word);
    } else {
        for (int k = 0; k < 8; ++k) {
            word |= static_cast<uint64_t>(static_cast<unsigned char>(p[k])) << (8 * k);
        }
    }
    const uint64_t x = word ^ blanks;
    return ~(((x & low7) + low7) | x) & ~low7;
}

// The words of a paragraph as pieces of it, split at every blank (two blanks in a row give an
// empty word), so that the words from one to another, blanks included, are again one piece; each
// with the sum of its characters' widths. The blanks are found eight bytes at a time, and the
// widths of those eight added up beforehand, so that a word's sum is a difference.
void splitWords(std::string_view paragraph, const std::array<int16_t, 256>& widths, std::vector<Word>& words)
{
    const std::size_t size = paragraph.size();
    const auto* bytes = reinterpret_cast<const unsigned char*>(paragraph.data());
    words.clear();
    // Room for words of three letters on average, more than prose needs; more is made if needed.
    words.reserve(size / 4 + 1);
    std::size_t start = 0;
    int64_t startSum = 0; // the widths of the characters before the word being read
    int64_t sum = 0;      // the widths of the characters before byte i
    const auto endWord = [&](std::size_t at, int64_t sumAt) {
        words.push_back({std::string_view(paragraph.data() + start, at - start), sumAt - startSum, 0});
        start = at + 1;
        startSum = sumAt + widths[' '];
    };
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::array<int64_t, 8> before; // each set below
#pragma GCC unroll 8
        for (std::size_t j = 0; j < 8; ++j) {
            before[j] = sum;
            sum += widths[bytes[i + j]];
        }
        for (uint64_t marks = blankMarks(paragraph.data() + i); marks != 0; marks &= marks - 1) {
            const auto j = static_cast<std::size_t>(std::countr_zero(marks) >> 3);
            endWord(i + j, before[j]);
        }
    }
    for (; i < size; ++i) {
        if (bytes[i] == ' ') {
            endWord(i, sum);
        }
        sum += widths[bytes[i]];
    }
    words.push_back({std::string_view(paragraph.data() + start, size - start), sum - startSum, 0});
}

// Whether two blanks follow each other somewhere in the text, looked for eight bytes at a time.
bool hasDoubleBlank(std::string_view text)
{
    uint64_t carried = 0; // the mark of the last byte before these eight, when a blank
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        const uint64_t blank = blankMarks(text.data() + i);
        // The shift brings each blank's mark onto the byte after it.
        if (((blank << 8) | carried) & blank) {
            return true;
        }
        carried = blank >> 56;
    }
    bool previous = carried != 0;
    for (; i < text.size(); ++i) {
        const bool blank = text[i] == ' ';
        if (blank && previous) {
            return true;
        }
        previous = blank;
    }
    return false;
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

// Lays paragraphs out into lines at blanks until they end or the box is full. The words'
// widths come from `widths` (the font's, or none), and `Measure` makes the length of a word in
// user units of their sum and the word's size.
template <typename Measure> class BoxLayout {
public:
    BoxLayout(const BoxFrame& frame, const std::array<int16_t, 256>& widths, Measure measure)
        : m_frame(frame), m_fontWidths(widths), m_measure(measure)
    {
    }

    // `continued`: the first paragraph goes on from an earlier box, without its indentation.
    BoxText run(const std::vector<std::string_view>& paragraphs, bool continued)
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
    bool layOutParagraph(const std::vector<std::string_view>& paragraphs, std::size_t p, bool continues)
    {
        splitWords(paragraphs[p], m_fontWidths, m_words);
        for (Word& word : m_words) {
            word.length = lengthOf(word);
        }
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
    std::size_t lineEnd(std::size_t i) const
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
            line.words.width += width(k);
        }
        line.words.gaps = static_cast<int32_t>(to - from - 1);
        const char* const begin = m_words[from].text.data();
        const std::string_view last = m_words[to - 1].text;
        line.text = std::string_view(begin, static_cast<std::size_t>(last.data() + last.size() - begin));
        line.last = to >= m_words.size();
        m_box.lines.push_back(line);
    }

    bool full() const
    {
        return m_frame.height > 0 &&
               static_cast<double>(m_box.lines.size() + 1) * m_frame.advance > m_frame.height * m_frame.scale;
    }

    // The words of paragraph p from word i on, marked as going on, and the paragraphs after it.
    void takeRest(const std::vector<std::string_view>& paragraphs, std::size_t p, std::size_t i)
    {
        std::string& rest = m_box.rest;
        if (i < m_words.size()) {
            rest += kContinuation;
            for (std::size_t k = i; k < m_words.size(); ++k) {
                rest += m_words[k].text;
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

    double width(std::size_t k) const { return m_words[k].length; }

    // A word's length, made once for each sum of widths and size: the same words come again and
    // again in a text, and each length takes three divisions.
    double lengthOf(const Word& word)
    {
        const std::size_t size = word.text.size();
        Known& known = m_known[(static_cast<uint64_t>(word.widths) * 0x9E3779B97F4A7C15ull + size) >> 55];
        if (known.widths != word.widths || known.size != size) {
            known = {word.widths, size, m_measure(word.widths, size)};
        }
        return known.length;
    }

    struct Known {
        int64_t widths = 0;
        std::size_t size = SIZE_MAX; // none yet
        double length = 0;
    };

    const BoxFrame& m_frame;
    const std::array<int16_t, 256>& m_fontWidths;
    Measure m_measure;
    BoxText m_box;
    std::vector<Word> m_words;
    std::array<Known, 512> m_known{};
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

std::string_view Folian::boxText(std::string_view text, int32_t Align, std::string& normalised)
{
    const bool doubleBlanks = (Align & TextAlign::Justify) && hasDoubleBlank(text);
    if (!doubleBlanks && text.find("\r\n\r\n") == std::string_view::npos && !text.ends_with(kNewLine)) {
        return text;
    }
    normalised.assign(text);
    if (doubleBlanks) {
        while (hasDoubleBlank(normalised)) {
            normalised = ReplaceText(normalised, "  ", " ");
        }
    }
    while (normalised.find("\r\n\r\n") != std::string::npos) {
        normalised = ReplaceText(normalised, "\r\n\r\n", "\r\n \r\n");
    }
    if (normalised.ends_with(kNewLine)) {
        normalised += ' ';
    }
    return normalised;
}

std::string Folian::DrawTextBox(float x, float Y, float Width, float Height, std::string_view Text, float Indentation,
                                int32_t Align, int32_t Options)
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
    std::string normalised;
    const std::string_view text = boxText(continued ? Text.substr(1) : Text, Align, normalised);
    const std::vector<std::string_view> paragraphs = SplitText(text, kNewLine);

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
    static constexpr std::array<int16_t, 256> kNoWidths{};
    const auto measure = [this, font](int64_t widths, std::size_t size) {
        return font != nullptr ? lengthOf(widths, 0, size) : 0.0f;
    };
    const BoxText box = BoxLayout<decltype(measure)>(frame, font != nullptr ? font->Widths : kNoWidths, measure)
                            .run(paragraphs, continued);

    const double a = frame.advance;
    const double count = static_cast<double>(box.lines.size());
    // Each line's descent ends at the bottom of its line advance.
    const double first =
        firstBaseline(Align, Y, Height, sf, a, count) + FontSize * (font != nullptr ? font->Descent : 0) / 1000.0;

    for (std::size_t k = 0; k < box.lines.size(); ++k) {
        const BoxLine& line = box.lines[k];
        // The last line of a justified paragraph keeps its natural spacing.
        const int32_t lineAlign = (Align & TextAlign::Justify) && line.last ? TextAlign::Left : Align;
        WriteTextLine(x, static_cast<float>((static_cast<double>(k) * a + first) / sf), Width, line.text,
                      line.first ? Indentation : 0, lineAlign, false, font != nullptr ? &line.words : nullptr);
    }

    const double top = PageHeight - Y * sf;
    SetLastBounds(static_cast<float>(x * sf), static_cast<float>(top), static_cast<float>((x + Width) * sf),
                  static_cast<float>(top - count * a));
    SetXY(x, static_cast<float>(Y + count * a / sf));
    return box.rest;
}

} // namespace folian
