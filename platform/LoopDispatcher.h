#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <vector>

#include "platform/Dispatcher.h"

namespace tagwell {

// A dispatcher on the real clocks for programs without a Qt event loop: the
// owner thread calls runFor() or runUntil() and meanwhile runs posted tasks
// and due timers, sleeping in between. A timer that fell behind fires once
// and continues on its next multiple of the interval.
class LoopDispatcher : public Dispatcher {
public:
    LoopDispatcher();

    void post(Task task) override;
    TimerId startTimer(std::chrono::milliseconds interval, Task task) override;
    void stopTimer(TimerId id) override;
    std::chrono::milliseconds now() const override;
    double currentDate() const override;

    // Runs tasks and timers for the given time.
    void runFor(std::chrono::milliseconds duration);
    // Runs the tasks posted so far (and the tasks they post), without waiting.
    void runPending();

private:
    struct Timer {
        std::chrono::milliseconds interval;
        std::chrono::milliseconds due;
        Task task;
    };
    bool runDueTimer();
    std::chrono::milliseconds nextDeadline(std::chrono::milliseconds limit) const;

    std::chrono::steady_clock::time_point m_epoch;
    TimerId m_lastId = 0;
    std::map<TimerId, Timer> m_timers;
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::vector<Task> m_tasks;
};

}  // namespace tagwell
