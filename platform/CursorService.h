#pragma once

#include <cstdint>
#include <optional>

#include "platform/WindowHandle.h"

namespace tagwell {

// Screen coordinates in pixels, from the top left corner of the screen.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// A window's outer rectangle; right and bottom lie just outside it.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The mouse cursor's position and the geometry of host windows. Hosts install
// their implementation; runs on the owner thread.
class CursorService {
public:
    virtual ~CursorService() = default;
    virtual ScreenPoint position() const = 0;
    virtual void moveTo(ScreenPoint point) = 0;
    // The window's rectangle on the screen, or nothing for an unknown window.
    virtual std::optional<ScreenRect> windowRect(WindowHandle window) const = 0;
};

// What runs when no host installed a service: no cursor moves, the position
// is only remembered, and no window is known.
class RememberingCursorService : public CursorService {
public:
    ScreenPoint position() const override { return m_position; }
    void moveTo(ScreenPoint point) override { m_position = point; }
    std::optional<ScreenRect> windowRect(WindowHandle) const override { return std::nullopt; }

private:
    ScreenPoint m_position;
};

}  // namespace tagwell
