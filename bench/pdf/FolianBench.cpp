// Writes documents of 100 and 1,000 pages, each page 60 short stroked lines and a table of 20
// cells (filled and outlined rectangles), without compression, and reports time and bytes per
// page and how the time grows from 100 to 1,000 pages.
#include "LayoutPage.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>


namespace {

struct Run {
    double seconds = 0;
    long long bytes = 0;
};

Run writeDocument(const std::string& path, int pages)
{
    const auto start = std::chrono::steady_clock::now();
    folian::Folian pdf(bench::fixedHooks());
    pdf.SetScale(2);
    pdf.BeginDoc(path);
    for (int p = 0; p < pages; ++p) {
        pdf.BeginPage();
        bench::drawLayoutPage(pdf);
    }
    pdf.EndDoc();
    const auto stop = std::chrono::steady_clock::now();
    return Run{std::chrono::duration<double>(stop - start).count(), static_cast<long long>(pdf.FileSize())};
}

Run best(const std::string& path, int pages, int repetitions)
{
    Run result = writeDocument(path, pages);
    for (int i = 1; i < repetitions; ++i) {
        const Run again = writeDocument(path, pages);
        result.seconds = std::min(result.seconds, again.seconds);
    }
    return result;
}

} // namespace

int main()
{
    const auto dir = std::filesystem::temp_directory_path() / "folian-bench";
    std::filesystem::create_directories(dir);
    const Run small = best((dir / "p100.pdf").string(), 100, 15);
    const Run large = best((dir / "p1000.pdf").string(), 1000, 5);
    std::printf("pages  time (ms)  ms/page  bytes      bytes/page\n");
    std::printf("%5d  %9.2f  %7.4f  %9lld  %10lld\n", 100, small.seconds * 1e3, small.seconds * 1e3 / 100, small.bytes,
                small.bytes / 100);
    std::printf("%5d  %9.2f  %7.4f  %9lld  %10lld\n", 1000, large.seconds * 1e3, large.seconds * 1e3 / 1000,
                large.bytes, large.bytes / 1000);
    const double growth = large.seconds / small.seconds;
    std::printf("time growth 100 -> 1000 pages: %.2fx (limit 11x): %s\n", growth, growth <= 11.0 ? "ok" : "TOO SLOW");
    if (std::getenv("FOLIAN_BENCH_KEEP") == nullptr) {
        std::filesystem::remove_all(dir);
    } else {
        std::printf("documents kept in %s\n", dir.string().c_str());
    }
    return growth <= 11.0 ? 0 : 1;
}
