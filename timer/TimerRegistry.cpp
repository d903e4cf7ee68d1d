#include "timer/TimerRegistry.h"

#include "timer/CPacetick.h"
#include "timer/TickThread.h"
#include "timer/TimerWindow.h"

namespace tagwell {

namespace {
thread_local std::unique_ptr<TimerRegistry> t_registry;
thread_local uint32_t t_lastHandle = 0;
thread_local uint32_t t_lastTimerId = 0;

// The next number of a counter that skips 0, which means "none".
uint32_t nextNonZero(uint32_t& last)
{
    ++last;
    if (last == 0)
        ++last;
    return last;
}
}  // namespace

TimerRegistry* TimerRegistry::current()
{
    return t_registry.get();
}

TimerRegistry& TimerRegistry::obtain()
{
    if (!t_registry)
        t_registry = std::make_unique<TimerRegistry>();
    return *t_registry;
}

void TimerRegistry::releaseIfEmpty()
{
    if (t_registry && t_registry->m_records.empty() && t_registry->m_workers.empty())
        t_registry.reset();
}

uint32_t TimerRegistry::newHandle()
{
    return nextNonZero(t_lastHandle);
}

TimerRegistry::~TimerRegistry()
{
    m_workers.clear();
    for (auto& [handle, record] : m_records) {
        record.objTimer->forgetRegistration();
        delete record.window;
    }
    m_records.clear();
}

void TimerRegistry::add(CObjData record)
{
    const uint32_t handle = record.hWnd;
    m_records[handle] = std::move(record);
}

CObjData* TimerRegistry::find(uint32_t handle)
{
    const auto found = m_records.find(handle);
    return found == m_records.end() ? nullptr : &found->second;
}

void TimerRegistry::remove(uint32_t handle)
{
    m_records.erase(handle);
}

uint32_t TimerRegistry::addTimer(std::unique_ptr<TickThread> worker)
{
    const uint32_t timerId = nextNonZero(t_lastTimerId);
    m_workers[timerId] = std::move(worker);
    return timerId;
}

void TimerRegistry::removeTimer(uint32_t timerId)
{
    m_workers.erase(timerId);
}

}  // namespace tagwell
