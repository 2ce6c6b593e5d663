// Fuzz target for the reader behind Folian::ImportPage and Folian::GetInfo. The input is written
// to a PDF file whose first page is imported into an open document, placed, imported again
// under a second name and placed again; the document is then finished. Whatever the bytes,
// nothing may crash or raise, a refused file must be recorded under Folian.ImportPage, and the
// finished document must read back without a single warning from libqpdf, with the imported
// page among its resources exactly when the import succeeded.
#include "FuzzSupport.h"
#include "core/Folian.h"

#include <qpdf/Pl_Discard.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>

namespace {

using fuzz::fixedHooks;
using fuzz::require;
using fuzz::writeFile;

// Reads every object and every stream of the written document; any warning is a fault of the
// writer. Tells whether its page's resources name the imported page.
bool readBack(const std::filesystem::path& path, int& pages)
{
    QPDF pdf;
    pdf.setSuppressWarnings(true);
    pdf.setAttemptRecovery(false);
    pdf.processFile(path.c_str());
    pages = static_cast<int>(pdf.getAllPages().size());
    for (QPDFObjectHandle object : pdf.getAllObjects()) {
        if (object.isStream()) {
            Pl_Discard discard;
            bool filtered = false;
            require(object.pipeStreamData(&discard, &filtered, 0, qpdf_dl_specialized, true, false),
                    "the stream of object " + object.getObjGen().unparse(' ') + " cannot be read back");
        }
    }
    QPDFObjectHandle page = pdf.getAllPages().at(0);
    QPDFObjectHandle forms = page.getKey("/Resources").getKey("/XObject");
    const bool named = forms.isDictionary() && forms.hasKey("/SOURCE");
    const auto warnings = pdf.getWarnings();
    require(warnings.empty(), "the written document has warnings: " +
                                  (warnings.empty() ? std::string() : warnings.front().getMessageDetail()));
    return named;
}

void exercise(const std::filesystem::path& folder, const uint8_t* data, std::size_t size)
{
    const std::filesystem::path source = folder / "input.pdf";
    const std::filesystem::path output = folder / "output.pdf";
    writeFile(source, data, size);

    folian::Folian pdf(fixedHooks());
    pdf.SetCompression(size % 2 == 0 ? 0 : 2 + 8);
    pdf.BeginDoc(output.string());
    require(pdf.ErrNumber() == 0, "BeginDoc failed: " + pdf.ErrDescription());

    const std::string name = pdf.ImportPage(source.string(), 1, "SOURCE");
    const bool imported = !name.empty();
    if (imported) {
        require(name == "SOURCE", "the page was imported as \"" + name + "\"");
        require(pdf.ErrNumber() == 0, "an import left error " + std::to_string(pdf.ErrNumber()));
        // The file is read already: a second copy shares what the first one wrote.
        require(pdf.ImportPage(source.string(), 1, "AGAIN") == "AGAIN",
                "the page imported once is refused the second time: " + pdf.ErrDescription());
        // Only what the page needs is read: a damaged information dictionary fails GetInfo alone.
        const int32_t count = pdf.GetInfo(source.string());
        require(count >= 1 || (count == 0 && pdf.ErrSource() == "Folian.GetInfo"),
                "an imported file has no pages: " + pdf.ErrDescription());
    } else {
        require(pdf.ErrNumber() != 0, "a refused import left no error number");
        require(pdf.ErrSource() == "Folian.ImportPage", "the refusal is recorded under " + pdf.ErrSource());
        const std::string tail = " - " + source.string();
        const std::string description = pdf.ErrDescription();
        require(description.size() > tail.size() &&
                    description.compare(description.size() - tail.size(), tail.size(), tail) == 0,
                "the refusal does not name the file: " + description);
    }

    pdf.BeginPage();
    if (imported) {
        pdf.PlayObject("SOURCE");
        pdf.BeginSpace(10, 10, 0.5f, 0.5f);
        pdf.PlayObject("AGAIN");
        pdf.EndSpace();
    }
    pdf.EndDoc();
    require(std::filesystem::file_size(output) == static_cast<std::uintmax_t>(pdf.FileSize()),
            "the finished document's length is not the one reported");

    int pages = 0;
    const bool named = readBack(output, pages);
    require(pages == 1, "the written document has " + std::to_string(pages) + " pages");
    require(named == imported,
            std::string("the page's resources ") + (imported ? "lack" : "hold") + " the imported page");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    return fuzz::runInput("ondavia-import-fuzz",
                          [data, size](const std::filesystem::path& folder) { exercise(folder, data, size); });
}
