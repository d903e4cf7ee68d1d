#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <unordered_map>

#include "platform/Dispatcher.h"

class QTimer;

namespace tagwell {

// The dispatcher of a Qt program: tasks and timers run on the thread that
// owns this object, through its event loop. Create it on the owner thread
// and install it with Dispatcher::install.
class QtDispatcher : public QObject, public Dispatcher {
    Q_OBJECT
public:
    explicit QtDispatcher(QObject* parent = nullptr);
    ~QtDispatcher() override;

    void post(Task task) override;
    TimerId startTimer(std::chrono::milliseconds interval, Task task) override;
    void stopTimer(TimerId id) override;
    std::chrono::milliseconds now() const override;
    double currentDate() const override;

private:
    QElapsedTimer m_clock;
    TimerId m_lastId = 0;
    std::unordered_map<TimerId, QTimer*> m_timers;
};

}  // namespace tagwell
