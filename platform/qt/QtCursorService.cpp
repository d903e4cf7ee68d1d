#include "platform/qt/QtCursorService.h"

#include <QCursor>
#include <QRect>
#include <QWidget>

#include "platform/qt/QtWindowHandle.h"

namespace tagwell {

namespace {

QRect screenRectOf(const QWidget& widget)
{
    if (widget.isWindow())
        return widget.frameGeometry();
    return QRect(widget.mapToGlobal(QPoint(0, 0)), widget.size());
}

}  // namespace

ScreenPoint QtCursorService::position() const
{
    const QPoint point = QCursor::pos();
    return {point.x(), point.y()};
}

void QtCursorService::moveTo(ScreenPoint point) { QCursor::setPos(point.x, point.y); }

std::optional<ScreenRect> QtCursorService::windowRect(WindowHandle window) const
{
    const QWidget* widget = QtWindowHandle::widget(window);
    if (!widget)
        return std::nullopt;
    const QRect rect = screenRectOf(*widget);
    // Right and bottom lie just outside the window.
    return ScreenRect{rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

}  // namespace tagwell
