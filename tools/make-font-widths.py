#!/usr/bin/env python3
"""Writes src/pdf/text/StandardFontWidths.cpp, the width tables of the writer's standard fonts.

    python3 tools/make-font-widths.py [afm-folder]   (default /usr/share/fonts/type1/urw-base35)

The widths come from the AFM files of Debian's fonts-urw-base35, version 20200910-7, whose
fonts are metric-compatible with the PostScript base fonts:

    Arial         NimbusSans-Regular (regular and italic), NimbusSans-Bold (bold, bold italic)
    TimesNewRoman NimbusRoman-Regular, -Bold, -Italic, -BoldItalic
    CourierNew    NimbusMonoPS-Regular
    Symbol        StandardSymbolsPS
    ZapfDingbats  D050000L

The text families are indexed by Windows-1252 code, each code looked up by its glyph name
(the AFMs are in StandardEncoding, where 39 is quoteright, not quotesingle). Symbol and
ZapfDingbats keep the fonts' own codes. Codes 0-31 and the codes without a character take the
fixed values below, which are the writer's established metrics for them.
"""
import os
import re
import subprocess
import sys

PACKAGE_VERSION = "20200910-7"
ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "src", "pdf", "text", "StandardFontWidths.cpp")

# Glyph names of Windows-1252 codes 32-255; None where the code page has no character.
CP1252 = (
    "space exclam quotedbl numbersign dollar percent ampersand quotesingle parenleft parenright asterisk plus "
    "comma hyphen period slash zero one two three four five six seven eight nine colon semicolon less equal "
    "greater question at A B C D E F G H I J K L M N O P Q R S T U V W X Y Z bracketleft backslash "
    "bracketright asciicircum underscore grave a b c d e f g h i j k l m n o p q r s t u v w x y z braceleft "
    "bar braceright asciitilde - "
    "Euro - quotesinglbase florin quotedblbase ellipsis dagger daggerdbl circumflex perthousand Scaron "
    "guilsinglleft OE - Zcaron - - quoteleft quoteright quotedblleft quotedblright bullet endash emdash tilde "
    "trademark scaron guilsinglright oe - zcaron Ydieresis "
    "space exclamdown cent sterling currency yen brokenbar section dieresis copyright ordfeminine "
    "guillemotleft logicalnot hyphen registered macron degree plusminus twosuperior threesuperior acute mu "
    "paragraph periodcentered cedilla onesuperior ordmasculine guillemotright onequarter onehalf "
    "threequarters questiondown Agrave Aacute Acircumflex Atilde Adieresis Aring AE Ccedilla Egrave Eacute "
    "Ecircumflex Edieresis Igrave Iacute Icircumflex Idieresis Eth Ntilde Ograve Oacute Ocircumflex Otilde "
    "Odieresis multiply Oslash Ugrave Uacute Ucircumflex Udieresis Yacute Thorn germandbls agrave aacute "
    "acircumflex atilde adieresis aring ae ccedilla egrave eacute ecircumflex edieresis igrave iacute "
    "icircumflex idieresis eth ntilde ograve oacute ocircumflex otilde odieresis divide oslash ugrave uacute "
    "ucircumflex udieresis yacute thorn ydieresis"
).split()
assert len(CP1252) == 224, len(CP1252)

# Codes of the text families with fixed widths: (Arial, TimesNewRoman).
SPECIAL = {
    127: (750, 778), 129: (750, 778), 141: (750, 778), 143: (750, 778), 144: (750, 778), 157: (750, 778),
    128: (556, 500), 175: (552, 500), 177: (549, 549), 181: (576, 576), 247: (549, 549),
}


def read_afm(folder, name):
    by_name, by_code = {}, {}
    pattern = re.compile(r"^C\s+(-?\d+)\s*;\s*WX\s+(\d+)\s*;\s*N\s+(\S+)\s*;")
    with open(os.path.join(folder, name + ".afm"), encoding="latin-1") as afm:
        for line in afm:
            match = pattern.match(line)
            if match:
                code, width, glyph = int(match.group(1)), int(match.group(2)), match.group(3)
                by_name[glyph] = width
                if code >= 0:
                    by_code[code] = width
    if not by_name:
        sys.exit(f"{name}.afm has no character metrics")
    return by_name, by_code


def text_family(folder, afm, low, column):
    by_name, _ = read_afm(folder, afm)
    widths = [low] * 32
    for code in range(32, 256):
        if code in SPECIAL:
            widths.append(SPECIAL[code][column])
            continue
        glyph = CP1252[code - 32]
        if glyph == "-" or glyph not in by_name:
            sys.exit(f"{afm}: no width for code {code} ({glyph})")
        widths.append(by_name[glyph])
    return widths


def courier(folder):
    by_name, _ = read_afm(folder, "NimbusMonoPS-Regular")
    for glyph in CP1252:
        if glyph != "-" and by_name.get(glyph) != 600:
            sys.exit(f"NimbusMonoPS-Regular: {glyph} is not 600 wide")
    return [600] * 256


def own_codes(folder, afm, ranges, low, rest):
    _, by_code = read_afm(folder, afm)
    widths = list(low) + [rest] * (256 - len(low))
    for first, last in ranges:
        for code in range(first, last + 1):
            if code not in by_code:
                sys.exit(f"{afm}: no glyph at code {code}")
            widths[code] = by_code[code]
    return widths


def rows(widths, indent):
    assert len(widths) == 256
    lines = [", ".join(f"{w:4d}" for w in widths[i:i + 16]) for i in range(0, 256, 16)]
    return ",\n".join(indent + line for line in lines) + ",\n"


def table(name, comment, widths):
    return f"// {comment}\nconst FontWidths {name}{{{{\n{rows(widths, '    ')}}}}};\n"


def styled_tables(name, styles):
    body = "".join(f"    // {comment}\n    FontWidths{{{{\n{rows(widths, '        ')}    }}}},\n"
                   for comment, widths in styles)
    head = f"// By style: regular, bold, italic, bold italic.\nconst std::array<FontWidths, 4> {name}"
    return f"{head}{{{{\n{body}}}}};\n"


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/fonts/type1/urw-base35"
    try:
        installed = subprocess.run(["dpkg-query", "-W", "-f=${Version}", "fonts-urw-base35"],
                                   capture_output=True, text=True, check=False).stdout
        if installed and installed != PACKAGE_VERSION:
            print(f"note: fonts-urw-base35 {installed} is installed; the tables were made from {PACKAGE_VERSION}",
                  file=sys.stderr)
    except OSError:
        pass

    arial_regular = text_family(folder, "NimbusSans-Regular", 272, 0)
    arial_italic = [259] * 32 + arial_regular[32:]
    arial_bold = text_family(folder, "NimbusSans-Bold", 311, 0)
    tables = [
        styled_tables("kArialWidths", [
            ("Arial: NimbusSans-Regular", arial_regular),
            ("Arial,Bold: NimbusSans-Bold", arial_bold),
            ("Arial,Italic: the regular widths", arial_italic),
            ("Arial,BoldItalic: the bold widths", arial_bold),
        ]),
        styled_tables("kTimesNewRomanWidths", [
            (f"TimesNewRoman{suffix}: NimbusRoman-{afm}", text_family(folder, f"NimbusRoman-{afm}", 333, 1))
            for suffix, afm in [("", "Regular"), (",Bold", "Bold"), (",Italic", "Italic"),
                                (",BoldItalic", "BoldItalic")]
        ]),
        table("kCourierNewWidths", "CourierNew, every style: NimbusMonoPS-Regular", courier(folder)),
        table("kSymbolWidths", "Symbol: StandardSymbolsPS, in its own encoding",
              own_codes(folder, "StandardSymbolsPS", [(32, 126), (161, 239), (241, 254)], [332] * 30 + [600] * 2,
                        600)),
        table("kZapfDingbatsWidths", "ZapfDingbats: D050000L, in its own encoding",
              own_codes(folder, "D050000L", [(32, 126), (128, 141), (161, 239), (241, 254)], [600] * 32, 0)),
    ]
    text = (
        "// Generated by tools/make-font-widths.py from the AFM files of fonts-urw-base35 "
        f"{PACKAGE_VERSION}; do not edit.\n"
        "// Widths in thousandths of the font size, indexed by character code.\n"
        '#include "text/StandardFontWidths.h"\n\nnamespace folian {\n\n'
        # The tables keep their sixteen columns; clang-format would pack them to the line width.
        "// clang-format off\n"
        + "\n".join(tables) + "// clang-format on\n\n} // namespace folian\n"
    )
    with open(OUTPUT, "w", encoding="ascii", newline="\n") as out:
        out.write(text)
    print(f"wrote {os.path.relpath(OUTPUT, ROOT)}")


if __name__ == "__main__":
    main()
