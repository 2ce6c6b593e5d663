#pragma once

// Timing helpers shared by the benchmarks.

#include <algorithm>
#include <chrono>
#include <vector>

namespace ondavia::bench {

using Clock = std::chrono::steady_clock;

inline double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The middle value (the upper one of the two middle values of an even count).
inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace ondavia::bench
