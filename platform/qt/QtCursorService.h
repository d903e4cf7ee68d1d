#pragma once

#include "platform/CursorService.h"

namespace tagwell {

// The mouse cursor of a Qt host: QCursor's position in screen pixels, and the
// rectangle of a widget named by its QtWindowHandle. A top-level window's
// rectangle includes its frame; a child widget's is its own area on the
// screen.
class QtCursorService : public CursorService {
public:
    ScreenPoint position() const override;
    void moveTo(ScreenPoint point) override;
    std::optional<ScreenRect> windowRect(WindowHandle window) const override;
};

}  // namespace tagwell
