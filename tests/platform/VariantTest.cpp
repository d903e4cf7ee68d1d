#include <gtest/gtest.h>

#include <functional>

#include "platform/ComError.h"
#include "platform/OleDate.h"
#include "platform/Variant.h"

using namespace tagwell;

namespace {

int32_t errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const ComError& e) {
        return e.number();
    }
    return 0;
}

}  // namespace

TEST(Variant, ReportsTheTypeCodeOfEveryKind)
{
    EXPECT_EQ(Variant().type(), vtEmpty);
    EXPECT_EQ(Variant::null().type(), vtNull);
    EXPECT_EQ(Variant(true).type(), vtBool);
    EXPECT_EQ(Variant(uint8_t(3)).type(), vtUI1);
    EXPECT_EQ(Variant(int16_t(3)).type(), vtI2);
    EXPECT_EQ(Variant(int32_t(3)).type(), vtI4);
    EXPECT_EQ(Variant(3.5f).type(), vtR4);
    EXPECT_EQ(Variant(3.5).type(), vtR8);
    EXPECT_EQ(Variant::fromDate(1.5).type(), vtDate);
    EXPECT_EQ(Variant("x").type(), vtString);
    EXPECT_EQ(Variant::array(vtI2, {Variant(int16_t(1))}).type(), 8194);
}

TEST(Variant, ArraysKeepElementTypeAndLowerBound)
{
    Variant v = Variant::array(vtR4, {Variant(1.5f), Variant(2.5f)}, 0);
    const VariantArray& a = v.toArray();
    EXPECT_EQ(a.elementType, vtR4);
    EXPECT_EQ(a.elements.lbound(), 0);
    EXPECT_EQ(a.elements.ubound(), 1);
    EXPECT_EQ(a.elements[1].toR4(), 2.5f);
    EXPECT_EQ(errorOf([&] { (void)a.elements[2]; }), errors::SubscriptOutOfRange);
}

TEST(Variant, IntegerConversionRoundsHalfToEven)
{
    struct Case { double in; int32_t out; };
    for (Case c : {Case{0.5, 0}, {1.5, 2}, {2.5, 2}, {-2.5, -2}, {3.49, 3}, {-3.5, -4}})
        EXPECT_EQ(Variant(c.in).toI4(), c.out) << c.in;
}

TEST(Variant, ConversionsFailWithTheAutomationErrorNumbers)
{
    EXPECT_EQ(errorOf([] { Variant(40000).toI2(); }), errors::Overflow);
    EXPECT_EQ(errorOf([] { Variant(-1).toByte(); }), errors::Overflow);
    EXPECT_EQ(errorOf([] { Variant("abc").toR8(); }), errors::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("").toI4(); }), errors::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::array(vtI4, {}).toR8(); }), errors::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant(1e300).toR4(); }), errors::Overflow);
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), 94);
}

TEST(Variant, TextsAndBooleansConvertTheAutomationWay)
{
    EXPECT_EQ(Variant(true).toI2(), -1);
    EXPECT_TRUE(Variant(" 12.5 ").toR8() == 12.5);
    EXPECT_TRUE(Variant("true").toBool());
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_EQ(Variant(true).toString(), "True");
    EXPECT_EQ(Variant(0.1f).toString(), "0.1");
    EXPECT_EQ(Variant(0.1).toString(), "0.1");
    EXPECT_EQ(Variant(int16_t(-7)).toString(), "-7");
    EXPECT_DOUBLE_EQ(Variant("2026-03-04 05:06:07").toDate(), OleDate::fromCivil({2026, 3, 4, 5, 6, 7}));
}

TEST(Variant, ConvertToChangesScalarsAndArraysElementByElement)
{
    EXPECT_EQ(Variant("42").convertTo(vtI2), Variant(int16_t(42)));
    EXPECT_EQ(Variant(3).convertTo(vtBool), Variant(true));
    EXPECT_EQ(Variant(1.25).convertTo(vtString), Variant("1.25"));
    Variant converted = Variant::array(vtString, {Variant("1"), Variant("2")}).convertTo(8195);
    EXPECT_EQ(converted, Variant::array(vtI4, {Variant(1), Variant(2)}));
    EXPECT_EQ(errorOf([] { Variant(1).convertTo(8195); }), errors::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::array(vtString, {Variant("x")}).convertTo(8195); }),
              errors::TypeMismatch);
}

TEST(Variant, EqualityComparesTypeAndValue)
{
    EXPECT_EQ(Variant(1), Variant(1));
    EXPECT_NE(Variant(1), Variant(int16_t(1)));
    EXPECT_NE(Variant::array(vtI4, {Variant(1)}), Variant::array(vtI4, {Variant(1)}, 0));
    EXPECT_NE(Variant(), Variant::null());
}
