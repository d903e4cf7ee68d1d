#include "timer/CPacetick.h"

#include <exception>

#include "timer/ITimer.h"
#include "timer/MPacetick.h"
#include "timer/MillisecondClock.h"
#include "timer/PacetickError.h"

namespace tagwell {

namespace {
constexpr auto TenMsPeriod = FixedMilliseconds::fromMilliseconds(10);
constexpr auto HundredMsPeriod = FixedMilliseconds::fromMilliseconds(100);
// The signed 32-bit millisecond clock covers 2^32 ms and wraps half way.
constexpr auto ClockRange = FixedMilliseconds::fromMilliseconds(int64_t(1) << 32);
constexpr auto HalfClockRange = FixedMilliseconds::fromMilliseconds(int64_t(1) << 31);

constexpr const char* SourceEnabled = "CPacetick::Enabled";
constexpr const char* SourceInterval = "CPacetick::Interval";
constexpr const char* SourceResolution = "CPacetick::Resolution";
constexpr const char* SourceTimeInterval = "CPacetick::TimeInterval";
constexpr const char* SourceCountdownInterval = "CPacetick::CountdownInterval";
constexpr const char* IntervalMustBePositive = "Interval property must be positive";
constexpr const char* ResolutionMustBeNonNegative = "Resolution property must be non-negative";
constexpr const char* UnknownErrorText = "Unknown error";

// Where each channel goes: its signal, or its method on an ITimer sink.
struct Route {
    void (CPacetick::*signal)();
    void (ITimer::*callback)();
};
constexpr std::array<Route, 13> Routes = {{
    {&CPacetick::OneMillisecond, &ITimer::Timer1msTick},
    {&CPacetick::TenMilliseconds, &ITimer::Timer10msTick},
    {&CPacetick::OneHundredMilliseconds, &ITimer::Timer100msTick},
    {&CPacetick::Time1, &ITimer::Timer1Tick},
    {&CPacetick::Time2, &ITimer::Timer2Tick},
    {&CPacetick::Time3, &ITimer::Timer3Tick},
    {&CPacetick::Time4, &ITimer::Timer4Tick},
    {&CPacetick::Time5, &ITimer::Timer5Tick},
    {&CPacetick::Countdown1, &ITimer::Countdown1Complete},
    {&CPacetick::Countdown2, &ITimer::Countdown2Complete},
    {&CPacetick::Countdown3, &ITimer::Countdown3Complete},
    {&CPacetick::Countdown4, &ITimer::Countdown4Complete},
    {&CPacetick::Countdown5, &ITimer::Countdown5Complete},
}};

bool isChannelNumber(int n, int count)
{
    return n >= 1 && n <= count;
}

// The number and description of an error caught during a tick.
std::pair<int32_t, QString> describe(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const PacetickError& e) {
        return {e.number(), QString::fromStdString(e.description())};
    } catch (const std::exception& e) {
        return {PacetickError::InternalError, QString::fromUtf8(e.what())};
    } catch (...) {
        return {PacetickError::InternalError, QString::fromUtf8(UnknownErrorText)};
    }
}
}  // namespace

std::shared_ptr<CPacetick> CPacetick::create(Clock clock)
{
    return std::make_shared<CPacetick>(ConstructionKey{}, std::move(clock));
}

CPacetick::CPacetick(ConstructionKey, Clock clock)
    : m_clock(clock ? std::move(clock) : Clock(&MillisecondClock::now))
{
    m_start = FixedMilliseconds::fromMilliseconds(m_clock());
    m_periodic[TenMsIndex].interval = TenMsPeriod;
    m_periodic[HundredMsIndex].interval = HundredMsPeriod;
    restartPeriodicSchedules();
}

CPacetick::~CPacetick()
{
    // Only reached while registered when the registry itself is going away,
    // and it clears both first; this covers any other way out.
    if (m_timerId != 0)
        MPacetick::StopTimer(m_timerId);
    if (m_windowHandle != 0)
        MPacetick::Unregister(m_windowHandle);
}

// ---- channel state ------------------------------------------------------

CPacetick::PeriodicChannel& CPacetick::timeChannel(int n, const char* source)
{
    if (!isChannelNumber(n, TimerCount))
        throw PacetickError(PacetickError::SubscriptOutOfRange, source, "Subscript out of range");
    return m_periodic[FirstTimeIndex + n - 1];
}

const CPacetick::PeriodicChannel& CPacetick::timeChannel(int n, const char* source) const
{
    return const_cast<CPacetick*>(this)->timeChannel(n, source);
}

CPacetick::Countdown& CPacetick::countdown(int n, const char* source)
{
    if (!isChannelNumber(n, CountdownCount))
        throw PacetickError(PacetickError::SubscriptOutOfRange, source, "Subscript out of range");
    return m_countdowns[n - 1];
}

const CPacetick::Countdown& CPacetick::countdown(int n, const char* source) const
{
    return const_cast<CPacetick*>(this)->countdown(n, source);
}

float CPacetick::TimeInterval(int n) const
{
    return timeChannel(n, SourceTimeInterval).interval.toSecondsFloat();
}

void CPacetick::setTimeInterval(int n, float rDuration)
{
    PeriodicChannel& channel = timeChannel(n, SourceTimeInterval);
    const auto interval = FixedMilliseconds::fromSeconds(rDuration, SourceTimeInterval);
    channel.interval = interval;
    channel.nextDue = interval;
}

bool CPacetick::TimeEnabled(int n) const
{
    return timeChannel(n, "CPacetick::TimeEnabled").enabled;
}

void CPacetick::setTimeEnabled(int n, bool fEnabled)
{
    timeChannel(n, "CPacetick::TimeEnabled").enabled = fEnabled;
}

float CPacetick::CountdownInterval(int n) const
{
    return countdown(n, SourceCountdownInterval).interval.toSecondsFloat();
}

void CPacetick::setCountdownInterval(int n, float rDuration)
{
    Countdown& c = countdown(n, SourceCountdownInterval);
    c.interval = FixedMilliseconds::fromSeconds(rDuration, SourceCountdownInterval);
}

float CPacetick::CountdownRemaining(int n) const
{
    const Countdown& c = countdown(n, "CPacetick::CountdownRemaining");
    if (!c.running)
        return 0;
    return (c.start + c.interval - m_now).toSecondsFloat();
}

bool CPacetick::CountdownEnabled(int n) const
{
    return countdown(n, "CPacetick::CountdownEnabled").enabled;
}

void CPacetick::setCountdownEnabled(int n, bool fEnabled)
{
    Countdown& c = countdown(n, "CPacetick::CountdownEnabled");
    c.enabled = fEnabled;
    if (fEnabled)
        armCountdown(c);
    else
        c.running = false;
}

bool CPacetick::CountdownComplete(int n) const
{
    return !countdown(n, "CPacetick::CountdownComplete").running;
}

void CPacetick::armCountdown(Countdown& c)
{
    if (!c.enabled || c.running)
        return;
    c.start = m_now;
    c.running = true;
    c.restartPending = true;
}

bool CPacetick::Time10msEnabled() const
{
    return m_periodic[TenMsIndex].enabled;
}

void CPacetick::setTime10msEnabled(bool fEnabled)
{
    m_periodic[TenMsIndex].enabled = fEnabled;
}

bool CPacetick::Time100msEnabled() const
{
    return m_periodic[HundredMsIndex].enabled;
}

void CPacetick::setTime100msEnabled(bool fEnabled)
{
    m_periodic[HundredMsIndex].enabled = fEnabled;
}

void CPacetick::EnableAll()
{
    m_everyTickEnabled = true;
    for (PeriodicChannel& channel : m_periodic)
        channel.enabled = true;
}

void CPacetick::DisableAll()
{
    m_everyTickEnabled = false;
    for (PeriodicChannel& channel : m_periodic)
        channel.enabled = false;
}

void CPacetick::Reset()
{
    m_start = FixedMilliseconds::fromMilliseconds(m_clock());
    restartPeriodicSchedules();
}

void CPacetick::restartPeriodicSchedules()
{
    for (PeriodicChannel& channel : m_periodic)
        channel.nextDue = channel.interval;
}

// ---- notification -------------------------------------------------------

void CPacetick::RequestNotify(const std::shared_ptr<ITimer>& iTmrNotify)
{
    m_notify = true;
    m_hasSink = iTmrNotify != nullptr;
    m_sink = iTmrNotify;
}

void CPacetick::CancelNotify()
{
    m_notify = false;
    m_hasSink = false;
    m_sink.reset();
}

std::shared_ptr<ITimer> CPacetick::notifySink() const
{
    return m_sink.lock();
}

// ---- enabling -----------------------------------------------------------

void CPacetick::setInterval(int32_t NewValue)
{
    if (NewValue <= 0)
        throw PacetickError(PacetickError::InvalidPropertyValue, SourceInterval, IntervalMustBePositive);
    m_interval = NewValue;
}

void CPacetick::setResolution(int32_t NewValue)
{
    if (NewValue < 0)
        throw PacetickError(PacetickError::InvalidPropertyValue, SourceResolution, ResolutionMustBeNonNegative);
    m_resolution = NewValue;
}

void CPacetick::checkIntervalAndResolution(const char* source) const
{
    if (m_interval <= 0)
        throw PacetickError(PacetickError::InvalidPropertyValue, source, IntervalMustBePositive);
    if (m_resolution < 0)
        throw PacetickError(PacetickError::InvalidPropertyValue, source, ResolutionMustBeNonNegative);
}

void CPacetick::setEnabled(bool NewValue)
{
    if (NewValue == m_enabled)
        return;
    checkIntervalAndResolution(SourceEnabled);
    // Disabling drops the registry's reference, which may be the last one.
    const auto keepAlive = shared_from_this();
    if (NewValue)
        start();
    else
        stop();
    m_busy = false;
}

void CPacetick::start()
{
    if (m_windowHandle == 0)
        m_windowHandle = MPacetick::Register(shared_from_this());
    m_enabled = true;
    m_ownerThread = std::this_thread::get_id();
    m_timerId = MPacetick::StartTimer(m_interval, m_resolution, m_eventType, m_windowHandle);
}

void CPacetick::stop()
{
    // The window, the worker and the registry record belong to the owner
    // thread; from anywhere else they cannot be reached.
    if (m_windowHandle != 0 && std::this_thread::get_id() != m_ownerThread)
        throw PacetickError(PacetickError::InternalError, SourceEnabled,
                            "Enabled must be set False on the thread that set it True");
    MPacetick::StopTimer(m_timerId);
    m_timerId = 0;
    MPacetick::Unregister(m_windowHandle);
    m_windowHandle = 0;
    m_enabled = false;
}

void CPacetick::forgetRegistration()
{
    m_timerId = 0;
    m_windowHandle = 0;
    m_enabled = false;
}

// ---- the tick -----------------------------------------------------------

void CPacetick::Tick()
{
    if (m_breakInDebugMode && MPacetick::IsInBreakMode())
        return;
    // A handler may drop the last reference to this timer.
    const auto keepAlive = shared_from_this();
    try {
        readClock();
    } catch (...) {
        reportTickError(std::current_exception());
    }
    runEveryTickChannel();
    for (int index = 0; index < PeriodicCount; ++index)
        runPeriodic(index);
    for (int index = 0; index < CountdownCount; ++index)
        runCountdown(index);
}

void CPacetick::readClock()
{
    m_now = FixedMilliseconds::fromMilliseconds(m_clock());
    if (m_now - m_start < FixedMilliseconds{})
        rebase();
    m_elapsed = m_now - m_start;
    m_secondsElapsed = m_elapsed.toSeconds();
}

// The clock has passed 2^31 ms and become negative: Elapsed and the periodic
// schedules start again from here.
void CPacetick::rebase()
{
    m_start = m_now;
    restartPeriodicSchedules();
    carryCountdownsAcrossWrap();
}

// A countdown started before the wrap keeps its remaining time: its start is
// moved into the clock's new range. Without this it would wait about 49 days.
void CPacetick::carryCountdownsAcrossWrap()
{
    for (Countdown& c : m_countdowns) {
        if (c.running && c.start - m_now > HalfClockRange)
            c.start = c.start - ClockRange;
    }
}

void CPacetick::runEveryTickChannel()
{
    if (m_everyTickEnabled && !m_busy)
        deliver(chOneMillisecond);
}

void CPacetick::runPeriodic(int index)
{
    PeriodicChannel& channel = m_periodic[index];
    if (!channel.enabled || m_busy || channel.interval == FixedMilliseconds{} || m_elapsed < channel.nextDue)
        return;
    deliver(static_cast<Channel>(chTenMilliseconds + index));
    channel.nextDue = m_elapsed + channel.interval;
}

void CPacetick::runCountdown(int index)
{
    Countdown& c = m_countdowns[index];
    if (!c.enabled || !c.running)
        return;
    if (c.restartPending) {
        c.start = m_now;
        c.restartPending = false;
    }
    if (m_now - c.start > c.interval && !m_busy) {
        deliver(static_cast<Channel>(chCountdown1 + index));
        c.running = false;
    }
}

void CPacetick::deliver(Channel channel)
{
    m_busy = true;
    try {
        raise(channel);
    } catch (...) {
        try {
            reportTickError(std::current_exception());
        } catch (...) {
            // Reporting failed: the tick ends here, but the timer must not
            // stay blocked.
            m_busy = false;
            throw;
        }
    }
    m_busy = false;
}

void CPacetick::raise(Channel channel)
{
    const Route& route = Routes[channel];
    if (!m_notify) {
        emit(this->*route.signal)();
        return;
    }
    if (const auto sink = notifySink())
        ((*sink).*route.callback)();
}

void CPacetick::reportTickError(std::exception_ptr error)
{
    auto [number, description] = describe(error);
    if (m_hasSink) {
        if (const auto sink = notifySink())
            sink->UserError(number, description);
        return;
    }
    emit UserError(number, description);
}

}  // namespace tagwell
