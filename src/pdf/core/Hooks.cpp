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

int SystemRandomDigit()
{
    static std::mt19937 engine{std::random_device{}()};
    return std::uniform_int_distribution<int>(0, 9)(engine);
}

} // namespace folian
