// Sizes, label strip and range labels of the chart.

#include <QLineEdit>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <ostream>

#include "ChartProbe.h"
#include "graph/Twips.h"

namespace tagwell::test {
namespace {

QLineEdit* valueBox(Lumaplot& chart, const char* name)
{
    return chart.findChild<QLineEdit*>(QString::fromLatin1(name));
}

struct ResizeCase {
    QSize requested;  // pixels
    bool heightClamped;
    bool widthClamped;
};

void PrintTo(const ResizeCase& c, std::ostream* out)
{
    *out << c.requested.width() << "x" << c.requested.height() << " pixels";
}

class LumaplotResize : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(LumaplotResize, NeverGetsSmallerThan120TwipsEitherWay)
{
    const ResizeCase& c = GetParam();
    auto chart = shownChart();
    chart->resize(c.requested);

    EXPECT_EQ(twips::fromPixels(chart->height()), c.heightClamped ? 120 : twips::fromPixels(c.requested.height()));
    EXPECT_EQ(twips::fromPixels(chart->width()), c.widthClamped ? 120 : twips::fromPixels(c.requested.width()));
    // Still draws without trouble at that size.
    EXPECT_EQ(chart->UpdateGraph(1, 20, 50), 0);
}

INSTANTIATE_TEST_SUITE_P(, LumaplotResize,
                         ::testing::Values(ResizeCase{{6, 6}, true, true},  // 90 x 90 twips
                                           ResizeCase{{300, 6}, true, false}, ResizeCase{{1, 200}, false, true},
                                           ResizeCase{{8, 8}, false, false}));

TEST(LumaplotLayout, PlottingAreaSpansTheWholeControlRightOfTheLabelStrip)
{
    for (QSize size : {PlotDialogChartSize, QSize(400, 300)}) {
        auto chart = shownChart(size);
        const PlotSurface& area = plottingArea(*chart);
        const QWidget* strip = chart->findChild<QWidget*>(QStringLiteral("picYAxisLabels"));

        EXPECT_EQ(twips::fromPixels(strip->width()), 900);
        EXPECT_EQ(strip->height(), chart->height());
        EXPECT_EQ(area.geometry(), QRect(strip->width(), 0, chart->width(), chart->height()));
        EXPECT_EQ(chart->ScaleHeight(), area.contentsRect().height());
        EXPECT_EQ(chart->ScaleWidth(), area.contentsRect().width());
        EXPECT_EQ(picture(*chart).size(), area.contentsRect().size());
    }
}

TEST(LumaplotLayout, ValueBoxesSitAtTenFiftyAndNinetyPercentOfTheStrip)
{
    for (int height : {185, 400}) {
        auto chart = shownChart({553, height});
        const double strip = chart->findChild<QWidget*>(QStringLiteral("picYAxisLabels"))->height();
        EXPECT_NEAR(valueBox(*chart, "txtMax")->geometry().center().y(), strip * 0.1, 1.0) << height;
        EXPECT_NEAR(valueBox(*chart, "txtMid")->geometry().center().y(), strip * 0.5, 1.0) << height;
        EXPECT_NEAR(valueBox(*chart, "txtMin")->geometry().center().y(), strip * 0.9, 1.0) << height;
    }
}

struct RangeCase {
    float min;
    float max;
    const char* minText;
    const char* midText;
    const char* maxText;
};

void PrintTo(const RangeCase& c, std::ostream* out) { *out << c.min << ".." << c.max; }

class LumaplotRangeLabels : public ::testing::TestWithParam<RangeCase> {};

TEST_P(LumaplotRangeLabels, ShowMinMiddleAndMaxAsPlainNumbers)
{
    const RangeCase& c = GetParam();
    auto chart = shownChart();
    chart->setMin(c.min);
    chart->setMax(c.max);
    EXPECT_EQ(valueBox(*chart, "txtMin")->text(), QString::fromLatin1(c.minText));
    EXPECT_EQ(valueBox(*chart, "txtMid")->text(), QString::fromLatin1(c.midText));
    EXPECT_EQ(valueBox(*chart, "txtMax")->text(), QString::fromLatin1(c.maxText));
    EXPECT_TRUE(valueBox(*chart, "txtMax")->isReadOnly());
}

INSTANTIATE_TEST_SUITE_P(, LumaplotRangeLabels,
                         ::testing::Values(RangeCase{0, 100, "0", "50", "100"},
                                           RangeCase{-0.25f, 12.5f, "-0.25", "6.125", "12.5"},
                                           RangeCase{0.1f, 0.2f, "0.1", "0.15", "0.2"},
                                           RangeCase{0, -1, "0", "-0.5", "-1"},
                                           RangeCase{-1000000, 3000000, "-1000000", "1000000", "3000000"}));

TEST(LumaplotLayout, NewChartShowsTheDefaultRange)
{
    auto chart = shownChart();
    EXPECT_EQ(chart->Min(), 0.0f);
    EXPECT_EQ(chart->Max(), 100.0f);
    EXPECT_EQ(valueBox(*chart, "txtMid")->text(), QStringLiteral("50"));
    EXPECT_FALSE(chart->ShowValueInToolTip());
}

TEST(LumaplotLayout, EmptyRangeKeepsTheOldScaleAndIsNotReportedChanged)
{
    auto chart = shownChart();
    const int before = [&] {
        for (int call = 0; call < 3; ++call)
            chart->UpdateGraph(1, 1, 40);
        return rowsWith(picture(*chart), 4, Red).value(0, -1);
    }();
    QSignalSpy changed(chart.get(), &Lumaplot::propertyChanged);

    chart->setMax(0);

    EXPECT_EQ(chart->lastError(), Lumaplot::DivisionByZero);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(chart->Max(), 0.0f) << "the value is kept";
    EXPECT_EQ(valueBox(*chart, "txtMax")->text(), QStringLiteral("0"));
    EXPECT_EQ(valueBox(*chart, "txtMid")->text(), QStringLiteral("0"));
    // Plotting still works, on the scale of the last good range.
    for (int call = 0; call < 3; ++call)
        EXPECT_EQ(chart->UpdateGraph(1, 1, 40), 0);
    EXPECT_EQ(rowsWith(picture(*chart), 10, Red).value(0, -1), before);

    chart->setMin(-100);
    EXPECT_EQ(chart->lastError(), 0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), QStringLiteral("Min"));
}

TEST(LumaplotLayout, LegendColoursPaintTheStripButNotTheValueBoxes)
{
    auto chart = shownChart();
    QWidget* strip = chart->findChild<QWidget*>(QStringLiteral("picYAxisLabels"));
    QLineEdit* box = valueBox(*chart, "txtMax");
    const QColor boxText = box->palette().color(QPalette::Text);
    const QColor boxBase = box->palette().color(QPalette::Base);
    EXPECT_EQ(strip->palette().color(QPalette::Window), chart->palette().color(QPalette::ToolTipBase))
        << "system tooltip background by default";

    chart->setLegendBackgroundColour(0x00FFFF);  // yellow, as 0x00BBGGRR
    chart->setLegendColour(0x0000FF);            // red

    EXPECT_EQ(strip->palette().color(QPalette::Window), QColor(Qt::yellow));
    EXPECT_EQ(strip->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(box->palette().color(QPalette::Text), boxText);
    EXPECT_EQ(box->palette().color(QPalette::Base), boxBase);
    EXPECT_EQ(strip->grab().toImage().pixel(strip->width() / 2, 2), QColor(Qt::yellow).rgb());
}

}  // namespace
}  // namespace tagwell::test
