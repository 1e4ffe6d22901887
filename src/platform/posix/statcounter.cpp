#include "platform/posix/statcounter.h"

#include <atomic>

namespace vennic {

namespace {
std::atomic<uint64_t> g_statCalls{0};
} // namespace

uint64_t statCallCount()
{
    return g_statCalls.load(std::memory_order_relaxed);
}

void resetStatCallCount()
{
    g_statCalls.store(0, std::memory_order_relaxed);
}

void detail::countStatCall()
{
    g_statCalls.fetch_add(1, std::memory_order_relaxed);
}

} // namespace vennic
