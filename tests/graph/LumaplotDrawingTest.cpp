// What UpdateGraph draws, read back from the pixels of the chart's picture.

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPoint>
#include <QRegion>
#include <algorithm>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <limits>

#include "ChartProbe.h"

namespace tagwell::test {
namespace {

// Feeds the same value often enough that the trace runs flat, and returns the
// row it runs at (the red pixel in the last segment's column).
int flatRow(Lumaplot& chart, double value, qint16 channel = 1)
{
    int column = -1;
    for (int call = 0; call < 3; ++call) {
        column = std::max(cursorColumn(picture(chart)), 0);  // pen of the coming call
        chart.UpdateGraph(channel, 1, value);
    }
    const QVector<int> rows = rowsWith(picture(chart), column, Red);
    return rows.size() == 1 ? rows.front() : -1;
}

int centreRow(const QImage& image, int column)
{
    const QVector<int> rows = rowsWith(image, column, Green);
    return rows.size() == 1 ? rows.front() : -1;
}

TEST(LumaplotDrawing, FirstSegmentRisesFromTheBottomEdge)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    const int height = chart->ScaleHeight();
    ASSERT_EQ(image.height(), height);

    ASSERT_EQ(chart->UpdateGraph(1, 1, 50.0), 0);

    QVector<int> rows = rowsWith(image, 0, Red) + rowsWith(image, 1, Red);
    std::sort(rows.begin(), rows.end());
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.back(), height - 1) << "starts at the bottom row";
    EXPECT_NEAR(rows.front(), height / 2, 2) << "ends near the middle of the range";
    EXPECT_EQ(rows.size(), rows.back() - rows.front() + 1) << "one unbroken rise";
    EXPECT_FALSE(rowsWith(image, 0, Red).isEmpty());
    EXPECT_FALSE(rowsWith(image, 1, Red).isEmpty()) << "the segment leans one column right";
}

struct BandCase {
    int chartHeight;
    float min;
    float max;
    double value;
    double shareFromBottom;  // where the value must land
};

void PrintTo(const BandCase& c, std::ostream* out)
{
    *out << c.value << " in " << c.min << ".." << c.max << " at height " << c.chartHeight;
}

class LumaplotBand : public ::testing::TestWithParam<BandCase> {};

TEST_P(LumaplotBand, RangeMapsOntoTenToNinetyPercentOfTheHeight)
{
    const BandCase& c = GetParam();
    auto chart = shownChart({PlotDialogChartSize.width(), c.chartHeight});
    chart->setMin(c.min);
    chart->setMax(c.max);
    const int height = chart->ScaleHeight();

    const int row = flatRow(*chart, c.value);

    ASSERT_GE(row, 0);
    EXPECT_NEAR(height - row, c.shareFromBottom * height, 1.5);
    if (c.shareFromBottom == 0.5) {
        EXPECT_NEAR(row, centreRow(picture(*chart), 5), 1) << "the middle of the range is on the centre line";
    }
}

INSTANTIATE_TEST_SUITE_P(, LumaplotBand,
                         ::testing::Values(BandCase{185, 0, 100, 0, 0.1}, BandCase{185, 0, 100, 100, 0.9},
                                           BandCase{185, 0, 100, 50, 0.5}, BandCase{300, -50, 50, -50, 0.1},
                                           BandCase{300, -50, 50, 50, 0.9}, BandCase{300, -50, 50, 0, 0.5},
                                           BandCase{240, 10, 20, 15, 0.5}, BandCase{240, 0, -1, -1, 0.9},
                                           BandCase{240, 0, -1, 0, 0.1}));

struct HalfCase {
    int innerHeight;
    int flatRowOfMin;  // worked by hand from the tenth of the height
};

void PrintTo(const HalfCase& c, std::ostream* out) { *out << "inner height " << c.innerHeight; }

class LumaplotHalves : public ::testing::TestWithParam<HalfCase> {};

TEST_P(LumaplotHalves, RoundToTheEvenNeighbour)
{
    // Min sits a tenth of the height above the bottom: 18.5 rounds down to
    // 18 for a 185-pixel area, 17.5 up to 18 for a 175-pixel one.
    const HalfCase& c = GetParam();
    auto chart = shownChart({PlotDialogChartSize.width(), c.innerHeight + 2});
    ASSERT_EQ(chart->ScaleHeight(), c.innerHeight);
    EXPECT_EQ(flatRow(*chart, 0), c.flatRowOfMin);
}

INSTANTIATE_TEST_SUITE_P(, LumaplotHalves, ::testing::Values(HalfCase{185, 185 - 18}, HalfCase{175, 175 - 18}));

TEST(LumaplotDrawing, GridLinesMarkEveryMultipleOfTwentyWhateverTheChannel)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    const int height = chart->ScaleHeight();
    QVector<int> expected;
    for (qint32 x = 1; x <= 60; ++x) {
        if (x % 20 == 0)
            expected.append(cursorColumn(image) + 1);  // one right of the coming pen
        chart->UpdateGraph(static_cast<qint16>(1 + x % 3), x, 90.0);
    }

    QVector<int> gridColumns;
    for (int column = 0; column < image.width(); ++column) {
        if (columnFilled(image, column, 0, height, Green))
            gridColumns.append(column);
    }
    EXPECT_EQ(gridColumns, expected);
}

TEST(LumaplotDrawing, CentreLineGetsOnePixelPerCall)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    const int centre = chart->ScaleHeight() / 2;
    for (qint32 x = 1; x <= 10; ++x)
        chart->UpdateGraph(1, x, 100.0);

    for (int column = 0; column < 20; ++column)
        EXPECT_EQ(image.pixel(column, centre) == Green, column % 2 == 1) << "column " << column;
}

TEST(LumaplotDrawing, TwoChannelsFedInTurnDrawDashedTraces)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    const double high = 80, low = 20;
    for (qint32 x = 1; x <= 40; ++x) {
        chart->UpdateGraph(1, x, high);
        chart->UpdateGraph(2, x, low);
    }
    // Rows of the flat parts, well after the first rising segments.
    const QVector<int> highRows = rowsWith(image, 40, Red);
    const QVector<int> lowRows = rowsWith(image, 42, Red);
    ASSERT_EQ(highRows.size(), 1);
    ASSERT_EQ(lowRows.size(), 1);
    ASSERT_LT(highRows.front(), lowRows.front());

    for (int column = 8; column < 150; ++column) {
        const bool channelOne = column % 4 == 0;
        const bool channelTwo = column % 4 == 2;
        EXPECT_EQ(image.pixel(column, highRows.front()) == Red, channelOne) << "column " << column;
        EXPECT_EQ(image.pixel(column, lowRows.front()) == Red, channelTwo) << "column " << column;
    }
}

TEST(LumaplotDrawing, SweepRestartsShortOfTheVisibleEdgeAndBlackensTheOldTrace)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    const int oldRow = flatRow(*chart, 75);
    ASSERT_GE(oldRow, 0);

    int furthestCursor = cursorColumn(image);
    qint32 x = 3;
    while (cursorColumn(image) >= furthestCursor) {
        furthestCursor = cursorColumn(image);
        chart->UpdateGraph(1, ++x, 75);
        ASSERT_LT(x, 10000) << "the sweep never restarted";
    }
    // The cursor's right column stayed visible, and the restart came within
    // about 120 twips (8 pixels) of the visible edge.
    const int cursorRight = furthestCursor + 1;
    EXPECT_LT(cursorRight, visibleColumns(*chart));
    EXPECT_GE(cursorRight, visibleColumns(*chart) - 8 - 2);
    EXPECT_EQ(cursorColumn(image), 2) << "the first call after the restart drew at column 0";

    // Feed a new value for a stretch: what the new sweep passed over keeps no
    // trace of the old value, what lies ahead of it still does.
    const int newRow = flatRow(*chart, 25);
    for (int call = 0; call < 30; ++call)
        chart->UpdateGraph(1, ++x, 25);
    const int pen = cursorColumn(image) - 2;
    // Column 0 holds the last point of the old value, columns 2 and 3 the step down.
    for (int column = 4; column < pen; ++column)
        EXPECT_NE(image.pixel(column, oldRow), Red) << "old trace left at column " << column;
    EXPECT_EQ(image.pixel(4, newRow), Red);
    EXPECT_EQ(image.pixel(pen + 8, oldRow), Red) << "the old trace ahead of the sweep is kept";
}

class LumaplotBadChannel : public ::testing::TestWithParam<qint16> {};

TEST_P(LumaplotBadChannel, ErasesAndMovesTheMarkerButDrawsNothingAndKeepsThePen)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    for (qint32 x = 1; x <= 5; ++x)
        chart->UpdateGraph(1, x, 60);
    // The coming pen's columns hold the white cursor of the last call.
    const int pen = cursorColumn(image);
    ASSERT_TRUE(columnFilled(image, pen + 1, 0, image.height(), White));
    const QWidget* marker = chart->findChild<QWidget*>(QStringLiteral("picIndicator"));
    const QPoint markerBefore = marker->pos();

    EXPECT_EQ(chart->UpdateGraph(GetParam(), 1, 10), Lumaplot::SubscriptOutOfRange);
    EXPECT_EQ(chart->lastError(), Lumaplot::SubscriptOutOfRange);

    EXPECT_TRUE(columnFilled(image, pen, 0, image.height(), Black));
    EXPECT_TRUE(columnFilled(image, pen + 1, 0, image.height(), Black));
    EXPECT_TRUE(columnFilled(image, pen + 2, 0, image.height(), White));
    EXPECT_NE(marker->pos(), markerBefore) << "the marker moved to the refused value";

    ASSERT_EQ(chart->UpdateGraph(1, 1, 60), 0);
    EXPECT_FALSE(rowsWith(image, pen, Red).isEmpty()) << "the next good call draws where the bad one would have";
    EXPECT_EQ(chart->lastError(), 0);
}

INSTANTIATE_TEST_SUITE_P(, LumaplotBadChannel, ::testing::Values(qint16(0), qint16(11), qint16(-1), qint16(32767)));

TEST(LumaplotDrawing, ValuesTooLargeToPlotAreRefusedWithoutDrawing)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    chart->UpdateGraph(1, 1, 50);
    const QImage before = image.copy();

    for (double value : {std::nan(""), std::numeric_limits<double>::infinity(), -1e12, 1e300}) {
        EXPECT_EQ(chart->UpdateGraph(1, 2, value), Lumaplot::Overflow) << value;
        EXPECT_EQ(image, before) << value;
    }

    // Far off but countable: drawn, clipped at the top edge.
    ASSERT_EQ(chart->UpdateGraph(1, 2, 1e8), 0);
    const QVector<int> rows = rowsWith(image, 2, Red);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.front(), 0);
}

TEST(LumaplotDrawing, WrittenScaleHeightConfinesDrawingUntilTheNextResize)
{
    auto chart = shownChart();
    const QImage& image = picture(*chart);
    const int fullHeight = chart->ScaleHeight();
    const int confined = 100;
    ASSERT_GT(fullHeight, confined);

    // A full sweep of grid lines, so that anything later drawn or erased in
    // the lower rows would show.
    auto sweepOnce = [&chart, &image](double value) {
        const int start = cursorColumn(image);
        do
            chart->UpdateGraph(1, 20, value);
        while (cursorColumn(image) != start);
    };
    chart->UpdateGraph(1, 20, 50);
    sweepOnce(50);
    chart->setScaleHeight(confined);
    EXPECT_EQ(chart->ScaleHeight(), confined);
    const QImage lowerBefore = image.copy(0, confined, image.width(), fullHeight - confined);

    sweepOnce(30);

    EXPECT_EQ(image.copy(0, confined, image.width(), fullHeight - confined), lowerBefore);
    EXPECT_TRUE(columnFilled(image, 11, 0, confined, Green));
    const QVector<int> traceRows = rowsWith(image, 10, Red);
    ASSERT_FALSE(traceRows.isEmpty());
    EXPECT_LT(traceRows.back(), confined);

    chart->resize(chart->width(), chart->height() + 10);
    EXPECT_EQ(chart->ScaleHeight(), fullHeight + 10);
}

// Collects what a widget is asked to repaint.
class PaintRecorder : public QObject {
public:
    QRegion painted;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

TEST(LumaplotDrawing, EachCallRepaintsOnlyTheColumnsItTouched)
{
    auto chart = shownChart();
    PlotSurface& area = plottingArea(*chart);
    for (qint32 x = 1; x <= 100; ++x)
        chart->UpdateGraph(1, x, 50 + x % 30);
    QCoreApplication::processEvents();
    PaintRecorder recorder;
    area.installEventFilter(&recorder);

    for (qint32 x = 101; x <= 110; ++x) {
        recorder.painted = QRegion();
        const int pen = cursorColumn(area.image());
        chart->UpdateGraph(1, x, 50 + x % 30);
        QCoreApplication::processEvents();

        // The four touched columns, less what the marker covers, plus the
        // marker's old place.
        const QRect columns = QRect(pen, 0, 4, area.image().height()).translated(area.contentsRect().topLeft());
        QRegion beyond = recorder.painted - columns;
        EXPECT_LE(beyond.boundingRect().width(), 20) << "call " << x;
        EXPECT_LE(beyond.boundingRect().height(), 8) << "call " << x;
        EXPECT_TRUE(recorder.painted.intersects(columns)) << "call " << x;
    }
    area.removeEventFilter(&recorder);
}

TEST(LumaplotDrawing, MarkerCentresOnTheNewestPoint)
{
    auto chart = shownChart();
    const PlotSurface& area = plottingArea(*chart);
    const QWidget* marker = chart->findChild<QWidget*>(QStringLiteral("picIndicator"));
    for (double value : {10.0, 50.0, 90.0}) {
        const int row = flatRow(*chart, value);
        const int pen = cursorColumn(picture(*chart)) - 2;
        const QPointF point = area.pos() + area.contentsRect().topLeft() + QPointF(pen + 0.5, row + 0.5);
        const QPointF centre = QRectF(marker->geometry()).center();
        // Within the marker's own size of 16 x 4 pixels.
        EXPECT_NEAR(centre.x(), point.x(), 3) << value;
        EXPECT_NEAR(centre.y(), point.y(), 3) << value;
    }
}

TEST(LumaplotDrawing, ToolTipShowsTheLastValueOfWhicheverChannel)
{
    auto chart = shownChart();
    const PlotSurface& area = plottingArea(*chart);
    chart->UpdateGraph(1, 1, 12.5);
    EXPECT_TRUE(area.toolTip().isEmpty()) << "off until asked for";

    chart->setShowValueInToolTip(true);
    chart->UpdateGraph(1, 2, 12.5);
    EXPECT_EQ(area.toolTip(), QStringLiteral("12.5"));
    chart->UpdateGraph(7, 3, -0.25);
    EXPECT_EQ(area.toolTip(), QStringLiteral("-0.25"));
    chart->UpdateGraph(0, 4, 99);
    EXPECT_EQ(area.toolTip(), QStringLiteral("-0.25")) << "a refused call shows nothing new";
}

}  // namespace
}  // namespace tagwell::test
