#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

namespace folian::test {

Hooks fixedHooks()
{
    Hooks hooks;
    hooks.nomeCorrente = [] { return std::string("ROSSI MARIO"); };
    hooks.oggiTesto = [] { return std::string("05122026"); };
    hooks.now = [] { return LocalDateTime{2026, 12, 5, 14, 3, 9}; };
    hooks.randomDigit = [] { return 7; };
    return hooks;
}

std::filesystem::path scratchDir()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    const auto dir = std::filesystem::temp_directory_path() / "folian-tests" / name;
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
    const std::string file = path.string();
    const std::string qpdfOut = file + ".qpdf.txt";
    const std::string infoOut = file + ".info.txt";
    const std::string infoErr = file + ".info.err";
    const int qpdf = std::system(("qpdf --check '" + file + "' > '" + qpdfOut + "' 2>&1").c_str());
    report.qpdfOutput = readFile(qpdfOut);
    report.qpdfClean = qpdf == 0 && report.qpdfOutput.find("WARNING") == std::string::npos &&
                       report.qpdfOutput.find("No syntax or stream encoding errors") != std::string::npos;
    std::system(("pdfinfo '" + file + "' > '" + infoOut + "' 2> '" + infoErr + "'").c_str());
    report.pdfinfoOutput = readFile(infoOut);
    report.pdfinfoStderr = readFile(infoErr);
    std::filesystem::remove(qpdfOut);
    std::filesystem::remove(infoOut);
    std::filesystem::remove(infoErr);
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

std::vector<PlacedWord> placedWords(const std::filesystem::path& path)
{
    const std::string xml = runCommand("pdftotext -bbox '" + path.string() + "' - 2>/dev/null");
    static const std::regex word(
        R"re(<word xMin="([-0-9.]+)" yMin="([-0-9.]+)" xMax="([-0-9.]+)" yMax="([-0-9.]+)">([^<]*)</word>)re");
    std::vector<PlacedWord> words;
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), word); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        words.push_back({std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    }
    return words;
}

} // namespace folian::test
