#include "PdfTestSupport.h"
#include "PercorsiProva.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace folian::test {

std::filesystem::path scratchDir()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    // Under the build folder, not a shared temporary one: two suites run at once (two checkouts, the
    // ordinary and the sanitized build) must not clear each other's files.
    const auto dir = std::filesystem::path(FOLIAN_TEST_SCRATCH) / name;
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string ReaderReport::field(const std::string& name) const
{
    std::istringstream lines(pdfinfoOutput);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            const auto value = line.find_first_not_of(' ', name.size() + 1);
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return "(missing)";
}

ReaderReport readWithReaders(const std::filesystem::path& path)
{
    ReaderReport report;
    const std::string file = "'" + path.string() + "'";
    report.qpdfOutput = runCommand("qpdf --check " + file + " 2>&1; echo \"exit $?\"");
    report.qpdfClean = report.qpdfOutput.ends_with("\nexit 0\n") &&
                       report.qpdfOutput.find("WARNING") == std::string::npos &&
                       report.qpdfOutput.find("No syntax or stream encoding errors") != std::string::npos;
    report.pdfinfoOutput = runCommand("pdfinfo " + file + " 2>/dev/null");
    report.pdfinfoStderr = runCommand("pdfinfo " + file + " 2>&1 >/dev/null");
    return report;
}

std::string objectText(const std::string& file, int n)
{
    const std::string head = "\n" + std::to_string(n) + " 0 obj\n";
    const auto begin = file.find(head);
    if (begin == std::string::npos) {
        return "(no object " + std::to_string(n) + ")";
    }
    const auto body = begin + head.size();
    return file.substr(body, file.find("\nendobj", body) - body);
}

int countOf(const std::string& text, const std::string& needle)
{
    int count = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

std::string runCommand(const std::string& command)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    pclose(pipe);
    return output;
}

std::vector<std::vector<std::string>> listedFonts(const std::filesystem::path& path)
{
    std::istringstream lines(runCommand("pdffonts '" + path.string() + "' 2>&1"));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::vector<std::string> row{std::istream_iterator<std::string>(fields), {}};
        row.resize(row.size() < 4 ? 0 : row.size() - 4); // drop sub, uni, object and generation
        rows.push_back(row);
    }
    rows.erase(rows.begin(), rows.begin() + std::min<std::size_t>(2, rows.size())); // the heading
    return rows;
}

std::vector<PlacedWord> placedWords(const std::filesystem::path& path, const std::string& options)
{
    const std::string xml = runCommand("pdftotext -bbox " + options + " '" + path.string() + "' - 2>/dev/null");
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<PlacedWord> words;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), word); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return words;
}

std::string storedStream(const std::string& file, int n)
{
    const std::string body = objectText(file, n);
    const auto begin = body.find(">>\rstream\n");
    const auto end = body.rfind("\nendstream");
    if (begin == std::string::npos || end == std::string::npos || end < begin + 10) {
        return "(no stream in object " + std::to_string(n) + ")";
    }
    return body.substr(begin + 10, end - begin - 10);
}

std::string filteredStream(const std::filesystem::path& path, int n, const std::string& password)
{
    return runCommand("qpdf --password='" + password + "' --show-object=" + std::to_string(n) +
                      " --filtered-stream-data '" + path.string() + "' 2>&1");
}

void expectPageLooksLike(const std::filesystem::path& pdf, int page, int dpi, const std::string& reference,
                         int tolerance, double share)
{
    const std::string base = pdf.string() + ".page" + std::to_string(page);
    const std::string errors =
        runCommand("pdftoppm -png -singlefile -r " + std::to_string(dpi) + " -f " + std::to_string(page) + " -l " +
                   std::to_string(page) + " '" + pdf.string() + "' '" + base + "' 2>&1");
    EXPECT_EQ(errors, "") << "pdftoppm complains about " << pdf;
    const std::filesystem::path kept = std::filesystem::path(ONDAVIA_TEST_DATA) / reference;
    if (std::getenv("ONDAVIA_WRITE_GOLDEN") != nullptr) {
        std::filesystem::copy_file(base + ".png", kept, std::filesystem::copy_options::overwrite_existing);
    }
    const QImage drawn = QImage(QString::fromStdString(base + ".png")).convertToFormat(QImage::Format_RGB888);
    const QImage expected = QImage(QString::fromStdString(kept.string())).convertToFormat(QImage::Format_RGB888);
    ASSERT_FALSE(drawn.isNull()) << "pdftoppm drew nothing readable for " << pdf;
    ASSERT_FALSE(expected.isNull()) << "no reference picture " << kept;
    ASSERT_EQ(drawn.size(), expected.size());
    std::size_t different = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        const uchar* a = drawn.constScanLine(y);
        const uchar* b = expected.constScanLine(y);
        for (int x = 0; x < 3 * drawn.width(); x += 3) {
            const int apart =
                std::max({std::abs(a[x] - b[x]), std::abs(a[x + 1] - b[x + 1]), std::abs(a[x + 2] - b[x + 2])});
            different += apart > tolerance ? 1 : 0;
        }
    }
    const auto pixels = static_cast<std::size_t>(drawn.width()) * static_cast<std::size_t>(drawn.height());
    EXPECT_LE(different, static_cast<std::size_t>(static_cast<double>(pixels) * share))
        << different << " of " << pixels << " pixels differ from " << kept << "; drawn now: " << base << ".png";
}

} // namespace folian::test
