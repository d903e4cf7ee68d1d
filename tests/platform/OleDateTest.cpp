#include <gtest/gtest.h>

#include <chrono>

#include "platform/OleDate.h"

using namespace tagwell;

TEST(OleDate, CountsDaysFromTheEndOf1899)
{
    struct Case { OleDate::Civil civil; double ole; };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 0, 0, 0}, 2.0},
        {{1899, 12, 31, 12, 0, 0}, 1.5},
        {{1899, 12, 29, 6, 0, 0}, -1.25},  // the fraction counts forwards before the epoch
        {{2000, 2, 29, 18, 0, 0}, 36585.75},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(OleDate::fromCivil(c.civil), c.ole);
        EXPECT_EQ(OleDate::toCivil(c.ole), c.civil);
    }
}

TEST(OleDate, TextShowsOnlyThePartsThatAreSet)
{
    EXPECT_EQ(OleDate::toText(OleDate::fromCivil({2026, 3, 4, 5, 6, 7})), "2026-03-04 05:06:07");
    EXPECT_EQ(OleDate::toText(OleDate::fromCivil({2026, 3, 4, 0, 0, 0})), "2026-03-04");
    EXPECT_EQ(OleDate::toText(0.75), "18:00:00");
    for (const char* text : {"2026-03-04 05:06:07", "2026-03-04", "18:00:00"})
        EXPECT_EQ(OleDate::toText(*OleDate::parse(text)), text);
    EXPECT_FALSE(OleDate::parse("2026-13-01"));
    EXPECT_FALSE(OleDate::parse("yesterday"));
    EXPECT_FALSE(OleDate::parse("2026-03-04 05:06:07 trailing"));
}

TEST(OleDate, RoundTripsThroughTheSystemClockToTheMillisecond)
{
    using namespace std::chrono;
    const auto now = time_point_cast<milliseconds>(system_clock::now());
    const auto back = OleDate::toTimePoint(OleDate::fromTimePoint(now));
    EXPECT_LE(std::abs(duration_cast<milliseconds>(back - now).count()), 1);
}
