#pragma once

#include <QImage>
#include <QRect>
#include <QVector>
#include <memory>

#include "graph/Lumaplot.h"
#include "graph/PlotSurface.h"

namespace tagwell::test {

inline constexpr QRgb Black = 0xFF000000u;
inline constexpr QRgb White = 0xFFFFFFFFu;
inline constexpr QRgb Red = 0xFFFF0000u;
inline constexpr QRgb Green = 0xFF00FF00u;

// The size of the chart on the real-time plot dialog, in pixels.
inline constexpr QSize PlotDialogChartSize{553, 185};

// A shown chart of the given size (shown, so that it lays itself out).
std::unique_ptr<Lumaplot> shownChart(QSize size = PlotDialogChartSize);

PlotSurface& plottingArea(Lumaplot& chart);
const QImage& picture(Lumaplot& chart);

// Rows of `column` that have `colour`, top to bottom.
QVector<int> rowsWith(const QImage& image, int column, QRgb colour);

// Whether every pixel of `column` in rows [top, bottom) has `colour`.
bool columnFilled(const QImage& image, int column, int top, int bottom, QRgb colour);

// Columns of the visible part of the plotting area (the rest lies beyond the
// chart's right edge).
int visibleColumns(Lumaplot& chart);

// The left column of the white sweep cursor, two columns right of the last
// segment (an older cursor left at the far end by a restart lies further
// right). -1 before the first call.
int cursorColumn(const QImage& image);

}  // namespace tagwell::test
