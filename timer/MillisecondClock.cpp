#include "timer/MillisecondClock.h"

#include <atomic>
#include <ctime>

namespace tagwell {

namespace {
std::atomic<int64_t> g_offset{0};

int64_t monotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}
}  // namespace

int32_t MillisecondClock::now()
{
    return wrap(monotonicMilliseconds() + g_offset.load(std::memory_order_relaxed));
}

void MillisecondClock::setOffset(int64_t milliseconds)
{
    g_offset.store(milliseconds, std::memory_order_relaxed);
}

int64_t MillisecondClock::offset()
{
    return g_offset.load(std::memory_order_relaxed);
}

}  // namespace tagwell
