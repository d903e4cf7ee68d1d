#pragma once

#include <cstdint>
#include <memory>

namespace tagwell {

class CPacetick;
class TimerWindow;

// One record of the per-thread timer registry: the enabled timer (held, so
// that it lives while enabled even when its client let go of it), the handle
// it is registered under, and its hidden window on this thread.
struct CObjData {
    std::shared_ptr<CPacetick> objTimer;
    uint32_t hWnd = 0;
    TimerWindow* window = nullptr;
};

}  // namespace tagwell
