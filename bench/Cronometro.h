#pragma once

// Timing helpers shared by the benchmarks.

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace ondavia::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The system's monotonic clock in nanoseconds: one clock for every process, so that a program and the
// benchmark that started it read times that can be subtracted.
inline long long monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// The middle value (the upper one of the two middle values of an even count).
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace ondavia::bench
