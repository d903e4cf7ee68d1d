// Feeding the plot dialog's chart with stored values, as its opener does on
// every display update.

#include <QImage>

#include "dialogs/frmOPCItemPlot.h"
#include "graph/Lumaplot.h"
#include "graph/PlotSurface.h"
#include "platform/Variant.h"

#include <gtest/gtest.h>

namespace tagwell::test {
namespace {

const QImage& pictureOf(frmOPCItemPlot& dialog)
{
    return dialog.Lumaplot1()->findChild<PlotSurface*>("picDisplay")->image();
}

QString chartToolTip(frmOPCItemPlot& dialog)
{
    return dialog.Lumaplot1()->findChild<PlotSurface*>("picDisplay")->toolTip();
}

// The vertical centre of the marker that follows the newest point, in the
// chart's coordinates.
int markerCentre(frmOPCItemPlot& dialog)
{
    return dialog.Lumaplot1()->findChild<QWidget*>("picIndicator")->geometry().center().y();
}

struct FeedCase {
    const char* name;
    Variant value;
    int16_t canonicalType;
    bool plotted;
    const char* toolTip;  // the value as the chart shows it, when plotted
};

void PrintTo(const FeedCase& c, std::ostream* os) { *os << c.name; }

class FeedSample : public ::testing::TestWithParam<FeedCase> {};

TEST_P(FeedSample, PlotsNumbersAndBooleansOnly)
{
    const FeedCase& c = GetParam();
    frmOPCItemPlot dialog;
    dialog.show();
    const QImage before = pictureOf(dialog);

    EXPECT_EQ(dialog.FeedSample(c.value, c.canonicalType, 1), c.plotted);

    EXPECT_EQ(pictureOf(dialog) != before, c.plotted);
    EXPECT_EQ(chartToolTip(dialog), c.plotted ? QString(c.toolTip) : QString());
    EXPECT_EQ(frmOPCItemPlot::IsPlottableType(c.canonicalType),
              c.canonicalType == vtI2 || c.canonicalType == vtI4 || c.canonicalType == vtR4 ||
                  c.canonicalType == vtR8 || c.canonicalType == vtBool);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FeedSample,
    ::testing::Values(
        FeedCase{"Short", Variant(int16_t(-12)), vtI2, true, "-12"},
        FeedCase{"Long", Variant(int32_t(123456)), vtI4, true, "123456"},
        FeedCase{"Float", Variant(1.5f), vtR4, true, "1.5"},
        FeedCase{"Double", Variant(2.25), vtR8, true, "2.25"},
        FeedCase{"BooleanTrueAsMinusOne", Variant(true), vtBool, true, "-1"},
        FeedCase{"BooleanFalse", Variant(false), vtBool, true, "0"},
        FeedCase{"Byte", Variant(uint8_t(7)), vtUI1, false, ""},
        FeedCase{"String", Variant("12"), vtString, false, ""},
        FeedCase{"Date", Variant::fromDate(45000.5), vtDate, false, ""},
        FeedCase{"Array", Variant::array(vtR8, {Variant(1.0), Variant(2.0)}), uint16_t(vtArray | vtR8),
                 false, ""},
        FeedCase{"NothingStoredYet", Variant(), vtR8, false, ""},
        FeedCase{"TextUnderANumericType", Variant("abc"), vtR8, false, ""},
        FeedCase{"TooLargeToPlot", Variant(1e300), vtR8, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FeedSampleOfABoolean, TrueLiesAtTheTopOfTheBooleanRange)
{
    frmOPCItemPlot dialog;
    dialog.Lumaplot1()->setMax(-1);  // the range Setup gives a Boolean
    dialog.Lumaplot1()->setMin(0);
    dialog.show();
    const int chartMiddle = dialog.Lumaplot1()->height() / 2;

    ASSERT_TRUE(dialog.FeedSample(Variant(true), vtBool, 1));
    EXPECT_LT(markerCentre(dialog), chartMiddle);
    ASSERT_TRUE(dialog.FeedSample(Variant(false), vtBool, 2));
    EXPECT_GT(markerCentre(dialog), chartMiddle);
}

TEST(FeedSampleCounter, PutsAGridLineUnderEveryTwentiethSample)
{
    // The opener's counter is the chart's x value: a green grid line spans the
    // whole height at multiples of 20 only.
    auto greenColumns = [](const QImage& image) {
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, 0) == 0xFF00FF00u ? 1 : 0;
        return count;
    };
    frmOPCItemPlot dialog;
    dialog.show();
    for (int32_t counter = 1; counter <= 19; ++counter)
        ASSERT_TRUE(dialog.FeedSample(Variant(50.0), vtR8, counter));
    EXPECT_EQ(greenColumns(pictureOf(dialog)), 0);
    ASSERT_TRUE(dialog.FeedSample(Variant(50.0), vtR8, 20));
    EXPECT_EQ(greenColumns(pictureOf(dialog)), 1);
}

}  // namespace
}  // namespace tagwell::test
