#pragma once

// Small valid TrueType fonts cut out of an installed one, as seeds for fuzzing the reader.
#include "FontBytes.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace seeds {

// A font file read whole, with its table directory.
struct SourceFont {
    Bytes file;
    std::map<std::string, std::pair<uint32_t, uint32_t>> tables; // tag: offset, length

    // Reads the file at `path`; throws std::runtime_error when it cannot be read or a table lies
    // outside it.
    static SourceFont read(const std::string& path);
    // A copy of the table; throws std::runtime_error when the font has none of that tag.
    Bytes table(const std::string& tag) const;
};

enum class MapKind { Unicode, Symbol };

// Builds fonts of a few glyphs of a source font: glyph 0, the glyphs of the mapped codes with the
// components they are built of, and trailing glyphs last. Outlines, metrics and the "OS/2",
// "head", "hhea" and "maxp" values come from the source; the character map, the names and the
// table checksums are made anew. The fonts are named "Ondavia Seed Sans" and keep the source's
// copyright notice.
class TrueTypeSubset {
public:
    // `shortOffsets` chooses 16-bit glyph offsets, else 32-bit ones. A Unicode subset lists its
    // Windows map (3, 1) a second time as a Unicode one (0, 3); a symbol subset has the Windows
    // map (3, 0) only.
    TrueTypeSubset(const SourceFont& source, MapKind kind, bool shortOffsets);

    // A font mapping each code of `codeToSourceGlyph` to the glyph it had in the source font.
    // Runs of codes become segments that add a delta to the code, except that a run whose glyphs
    // are not consecutive, and any run starting at a code whose low byte is 'a', list their
    // glyphs. Trailing glyphs of one advance width share it.
    Bytes build(const std::vector<std::pair<uint32_t, int32_t>>& codeToSourceGlyph,
                const std::vector<int32_t>& trailing) const;

private:
    Bytes characterMap(const std::vector<std::pair<uint32_t, int32_t>>& map) const;
    Bytes names() const;
    std::string sourceCopyright() const;

    const SourceFont& m_source;
    MapKind m_kind;
    bool m_shortOffsets;
};

} // namespace seeds
