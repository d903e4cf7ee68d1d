#pragma once

#include <cstdint>

namespace tagwell {

// A host window as the services below see it: whatever number the host uses
// to name its windows (a native window id, a widget's address). 0 names no
// window.
using WindowHandle = std::uintptr_t;
constexpr WindowHandle NoWindow = 0;

}  // namespace tagwell
