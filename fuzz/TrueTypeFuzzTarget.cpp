// Fuzz target for the TrueType reader behind Folian::AddFont. The input is written to a font file
// and added to an open document, which is then finished. Whatever the bytes, nothing may crash or
// raise: a refused font is recorded with the error the reader gives it, and an accepted font is
// measured with the widths the reader found.
#include "FuzzSupport.h"
#include "core/Folian.h"
#include "text/TrueTypeFace.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using fuzz::fixedHooks;
using fuzz::require;
using fuzz::writeFile;

std::string withoutBlanks(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c != ' ') {
            out += c;
        }
    }
    return out;
}

void exercise(const std::filesystem::path& folder, const uint8_t* data, std::size_t size)
{
    const std::filesystem::path fontPath = folder / "input.ttf";
    const std::filesystem::path pdfPath = folder / "output.pdf";
    writeFile(fontPath, data, size);
    const std::vector<uint8_t> bytes(data, data + size);

    // What the reader makes of the bytes on its own: the font it reads or the error it raises.
    std::optional<folian::TrueTypeFace> face;
    int32_t readError = 0;
    try {
        face = folian::ReadTrueTypeFace(bytes);
    } catch (const folian::Error& error) {
        readError = error.number();
        require(readError != 0, "the reader raised error number 0");
    }

    folian::Folian pdf(fixedHooks());
    pdf.BeginDoc(pdfPath.string());
    require(pdf.ErrNumber() == 0, "BeginDoc failed: " + pdf.ErrDescription());
    pdf.SetScale(0);
    pdf.BeginPage();

    const std::string added = pdf.AddFont(fontPath.string(), "", true, 0);
    if (readError != 0) {
        require(added.empty(), "a font the reader refuses was added as " + added);
        require(pdf.ErrNumber() == readError, "AddFont recorded error " + std::to_string(pdf.ErrNumber()) +
                                                  " for a font the reader refuses with " + std::to_string(readError));
        require(pdf.ErrSource() == "Folian.AddFont", "the refusal is recorded under " + pdf.ErrSource());
    } else if (withoutBlanks(face->FullName).empty()) {
        // Without a full name and without an alias the font has no name to be selected by.
        require(added.empty(), "a font without a name was added as " + added);
        require(pdf.ErrNumber() == folian::ErrorCode::InvalidFileFormat,
                "a font without a name is recorded as error " + std::to_string(pdf.ErrNumber()));
    } else {
        require(added == face->FullName, "the font was added as \"" + added + "\", not by its full name");
        require(pdf.ErrNumber() == 0, "an added font left error " + std::to_string(pdf.ErrNumber()));
        // At 1000 points and a point scale each character measures its width in thousandths.
        pdf.SetFont(added, 1000, 0, 0);
        for (int code = 0; code < 256; ++code) {
            const float width = pdf.TextLength(std::string(1, static_cast<char>(code)));
            require(width == face->Widths[static_cast<std::size_t>(code)] && width >= 0,
                    "code " + std::to_string(code) + " measures " + std::to_string(width));
        }
        const float height = pdf.TextHeight();
        require(std::isfinite(height) && height >= 0, "a line of the font is " + std::to_string(height) + " high");
        pdf.SetFont(added, 10, 0, 0);
        pdf.DrawText(10, 20, "Fuzz 0123 \x80\x96\xE9");
    }

    pdf.EndPage();
    pdf.EndDoc();
    require(std::filesystem::file_size(pdfPath) == static_cast<std::uintmax_t>(pdf.FileSize()),
            "the finished document's length is not the one reported");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    return fuzz::runInput("ondavia-truetype-fuzz",
                          [data, size](const std::filesystem::path& folder) { exercise(folder, data, size); });
}
