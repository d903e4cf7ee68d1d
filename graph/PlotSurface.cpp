#include "graph/PlotSurface.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace tagwell {

namespace {

constexpr QRgb Background = 0xFF000000u;
constexpr int BorderWidth = 1;

// numerator / denominator rounded to the nearest integer, halves away from
// zero; denominator > 0.
qint64 roundedQuotient(qint64 numerator, qint64 denominator)
{
    if (numerator >= 0)
        return (2 * numerator + denominator) / (2 * denominator);
    return -((-2 * numerator + denominator) / (2 * denominator));
}

}  // namespace

PlotSurface::PlotSurface(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(BorderWidth);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image = QImage(contentsRect().size().expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    m_image.fill(Background);
}

void PlotSurface::setPixel(qint64 x, qint64 y, QRgb colour)
{
    if (x < 0 || y < 0 || x >= m_image.width() || y >= m_image.height())
        return;
    reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(y)))[x] = colour;
}

void PlotSurface::fillColumns(int x, int width, int height, QRgb colour)
{
    const qint64 left = std::max<qint64>(x, 0);
    const qint64 right = std::min<qint64>(qint64(x) + width, m_image.width());
    const qint64 bottom = std::min<qint64>(height, m_image.height());
    for (qint64 row = 0; row < bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(m_image.scanLine(static_cast<int>(row)));
        for (qint64 column = left; column < right; ++column)
            line[column] = colour;
    }
}

void PlotSurface::drawLine(QPoint from, QPoint to, QRgb colour)
{
    // Steps one pixel at a time along the longer axis; the other coordinate
    // is interpolated and rounded. Only the steps that land inside the picture
    // along the longer axis are visited, so far-off end points cost nothing.
    const qint64 dx = qint64(to.x()) - from.x();
    const qint64 dy = qint64(to.y()) - from.y();
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const qint64 steps = alongX ? std::llabs(dx) : std::llabs(dy);
    if (steps == 0)
        return;
    const qint64 majorStart = alongX ? from.x() : from.y();
    const qint64 minorStart = alongX ? from.y() : from.x();
    const qint64 majorSign = (alongX ? dx : dy) > 0 ? 1 : -1;
    const qint64 minorDelta = alongX ? dy : dx;
    const qint64 majorSize = alongX ? m_image.width() : m_image.height();

    // Steps i with 0 <= majorStart + i * majorSign < majorSize.
    qint64 first = majorSign > 0 ? -majorStart : majorStart - majorSize + 1;
    qint64 last = majorSign > 0 ? majorSize - 1 - majorStart : majorStart;
    first = std::max<qint64>(first, 0);
    last = std::min<qint64>(last, steps - 1);
    for (qint64 i = first; i <= last; ++i) {
        const qint64 major = majorStart + i * majorSign;
        const qint64 minor = minorStart + roundedQuotient(i * minorDelta, steps);
        if (alongX)
            setPixel(major, minor, colour);
        else
            setPixel(minor, major, colour);
    }
}

void PlotSurface::refreshColumns(int x, int width)
{
    const QRect inner = contentsRect();
    update(QRect(inner.left() + x, inner.top(), width, inner.height()).intersected(inner));
}

void PlotSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect inner = contentsRect();
    const QRect damaged = event->rect().intersected(inner);
    if (!damaged.isEmpty())
        painter.drawImage(damaged.topLeft(), m_image, damaged.translated(-inner.topLeft()));
    drawFrame(&painter);
}

void PlotSurface::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    matchPictureToSize();
}

void PlotSurface::matchPictureToSize()
{
    const QSize size = contentsRect().size().expandedTo(QSize(0, 0));
    if (size == m_image.size())
        return;
    QImage resized(size, QImage::Format_RGB32);
    if (!resized.isNull()) {
        resized.fill(Background);
        if (!m_image.isNull()) {
            QPainter painter(&resized);
            painter.drawImage(0, 0, m_image);
        }
    }
    m_image = std::move(resized);
}

void PlotSurface::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void PlotSurface::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    QFrame::mouseReleaseEvent(event);
    if (click)
        emit clicked();
}

}  // namespace tagwell
