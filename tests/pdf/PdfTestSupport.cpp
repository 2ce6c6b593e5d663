#include "PdfTestSupport.h"

#include <gtest/gtest.h>

#include <zlib.h>

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

namespace {

uint32_t bigEndian(const std::string& bytes, std::size_t at)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
    }
    return value;
}

} // namespace

Picture readPng(const std::filesystem::path& path)
{
    const std::string file = readFile(path);
    if (file.size() < 8 || file.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        return {};
    }
    Picture picture;
    std::string packed;
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const uint32_t length = bigEndian(file, at);
        const std::string type = file.substr(at + 4, 4);
        if (at + 12 + length > file.size()) {
            return {};
        }
        if (type == "IHDR") {
            picture.width = static_cast<int>(bigEndian(file, at + 8));
            picture.height = static_cast<int>(bigEndian(file, at + 12));
            const char colourType = file[at + 17];
            picture.channels = colourType == 0 ? 1 : colourType == 2 ? 3 : 0;
            if (file[at + 16] != 8 || picture.channels == 0 || file[at + 20] != 0) {
                return {};
            }
        } else if (type == "IDAT") {
            packed += file.substr(at + 8, length);
        }
        at += 12 + length;
    }
    const auto bpp = static_cast<std::size_t>(picture.channels);
    const std::size_t row = static_cast<std::size_t>(picture.width) * bpp;
    const auto height = static_cast<std::size_t>(picture.height);
    std::vector<uint8_t> raw((row + 1) * height);
    uLongf size = raw.size();
    const auto* compressed = reinterpret_cast<const Bytef*>(packed.data());
    if (row == 0 || uncompress(raw.data(), &size, compressed, packed.size()) != Z_OK || size != raw.size()) {
        return {};
    }
    // Each row names the predictor its bytes were filtered with.
    picture.samples.assign(row * height, 0);
    for (std::size_t y = 0; y < height; ++y) {
        const uint8_t filter = raw[y * (row + 1)];
        const uint8_t* in = &raw[y * (row + 1) + 1];
        uint8_t* out = &picture.samples[y * row];
        const uint8_t* up = y > 0 ? &picture.samples[(y - 1) * row] : nullptr;
        for (std::size_t x = 0; x < row; ++x) {
            const int a = x >= bpp ? out[x - bpp] : 0;
            const int b = up != nullptr ? up[x] : 0;
            const int c = (x >= bpp && up != nullptr) ? up[x - bpp] : 0;
            int predicted = 0;
            switch (filter) {
            case 1:
                predicted = a;
                break;
            case 2:
                predicted = b;
                break;
            case 3:
                predicted = (a + b) / 2;
                break;
            case 4: {
                const int p = a + b - c;
                const int pa = std::abs(p - a);
                const int pb = std::abs(p - b);
                const int pc = std::abs(p - c);
                predicted = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                break;
            }
            default:
                break;
            }
            out[x] = static_cast<uint8_t>(in[x] + predicted);
        }
    }
    return picture;
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
    const Picture drawn = readPng(base + ".png");
    const Picture expected = readPng(kept);
    ASSERT_GT(drawn.width, 0) << "pdftoppm drew nothing readable for " << pdf;
    ASSERT_GT(expected.width, 0) << "no reference picture " << kept;
    ASSERT_EQ(drawn.width, expected.width);
    ASSERT_EQ(drawn.height, expected.height);
    ASSERT_EQ(drawn.channels, expected.channels);
    std::size_t different = 0;
    const auto channels = static_cast<std::size_t>(drawn.channels);
    for (std::size_t i = 0; i < drawn.samples.size(); i += channels) {
        for (std::size_t k = 0; k < channels; ++k) {
            if (std::abs(int{drawn.samples[i + k]} - int{expected.samples[i + k]}) > tolerance) {
                ++different;
                break;
            }
        }
    }
    const std::size_t pixels = drawn.samples.size() / channels;
    EXPECT_LE(different, static_cast<std::size_t>(static_cast<double>(pixels) * share))
        << different << " of " << pixels << " pixels differ from " << kept << "; drawn now: " << base << ".png";
}

} // namespace folian::test
