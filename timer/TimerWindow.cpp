#include "timer/TimerWindow.h"

#include <QCoreApplication>
#include <QPointer>

#include "timer/MPacetick.h"

namespace tagwell {

TimerWindow::TimerWindow(uint32_t handle) : m_handle(handle)
{
}

void TimerWindow::postTick()
{
    if (m_queuedTicks.fetch_add(1, std::memory_order_relaxed) >= MaxQueuedTicks) {
        m_queuedTicks.fetch_sub(1, std::memory_order_relaxed);
        return;
    }
    QCoreApplication::postEvent(this, new QEvent(TickMessage));
}

void TimerWindow::close()
{
    m_closed = true;
    if (m_dispatchDepth > 0)
        deleteLater();
    else
        delete this;
}

bool TimerWindow::event(QEvent* event)
{
    if (event->type() != TickMessage)
        return QObject::event(event);
    m_queuedTicks.fetch_sub(1, std::memory_order_relaxed);
    if (!m_closed)
        dispatchTick();
    return true;
}

void TimerWindow::dispatchTick()
{
    // A handler may run a nested event loop in which this window is closed
    // and deleted; the guard tells us not to touch it afterwards.
    const QPointer<TimerWindow> self(this);
    ++m_dispatchDepth;
    MPacetick::TimerWindowProc(m_handle);
    if (self)
        --m_dispatchDepth;
}

}  // namespace tagwell
