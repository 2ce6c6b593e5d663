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

} // namespace

std::string Folian::DrawTextBox(float x, float Y, float Width, float Height, std::string_view Text,
                                float Indentation, int32_t Align, int32_t Options)
{
    std::string text(Text);
    bool continued = false;
    if (!text.empty() && text[0] == kContinuation) {
        text.erase(0, 1);
        continued = true;
    }
    const double sf = ScaleFactor;
    const double a = static_cast<double>(TextHeight()) * sf * LineSpacing;
    const double s = TextLength(" ");

    if (Align & 64) {
        while (text.find("  ") != std::string::npos) {
            text = ReplaceText(text, "  ", " ");
        }
    }
    // An empty paragraph keeps its line as a single blank.
    while (text.find("\r\n\r\n") != std::string::npos) {
        text = ReplaceText(text, "\r\n\r\n", "\r\n \r\n");
    }
    if (text.ends_with(kNewLine)) {
        text += ' ';
    }
    const std::vector<std::string> paragraphs = SplitText(text, kNewLine);

    if (Options != 1) {
        OutContent(FormatUnits(x) + " " + FormatUnits(Y) + " " + FormatUnits(Width) + " " + FormatUnits(Height) +
                   " re");
        PaintPath(Options);
        // Codes that neither fill nor stroke would leave the frame's path open under the text.
        if ((Options & 5) == 1) {
            OutContent("n");
        }
    }

    const bool scaled = (Align & (128 | 256)) != 0;
    std::vector<BoxLine> lines;
    std::string rest;
    bool full = false;
    std::vector<std::string_view> words;
    std::vector<double> w;
    // TextHeight has refused a scale factor of 0 when there is a font; with none every word
    // measures 0.
    const FontRecord* measuring = currentFont();
    for (std::size_t p = 0; p < paragraphs.size() && !full; ++p) {
        splitWords(paragraphs[p], words);
        // Words are measured as the lines reach them: the part of a paragraph that does not fit
        // is never measured.
        w.clear();
        const auto width = [&](std::size_t k) {
            while (w.size() <= k) {
                w.push_back(measuring != nullptr ? lengthIn(*measuring, words[w.size()]) : 0.0f);
            }
            return w[k];
        };
        std::size_t i = 0;
        while (i < words.size()) {
            BoxLine line;
            line.first = i == 0 && !(p == 0 && continued);
            // The indentation counts also for a continued paragraph, which is written without it.
            double sofar = width(i) + (i == 0 ? Indentation : 0);
            int32_t n = 0;
            std::size_t next = i + 1;
            for (; next < words.size(); ++next) {
                const bool fits = (n + 1) * s + sofar + width(next) <= Width;
                if (!fits && !scaled) {
                    break;
                }
                sofar += width(next);
                ++n;
            }
            for (std::size_t k = i; k < next; ++k) {
                line.wordsWidth += width(k);
            }
            // The words from i to next - 1 with the blanks between them.
            const std::string_view last = words[next - 1];
            line.text = std::string_view(words[i].data(),
                                         static_cast<std::size_t>(last.data() + last.size() - words[i].data()));
            line.last = next >= words.size();
            lines.push_back(std::move(line));
            i = next;

            if (Height > 0 && static_cast<double>(lines.size() + 1) * a > Height * sf) {
                if (i < words.size()) {
                    rest += kContinuation;
                    for (std::size_t k = i; k < words.size(); ++k) {
                        rest += words[k];
                        if (k + 1 < words.size()) {
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
                full = true;
                break;
            }
        }
    }

    const double count = static_cast<double>(lines.size());
    double first = 0;
    if (Align & 32) {
        first = (Y + Height / 2.0) * sf + a * (2 - count) / 2;
    } else if (Align & 16) {
        first = (Y + Height) * sf - (count - 1) * a;
    } else {
        first = Y * sf + a;
    }
    // Each line's descent ends at the bottom of its line advance.
    const FontRecord* font = currentFont();
    first += FontSize * (font != nullptr ? font->Descent : 0) / 1000.0;

    for (std::size_t k = 0; k < lines.size(); ++k) {
        const BoxLine& line = lines[k];
        const int32_t lineAlign = (Align & 64) && line.last ? 1 : Align;
        WriteTextLine(x, static_cast<float>((static_cast<double>(k) * a + first) / sf), Width, line.text,
                      line.first ? Indentation : 0, lineAlign, false, measuring != nullptr ? line.wordsWidth : -1);
    }

    const double top = PageHeight - Y * sf;
    SetLastBounds(static_cast<float>(x * sf), static_cast<float>(top), static_cast<float>((x + Width) * sf),
                  static_cast<float>(top - count * a));
    SetXY(x, static_cast<float>(Y + count * a / sf));
    return rest;
}

} // namespace folian
