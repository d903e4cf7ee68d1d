#include "timer/MPacetick.h"

#include <QAbstractEventDispatcher>
#include <QThread>
#include <QtGlobal>

#include "timer/CPacetick.h"
#include "timer/PacetickError.h"
#include "timer/TickThread.h"
#include "timer/TimerRegistry.h"
#include "timer/TimerWindow.h"

namespace tagwell::MPacetick {

namespace {
thread_local std::function<bool()> t_breakModeProbe;

// A window can only receive tick messages on a thread that runs an event
// loop; anywhere else it would never be called.
TimerWindow* CreateTimerWindow()
{
    if (QThread::currentThread()->eventDispatcher() == nullptr) {
        qWarning("Unable to create window: this thread runs no Qt event loop");
        return nullptr;
    }
    return new TimerWindow(TimerRegistry::newHandle());
}
}  // namespace

uint32_t Register(std::shared_ptr<CPacetick> timer)
{
    TimerWindow* window = CreateTimerWindow();
    if (window == nullptr)
        throw PacetickError(PacetickError::InternalError, "MTimerMM::Register", "Unable to create timer control window");
    TimerRegistry::obtain().add(CObjData{std::move(timer), window->handle(), window});
    return window->handle();
}

void Unregister(uint32_t handle)
{
    TimerRegistry* registry = TimerRegistry::current();
    CObjData* record = registry ? registry->find(handle) : nullptr;
    if (record == nullptr)
        return;
    record->window->close();
    // Removing the record may release the last reference to the timer, so
    // keep it until the registry is tidy again.
    const std::shared_ptr<CPacetick> timer = std::move(record->objTimer);
    registry->remove(handle);
    TimerRegistry::releaseIfEmpty();
}

uint32_t StartTimer(int32_t delay, int32_t resolution, int32_t eventType, uint32_t handle)
{
    (void)resolution;
    TimerRegistry* registry = TimerRegistry::current();
    CObjData* record = registry ? registry->find(handle) : nullptr;
    if (record == nullptr || delay <= 0)
        return 0;
    TimerWindow* window = record->window;
    auto worker = std::make_unique<TickThread>(std::chrono::milliseconds(delay), (eventType & PeriodicEvent) != 0,
                                               [window] { window->postTick(); });
    if (!worker->start())
        return 0;
    return registry->addTimer(std::move(worker));
}

void StopTimer(uint32_t timerId)
{
    if (TimerRegistry* registry = TimerRegistry::current())
        registry->removeTimer(timerId);
}

void TimerWindowProc(uint32_t handle)
{
    TimerRegistry* registry = TimerRegistry::current();
    CObjData* record = registry ? registry->find(handle) : nullptr;
    if (record == nullptr)
        return;
    // Our own reference: the tick may disable the timer and so drop the
    // registry's.
    const std::shared_ptr<CPacetick> timer = record->objTimer;
    try {
        timer->Tick();
    } catch (...) {
        // An error raised while reporting a tick's error ends that tick only.
    }
}

bool IsInBreakMode()
{
    return t_breakModeProbe && t_breakModeProbe();
}

void SetBreakModeProbe(std::function<bool()> probe)
{
    t_breakModeProbe = std::move(probe);
}

std::size_t RegisteredCount()
{
    TimerRegistry* registry = TimerRegistry::current();
    return registry ? registry->size() : 0;
}

bool RegistryExists()
{
    return TimerRegistry::current() != nullptr;
}

QObject* WindowOf(uint32_t handle)
{
    TimerRegistry* registry = TimerRegistry::current();
    CObjData* record = registry ? registry->find(handle) : nullptr;
    return record ? record->window : nullptr;
}

}  // namespace tagwell::MPacetick
