#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "platform/Dispatcher.h"

namespace tagwell {

// A dispatcher with a virtual clock, for tests and headless programs: time
// moves only when advance() is called, and then every timer that is due runs
// in deadline order (timers due at the same moment in the order they were
// started), each followed by the tasks posted so far. Nothing sleeps.
class ManualDispatcher : public Dispatcher {
public:
    // The wall clock starts at this automation date (2026-01-05 08:00:00).
    static constexpr double DefaultStartDate = 46027.0 + 8.0 / 24.0;

    explicit ManualDispatcher(double startDate = DefaultStartDate);

    void post(Task task) override;
    TimerId startTimer(std::chrono::milliseconds interval, Task task) override;
    void stopTimer(TimerId id) override;
    std::chrono::milliseconds now() const override { return m_now; }
    double currentDate() const override;

    // Runs posted tasks (and the tasks they post) until none is left.
    void runPending();
    // Moves the clock forward, running due timers and posted tasks.
    void advance(std::chrono::milliseconds by);
    size_t activeTimerCount() const { return m_timers.size(); }

private:
    struct Timer {
        std::chrono::milliseconds interval;
        std::chrono::milliseconds due;
        Task task;
    };
    TimerId nextDueTimer(std::chrono::milliseconds limit) const;

    double m_startDate;
    std::chrono::milliseconds m_now{0};
    TimerId m_lastId = 0;
    std::map<TimerId, Timer> m_timers;
    std::mutex m_postedMutex;
    std::vector<Task> m_posted;
};

}  // namespace tagwell
