#include <gtest/gtest.h>

#include "platform/OleArray.h"

using namespace tagwell;

TEST(OleArray, BoundsFollowTheLowerBound)
{
    auto a = OleArray<int>::withBounds(0, 1);
    EXPECT_EQ(a.lbound(), 0);
    EXPECT_EQ(a.ubound(), 1);
    a.redimPreserve(3);
    a[3] = 7;
    a.redimPreserve(3);
    EXPECT_EQ(a[3], 7);
    EXPECT_EQ(OleArray<int>().ubound(), -1);
    EXPECT_THROW(a[4], ComError);
    EXPECT_THROW(a[-1], ComError);
}
