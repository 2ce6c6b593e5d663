#pragma once

// What the benchmarks that set Folian against libharu share: the peer's error handler and its
// drawing of the layout table, the median, file sizes and the peak memory of one writer run by
// itself. Include it in one file of a benchmark only.
#include <hpdf.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
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

    void round(int index, const std::function<void()>& oursWork, const std::function<void()>& peerWork)
    {
        double ourTime = 0;
        double peerTime = 0;
        if (index % 2 == 0) {
            peerTime = timed(peerWork);
            ourTime = timed(oursWork);
        } else {
            ourTime = timed(oursWork);
            peerTime = timed(peerWork);
        }
        ours.push_back(ourTime);
        peer.push_back(peerTime);
        ratios.push_back(ourTime / peerTime);
    }
};

// The table of times, bytes and ratios of a comparison without compression and one with Flate.
inline void printComparisons(const Comparison& plain, const Comparison& flate, const std::string& ours,
                             const std::string& peer, const std::string& oursFlate, const std::string& peerFlate)
{
    std::printf("%-22s %10s %12s %16s\n", "", "time (ms)", "bytes", "time / libharu's");
    std::printf("%-22s %10.1f %12lld %16.3f\n", "Folian", median(plain.ours) * 1e3, sizeOf(ours), median(plain.ratios));
    std::printf("%-22s %10.1f %12lld\n", "libharu", median(plain.peer) * 1e3, sizeOf(peer));
    std::printf("%-22s %10.1f %12lld %16.3f\n", "Folian, Flate", median(flate.ours) * 1e3, sizeOf(oursFlate),
                median(flate.ratios));
    std::printf("%-22s %10.1f %12lld\n", "libharu, Flate", median(flate.peer) * 1e3, sizeOf(peerFlate));
}

} // namespace bench
