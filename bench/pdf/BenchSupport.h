#pragma once

// What the benchmarks that set Folian against libharu share: the peer's error handler and its
// drawing of the layout table, the median, file sizes, the peak memory of one writer run by
// itself, the table of comparisons, and the runs under two allocator settings with what the
// setting changes. Include it in one file of a benchmark only.
#include "PeerZlib.h"

#include <hpdf.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace bench {

using Clock = std::chrono::steady_clock;

inline constexpr double kPoints = 72.0 / 25.4; // points per millimetre
// Every comparison writes a document of this many pages, this many times for each writer.
inline constexpr int kPages = 1000;
inline constexpr int kRounds = 7;
// Lines of text (or of strokes) on each page.
inline constexpr int kLines = 60;

inline void haruError(HPDF_STATUS error, HPDF_STATUS detail, void*)
{
    std::fprintf(stderr, "libharu error %04X (%u)\n", static_cast<unsigned>(error), static_cast<unsigned>(detail));
    std::exit(2);
}

inline HPDF_REAL haruPoints(double mm)
{
    return static_cast<HPDF_REAL>(mm * kPoints);
}

// The layout table of 20 filled and outlined cells with its top at `top` millimetres, as
// libharu's users draw it: one rectangle and one fill-and-stroke a cell.
inline void haruLayoutTable(HPDF_Page page, double top)
{
    HPDF_Page_SetRGBFill(page, 1.0f, 1.0f, 0.878f);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            const auto bottom = static_cast<HPDF_REAL>(842 - haruPoints(top + 8.5 * (r + 1)));
            HPDF_Page_Rectangle(page, haruPoints(15 + 33.3 * c), bottom, haruPoints(33.3), haruPoints(8.5));
            HPDF_Page_FillStroke(page);
        }
    }
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

inline long long sizeOf(const std::string& path)
{
    return static_cast<long long>(std::filesystem::file_size(path));
}

// Seconds that `work` takes.
inline double timed(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The peak resident memory in kilobytes of a child process that does only `work`, so that one
// writer's figure holds nothing of the other's; -1 when no child could be started.
inline long peakKilobytes(const std::function<void()>& work)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        work();
        std::_Exit(0);
    }
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss;
}

// Ratios of our time to the peer's over interleaved rounds: who goes first alternates, so that
// neither always meets a warmer machine.
struct Comparison {
    std::vector<double> ours;
    std::vector<double> peer;
    std::vector<double> ratios;

    // `beforeEach` runs untimed before each side's work, told whether the side is ours.
    void round(int index, const std::function<void()>& oursWork, const std::function<void()>& peerWork,
               const std::function<void(bool)>& beforeEach = {})
    {
        const auto run = [&beforeEach](const std::function<void()>& work, bool isOurs) {
            if (beforeEach) {
                beforeEach(isOurs);
            }
            return timed(work);
        };
        double ourTime = 0;
        double peerTime = 0;
        if (index % 2 == 0) {
            peerTime = run(peerWork, false);
            ourTime = run(oursWork, true);
        } else {
            ourTime = run(oursWork, true);
            peerTime = run(peerWork, false);
        }
        ours.push_back(ourTime);
        peer.push_back(peerTime);
        ratios.push_back(ourTime / peerTime);
    }
};

// One line of a benchmark's table: our writer and libharu on the same work, and the goal for the
// median of the ratios (0: none, the line is there for information).
struct Row {
    std::string label;
    std::string ourFile;
    std::string peerFile;
    double goal = 0;
    std::function<void()> ours;
    std::function<void()> peer;
    Comparison times;
};

// One interleaved round of every row. Each side writes a new file: the one the last round left
// is removed beforehand, out of the timing, so that neither writer is timed giving the system
// back the pages of a file it replaces (libharu empties it on opening, ours renames over it).
inline void round(int index, std::vector<Row>& rows)
{
    for (Row& row : rows) {
        row.times.round(index, row.ours, row.peer, [&row](bool isOurs) {
            std::error_code ignored;
            std::filesystem::remove(isOurs ? row.ourFile : row.peerFile, ignored);
        });
    }
}

// What libharu is asked to compress with: nothing, or Flate at a zlib level (kZlibAsItComes: its
// own, zlib's default 6).
inline constexpr int kUncompressed = 0;
inline constexpr int kZlibAsItComes = -1;

// Our Flate qualities 0 to 3 stand for zlib's levels 2 to 5, the levels whose zlib header reads
// 78 5E, which every stream of ours carries: each quality compresses our pages about as well as its
// level (through libdeflate, see Deflater.cpp; the tables give both sides' bytes), so libharu runs
// at that level.
inline int zlibLevelOf(int quality)
{
    return 2 + quality;
}

// Goals for the median of the ratios of our time to libharu's, on the same work.
inline constexpr double kPlainGoal = 0.4;
inline constexpr double kFlateGoal = 0.6;

// Writes one document of a comparison to a path: ours with SetCompression's mode and quality,
// libharu's at a zlib level as writeHaru's take it.
using OurWriter = std::function<void(const std::string& path, int mode, int quality)>;
using PeerWriter = std::function<void(const std::string& path, int zlibLevel)>;

// The rows of every comparison, documents in `dir`: both uncompressed, both with Flate at each of
// our qualities (libharu at the zlib level it stands for), and our best quality beside libharu as it
// comes.
inline std::vector<Row> standardRows(const std::filesystem::path& dir, const OurWriter& ours, const PeerWriter& peer)
{
    const auto file = [&dir](const std::string& name) { return (dir / (name + ".pdf")).string(); };
    std::vector<Row> rows;
    rows.push_back({"uncompressed",
                    file("folian"),
                    file("libharu"),
                    kPlainGoal,
                    [ours, path = file("folian")] { ours(path, 0, 0); },
                    [peer, path = file("libharu")] { peer(path, kUncompressed); },
                    {}});
    for (int quality = 0; quality <= 3; ++quality) {
        const int level = zlibLevelOf(quality);
        const std::string ourPath = file("folian-flate-" + std::to_string(quality));
        const std::string peerPath = file("libharu-zlib-" + std::to_string(level));
        rows.push_back({"Flate q" + std::to_string(quality) + ", libharu zlib " + std::to_string(level),
                        ourPath,
                        peerPath,
                        kFlateGoal,
                        [ours, ourPath, quality] { ours(ourPath, 2, quality); },
                        [peer, peerPath, level] { peer(peerPath, level); },
                        {}});
    }
    const std::string ourBest = file("folian-flate-3");
    const std::string peerOwn = file("libharu-zlib-6");
    rows.push_back({"Flate q3, libharu's own zlib 6",
                    ourBest,
                    peerOwn,
                    0,
                    [ours, ourBest] { ours(ourBest, 2, 3); },
                    [peer, peerOwn] { peer(peerOwn, kZlibAsItComes); },
                    {}});
    return rows;
}

// The rows with their times, bytes, the median of the ratios and their spread (lowest and highest
// of the rounds), and whether each goal is met; returns how many goals are not.
inline int printRows(const std::vector<Row>& rows)
{
    std::printf("%-40s %9s %10s %10s %10s %19s  %s\n", "", "Folian ms", "bytes", "libharu ms", "bytes",
                "ratio (low-high)", "goal");
    int missed = 0;
    for (const Row& row : rows) {
        const std::vector<double>& r = row.times.ratios;
        const double ratio = median(r);
        std::printf("%-40s %9.1f %10lld %10.1f %10lld %6.3f (%.2f-%.2f)", row.label.c_str(),
                    median(row.times.ours) * 1e3, sizeOf(row.ourFile), median(row.times.peer) * 1e3,
                    sizeOf(row.peerFile), ratio, *std::min_element(r.begin(), r.end()),
                    *std::max_element(r.begin(), r.end()));
        if (row.goal > 0) {
            std::printf("  <= %.2f %s", row.goal, ratio <= row.goal ? "met" : "NOT MET");
            missed += ratio <= row.goal ? 0 : 1;
        }
        std::printf("\n");
    }
    // The medians for the summary of the two allocator settings.
    if (const char* results = std::getenv("FOLIAN_BENCH_RESULTS")) {
        if (std::FILE* file = std::fopen(results, "a")) {
            for (const Row& row : rows) {
                std::fprintf(file, "%s\t%f\t%f\n", row.label.c_str(), median(row.times.ours) * 1e3,
                             median(row.times.peer) * 1e3);
            }
            std::fclose(file);
        }
    }
    return missed;
}

// Pages the system gave the process anew (minor page faults) while `work` ran.
inline long newPages(const std::function<void()>& work)
{
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    work();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    return after.ru_minflt - before.ru_minflt;
}

// How many zlib states one Flate document made on each side, and how many pages the system gave
// each writer anew meanwhile: the mark of memory given back and taken again.
inline void reportZlibStates(const std::function<void()>& ours, const std::function<void()>& peer)
{
    takeZlibStatesMade();
    const long peerPages = newPages(peer);
    const long peerStates = takeZlibStatesMade();
    const long ourPages = newPages(ours);
    const long ourStates = takeZlibStatesMade();
    std::printf("one Flate document: libharu made %ld zlib states and took %ld pages anew, Folian %ld and %ld\n",
                peerStates, peerPages, ourStates, ourPages);
}

// glibc gives freed memory back to the system as soon as more than 128 KiB lie free at the top of
// the heap, and takes it again, zeroed page by page, at the next allocation. libharu makes and
// frees zlib's state (about 270 KiB) for every stream, so this setting weighs on its Flate times;
// a threshold of 256 MiB keeps the memory for the next stream.
inline constexpr const char* kKeepFreedMemory = "glibc.malloc.trim_threshold=268435456";

// The medians each run recorded, by row label.
inline std::map<std::string, std::pair<double, double>> recordedMedians(const std::string& path)
{
    std::map<std::string, std::pair<double, double>> medians;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        if (first != std::string::npos && second != std::string::npos) {
            medians[line.substr(0, first)] = {std::stod(line.substr(first + 1, second - first - 1)),
                                              std::stod(line.substr(second + 1))};
        }
    }
    std::remove(path.c_str());
    return medians;
}

// What keeping freed memory changes on each side, row by row: the per-stream allocation effect.
inline void printAllocatorEffect(const std::string& asItComes, const std::string& kept)
{
    const auto before = recordedMedians(asItComes);
    const auto after = recordedMedians(kept);
    std::printf("\n== the allocator's effect: median ms as it comes -> with freed memory kept (difference)\n");
    std::printf("%-40s %28s %28s\n", "", "Folian", "libharu");
    for (const auto& [label, times] : before) {
        const auto other = after.find(label);
        if (other == after.end()) {
            continue;
        }
        const auto [ours, peer] = times;
        const auto [oursKept, peerKept] = other->second;
        std::printf("%-40s %8.1f -> %6.1f (%+6.1f) %8.1f -> %6.1f (%+6.1f)\n", label.c_str(), ours, oursKept,
                    oursKept - ours, peer, peerKept, peerKept - peer);
    }
}

// Runs `comparisons` twice, each time in a process of its own, so that both writers always share
// one allocator setting: with glibc's as it comes, and with kKeepFreedMemory. Returns the worse
// exit code of the two.
inline int underBothAllocatorSettings(const std::function<int()>& comparisons)
{
    if (const char* setting = std::getenv("FOLIAN_BENCH_ALLOCATOR")) {
        std::printf("\n== allocator: %s\n", setting);
        return comparisons();
    }
    const std::string results[] = {
        (std::filesystem::temp_directory_path() / ("folian-bench-" + std::to_string(getpid()) + "-0.txt")).string(),
        (std::filesystem::temp_directory_path() / ("folian-bench-" + std::to_string(getpid()) + "-1.txt")).string()};
    int worst = 0;
    for (const bool keep : {false, true}) {
        std::remove(results[keep].c_str());
        std::fflush(stdout);
        const pid_t child = fork();
        if (child < 0) {
            return 2;
        }
        if (child == 0) {
            if (keep) {
                setenv("FOLIAN_BENCH_ALLOCATOR", (std::string("GLIBC_TUNABLES=") + kKeepFreedMemory).c_str(), 1);
                setenv("GLIBC_TUNABLES", kKeepFreedMemory, 1);
            } else {
                setenv("FOLIAN_BENCH_ALLOCATOR", "glibc's own (freed memory given back past 128 KiB)", 1);
                unsetenv("GLIBC_TUNABLES");
            }
            setenv("FOLIAN_BENCH_RESULTS", results[keep].c_str(), 1);
            execl("/proc/self/exe", "/proc/self/exe", static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        int status = 0;
        if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            return 2;
        }
        worst = std::max(worst, WEXITSTATUS(status));
    }
    printAllocatorEffect(results[0], results[1]);
    return worst;
}

} // namespace bench
