// Schedules of every channel, driven tick by tick with a hand-set clock.

#include <climits>
#include <functional>

#include <gtest/gtest.h>

#include "PacetickTestSupport.h"
#include "timer/MPacetick.h"

namespace tagwell::test {
namespace {

constexpr int32_t Origin = 1000;  // clock reading when the timer is made

using Action = std::function<void(CPacetick&)>;

struct Step {
    int32_t elapsed;       // the tick reads the clock at Origin + elapsed
    std::string expected;  // the signals that tick raises, in order
    Action before = {};    // done to the timer just before the tick, clock already set
};

struct ScheduleCase {
    const char* name;
    Action setUp;
    std::vector<Step> steps;
};

void PrintTo(const ScheduleCase& c, std::ostream* os)
{
    *os << c.name;
}

class ScheduleTest : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(ScheduleTest, TicksRaiseTheExpectedChannels)
{
    ManualClock clock{Origin};
    auto timer = CPacetick::create(clock.reader());
    SignalLog log(*timer);
    GetParam().setUp(*timer);
    for (const Step& step : GetParam().steps) {
        clock.now = Origin + step.elapsed;
        if (step.before)
            step.before(*timer);
        timer->Tick();
        EXPECT_EQ(log.takeJoined(), step.expected) << "tick at elapsed " << step.elapsed;
    }
}

const Action setTen = [](CPacetick& t) { t.setTime10msEnabled(true); };
const Action countdown1In20ms = [](CPacetick& t) {
    t.setCountdown1Interval(0.02f);
    t.setCountdown1Enabled(true);
};

const std::vector<ScheduleCase> scheduleCases = {
    {"EveryTickChannelFiresOncePerTickWhateverTheClockSays",
     [](CPacetick& t) { t.setTime1msEnabled(true); },
     {{0, "OneMillisecond"}, {0, "OneMillisecond"}, {5, "OneMillisecond"}, {1000, "OneMillisecond"}}},
    {"TenMsChannelFiresWhenDueAndIsNextDueTenAfterThatTick",
     setTen,
     {{5, ""}, {10, "TenMilliseconds"}, {15, ""}, {21, "TenMilliseconds"}, {30, ""}, {31, "TenMilliseconds"}}},
    {"HundredMsChannelFiresEveryHundred",
     [](CPacetick& t) { t.setTime100msEnabled(true); },
     {{99, ""}, {100, "OneHundredMilliseconds"}, {150, ""}, {199, ""}, {200, "OneHundredMilliseconds"}}},
    {"LateTicksAreNotCaughtUpAndTheScheduleMovesWithThem",
     setTen,
     {{35, "TenMilliseconds"}, {36, ""}, {44, ""}, {45, "TenMilliseconds"}}},
    {"TimeChannelFollowsItsInterval",
     [](CPacetick& t) {
         t.setTime3Interval(0.025f);
         t.setTime3Enabled(true);
     },
     {{24, ""}, {25, "Time3"}, {49, ""}, {50, "Time3"}}},
    {"TimeChannelWithIntervalZeroNeverFires",
     [](CPacetick& t) { t.setTime2Enabled(true); },
     {{0, ""}, {10, ""}, {100000, ""}}},
    {"IntervalWrittenAfterTenSecondsFiresAtTheNextTickThenEverySecond",
     [](CPacetick& t) { t.setTime1Enabled(true); },
     {{10000, ""},
      {10001, "Time1", [](CPacetick& t) { t.setTime1Interval(1.0f); }},
      {11000, ""},
      {11001, "Time1"}}},
    {"ResetRestartsElapsedAndEveryPeriodicSchedule",
     [](CPacetick& t) {
         t.setTime10msEnabled(true);
         t.setTime1Interval(0.05f);
         t.setTime1Enabled(true);
     },
     {{60, "TenMilliseconds,Time1"},
      {100, "", [](CPacetick& t) { t.Reset(); }},
      {110, "TenMilliseconds"},
      {149, "TenMilliseconds"},
      {150, "Time1"}}},
    {"ChannelsFireInTheirFixedOrderWithinOneTick",
     [](CPacetick& t) {
         t.EnableAll();
         for (int n = 1; n <= CPacetick::TimerCount; ++n)
             t.setTimeInterval(n, 0.001f);
         t.setCountdownEnabled(5, true);
         t.setCountdownEnabled(1, true);
     },
     {{100, "OneMillisecond,TenMilliseconds,OneHundredMilliseconds,Time1,Time2,Time3,Time4,Time5"},
      {101, "OneMillisecond,Time1,Time2,Time3,Time4,Time5,Countdown1,Countdown5"}}},
    {"CountdownOfZeroFiresAtTheFirstTickWithALaterClock",
     [](CPacetick& t) { t.setCountdown2Enabled(true); },
     {{0, ""}, {0, ""}, {1, "Countdown2"}, {2, ""}}},
    {"CountdownFiresOnceWhenStrictlyMoreThanItsIntervalHasPassed",
     countdown1In20ms,
     {{0, ""}, {20, ""}, {21, "Countdown1"}, {50, ""}}},
    {"WritingTrueToARunningCountdownDoesNotRestartIt",
     countdown1In20ms,
     {{0, ""}, {15, "", [](CPacetick& t) { t.setCountdown1Enabled(true); }}, {21, "Countdown1"}}},
    {"WritingTrueAfterItFiredRunsTheCountdownAgainFromTheNextTick",
     countdown1In20ms,
     {{0, ""},
      {21, "Countdown1"},
      {30, "", [](CPacetick& t) { t.setCountdown1Enabled(true); }},
      {50, ""},
      {51, "Countdown1"}}},
    {"WritingFalseStopsACountdown",
     countdown1In20ms,
     {{0, ""}, {10, "", [](CPacetick& t) { t.setCountdown1Enabled(false); }}, {21, ""}}},
    {"EnableAllArmsNoCountdown",
     [](CPacetick& t) {
         t.setCountdown1Interval(0.0f);
         t.EnableAll();
     },
     {{0, "OneMillisecond"}, {5, "OneMillisecond"}}},
    {"DisableAllStopsNoCountdown",
     countdown1In20ms,
     {{0, ""}, {10, "", [](CPacetick& t) { t.DisableAll(); }}, {21, "Countdown1"}}},
};

INSTANTIATE_TEST_SUITE_P(Channels, ScheduleTest, ::testing::ValuesIn(scheduleCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CountdownTest, RemainingCountsDownFromTheStartTickAndReadsZeroOnceStopped)
{
    ManualClock clock{Origin};
    auto timer = CPacetick::create(clock.reader());
    EXPECT_TRUE(timer->Countdown4Complete());
    EXPECT_EQ(timer->Countdown4Remaining(), 0.0f);

    timer->setCountdown4Interval(0.02f);
    timer->setCountdown4Enabled(true);
    clock.now = Origin + 3;
    timer->Tick();
    clock.now = Origin + 15;
    timer->Tick();
    EXPECT_FALSE(timer->Countdown4Complete());
    EXPECT_FLOAT_EQ(timer->Countdown4Remaining(), 0.008f);

    timer->setCountdown4Enabled(false);
    EXPECT_TRUE(timer->Countdown4Complete());
    EXPECT_EQ(timer->Countdown4Remaining(), 0.0f);
}

// A handler that processes further ticks (as a modal dialog would) blocks
// every channel in them; the nested ticks still move the clock.
TEST(BusyTest, TicksInsideAHandlerMoveTheClockButDeliverNothing)
{
    ManualClock clock{Origin};
    auto timer = CPacetick::create(clock.reader());
    SignalLog log(*timer);
    timer->setTime1msEnabled(true);
    timer->setTime10msEnabled(true);
    timer->setCountdown1Interval(0.005f);
    timer->setCountdown1Enabled(true);
    timer->Tick();  // elapsed 0: the countdown starts
    EXPECT_EQ(log.takeJoined(), "OneMillisecond");

    std::vector<std::string> seenInsideHandler;
    double secondsInsideHandler = 0;
    float remainingInsideHandler = 0;
    QObject::connect(timer.get(), &CPacetick::OneMillisecond, [&] {
        if (clock.now != Origin + 1)
            return;
        const std::size_t before = log.names().size();
        clock.now = Origin + 30;
        timer->Tick();  // the 10 ms channel and the countdown are due here
        seenInsideHandler.assign(log.names().begin() + static_cast<std::ptrdiff_t>(before), log.names().end());
        secondsInsideHandler = timer->SecondsElapsed();
        remainingInsideHandler = timer->Countdown1Remaining();
    });
    clock.now = Origin + 1;
    timer->Tick();

    EXPECT_TRUE(seenInsideHandler.empty()) << joined(seenInsideHandler);
    EXPECT_DOUBLE_EQ(secondsInsideHandler, 0.030);
    EXPECT_FLOAT_EQ(remainingInsideHandler, -0.025f);
    // Blocked channels were not advanced: the rest of the outer tick, which
    // now sees the nested tick's clock, fires them.
    EXPECT_EQ(log.takeJoined(), "OneMillisecond,TenMilliseconds,Countdown1");
}

TEST(WrapTest, ElapsedAndPeriodicSchedulesRestartWhenTheClockPasses2To31)
{
    ManualClock clock{INT32_MAX - 15};
    auto timer = CPacetick::create(clock.reader());
    SignalLog log(*timer);
    timer->setTime10msEnabled(true);
    timer->setTime1Interval(0.01f);
    timer->setTime1Enabled(true);

    clock.now = INT32_MAX - 5;
    timer->Tick();
    EXPECT_EQ(log.takeJoined(), "TenMilliseconds,Time1");
    EXPECT_DOUBLE_EQ(timer->SecondsElapsed(), 0.010);

    clock.now = INT32_MIN + 4;  // 10 ms later, past the wrap
    timer->Tick();
    EXPECT_EQ(log.takeJoined(), "");
    EXPECT_DOUBLE_EQ(timer->SecondsElapsed(), 0.0);

    clock.now = INT32_MIN + 14;
    timer->Tick();
    EXPECT_EQ(log.takeJoined(), "TenMilliseconds,Time1");
    EXPECT_DOUBLE_EQ(timer->SecondsElapsed(), 0.010);
}

TEST(WrapTest, ACountdownRunningAcrossTheWrapKeepsItsRemainingTime)
{
    ManualClock clock{INT32_MAX - 10};
    auto timer = CPacetick::create(clock.reader());
    SignalLog log(*timer);
    timer->setCountdown3Interval(0.02f);
    timer->setCountdown3Enabled(true);
    clock.now = INT32_MAX - 5;
    timer->Tick();  // starts

    clock.now = INT32_MIN + 4;  // 10 ms after the start
    timer->Tick();
    EXPECT_EQ(log.takeJoined(), "");
    EXPECT_FLOAT_EQ(timer->Countdown3Remaining(), 0.010f);

    clock.now = INT32_MIN + 15;  // 21 ms after the start
    timer->Tick();
    EXPECT_EQ(log.takeJoined(), "Countdown3");
}

struct BreakCase {
    const char* name;
    bool breakInDebugMode;
    bool inBreakMode;
    bool tickSkipped;
};

class BreakModeTest : public ::testing::TestWithParam<BreakCase> {
protected:
    void TearDown() override { MPacetick::SetBreakModeProbe({}); }
};

TEST_P(BreakModeTest, OnlyBreakModeWithTheFlagSetSkipsTheWholeTick)
{
    const BreakCase& c = GetParam();
    int clockReads = 0;
    int32_t now = Origin;
    auto timer = CPacetick::create([&] {
        ++clockReads;
        return now;
    });
    SignalLog log(*timer);
    timer->setTime1msEnabled(true);
    timer->setBreakInDebugMode(c.breakInDebugMode);
    MPacetick::SetBreakModeProbe([&] { return c.inBreakMode; });
    const int readsBefore = clockReads;
    now = Origin + 40;

    timer->Tick();

    EXPECT_EQ(clockReads - readsBefore, c.tickSkipped ? 0 : 1);
    EXPECT_EQ(log.takeJoined(), c.tickSkipped ? "" : "OneMillisecond");
    EXPECT_DOUBLE_EQ(timer->SecondsElapsed(), c.tickSkipped ? 0.0 : 0.040);
}

INSTANTIATE_TEST_SUITE_P(Flags, BreakModeTest,
                         ::testing::Values(BreakCase{"FlagInBreakMode", true, true, true},
                                           BreakCase{"FlagNotInBreakMode", true, false, false},
                                           BreakCase{"NoFlagInBreakMode", false, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BreakModeTest, NoDevelopmentEnvironmentMeansNeverInBreakMode)
{
    EXPECT_FALSE(MPacetick::IsInBreakMode());
}

}  // namespace
}  // namespace tagwell::test
