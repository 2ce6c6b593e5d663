// Writes the seeds of the import fuzz corpus into the folder given: small documents written by
// Folian itself with each filter, stored objects, patterns, a nested imported page, a turned
// page and protection; the same documents rewritten by qpdf with object streams and
// cross-reference streams (when qpdf is installed); and damaged copies: cut short, with a
// wrong cross-reference offset, with a stream longer than its /Length. Every seed is read back
// through ImportPage and must be accepted or refused as its kind says.
#include "FuzzSupport.h"
#include "core/Folian.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

using fuzz::fixedHooks;

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A small page: text in two fonts, a table, a stored object and a pattern, with the filters given.
void writeDocument(const fs::path& path, int mode, bool protect = false, const fs::path& nested = {})
{
    folian::Folian pdf(fixedHooks());
    pdf.SetCompression(mode, 1);
    pdf.SetPaperSize(4); // A6: the seeds stay small
    pdf.SetDocProperty("Seme (prova)", "Import", "Ondavia");
    if (protect) {
        pdf.SetProtection({}, "titolare");
    }
    pdf.BeginDoc(path.string());
    pdf.BeginTiling("RIGHE", 0, 0, 6, 6, 6, 6);
    pdf.SetColorFill("navy");
    pdf.BeginTable(0, 0);
    pdf.BeginRow(2);
    pdf.BeginColumn(6);
    pdf.EndColumn();
    pdf.EndRow();
    pdf.EndTable();
    pdf.EndTiling();
    pdf.BeginObject("LOGO", 7);
    pdf.SetFont("Times", 14, 1, 0);
    pdf.DrawText(20, 30, "Ondavia");
    pdf.EndObject();
    if (!nested.empty()) {
        pdf.ImportPage(nested.string(), 1, "INNER");
    }
    pdf.BeginPage();
    if (!nested.empty()) {
        pdf.BeginSpace(10, 60, 0.5f, 0.5f);
        pdf.PlayObject("INNER");
        pdf.EndSpace();
    }
    pdf.SetColorFill("RIGHE");
    pdf.BeginTable(20, 60);
    pdf.BeginRow(40);
    pdf.BeginColumn(100);
    pdf.EndColumn();
    pdf.EndRow();
    pdf.EndTable();
    pdf.SetFont("Courier", 9, 0, 0);
    pdf.DrawText(20, 120, "Registro (REI) \\ 2026 \xE8");
    pdf.AddBookmark("Inizio", 1, 1, "", 0, "/Fit");
    pdf.EndDoc();
}

bool importAccepts(const fs::path& path, const fs::path& scratch)
{
    folian::Folian pdf(fixedHooks());
    pdf.BeginDoc((scratch / "check.pdf").string());
    const bool accepted = !pdf.ImportPage(path.string(), 1, "P").empty();
    pdf.Abort();
    return accepted;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
        return 2;
    }
    const fs::path dir = argv[1];
    fs::create_directories(dir);
    const fs::path scratch = fs::temp_directory_path() / "ondavia-import-seeds";
    fs::create_directories(scratch);

    std::vector<std::pair<fs::path, bool>> seeds; // path, whether ImportPage must accept it
    const std::pair<const char*, int> filters[] = {{"plain", 0},   {"runlength", 1}, {"flate", 2},     {"lzw", 4},
                                                   {"ascii85", 8}, {"asciihex", 16}, {"flate-a85", 10}};
    for (const auto& [name, mode] : filters) {
        const fs::path path = dir / ("seed-" + std::string(name) + ".pdf");
        writeDocument(path, mode);
        seeds.emplace_back(path, true);
    }
    writeDocument(dir / "seed-nested-form.pdf", 2, false, dir / "seed-plain.pdf");
    seeds.emplace_back(dir / "seed-nested-form.pdf", true);
    writeDocument(dir / "seed-protected.pdf", 2, true);
    seeds.emplace_back(dir / "seed-protected.pdf", false);

    // The same pages as another writer lays them out: object streams and cross-reference streams.
    if (std::system("qpdf --version >/dev/null 2>&1") == 0) {
        const std::string source = (dir / "seed-flate.pdf").string();
        const std::pair<const char*, const char*> rewrites[] = {
            {"seed-object-streams.pdf", "--object-streams=generate"},
            {"seed-linearized.pdf", "--linearize"},
            {"seed-qdf.pdf", "--qdf --object-streams=disable"},
        };
        for (const auto& [name, options] : rewrites) {
            const fs::path path = dir / name;
            const std::string command =
                std::string("qpdf --static-id ") + options + " '" + source + "' '" + path.string() + "'";
            if (std::system(command.c_str()) != 0) {
                std::fprintf(stderr, "failed: %s\n", command.c_str());
                return 1;
            }
            seeds.emplace_back(path, true);
        }
    }

    // Damaged copies of the plain document.
    const std::string plain = readFile(dir / "seed-plain.pdf");
    writeFile(dir / "seed-cut-short.pdf", plain.substr(0, plain.size() / 2));
    seeds.emplace_back(dir / "seed-cut-short.pdf", false);
    const std::size_t startxref = plain.rfind("startxref\n");
    writeFile(dir / "seed-wrong-xref-offset.pdf", plain.substr(0, startxref + 10) + "17\n%%EOF\n");
    seeds.emplace_back(dir / "seed-wrong-xref-offset.pdf", false);
    std::string longer = plain;
    const std::size_t length = longer.find("/Length ");
    longer.replace(length, 8, "/Length 1");
    writeFile(dir / "seed-wrong-stream-length.pdf", longer);
    seeds.emplace_back(dir / "seed-wrong-stream-length.pdf", false);

    int wrong = 0;
    for (const auto& [path, accepted] : seeds) {
        if (importAccepts(path, scratch) != accepted) {
            std::fprintf(stderr, "%s: ImportPage %s it\n", path.filename().c_str(), accepted ? "refuses" : "accepts");
            ++wrong;
        }
    }
    fs::remove_all(scratch);
    std::printf("%zu seeds written to %s\n", seeds.size(), dir.c_str());
    return wrong == 0 ? 0 : 1;
}
