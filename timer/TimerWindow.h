#pragma once

#include <atomic>
#include <cstdint>

#include <QEvent>
#include <QObject>

namespace tagwell {

// The hidden window of one enabled timer: a QObject living on the owner
// thread. The timer's worker thread posts it one tick message per period;
// its event() hands each message to MPacetick::TimerWindowProc on the owner
// thread, which calls the timer's Tick.
//
// postTick() is the only member that may be called from another thread. At
// most MaxQueuedTicks tick messages wait in the owner's queue at any time;
// when the owner thread stalls for longer than that, further ticks are
// dropped instead of piling up without bound.
//
// Each enable makes a new window with a new handle; close() retires it, after
// which tick messages still queued for it have no effect.
class TimerWindow : public QObject {
    Q_OBJECT
public:
    static constexpr QEvent::Type TickMessage = static_cast<QEvent::Type>(QEvent::User + 0x1001);
    static constexpr int MaxQueuedTicks = 10'000;

    explicit TimerWindow(uint32_t handle);

    uint32_t handle() const { return m_handle; }

    // Any thread: queue one tick message for the owner thread.
    void postTick();

    // Owner thread: stop answering tick messages and go away, at once or,
    // when a tick of this window is being dispatched, once it has returned.
    void close();

protected:
    bool event(QEvent* event) override;

private:
    void dispatchTick();

    const uint32_t m_handle;
    std::atomic<int> m_queuedTicks{0};
    int m_dispatchDepth = 0;
    bool m_closed = false;
};

}  // namespace tagwell
