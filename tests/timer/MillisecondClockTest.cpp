#include <climits>

#include <gtest/gtest.h>

#include "timer/MillisecondClock.h"

namespace tagwell {
namespace {

struct Folding {
    int64_t milliseconds;
    int32_t count;
};

class MillisecondClockTest : public ::testing::TestWithParam<Folding> {};

TEST_P(MillisecondClockTest, FoldsMonotonicMillisecondsIntoTheWrappingSignedCount)
{
    EXPECT_EQ(MillisecondClock::wrap(GetParam().milliseconds), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Values, MillisecondClockTest,
                         ::testing::Values(Folding{0, 0}, Folding{INT32_MAX, INT32_MAX},
                                           Folding{int64_t(INT32_MAX) + 1, INT32_MIN},
                                           Folding{int64_t(INT32_MAX) + 5, INT32_MIN + 4},
                                           Folding{(int64_t(1) << 32) + 7, 7}, Folding{-1, -1}));

TEST(MillisecondClockOffsetTest, AnOffsetMovesTheCountByThatManyMillisecondsModulo2To32)
{
    const int32_t plain = MillisecondClock::now();
    MillisecondClock::setOffset(int64_t(1) << 31);
    const int32_t shifted = MillisecondClock::now();
    MillisecondClock::setOffset(0);
    // Half the range away, plus whatever passed between the two readings
    // (generous: the machine may be busy).
    const uint32_t beyondTheOffset = uint32_t(shifted) - uint32_t(plain) - (uint32_t(1) << 31);
    EXPECT_LT(beyondTheOffset, 60'000u);
}

}  // namespace
}  // namespace tagwell
