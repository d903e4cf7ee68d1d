#include "controls/xopc/XOPCImages.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <cmath>
#include <functional>

namespace tagwell {

namespace {

constexpr int SmallSize = 16;

QIcon drawn(const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(SmallSize, SmallSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter);
    return QIcon(pixmap);
}

QIcon sineIcon()
{
    return drawn([](QPainter& p) {
        QPainterPath wave;
        for (int x = 1; x < SmallSize - 1; ++x) {
            const double y = SmallSize / 2.0 - 5.0 * std::sin((x - 1) * 2 * M_PI / (SmallSize - 3));
            if (x == 1)
                wave.moveTo(x, y);
            else
                wave.lineTo(x, y);
        }
        p.setPen(QPen(QColor(0, 110, 200), 1.6));
        p.drawPath(wave);
    });
}

QIcon booleanIcon()
{
    return drawn([](QPainter& p) {
        const QPointF step[] = {{1, 12}, {5, 12}, {5, 4}, {10, 4}, {10, 12}, {15, 12}};
        p.setPen(QPen(QColor(0, 140, 60), 1.6));
        p.drawPolyline(step, 6);
    });
}

QIcon otherIcon()
{
    return drawn([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 120, 120));
        p.drawEllipse(QPointF(SmallSize / 2.0, SmallSize / 2.0), 3.5, 3.5);
    });
}

QIcon standard(QStyle::StandardPixmap pixmap)
{
    return QApplication::style()->standardIcon(pixmap);
}

}  // namespace

QIcon XOPCImages::large(const QString& key)
{
    static const QHash<QString, QIcon> icons{
        {"Handshake", standard(QStyle::SP_DialogYesButton)},
        {"Sad", standard(QStyle::SP_MessageBoxCritical)},
        {"Computer", standard(QStyle::SP_ComputerIcon)},
        {"NetHood", standard(QStyle::SP_DriveNetIcon)},
        {"Network", standard(QStyle::SP_DriveNetIcon)},
        {"Cardfile", standard(QStyle::SP_FileDialogDetailedView)},
    };
    return icons.value(key);
}

QIcon XOPCImages::small(const QString& key)
{
    static const QHash<QString, QIcon> icons{
        {"Sine", sineIcon()},
        {"Other", otherIcon()},
        {"Boolean", booleanIcon()},
    };
    return icons.value(key);
}

}  // namespace tagwell
