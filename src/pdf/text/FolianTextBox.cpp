// Text boxes: a text flowed into a rectangle, paragraph by paragraph and line by line.
#include "core/Folian.h"

namespace folian {

namespace {

constexpr char kContinuation = '\0';
constexpr std::string_view kNewLine = "\r\n";

struct BoxLine {
    std::string text;
    bool first = false; // first line of a paragraph: written with the indentation
    bool last = false;  // last line of a paragraph: never justified
};

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
    for (std::size_t p = 0; p < paragraphs.size() && !full; ++p) {
        const std::vector<std::string> words = SplitText(paragraphs[p], " ");
        std::vector<double> w(words.size());
        for (std::size_t i = 0; i < words.size(); ++i) {
            w[i] = TextLength(words[i]);
        }
        std::size_t i = 0;
        while (i < words.size()) {
            BoxLine line;
            line.text = words[i];
            line.first = i == 0 && !(p == 0 && continued);
            // The indentation counts also for a continued paragraph, which is written without it.
            double sofar = w[i] + (i == 0 ? Indentation : 0);
            int32_t n = 0;
            std::size_t next = i + 1;
            for (; next < words.size(); ++next) {
                const bool fits = (n + 1) * s + sofar + w[next] <= Width;
                if (!fits && !scaled) {
                    break;
                }
                line.text += ' ';
                line.text += words[next];
                sofar += w[next];
                ++n;
            }
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
                      line.first ? Indentation : 0, lineAlign, false);
    }

    const double top = PageHeight - Y * sf;
    SetLastBounds(static_cast<float>(x * sf), static_cast<float>(top), static_cast<float>((x + Width) * sf),
                  static_cast<float>(top - count * a));
    SetXY(x, static_cast<float>(Y + count * a / sf));
    return rest;
}

} // namespace folian
