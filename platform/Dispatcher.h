#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace tagwell {

// The owner thread's event loop as code without Qt sees it. Everything of the
// object layer runs on that one thread; backends use the dispatcher to raise
// their events there.
//
// Contract:
// - post() may be called from any thread; the task runs later on the owner
//   thread, tasks in the order they were posted.
// - startTimer()/stopTimer() are called on the owner thread. A timer repeats
//   every interval until stopped; stopping it from inside its own task is
//   allowed and no further call follows. A timer never catches up: when the
//   owner was busy for three intervals it fires once, then continues on the
//   next multiple of its interval.
// - now() is a monotonic millisecond clock; currentDate() the wall clock as
//   an automation date (local time).
class Dispatcher {
public:
    using Task = std::function<void()>;
    using TimerId = uint64_t;

    virtual ~Dispatcher() = default;

    virtual void post(Task task) = 0;
    virtual TimerId startTimer(std::chrono::milliseconds interval, Task task) = 0;
    virtual void stopTimer(TimerId id) = 0;
    virtual std::chrono::milliseconds now() const = 0;
    virtual double currentDate() const = 0;

    // The dispatcher of this process's owner thread. Hosts install theirs at
    // start-up (the Qt event loop, or a manual one in tests); until then a
    // LoopDispatcher on the real clocks is in place, which runs when the
    // owner thread calls its runFor().
    static Dispatcher& current();
    // Installs a dispatcher (not owned; nullptr restores the built-in one).
    static void install(Dispatcher* dispatcher);
};

}  // namespace tagwell
