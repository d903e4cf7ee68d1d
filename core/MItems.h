#pragma once

#include <cstdint>
#include <string>

#include "core/IBindableControl.h"
#include "core/Trackable.h"

namespace tagwell {

class cOPCItem;

namespace MItems {

// The owner behind a stored reference, or nullptr when the reference is
// empty or the owner has gone. Callbacks are skipped when it gives none.
template <class T>
T* ResolveOwner(const OwnerRef<T>& stored)
{
    return stored.resolve();
}

// A host window as the binding controls know it.
using WindowHandle = std::uintptr_t;

// Whether item values are written into bound control properties. A binding
// control sets it when it starts (unless it is already set); it clears when
// every parent window that registered has begun to close. Process-wide,
// owner thread only.
bool BindingActive();
void SetBindingActive(bool active);

// Records a binding control's parent window as open. A window registered
// twice in a row is recorded once; registered again after another window,
// it is recorded again.
void RegisterParentWindow(WindowHandle hWnd);
// A parent window begins to close (asked to unload, unloading, going): while
// binding is active every open record of the window is marked closed, and
// once as many records are closed as were registered, binding stops.
void ParentWindowClosing(WindowHandle hWnd);
// Forgets every parent window and clears BindingActive, as at process start.
void ResetParentWindows();

// The member id of the named property of the control. Throws ComError
// 0x80020006 (unknown name) when the control has no such property.
int32_t LookupMemberId(const IBindableControl& control, const std::string& PropertyName);

// Writes the item's stored value into the control's property: a numeric
// value (Booleans included, True being -1) multiplied by the scaling as a
// 64-bit float, anything else (texts, dates, arrays) unchanged. Nothing is
// written when control is nullptr. A refused write throws ComError to the
// caller.
void SetBoundProperty(IBindableControl* control, int32_t MemberId, cOPCItem& item, double Scaling);

}  // namespace MItems
}  // namespace tagwell
