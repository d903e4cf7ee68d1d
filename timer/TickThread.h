#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace tagwell {

// The worker behind one enabled timer. It sleeps on a CLOCK_MONOTONIC
// timerfd armed with absolute deadlines (origin + k × period, the origin
// taken when the schedule is armed), so lateness of one wake-up never shifts
// the next deadline. On each expiry it calls onTick once per elapsed period
// and does nothing else; onTick must be safe to call from this thread and
// must not block.
//
// The thread asks for the finest timer slack and, where the system grants
// it, a real-time priority; either request may be refused without harm.
class TickThread {
public:
    TickThread(std::chrono::milliseconds period, bool periodic, std::function<void()> onTick);
    ~TickThread();  // stops the thread and waits for it

    TickThread(const TickThread&) = delete;
    TickThread& operator=(const TickThread&) = delete;

    // Arms the schedule and starts the thread; false when the system refuses
    // a timer, a wake-up descriptor or a thread.
    bool start();

private:
    void run();
    bool armSchedule();
    void stop();

    std::chrono::milliseconds m_period;
    bool m_periodic;
    std::function<void()> m_onTick;
    int m_timerFd = -1;
    int m_stopFd = -1;
    std::thread m_thread;
};

}  // namespace tagwell
