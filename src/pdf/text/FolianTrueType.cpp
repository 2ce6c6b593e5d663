// TrueType fonts read from files and added to the document's fonts.
#include "core/AsciiCase.h"
#include "core/Folian.h"
#include "text/TrueTypeFace.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <new>

namespace folian {

namespace {

std::vector<uint8_t> readWholeFile(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw Error(ErrorCode::FileNotFound, "File not found");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw Error(ErrorCode::PathFileAccess, "Path/File access error");
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw Error(ErrorCode::DeviceIo, "Device I/O error");
    }
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max())) {
        throw Error(ErrorCode::Overflow, "Overflow: the font file is too large");
    }
    return bytes;
}

} // namespace

std::string Folian::AddFont(std::string_view TTFFile, std::string_view FontAlias, bool Embedded, int32_t Encoding)
{
    const std::string path(TTFFile);
    std::string registered;
    try {
        addTrueTypeFont(path, FontAlias, Embedded, Encoding, registered);
    } catch (const Error& error) {
        SetErrorInfo(error, "AddFont", path);
        return {};
    } catch (const std::bad_alloc&) {
        SetErrorInfo(Error(ErrorCode::OutOfMemory, "Out of memory"), "AddFont", path);
        return {};
    }
    return registered;
}

void Folian::addTrueTypeFont(const std::string& path, std::string_view alias, bool embedded, int32_t encoding,
                             std::string& registeredName)
{
    std::vector<uint8_t> file = readWholeFile(path);
    if (!m_out.isOpen()) {
        throw Error(ErrorCode::BadFileNameOrNumber, "No document is open for the font");
    }
    // A damaged file is refused whole: embedding it would put a font into the document that no
    // viewer can use.
    const TrueTypeFace face = ReadTrueTypeFace(file);

    const std::string name = alias.empty() ? face.FullName : std::string(alias);
    // SetFont looks fonts up without blanks, so the resource name is the name without them.
    const std::string resource = ReplaceText(name, " ", "");
    if (resource.empty()) {
        throw Error(ErrorCode::InvalidFileFormat, "Invalid file format: the font has no full name; give it an alias");
    }
    const std::string key = asciiUpper(resource);
    if (findFont(key, key) != 0) {
        throw Error(ErrorCode::InvalidCall, "Invalid procedure call: the font name " + name + " is already in use");
    }

    FontCount += 1;
    FontRecord& font = FontTable.make(FontCount, MemoryUsage);
    font.FontKey = key;
    font.IsTrueType = true;
    font.BaseFontName = face.FullName.empty() ? resource : face.FullName;
    if (!face.StyleWord().empty()) {
        font.BaseFontName += "," + face.StyleWord();
    }
    font.Widths = face.Widths;
    font.Height = face.Height();
    font.Descent = face.Descent;
    font.Encoding = encoding;
    font.ResourceName = resource;

    const int32_t flags = (face.ItalicAngle != 0 ? 64 : 0) + (face.FixedPitch ? 1 : 0) + (face.Symbol ? 4 : 32);
    const auto& box = face.BoundingBox;
    const std::string entries =
        "/Flags " + std::to_string(flags) + " /FontBBox [" + std::to_string(box[0]) + " " + std::to_string(box[1]) +
        " " + std::to_string(box[2]) + " " + std::to_string(box[3]) + "]" + " /MissingWidth " +
        std::to_string(face.MissingWidth) + " /StemV " + (face.Bold ? "120" : "70") + " /ItalicAngle " +
        FormatReal(static_cast<float>(face.ItalicAngle)) + " /CapHeight " + std::to_string(face.Ascent) + " /XHeight " +
        std::to_string(face.Ascent / 2) + " /Ascent " + std::to_string(face.Ascent) + " /Descent " +
        std::to_string(face.Descent) + " /MaxWidth " + std::to_string(face.MaxWidth) + " /AvgWidth " +
        std::to_string(face.AvgWidth);
    const auto length1 = embedded ? static_cast<int32_t>(file.size()) : 0;
    if (!embedded) {
        file.clear();
    }
    WriteFontObjects(resource, file, length1, entries);
    registeredName = name;
}

} // namespace folian
