#include "platform/qt/QtDispatcher.h"

#include <QMetaObject>
#include <QTimer>

#include "platform/OleDate.h"

namespace tagwell {

QtDispatcher::QtDispatcher(QObject* parent) : QObject(parent) { m_clock.start(); }

QtDispatcher::~QtDispatcher()
{
    if (&Dispatcher::current() == this)
        Dispatcher::install(nullptr);
}

void QtDispatcher::post(Task task)
{
    QMetaObject::invokeMethod(this, [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}

Dispatcher::TimerId QtDispatcher::startTimer(std::chrono::milliseconds interval, Task task)
{
    const TimerId id = ++m_lastId;
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(std::max<int>(1, int(interval.count())));
    connect(timer, &QTimer::timeout, this, [task = std::move(task)] { task(); });
    m_timers.emplace(id, timer);
    timer->start();
    return id;
}

void QtDispatcher::stopTimer(TimerId id)
{
    auto it = m_timers.find(id);
    if (it == m_timers.end())
        return;
    it->second->stop();
    it->second->deleteLater();  // the timer may be the sender of the running task
    m_timers.erase(it);
}

std::chrono::milliseconds QtDispatcher::now() const
{
    return std::chrono::milliseconds(m_clock.elapsed());
}

double QtDispatcher::currentDate() const { return OleDate::now(); }

}  // namespace tagwell
