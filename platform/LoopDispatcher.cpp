#include "platform/LoopDispatcher.h"

#include "platform/OleDate.h"

namespace tagwell {

using std::chrono::milliseconds;

LoopDispatcher::LoopDispatcher() : m_epoch(std::chrono::steady_clock::now()) {}

void LoopDispatcher::post(Task task)
{
    {
        std::lock_guard lock(m_mutex);
        m_tasks.push_back(std::move(task));
    }
    m_posted.notify_one();
}

Dispatcher::TimerId LoopDispatcher::startTimer(milliseconds interval, Task task)
{
    interval = std::max(interval, milliseconds(1));
    const TimerId id = ++m_lastId;
    m_timers.emplace(id, Timer{interval, now() + interval, std::move(task)});
    return id;
}

void LoopDispatcher::stopTimer(TimerId id) { m_timers.erase(id); }

milliseconds LoopDispatcher::now() const
{
    return std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - m_epoch);
}

double LoopDispatcher::currentDate() const { return OleDate::now(); }

void LoopDispatcher::runPending()
{
    for (;;) {
        std::vector<Task> batch;
        {
            std::lock_guard lock(m_mutex);
            batch.swap(m_tasks);
        }
        if (batch.empty())
            return;
        for (Task& task : batch)
            task();
    }
}

bool LoopDispatcher::runDueTimer()
{
    const milliseconds current = now();
    for (auto& [id, timer] : m_timers) {
        if (timer.due > current)
            continue;
        // Next deadline: the first multiple of the interval after now.
        const auto missed = (current - timer.due) / timer.interval;
        timer.due += timer.interval * (missed + 1);
        Task task = timer.task;
        task();
        return true;
    }
    return false;
}

milliseconds LoopDispatcher::nextDeadline(milliseconds limit) const
{
    milliseconds next = limit;
    for (const auto& [id, timer] : m_timers)
        next = std::min(next, timer.due);
    return next;
}

void LoopDispatcher::runFor(milliseconds duration)
{
    const milliseconds end = now() + duration;
    for (;;) {
        runPending();
        while (runDueTimer())
            runPending();
        const milliseconds current = now();
        if (current >= end)
            return;
        std::unique_lock lock(m_mutex);
        m_posted.wait_for(lock, nextDeadline(end) - current, [this] { return !m_tasks.empty(); });
    }
}

}  // namespace tagwell
