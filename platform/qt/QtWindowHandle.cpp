#include "platform/qt/QtWindowHandle.h"

#include <QApplication>
#include <QWidget>

namespace tagwell {

WindowHandle QtWindowHandle::of(const QWidget* widget)
{
    return reinterpret_cast<WindowHandle>(widget);
}

QWidget* QtWindowHandle::widget(WindowHandle handle)
{
    if (handle == NoWindow || !qApp)
        return nullptr;
    // Handles are asked for on user actions only, so a walk over the live
    // widgets costs nothing that matters and never touches a freed object.
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        if (of(widget) == handle)
            return widget;
    }
    return nullptr;
}

}  // namespace tagwell
