// Where ticks go: events or an ITimer sink, and where errors raised during a
// tick are reported.

#include <functional>
#include <stdexcept>

#include <gtest/gtest.h>

#include "PacetickTestSupport.h"
#include "timer/PacetickError.h"

namespace tagwell::test {
namespace {

constexpr int32_t Origin = 5000;

struct ChannelRoute {
    const char* signal;
    const char* sinkMethod;
    std::function<void(CPacetick&)> enable;
    int firings;  // over ticks at elapsed 0 and 200
};

void PrintTo(const ChannelRoute& c, std::ostream* os)
{
    *os << c.signal;
}

std::function<void(CPacetick&)> timeChannel(int n)
{
    return [n](CPacetick& t) {
        t.setTimeInterval(n, 0.1f);
        t.setTimeEnabled(n, true);
    };
}

std::function<void(CPacetick&)> countdown(int n)
{
    return [n](CPacetick& t) {
        t.setCountdownInterval(n, 0.1f);
        t.setCountdownEnabled(n, true);
    };
}

std::string repeated(const std::string& name, int times)
{
    return joined(std::vector<std::string>(static_cast<std::size_t>(times), name));
}

class ChannelRouteTest : public ::testing::TestWithParam<ChannelRoute> {
protected:
    void runTwoTicks()
    {
        GetParam().enable(*timer);
        timer->Tick();
        clock.now = Origin + 200;
        timer->Tick();
    }

    ManualClock clock{Origin};
    std::shared_ptr<CPacetick> timer = CPacetick::create(clock.reader());
    SignalLog events{*timer};
};

TEST_P(ChannelRouteTest, WithoutASinkTheChannelRaisesItsSignal)
{
    runTwoTicks();
    EXPECT_EQ(joined(events.names()), repeated(GetParam().signal, GetParam().firings));
}

TEST_P(ChannelRouteTest, WithASinkTheChannelCallsItsMethodInstead)
{
    auto calls = std::make_shared<std::vector<std::string>>();
    auto sink = std::make_shared<RecordingSink>(calls);
    timer->RequestNotify(sink);
    runTwoTicks();
    EXPECT_EQ(joined(*calls), repeated(GetParam().sinkMethod, GetParam().firings));
    EXPECT_EQ(joined(events.names()), "");
}

INSTANTIATE_TEST_SUITE_P(
    AllChannels, ChannelRouteTest,
    ::testing::Values(
        ChannelRoute{"OneMillisecond", "Timer1msTick", [](CPacetick& t) { t.setTime1msEnabled(true); }, 2},
        ChannelRoute{"TenMilliseconds", "Timer10msTick", [](CPacetick& t) { t.setTime10msEnabled(true); }, 1},
        ChannelRoute{"OneHundredMilliseconds", "Timer100msTick", [](CPacetick& t) { t.setTime100msEnabled(true); },
                     1},
        ChannelRoute{"Time1", "Timer1Tick", timeChannel(1), 1},
        ChannelRoute{"Time2", "Timer2Tick", timeChannel(2), 1},
        ChannelRoute{"Time3", "Timer3Tick", timeChannel(3), 1},
        ChannelRoute{"Time4", "Timer4Tick", timeChannel(4), 1},
        ChannelRoute{"Time5", "Timer5Tick", timeChannel(5), 1},
        ChannelRoute{"Countdown1", "Countdown1Complete", countdown(1), 1},
        ChannelRoute{"Countdown2", "Countdown2Complete", countdown(2), 1},
        ChannelRoute{"Countdown3", "Countdown3Complete", countdown(3), 1},
        ChannelRoute{"Countdown4", "Countdown4Complete", countdown(4), 1},
        ChannelRoute{"Countdown5", "Countdown5Complete", countdown(5), 1}),
    [](const auto& info) { return std::string(info.param.signal); });

// A sink whose 10 ms and Countdown1 methods fail after being logged.
class FailingSink : public RecordingSink {
public:
    FailingSink(std::shared_ptr<std::vector<std::string>> log, std::function<void()> fail)
        : RecordingSink(std::move(log)), m_fail(std::move(fail))
    {
    }
    void Timer10msTick() override
    {
        RecordingSink::Timer10msTick();
        m_fail();
    }
    void Countdown1Complete() override
    {
        RecordingSink::Countdown1Complete();
        m_fail();
    }

private:
    std::function<void()> m_fail;
};

struct FailingDelivery {
    const char* name;
    bool throughSink;
    std::function<void()> fail;
    const char* report;
};

void PrintTo(const FailingDelivery& c, std::ostream* os)
{
    *os << c.name;
}

class FailingDeliveryTest : public ::testing::TestWithParam<FailingDelivery> {};

// The 10 ms channel and Countdown1 fail at elapsed 10; Time1 between them
// still fires, and neither failed channel fires again at elapsed 15 (the
// schedule was advanced and the countdown stopped, as after a success).
TEST_P(FailingDeliveryTest, TheErrorIsReportedAndTheTickCarriesOnAsIfTheDeliveryHadSucceeded)
{
    const FailingDelivery& c = GetParam();
    ManualClock clock{Origin};
    auto timer = CPacetick::create(clock.reader());
    SignalLog events(*timer);
    auto calls = std::make_shared<std::vector<std::string>>();
    auto sink = std::make_shared<FailingSink>(calls, c.fail);
    if (c.throughSink) {
        timer->RequestNotify(sink);
    } else {
        QObject::connect(timer.get(), &CPacetick::TenMilliseconds, c.fail);
        QObject::connect(timer.get(), &CPacetick::Countdown1, c.fail);
    }
    timer->setTime10msEnabled(true);
    timer->setTime1Interval(0.01f);
    timer->setTime1Enabled(true);
    timer->setCountdown1Enabled(true);

    timer->Tick();
    clock.now = Origin + 10;
    timer->Tick();
    clock.now = Origin + 15;
    timer->Tick();

    const std::string report = c.report;
    if (c.throughSink) {
        EXPECT_EQ(joined(*calls), "Timer10msTick," + report + ",Timer1Tick,Countdown1Complete," + report);
        EXPECT_EQ(joined(events.names()), "");
    } else {
        EXPECT_EQ(joined(events.names()), "TenMilliseconds," + report + ",Time1,Countdown1," + report);
    }
}

const auto throwPacetickError = [] { throw PacetickError(1234, "Handler", "boom"); };
const auto throwStdError = [] { throw std::runtime_error("oops"); };

INSTANTIATE_TEST_SUITE_P(
    Errors, FailingDeliveryTest,
    ::testing::Values(FailingDelivery{"SignalHandlerRaisesNumberedError", false, throwPacetickError, "UserError 1234 boom"},
                      FailingDelivery{"SignalHandlerRaisesStdError", false, throwStdError, "UserError 51 oops"},
                      FailingDelivery{"SinkRaisesNumberedError", true, throwPacetickError, "UserError 1234 boom"},
                      FailingDelivery{"SinkRaisesStdError", true, throwStdError, "UserError 51 oops"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FailingDeliveryTest, AnErrorWhileReportingEndsTheTickButDoesNotLeaveTheTimerBlocked)
{
    ManualClock clock{Origin};
    auto timer = CPacetick::create(clock.reader());
    SignalLog events(*timer);
    bool failOnce = true;
    QObject::connect(timer.get(), &CPacetick::TenMilliseconds, [&] {
        if (std::exchange(failOnce, false))
            throw PacetickError(1, "Handler", "first");
    });
    QObject::connect(timer.get(), &CPacetick::UserError, [](qint32&, QString&) {
        throw PacetickError(2, "Handler", "second");
    });
    timer->setTime10msEnabled(true);
    timer->setTime1Interval(0.01f);
    timer->setTime1Enabled(true);

    clock.now = Origin + 10;
    EXPECT_THROW(timer->Tick(), PacetickError);
    EXPECT_EQ(events.takeJoined(), "TenMilliseconds,UserError 1 first");

    clock.now = Origin + 11;
    timer->Tick();
    EXPECT_EQ(events.takeJoined(), "TenMilliseconds,Time1");
}

// A clock that fails on demand: the only way a tick can fail without a
// delivery, which is what an empty sink leaves.
struct FailingClock {
    int32_t now = Origin;
    bool fail = false;
    CPacetick::Clock reader()
    {
        return [this] {
            if (fail)
                throw PacetickError(77, "Clock", "no clock");
            return now;
        };
    }
};

TEST(NotifyTest, AnEmptySinkSilencesEveryChannelButErrorsStillComeAsSignals)
{
    FailingClock clock;
    auto timer = CPacetick::create(clock.reader());
    SignalLog events(*timer);
    timer->EnableAll();
    timer->RequestNotify(nullptr);

    clock.now = Origin + 200;
    timer->Tick();
    EXPECT_EQ(events.takeJoined(), "");

    clock.fail = true;
    timer->Tick();
    EXPECT_EQ(events.takeJoined(), "UserError 77 no clock");

    clock.fail = false;
    clock.now = Origin + 400;
    timer->CancelNotify();
    timer->Tick();
    EXPECT_EQ(events.takeJoined(), "OneMillisecond,TenMilliseconds,OneHundredMilliseconds");
}

TEST(NotifyTest, ASinkDestroyedWithoutCancelNotifyIsNeverCalledAgain)
{
    FailingClock clock;
    auto timer = CPacetick::create(clock.reader());
    SignalLog events(*timer);
    auto calls = std::make_shared<std::vector<std::string>>();
    auto sink = std::make_shared<RecordingSink>(calls);
    timer->setTime1msEnabled(true);
    timer->RequestNotify(sink);
    timer->Tick();
    EXPECT_EQ(joined(*calls), "Timer1msTick");

    sink.reset();
    timer->Tick();
    clock.fail = true;
    timer->Tick();

    EXPECT_EQ(joined(*calls), "Timer1msTick");
    EXPECT_EQ(joined(events.names()), "");  // no events, and the error has nowhere to go
}

}  // namespace
}  // namespace tagwell::test
