// Property values, their checks and the errors they raise.

#include <cmath>
#include <functional>
#include <limits>

#include <QMetaProperty>
#include <gtest/gtest.h>

#include "PacetickTestSupport.h"
#include "timer/FixedMilliseconds.h"
#include "timer/PacetickError.h"

namespace tagwell::test {
namespace {

QVariant propertyOf(const CPacetick& timer, const char* name)
{
    const QMetaObject* meta = timer.metaObject();
    const int index = meta->indexOfProperty(name);
    EXPECT_GE(index, 0) << name;
    return index < 0 ? QVariant() : meta->property(index).read(&timer);
}

TEST(PropertiesTest, ANewTimerIsDisabledWithEveryChannelOffAndNoCountdownRunning)
{
    auto timer = CPacetick::create([] { return 12345; });
    const std::vector<std::pair<const char*, QVariant>> expected = {
        {"Enabled", false},
        {"Interval", 0},
        {"Resolution", 0},
        {"EventSynchronisation", QVariant::fromValue(esGlobal)},
        {"SecondsElapsed", 0.0},
        {"Time1msEnabled", false},
        {"Time10msEnabled", false},
        {"Time100msEnabled", false},
        {"Time1Enabled", false},
        {"Time5Enabled", false},
        {"Time3Interval", 0.0f},
        {"Countdown2Enabled", false},
        {"Countdown2Interval", 0.0f},
        {"Countdown2Complete", true},
        {"Countdown2Remaining", 0.0f},
        {"Tag", QVariant()},
    };
    for (const auto& [name, value] : expected)
        EXPECT_EQ(propertyOf(*timer, name), value) << name;
}

TEST(PropertiesTest, EnableAllAndDisableAllSwitchTheEightPeriodicChannels)
{
    auto timer = CPacetick::create([] { return 0; });
    const char* periodic[] = {"Time1msEnabled", "Time10msEnabled", "Time100msEnabled", "Time1Enabled",
                              "Time2Enabled",   "Time3Enabled",    "Time4Enabled",     "Time5Enabled"};
    timer->EnableAll();
    for (const char* name : periodic)
        EXPECT_EQ(propertyOf(*timer, name), true) << name;
    EXPECT_FALSE(timer->Countdown1Enabled());
    timer->DisableAll();
    for (const char* name : periodic)
        EXPECT_EQ(propertyOf(*timer, name), false) << name;
}

struct RejectedWrite {
    const char* name;
    std::function<void(CPacetick&)> write;
    int32_t number;
    const char* source;
    const char* description;
};

void PrintTo(const RejectedWrite& c, std::ostream* os)
{
    *os << c.name;
}

class RejectedWriteTest : public ::testing::TestWithParam<RejectedWrite> {};

// Every rejected write leaves all of the timer's values as they were.
TEST_P(RejectedWriteTest, RaisesItsErrorAndChangesNothing)
{
    const RejectedWrite& c = GetParam();
    auto timer = CPacetick::create([] { return 0; });
    timer->setTime2Interval(0.5f);
    timer->setCountdown2Interval(0.25f);
    timer->setResolution(3);
    const auto valuesOf = [](const CPacetick& t) {
        return QVariantList{t.Enabled(), t.Interval(), t.Resolution(), t.Time2Interval(), t.Countdown2Interval()};
    };
    const QVariantList before = valuesOf(*timer);
    try {
        c.write(*timer);
        ADD_FAILURE() << "no error raised";
    } catch (const PacetickError& e) {
        EXPECT_EQ(e.number(), c.number);
        EXPECT_EQ(e.source(), c.source);
        EXPECT_EQ(e.description(), c.description);
    }
    EXPECT_EQ(valuesOf(*timer), before);
}

constexpr float Inf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Errors, RejectedWriteTest,
    ::testing::Values(
        RejectedWrite{"IntervalZero", [](CPacetick& t) { t.setInterval(0); }, 380, "CPacetick::Interval",
                      "Interval property must be positive"},
        RejectedWrite{"IntervalNegative", [](CPacetick& t) { t.setInterval(-5); }, 380, "CPacetick::Interval",
                      "Interval property must be positive"},
        RejectedWrite{"ResolutionNegative", [](CPacetick& t) { t.setResolution(-1); }, 380,
                      "CPacetick::Resolution", "Resolution property must be non-negative"},
        RejectedWrite{"EnabledWhileIntervalIsStillZero", [](CPacetick& t) { t.setEnabled(true); }, 380,
                      "CPacetick::Enabled", "Interval property must be positive"},
        RejectedWrite{"TimeIntervalTooLarge", [](CPacetick& t) { t.setTime2Interval(1e16f); }, 6,
                      "CPacetick::TimeInterval", "Overflow"},
        RejectedWrite{"TimeIntervalInfinite", [](CPacetick& t) { t.setTime2Interval(-Inf); }, 6,
                      "CPacetick::TimeInterval", "Overflow"},
        RejectedWrite{"TimeIntervalNotANumber", [](CPacetick& t) { t.setTime2Interval(std::nanf("")); }, 6,
                      "CPacetick::TimeInterval", "Overflow"},
        RejectedWrite{"CountdownIntervalTooLarge", [](CPacetick& t) { t.setCountdown2Interval(Inf); }, 6,
                      "CPacetick::CountdownInterval", "Overflow"},
        RejectedWrite{"TimeChannelZero", [](CPacetick& t) { t.setTimeInterval(0, 1.0f); }, 9,
                      "CPacetick::TimeInterval", "Subscript out of range"},
        RejectedWrite{"CountdownChannelSix", [](CPacetick& t) { t.setCountdownEnabled(6, true); }, 9,
                      "CPacetick::CountdownEnabled", "Subscript out of range"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PropertiesTest, WritingEnabledWithItsCurrentValueChecksNothing)
{
    auto timer = CPacetick::create([] { return 0; });
    EXPECT_NO_THROW(timer->setEnabled(false));
    EXPECT_FALSE(timer->Enabled());
}

TEST(PropertiesTest, TheLargestIntervalsThatFitAreKept)
{
    auto timer = CPacetick::create([] { return 0; });
    timer->setTime4Interval(9e11f);
    timer->setCountdown4Interval(-9e11f);
    EXPECT_FLOAT_EQ(timer->Time4Interval(), 9e11f);
    EXPECT_FLOAT_EQ(timer->Countdown4Interval(), -9e11f);
}

struct Rounding {
    float seconds;
    int64_t units;  // 1/10,000 ms
};

class FixedMillisecondsTest : public ::testing::TestWithParam<Rounding> {};

TEST_P(FixedMillisecondsTest, SecondsAreRoundedHalfToEvenToTenThousandthsOfAMillisecond)
{
    EXPECT_EQ(FixedMilliseconds::fromSeconds(GetParam().seconds, "test").units(), GetParam().units);
}

// Binary fractions, so that the halves are exact: 1/256 s = 39,062.5 units.
INSTANTIATE_TEST_SUITE_P(Values, FixedMillisecondsTest,
                         ::testing::Values(Rounding{1.0f, 10'000'000}, Rounding{0.1f, 1'000'000},
                                           Rounding{1.0f / 256, 39'062}, Rounding{3.0f / 256, 117'188},
                                           Rounding{-1.0f / 256, -39'062}, Rounding{0.0f, 0}));

TEST(FixedMillisecondsTest, SumsAndDifferencesSaturateInsteadOfWrapping)
{
    const auto top = FixedMilliseconds::fromUnits(std::numeric_limits<int64_t>::max() - 1);
    const auto bottom = FixedMilliseconds::fromUnits(std::numeric_limits<int64_t>::min() + 1);
    const auto ten = FixedMilliseconds::fromMilliseconds(10);
    EXPECT_EQ((top + ten).units(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ((bottom - ten).units(), std::numeric_limits<int64_t>::min());
    EXPECT_EQ((top - bottom).units(), std::numeric_limits<int64_t>::max());
    EXPECT_EQ((ten - ten).units(), 0);
}

}  // namespace
}  // namespace tagwell::test
