#include <gtest/gtest.h>

#include "platform/ValueText.h"

using namespace tagwell;

TEST(ValueText, SignedFieldKeepsABlankBeforeZeroAndPositiveNumbers)
{
    EXPECT_EQ(ValueText::signedField(7), " 7");
    EXPECT_EQ(ValueText::signedField(0), " 0");
    EXPECT_EQ(ValueText::signedField(-3), "-3");
    EXPECT_EQ(ValueText::signedField(-2147467259), "-2147467259");
    EXPECT_EQ(ValueText::plain(7), "7");
    EXPECT_EQ(ValueText::plain(-3), "-3");
}

TEST(ValueText, GeneralFormDropsTrailingZerosAndSwitchesToExponents)
{
    struct Case { double value; int digits; const char* text; };
    const Case cases[] = {
        {0, 15, "0"},          {1.5, 15, "1.5"},        {100, 15, "100"},
        {0.1f, 7, "0.1"},      {1.0 / 3, 7, "0.3333333"}, {1.0 / 3, 15, "0.333333333333333"},
        {1e20, 15, "1E+20"},   {0.00001, 15, "1E-05"},  {0.0001, 15, "0.0001"},
        {-2.25, 15, "-2.25"},  {123456789, 7, "1.234568E+08"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ValueText::general(c.value, c.digits), c.text) << c.value;
}
