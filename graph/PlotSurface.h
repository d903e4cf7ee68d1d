#pragma once

#include <QFrame>
#include <QImage>
#include <QPoint>

namespace tagwell {

// The plotting area of the strip chart: a bordered frame over a persistent
// picture. Everything drawn goes into the picture, which survives repaints;
// a paint only copies the damaged part of it to the screen. Nothing clears the
// picture as a whole: a resize keeps the part that still fits and fills new
// parts with the black background.
//
// Coordinates are pixels of the picture, (0, 0) at the top left inside the
// border. Drawing outside the picture is clipped, whatever the coordinates.
class PlotSurface : public QFrame {
    Q_OBJECT

public:
    explicit PlotSurface(QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }

    // Makes the picture as large as the inside of the frame, keeping what
    // fits. Runs on every resize; call it after moving a hidden frame to use
    // the new size at once.
    void matchPictureToSize();

    // Fills columns x .. x + width - 1, rows 0 .. height - 1.
    void fillColumns(int x, int width, int height, QRgb colour);

    // A one-pixel line from `from` up to, but not including, `to`; a line that
    // starts where it ends draws nothing.
    void drawLine(QPoint from, QPoint to, QRgb colour);

    // Schedules a repaint of columns x .. x + width - 1 only.
    void refreshColumns(int x, int width);

signals:
    // A click (press and release of the left button) inside the area.
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void setPixel(qint64 x, qint64 y, QRgb colour);

    QImage m_image;
    bool m_pressed = false;
};

}  // namespace tagwell
