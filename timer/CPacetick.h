#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include <QObject>
#include <QString>
#include <QVariant>

#include "timer/EEventSynchronisation.h"
#include "timer/FixedMilliseconds.h"

namespace tagwell {

class ITimer;
class TimerRegistry;

// A timer that drives up to eighteen channels from one periodic tick:
//
//   OneMillisecond          every tick (once every Interval ms, despite the name)
//   TenMilliseconds         at most once per tick, when 10 ms have passed
//   OneHundredMilliseconds  likewise for 100 ms
//   Time1 .. Time5          likewise for their own interval (seconds; 0 = never)
//   Countdown1 .. 5         once, after their interval has passed since arming
//
// Units: intervals on this interface are seconds (float); Interval and
// Resolution are milliseconds. Internally times are milliseconds with four
// decimal places, read from a wrapping signed 32-bit millisecond clock.
//
// Thread: the thread that sets Enabled True owns the timer. Every tick, signal
// and ITimer call happens on that thread, which must run a Qt event loop; a
// worker thread only posts tick messages to it. Change Enabled on that thread.
//
// Ownership: create with CPacetick::create(). While enabled, the owner
// thread's registry holds the timer too, so it keeps ticking after its client
// lets go of it, until Enabled is set False. An ITimer sink is held weakly.
//
// Schedules. A periodic channel fires at the first tick at which Elapsed has
// reached its next due time, and is then due `interval` after that tick; late
// ticks are not caught up, the schedule moves with them. Example, Interval
// 5 ms: a TenMilliseconds handler that runs 17 ms at Elapsed 10 lets the
// queued ticks of Elapsed 15, 20 and 25 arrive late, at about 27 ms; the first
// of them fires the channel again (27 >= 20) and it is next due at 37.
//
// One busy flag blocks every channel while any delivery runs: ticks processed
// inside a handler (a nested event loop) update the clock but deliver nothing,
// and a blocked channel fires at the first later tick at which it is free.
//
// Errors: property writes throw PacetickError (380 for a bad value, 6 for an
// interval too large, 51 when the owner thread cannot take ticks). An error
// thrown by a handler or an ITimer method during a tick is caught and
// reported through UserError (of the sink if one is set, else the signal);
// the tick then continues as if the delivery had succeeded.
class CPacetick : public QObject, public std::enable_shared_from_this<CPacetick> {
    Q_OBJECT
    Q_CLASSINFO("TypeLibId", "9e674a81-6c2d-4397-a7ff-b8dc463ec8a7")
    Q_CLASSINFO("TypeLibVersion", "1.0")
    Q_CLASSINFO("TypeLibDescription", "High Resolution Multimedia Callback Timer")
    Q_CLASSINFO("HelpFile", "Pacetick.chm")
    Q_CLASSINFO("ClassId", "961bbd43-3ae0-4d7f-ba1b-7e5419d37773")
    Q_CLASSINFO("InterfaceId", "41e42ed5-b919-42d3-ada8-6ae1b77c920d")
    Q_CLASSINFO("EventsId", "4ff30c0c-96fc-4712-aa67-ab94602cbfe2")
    Q_CLASSINFO("CallbackClassId", "d3de5431-c143-4181-ab14-4ccdb2aab9fd")
    Q_CLASSINFO("CallbackInterfaceId", "335211d3-26e7-4e3e-b518-6fa50782538c")
    Q_CLASSINFO("CallbackDescription", "Secondary interface class for OLE callbacks.")
    Q_CLASSINFO("EEventSynchronisationId", "9af3d538-d0c4-436c-9dfe-9a18a320d9b4")
    Q_CLASSINFO("TIMECAPSId", "046c3719-702e-4342-b749-fda5be23e0cb")
    Q_CLASSINFO("Description", "High resolution multimedia callback timer.")
    // Members: "Help:<name>" for every member of the interface, and
    // "DispId:<name>" for the events, numbered in the order they are declared.
    Q_CLASSINFO("Help:BreakInDebugMode", "Set to discontinue callbacks if the program is in break mode in the IDE.")
    Q_CLASSINFO("Help:Tag", "Tells apart instances owned by the same object, as the index of a control array would. Not available in this version.")
    Q_CLASSINFO("Help:SecondsElapsed", "Returns the number of seconds elapsed since the timer was started or last reset.")
    Q_CLASSINFO("Help:Time1Interval", "The interval for a periodic event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time2Interval", "The interval for a periodic event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time3Interval", "The interval for a periodic event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time4Interval", "The interval for a periodic event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time5Interval", "The interval for a periodic event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown1Interval", "The interval for a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown2Interval", "The interval for a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown3Interval", "The interval for a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown4Interval", "The interval for a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown5Interval", "The interval for a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown1Remaining", "Time remaining before a one-shot event/callback fires, when the specified interval will have elapsed.")
    Q_CLASSINFO("Help:Countdown2Remaining", "Time remaining before a one-shot event/callback fires, when the specified interval will have elapsed.")
    Q_CLASSINFO("Help:Countdown3Remaining", "Time remaining before a one-shot event/callback fires, when the specified interval will have elapsed.")
    Q_CLASSINFO("Help:Countdown4Remaining", "Time remaining before a one-shot event/callback fires, when the specified interval will have elapsed.")
    Q_CLASSINFO("Help:Countdown5Remaining", "Time remaining before a one-shot event/callback fires, when the specified interval will have elapsed.")
    Q_CLASSINFO("Help:Time1msEnabled", "Enables a periodic event/callback to fire every 1 ms.")
    Q_CLASSINFO("Help:Time10msEnabled", "Enables a periodic event/callback to fire every 10 ms.")
    Q_CLASSINFO("Help:Time100msEnabled", "Enables a periodic event/callback to fire every 100 ms.")
    Q_CLASSINFO("Help:Time1Enabled", "Enables a periodic event/callback to fire after every interval of Time1.")
    Q_CLASSINFO("Help:Time2Enabled", "Enables a periodic event/callback to fire after every interval of Time2.")
    Q_CLASSINFO("Help:Time3Enabled", "Enables a periodic event/callback to fire after every interval of Time3.")
    Q_CLASSINFO("Help:Time4Enabled", "Enables a periodic event/callback to fire after every interval of Time4.")
    Q_CLASSINFO("Help:Time5Enabled", "Enables a periodic event/callback to fire after every interval of Time5.")
    Q_CLASSINFO("Help:Countdown1Enabled", "Enables a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown2Enabled", "Enables a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown3Enabled", "Enables a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown4Enabled", "Enables a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown5Enabled", "Enables a one-shot event/callback to fire after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown1Complete", "Returns a value indicating whether a one-shot event/callback has fired after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown2Complete", "Returns a value indicating whether a one-shot event/callback has fired after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown3Complete", "Returns a value indicating whether a one-shot event/callback has fired after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown4Complete", "Returns a value indicating whether a one-shot event/callback has fired after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown5Complete", "Returns a value indicating whether a one-shot event/callback has fired after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Enabled", "Starts the timer services. No events or callbacks will occur if this property is not set to true.")
    Q_CLASSINFO("Help:Interval", "Sets/Returns a value that indicates the mimimum interval that can be provided by any of the timer events. See also Resolution.")
    Q_CLASSINFO("Help:Resolution", "Sets/Returns a value that dictates the best resolution that can be provided by any of the timer events. Subject to available resolution on system.")
    Q_CLASSINFO("Help:EventSynchronisation", "None means events will never be blocked. Global means no event  will fire while another is in progress. Individual means an event will not fire if the same event is alreay underway. This can be used to prevent re-entrancy.")
    Q_CLASSINFO("Help:Reset", "Resets the timer.")
    Q_CLASSINFO("Help:EnableAll", "Enables all one shot and periodic events/callbacks.")
    Q_CLASSINFO("Help:DisableAll", "Disables all one shot and periodic events/callbacks.")
    Q_CLASSINFO("Help:CancelNotify", "Cancels the callbacks via the secondary interface (see RequestNotify).")
    Q_CLASSINFO("Help:RequestNotify", "Sets the object that is to receive OLE callbacks instead of events. These OLE callbacks (virtual table binding) are faster than events (DispID binding). Additionally, the callbacks are not blocked in the IDE by modal dialogues such as message boxes.")
    Q_CLASSINFO("Help:OneMillisecond", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:TenMilliseconds", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:OneHundredMilliseconds", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time1", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time2", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time3", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time4", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Time5", "Periodic event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown1", "One-shot event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown2", "One-shot event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown3", "One-shot event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown4", "One-shot event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("Help:Countdown5", "One-shot event/callback that fires after the specified interval has elapsed.")
    Q_CLASSINFO("DispId:OneMillisecond", "1")
    Q_CLASSINFO("DispId:TenMilliseconds", "2")
    Q_CLASSINFO("DispId:OneHundredMilliseconds", "3")
    Q_CLASSINFO("DispId:Time1", "4")
    Q_CLASSINFO("DispId:Time2", "5")
    Q_CLASSINFO("DispId:Time3", "6")
    Q_CLASSINFO("DispId:Time4", "7")
    Q_CLASSINFO("DispId:Time5", "8")
    Q_CLASSINFO("DispId:Countdown1", "9")
    Q_CLASSINFO("DispId:Countdown2", "10")
    Q_CLASSINFO("DispId:Countdown3", "11")
    Q_CLASSINFO("DispId:Countdown4", "12")
    Q_CLASSINFO("DispId:Countdown5", "13")
    Q_CLASSINFO("DispId:UserError", "14")
    Q_PROPERTY(QVariant Tag READ Tag WRITE setTag)
    Q_PROPERTY(double SecondsElapsed READ SecondsElapsed)
    Q_PROPERTY(float Time1Interval READ Time1Interval WRITE setTime1Interval)
    Q_PROPERTY(float Time2Interval READ Time2Interval WRITE setTime2Interval)
    Q_PROPERTY(float Time3Interval READ Time3Interval WRITE setTime3Interval)
    Q_PROPERTY(float Time4Interval READ Time4Interval WRITE setTime4Interval)
    Q_PROPERTY(float Time5Interval READ Time5Interval WRITE setTime5Interval)
    Q_PROPERTY(float Countdown1Interval READ Countdown1Interval WRITE setCountdown1Interval)
    Q_PROPERTY(float Countdown2Interval READ Countdown2Interval WRITE setCountdown2Interval)
    Q_PROPERTY(float Countdown3Interval READ Countdown3Interval WRITE setCountdown3Interval)
    Q_PROPERTY(float Countdown4Interval READ Countdown4Interval WRITE setCountdown4Interval)
    Q_PROPERTY(float Countdown5Interval READ Countdown5Interval WRITE setCountdown5Interval)
    Q_PROPERTY(float Countdown1Remaining READ Countdown1Remaining)
    Q_PROPERTY(float Countdown2Remaining READ Countdown2Remaining)
    Q_PROPERTY(float Countdown3Remaining READ Countdown3Remaining)
    Q_PROPERTY(float Countdown4Remaining READ Countdown4Remaining)
    Q_PROPERTY(float Countdown5Remaining READ Countdown5Remaining)
    Q_PROPERTY(bool Time1msEnabled READ Time1msEnabled WRITE setTime1msEnabled)
    Q_PROPERTY(bool Time10msEnabled READ Time10msEnabled WRITE setTime10msEnabled)
    Q_PROPERTY(bool Time100msEnabled READ Time100msEnabled WRITE setTime100msEnabled)
    Q_PROPERTY(bool Time1Enabled READ Time1Enabled WRITE setTime1Enabled)
    Q_PROPERTY(bool Time2Enabled READ Time2Enabled WRITE setTime2Enabled)
    Q_PROPERTY(bool Time3Enabled READ Time3Enabled WRITE setTime3Enabled)
    Q_PROPERTY(bool Time4Enabled READ Time4Enabled WRITE setTime4Enabled)
    Q_PROPERTY(bool Time5Enabled READ Time5Enabled WRITE setTime5Enabled)
    Q_PROPERTY(bool Countdown1Enabled READ Countdown1Enabled WRITE setCountdown1Enabled)
    Q_PROPERTY(bool Countdown2Enabled READ Countdown2Enabled WRITE setCountdown2Enabled)
    Q_PROPERTY(bool Countdown3Enabled READ Countdown3Enabled WRITE setCountdown3Enabled)
    Q_PROPERTY(bool Countdown4Enabled READ Countdown4Enabled WRITE setCountdown4Enabled)
    Q_PROPERTY(bool Countdown5Enabled READ Countdown5Enabled WRITE setCountdown5Enabled)
    Q_PROPERTY(bool Countdown1Complete READ Countdown1Complete)
    Q_PROPERTY(bool Countdown2Complete READ Countdown2Complete)
    Q_PROPERTY(bool Countdown3Complete READ Countdown3Complete)
    Q_PROPERTY(bool Countdown4Complete READ Countdown4Complete)
    Q_PROPERTY(bool Countdown5Complete READ Countdown5Complete)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(qint32 Interval READ Interval WRITE setInterval)
    Q_PROPERTY(qint32 Resolution READ Resolution WRITE setResolution)
    Q_PROPERTY(tagwell::EEventSynchronisation EventSynchronisation READ EventSynchronisation WRITE setEventSynchronisation)

public:
    // The millisecond clock; MillisecondClock::now unless a test supplies one.
    using Clock = std::function<int32_t()>;

    static constexpr int TimerCount = 5;      // Time1 .. Time5
    static constexpr int CountdownCount = 5;  // Countdown1 .. Countdown5

    static std::shared_ptr<CPacetick> create(Clock clock = {});

    // Only create() can make the key; use create().
    class ConstructionKey {
        friend class CPacetick;
        ConstructionKey() = default;
    };
    CPacetick(ConstructionKey, Clock clock);
    ~CPacetick() override;

    // Skip every tick while IsInBreakMode() reports break mode.
    void setBreakInDebugMode(bool fBreakInDebugMode) { m_breakInDebugMode = fBreakInDebugMode; }

    QVariant Tag() const { return m_tag; }
    void setTag(const QVariant& value) { m_tag = value; }

    // Elapsed / 1000 as of the last processed tick.
    double SecondsElapsed() const { return m_secondsElapsed; }

    // Time<n>, n = 1..5. Writing an interval also makes it the next due time
    // (measured in Elapsed). A bad n throws PacetickError 9.
    float TimeInterval(int n) const;
    void setTimeInterval(int n, float rDuration);
    bool TimeEnabled(int n) const;
    void setTimeEnabled(int n, bool fEnabled);

    // Countdown<n>, n = 1..5. Writing True arms a countdown that is not
    // running (it starts at the next processed tick); writing True to a
    // running one does nothing; writing False stops it.
    float CountdownInterval(int n) const;
    void setCountdownInterval(int n, float rDuration);
    float CountdownRemaining(int n) const;  // seconds; 0 when not running, < 0 while a due one is blocked
    bool CountdownEnabled(int n) const;
    void setCountdownEnabled(int n, bool fEnabled);
    bool CountdownComplete(int n) const;  // not running

    // Time1..Time5, Countdown1..Countdown5 by name.
    float Time1Interval() const { return TimeInterval(1); }
    void setTime1Interval(float rDuration) { setTimeInterval(1, rDuration); }
    bool Time1Enabled() const { return TimeEnabled(1); }
    void setTime1Enabled(bool fEnabled) { setTimeEnabled(1, fEnabled); }
    float Time2Interval() const { return TimeInterval(2); }
    void setTime2Interval(float rDuration) { setTimeInterval(2, rDuration); }
    bool Time2Enabled() const { return TimeEnabled(2); }
    void setTime2Enabled(bool fEnabled) { setTimeEnabled(2, fEnabled); }
    float Time3Interval() const { return TimeInterval(3); }
    void setTime3Interval(float rDuration) { setTimeInterval(3, rDuration); }
    bool Time3Enabled() const { return TimeEnabled(3); }
    void setTime3Enabled(bool fEnabled) { setTimeEnabled(3, fEnabled); }
    float Time4Interval() const { return TimeInterval(4); }
    void setTime4Interval(float rDuration) { setTimeInterval(4, rDuration); }
    bool Time4Enabled() const { return TimeEnabled(4); }
    void setTime4Enabled(bool fEnabled) { setTimeEnabled(4, fEnabled); }
    float Time5Interval() const { return TimeInterval(5); }
    void setTime5Interval(float rDuration) { setTimeInterval(5, rDuration); }
    bool Time5Enabled() const { return TimeEnabled(5); }
    void setTime5Enabled(bool fEnabled) { setTimeEnabled(5, fEnabled); }
    float Countdown1Interval() const { return CountdownInterval(1); }
    void setCountdown1Interval(float rDuration) { setCountdownInterval(1, rDuration); }
    float Countdown1Remaining() const { return CountdownRemaining(1); }
    bool Countdown1Enabled() const { return CountdownEnabled(1); }
    void setCountdown1Enabled(bool fEnabled) { setCountdownEnabled(1, fEnabled); }
    bool Countdown1Complete() const { return CountdownComplete(1); }
    float Countdown2Interval() const { return CountdownInterval(2); }
    void setCountdown2Interval(float rDuration) { setCountdownInterval(2, rDuration); }
    float Countdown2Remaining() const { return CountdownRemaining(2); }
    bool Countdown2Enabled() const { return CountdownEnabled(2); }
    void setCountdown2Enabled(bool fEnabled) { setCountdownEnabled(2, fEnabled); }
    bool Countdown2Complete() const { return CountdownComplete(2); }
    float Countdown3Interval() const { return CountdownInterval(3); }
    void setCountdown3Interval(float rDuration) { setCountdownInterval(3, rDuration); }
    float Countdown3Remaining() const { return CountdownRemaining(3); }
    bool Countdown3Enabled() const { return CountdownEnabled(3); }
    void setCountdown3Enabled(bool fEnabled) { setCountdownEnabled(3, fEnabled); }
    bool Countdown3Complete() const { return CountdownComplete(3); }
    float Countdown4Interval() const { return CountdownInterval(4); }
    void setCountdown4Interval(float rDuration) { setCountdownInterval(4, rDuration); }
    float Countdown4Remaining() const { return CountdownRemaining(4); }
    bool Countdown4Enabled() const { return CountdownEnabled(4); }
    void setCountdown4Enabled(bool fEnabled) { setCountdownEnabled(4, fEnabled); }
    bool Countdown4Complete() const { return CountdownComplete(4); }
    float Countdown5Interval() const { return CountdownInterval(5); }
    void setCountdown5Interval(float rDuration) { setCountdownInterval(5, rDuration); }
    float Countdown5Remaining() const { return CountdownRemaining(5); }
    bool Countdown5Enabled() const { return CountdownEnabled(5); }
    void setCountdown5Enabled(bool fEnabled) { setCountdownEnabled(5, fEnabled); }
    bool Countdown5Complete() const { return CountdownComplete(5); }

    bool Time1msEnabled() const { return m_everyTickEnabled; }
    void setTime1msEnabled(bool fEnabled) { m_everyTickEnabled = fEnabled; }
    bool Time10msEnabled() const;
    void setTime10msEnabled(bool fEnabled);
    bool Time100msEnabled() const;
    void setTime100msEnabled(bool fEnabled);

    // Starts (True) or stops (False) the ticks. Writing the current value does
    // nothing. Otherwise throws PacetickError 380 (source "CPacetick::Enabled")
    // when Interval <= 0 or Resolution < 0, Interval checked first, and 51 when
    // the ticks cannot be started on this thread; Enabled is then unchanged.
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool NewValue);

    // Milliseconds; > 0 and >= 0 respectively, else PacetickError 380 and the
    // value is kept. Both take effect at the next enable.
    int32_t Interval() const { return m_interval; }
    void setInterval(int32_t NewValue);
    int32_t Resolution() const { return m_resolution; }
    void setResolution(int32_t NewValue);

    // Stored and returned only; see EEventSynchronisation.
    EEventSynchronisation EventSynchronisation() const { return m_synchronisation; }
    void setEventSynchronisation(EEventSynchronisation NewValue) { m_synchronisation = NewValue; }

    // Restarts Elapsed from the clock now and every periodic schedule with
    // it. Countdowns are untouched.
    Q_INVOKABLE void Reset();
    // Enable or disable the eight periodic channels; countdowns keep their state.
    Q_INVOKABLE void EnableAll();
    Q_INVOKABLE void DisableAll();

    // Deliver through `iTmrNotify` instead of signals. An empty pointer
    // silences every channel; errors of a tick then still come as the
    // UserError signal. The sink is held weakly: once it is destroyed,
    // nothing is delivered and errors are not reported.
    void RequestNotify(const std::shared_ptr<ITimer>& iTmrNotify);
    // Back to signals.
    Q_INVOKABLE void CancelNotify();

    // Processes one tick. Called on the owner thread once per tick message;
    // tests call it directly with a controlled clock. Throws only when
    // reporting an error itself failed.
    void Tick();

    // The handle of this timer's window while enabled, else 0.
    uint32_t WindowHandle() const { return m_windowHandle; }

signals:
    void OneMillisecond();
    void TenMilliseconds();
    void OneHundredMilliseconds();
    void Time1();
    void Time2();
    void Time3();
    void Time4();
    void Time5();
    void Countdown1();
    void Countdown2();
    void Countdown3();
    void Countdown4();
    void Countdown5();
    // An error raised by a handler or sink method during a tick, when no
    // ITimer sink is set. Arguments are passed by reference; connect directly.
    void UserError(qint32& ErrorNumber, QString& ErrorString);

private:
    friend class TimerRegistry;

    // The channels in delivery order.
    enum Channel : int {
        chOneMillisecond,
        chTenMilliseconds,
        chOneHundredMilliseconds,
        chTime1,
        chCountdown1 = chTime1 + TimerCount,
        ChannelCount = chCountdown1 + CountdownCount,
    };

    // The 10 ms and 100 ms channels and Time1..Time5 share one rule.
    struct PeriodicChannel {
        FixedMilliseconds interval;
        FixedMilliseconds nextDue;  // in Elapsed
        bool enabled = false;
    };
    static constexpr int TenMsIndex = 0;
    static constexpr int HundredMsIndex = 1;
    static constexpr int FirstTimeIndex = 2;
    static constexpr int PeriodicCount = FirstTimeIndex + TimerCount;

    struct Countdown {
        FixedMilliseconds interval;
        FixedMilliseconds start;  // clock value
        bool enabled = false;
        bool running = false;
        bool restartPending = false;
    };

    PeriodicChannel& timeChannel(int n, const char* source);
    const PeriodicChannel& timeChannel(int n, const char* source) const;
    Countdown& countdown(int n, const char* source);
    const Countdown& countdown(int n, const char* source) const;

    void checkIntervalAndResolution(const char* source) const;
    void start();
    void stop();
    void forgetRegistration();

    void readClock();
    void rebase();
    void restartPeriodicSchedules();
    void carryCountdownsAcrossWrap();
    void runEveryTickChannel();
    void runPeriodic(int index);
    void runCountdown(int index);
    void armCountdown(Countdown& countdown);

    void deliver(Channel channel);
    void raise(Channel channel);
    void reportTickError(std::exception_ptr error);
    std::shared_ptr<ITimer> notifySink() const;

    Clock m_clock;
    bool m_enabled = false;
    int32_t m_interval = 0;
    int32_t m_resolution = 0;
    int32_t m_eventType = 1;  // periodic, the only kind used
    EEventSynchronisation m_synchronisation = esGlobal;
    uint32_t m_timerId = 0;
    uint32_t m_windowHandle = 0;
    std::thread::id m_ownerThread;
    bool m_notify = false;
    bool m_hasSink = false;
    std::weak_ptr<ITimer> m_sink;
    bool m_breakInDebugMode = false;
    QVariant m_tag;
    bool m_busy = false;

    FixedMilliseconds m_now;
    FixedMilliseconds m_start;
    FixedMilliseconds m_elapsed;
    double m_secondsElapsed = 0;

    bool m_everyTickEnabled = false;
    std::array<PeriodicChannel, PeriodicCount> m_periodic;
    std::array<Countdown, CountdownCount> m_countdowns;
};

}  // namespace tagwell
