#pragma once

#include <functional>

#include "timer/ITimer.h"

namespace tagwell {

// Hands the three timer channels the data control uses to it: Time1 runs
// the display update, Time2 the collection update, Time3 the state watch.
// Every other channel and UserError are ignored. The control keeps the sink
// alive (the timer holds it weakly) and clears it before it goes, after
// which the sink calls nothing.
class XOPCTimerSink : public ITimer {
public:
    using Handler = std::function<void()>;

    XOPCTimerSink(Handler displayUpdate, Handler collectionUpdate, Handler stateWatch);

    void Detach();

    void Timer1Tick() override;
    void Timer2Tick() override;
    void Timer3Tick() override;

private:
    static void run(const Handler& handler);

    Handler m_displayUpdate;
    Handler m_collectionUpdate;
    Handler m_stateWatch;
};

}  // namespace tagwell
