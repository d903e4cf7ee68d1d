#pragma once

#include "platform/WindowHandle.h"

class QWidget;

namespace tagwell {

// How a Qt host names its widgets to the services without Qt: a widget's
// handle is its address. Turning a handle back into a widget checks that the
// widget still exists, so a stale handle names no window rather than freed
// memory.
//
//   MGlobal::CentreCursor(QtWindowHandle::of(this), true);
class QtWindowHandle {
public:
    // NoWindow for nullptr.
    static WindowHandle of(const QWidget* widget);
    // The live widget of that handle, or nullptr for NoWindow, a widget that
    // has been destroyed or any other number.
    static QWidget* widget(WindowHandle handle);
};

}  // namespace tagwell
