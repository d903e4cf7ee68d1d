#pragma once

#include <map>
#include <vector>

#include "platform/CursorService.h"

namespace tagwell {

// A cursor service for tests: a cursor position, a table of known windows
// and every move asked for.
class RecordingCursorService : public CursorService {
public:
    ScreenPoint position() const override { return cursor; }
    void moveTo(ScreenPoint point) override
    {
        cursor = point;
        moves.push_back(point);
    }
    std::optional<ScreenRect> windowRect(WindowHandle window) const override
    {
        const auto found = windows.find(window);
        return found == windows.end() ? std::nullopt : std::optional<ScreenRect>(found->second);
    }

    ScreenPoint cursor;
    std::map<WindowHandle, ScreenRect> windows;
    std::vector<ScreenPoint> moves;
};

}  // namespace tagwell
