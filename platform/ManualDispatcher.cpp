#include "platform/ManualDispatcher.h"

#include <utility>

namespace tagwell {

ManualDispatcher::ManualDispatcher(double startDate) : m_startDate(startDate) {}

void ManualDispatcher::post(Task task)
{
    std::lock_guard lock(m_postedMutex);
    m_posted.push_back(std::move(task));
}

Dispatcher::TimerId ManualDispatcher::startTimer(std::chrono::milliseconds interval, Task task)
{
    if (interval.count() < 1)
        interval = std::chrono::milliseconds(1);
    const TimerId id = ++m_lastId;
    m_timers.emplace(id, Timer{interval, m_now + interval, std::move(task)});
    return id;
}

void ManualDispatcher::stopTimer(TimerId id) { m_timers.erase(id); }

double ManualDispatcher::currentDate() const
{
    return m_startDate + double(m_now.count()) / 86'400'000.0;
}

void ManualDispatcher::runPending()
{
    for (;;) {
        std::vector<Task> batch;
        {
            std::lock_guard lock(m_postedMutex);
            batch.swap(m_posted);
        }
        if (batch.empty())
            return;
        for (Task& task : batch)
            task();
    }
}

Dispatcher::TimerId ManualDispatcher::nextDueTimer(std::chrono::milliseconds limit) const
{
    TimerId best = 0;
    std::chrono::milliseconds bestDue = limit + std::chrono::milliseconds(1);
    for (const auto& [id, timer] : m_timers) {
        if (timer.due < bestDue) {
            best = id;
            bestDue = timer.due;
        }
    }
    return best;
}

void ManualDispatcher::advance(std::chrono::milliseconds by)
{
    const auto target = m_now + by;
    runPending();
    while (TimerId id = nextDueTimer(target)) {
        Timer& timer = m_timers.at(id);
        m_now = timer.due;
        timer.due += timer.interval;
        Task task = timer.task;  // the timer may be stopped by its own task
        task();
        runPending();
    }
    m_now = target;
    runPending();
}

}  // namespace tagwell
