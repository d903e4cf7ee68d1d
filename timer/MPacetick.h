#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class QObject;

namespace tagwell {

class CPacetick;

// Carries timer ticks from a worker thread to the thread that enabled the
// timer. Each enabled CPacetick has a hidden window (a QObject on its owner
// thread) and a record in that thread's registry, keyed by the window's
// handle; its worker thread only posts tick messages to the window, and the
// window calls the timer's Tick on the owner thread. The registry holds the
// timer, so an enabled timer lives until it is disabled.
//
// Every function here is called on the owner thread. A thread that runs no
// Qt event loop cannot own a timer.
namespace MPacetick {

// The flag word of a periodic timer, the only kind CPacetick starts.
constexpr int32_t PeriodicEvent = 1;

// Makes the timer's window and registry record on this thread and returns the
// window handle. Throws PacetickError 51 "Unable to create timer control
// window" (source "MTimerMM::Register") when this thread has no event loop.
uint32_t Register(std::shared_ptr<CPacetick> timer);

// Removes the record and retires the window; tick messages still queued for
// it are ignored. An unknown handle is ignored. Never throws.
void Unregister(uint32_t handle);

// Starts a worker thread that posts a tick message to the window every
// `delay` ms (once only when eventType lacks PeriodicEvent) and returns its
// timer id, or 0 when the system refused or the handle is not registered.
// The worker always asks for the finest timing the system gives, which is at
// least as fine as any `resolution`.
uint32_t StartTimer(int32_t delay, int32_t resolution, int32_t eventType, uint32_t handle);

// Stops the worker and waits until it has stopped. Unknown ids are ignored.
void StopTimer(uint32_t timerId);

// The window procedure for tick messages: finds the record of `handle` and
// calls its timer's Tick, swallowing any error. Unknown handles are ignored.
void TimerWindowProc(uint32_t handle);

// Whether a development environment hosting this program stands in break
// mode. No such environment exists on this platform, so this is False unless
// a probe has been installed for this thread (a debugger integration, or a
// test).
bool IsInBreakMode();
void SetBreakModeProbe(std::function<bool()> probe);

// Introspection of this thread's registry.
std::size_t RegisteredCount();
bool RegistryExists();
QObject* WindowOf(uint32_t handle);

}  // namespace MPacetick
}  // namespace tagwell
