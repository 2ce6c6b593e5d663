#include "FailingAllocation.h"

#include <sqlite3.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_left{-1};
std::atomic<bool> g_failed{false};
std::atomic<bool> g_failedWithStatement{false};
std::atomic<sqlite3*> g_watched{nullptr};

void* allocate(std::size_t size)
{
    if (g_left.load() >= 0 && g_left.fetch_sub(1) == 0) {
        g_failed = true;
        // SQLite allocates through its own allocator: asking it here does not come back into this function.
        sqlite3* db = g_watched.load();
        g_failedWithStatement = db && sqlite3_next_stmt(db, nullptr) != nullptr;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace ondavia::test {

void failAllocation(long index)
{
    g_failed = false;
    g_failedWithStatement = false;
    g_left = index;
}

bool allocationFailed()
{
    return g_failed;
}

void watchConnection(sqlite3* db)
{
    g_watched = db;
}

bool allocationFailedWithStatement()
{
    return g_failedWithStatement;
}

} // namespace ondavia::test
