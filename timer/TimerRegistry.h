#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "timer/CObjData.h"

namespace tagwell {

class TickThread;

// The timers enabled on one thread: their records, keyed by window handle,
// and their running worker threads, keyed by timer id. There is one registry
// per thread; it exists from the first registration until the last record is
// removed. Handles and timer ids are never reused on a thread, so a message
// or a call meant for an earlier enable cannot reach a later one.
//
// Everything here is touched only on its own thread.
class TimerRegistry {
public:
    // This thread's registry, or null when it has none.
    static TimerRegistry* current();
    // This thread's registry, created when it has none.
    static TimerRegistry& obtain();
    // Drops this thread's registry when it holds no record.
    static void releaseIfEmpty();

    static uint32_t newHandle();

    TimerRegistry() = default;
    // At thread exit: stops every worker, then lets go of the timers that
    // were still enabled, telling each that it is no longer registered.
    ~TimerRegistry();

    TimerRegistry(const TimerRegistry&) = delete;
    TimerRegistry& operator=(const TimerRegistry&) = delete;

    void add(CObjData record);
    CObjData* find(uint32_t handle);
    void remove(uint32_t handle);
    std::size_t size() const { return m_records.size(); }

    uint32_t addTimer(std::unique_ptr<TickThread> worker);
    void removeTimer(uint32_t timerId);

private:
    std::map<uint32_t, CObjData> m_records;
    std::map<uint32_t, std::unique_ptr<TickThread>> m_workers;
};

}  // namespace tagwell
