#include "core/Hooks.h"

#include <chrono>
#include <ctime>
#include <random>

namespace folian {

namespace {
Hooks& defaultHooksStorage()
{
    static Hooks hooks;
    return hooks;
}
} // namespace

void SetDefaultHooks(Hooks hooks)
{
    defaultHooksStorage() = std::move(hooks);
}

const Hooks& DefaultHooks()
{
    return defaultHooksStorage();
}

LocalDateTime SystemNow()
{
    const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    // std::localtime shares one buffer; the writer runs on one thread, so a copy at once is enough.
    const std::tm tm = *std::localtime(&t);
    return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

int SystemUtcOffsetMinutes(const LocalDateTime& when)
{
    std::tm local{};
    local.tm_year = when.year - 1900;
    local.tm_mon = when.month - 1;
    local.tm_mday = when.day;
    local.tm_hour = when.hour;
    local.tm_min = when.minute;
    local.tm_sec = when.second;
    local.tm_isdst = -1; // the zone's rules decide whether summer time holds
    const std::time_t moment = std::mktime(&local);
    if (moment == static_cast<std::time_t>(-1)) {
        return 0;
    }
    // The moment's UTC fields read back as local time, under the same summer-time flag, fall
    // behind the moment by exactly the offset.
    std::tm utc = *std::gmtime(&moment);
    utc.tm_isdst = local.tm_isdst;
    const std::time_t shifted = std::mktime(&utc);
    if (shifted == static_cast<std::time_t>(-1)) {
        return 0;
    }
    return static_cast<int>(std::difftime(moment, shifted) / 60);
}

int SystemRandomDigit()
{
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 9)(engine);
}

} // namespace folian
