#include "ChartProbe.h"

namespace tagwell::test {

std::unique_ptr<Lumaplot> shownChart(QSize size)
{
    auto chart = std::make_unique<Lumaplot>();
    chart->resize(size);
    chart->show();
    return chart;
}

PlotSurface& plottingArea(Lumaplot& chart)
{
    return *chart.findChild<PlotSurface*>(QStringLiteral("picDisplay"));
}

const QImage& picture(Lumaplot& chart) { return plottingArea(chart).image(); }

QVector<int> rowsWith(const QImage& image, int column, QRgb colour)
{
    QVector<int> rows;
    for (int row = 0; row < image.height(); ++row) {
        if (image.pixel(column, row) == colour)
            rows.append(row);
    }
    return rows;
}

bool columnFilled(const QImage& image, int column, int top, int bottom, QRgb colour)
{
    for (int row = top; row < bottom; ++row) {
        if (image.pixel(column, row) != colour)
            return false;
    }
    return true;
}

int visibleColumns(Lumaplot& chart)
{
    PlotSurface& area = plottingArea(chart);
    return chart.width() - area.x() - area.contentsRect().left();
}

int cursorColumn(const QImage& image)
{
    // The cursor starts at the top row whatever height the chart draws in.
    for (int column = 0; column + 1 < image.width(); ++column) {
        if (image.pixel(column, 0) == White && image.pixel(column + 1, 0) == White)
            return column;
    }
    return -1;
}

}  // namespace tagwell::test
