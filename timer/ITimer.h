#pragma once

#include <cstdint>

#include <QString>

namespace tagwell {

// The callback interface of the timer. After CPacetick::RequestNotify(sink)
// the timer calls these methods on the owner thread instead of raising its
// signals, one method per channel. This class implements every method as
// doing nothing; derive from it and override the channels you use.
//
// The timer holds the sink weakly: a sink that is destroyed simply stops
// receiving calls. A method may throw; the timer catches the error and hands
// its number and description to UserError of the same sink.
class ITimer {
public:
    virtual ~ITimer();

    virtual void Timer1msTick() {}
    virtual void Timer10msTick() {}
    virtual void Timer100msTick() {}
    virtual void Timer1Tick() {}
    virtual void Timer2Tick() {}
    virtual void Timer3Tick() {}
    virtual void Timer4Tick() {}
    virtual void Timer5Tick() {}
    virtual void Countdown1Complete() {}
    virtual void Countdown2Complete() {}
    virtual void Countdown3Complete() {}
    virtual void Countdown4Complete() {}
    virtual void Countdown5Complete() {}
    virtual void UserError(int32_t ErrorNumber, const QString& ErrorString)
    {
        (void)ErrorNumber;
        (void)ErrorString;
    }
};

}  // namespace tagwell
