#include "core/MItems.h"

#include <vector>

#include "core/cOPCItem.h"
#include "platform/ComError.h"

namespace tagwell {
namespace MItems {

namespace {

constexpr int32_t DISP_E_UNKNOWNNAME_ = hresult(0x80020006u);
constexpr int16_t StoredValue = 2;

struct ParentWindow {
    WindowHandle handle;
    bool open;
};

struct BindingState {
    bool active = false;
    std::vector<ParentWindow> windows;
    size_t closedCount = 0;
};

BindingState& binding()
{
    static BindingState s;
    return s;
}

}  // namespace

bool BindingActive() { return binding().active; }
void SetBindingActive(bool active) { binding().active = active; }

void RegisterParentWindow(WindowHandle hWnd)
{
    std::vector<ParentWindow>& windows = binding().windows;
    if (!windows.empty() && windows.back().handle == hWnd)
        return;
    windows.push_back({hWnd, true});
}

void ParentWindowClosing(WindowHandle hWnd)
{
    BindingState& s = binding();
    if (!s.active)
        return;
    for (ParentWindow& window : s.windows) {
        if (window.open && window.handle == hWnd) {
            window.open = false;
            ++s.closedCount;
        }
    }
    if (s.closedCount == s.windows.size())
        s.active = false;
}

void ResetParentWindows() { binding() = BindingState(); }

int32_t LookupMemberId(const IBindableControl& control, const std::string& PropertyName)
{
    if (std::optional<int32_t> id = control.memberIdOf(PropertyName))
        return *id;
    throw ComError(DISP_E_UNKNOWNNAME_, "MItems", "Unknown name: " + PropertyName);
}

void SetBoundProperty(IBindableControl* control, int32_t MemberId, cOPCItem& item, double Scaling)
{
    const Variant stored = item.GetItemValue(StoredValue);
    const bool scalable = stored.isNumeric() && !stored.isArray();
    const Variant value = scalable ? Variant(stored.toR8() * Scaling) : stored;
    if (control)
        control->setPropertyById(MemberId, value);
}

}  // namespace MItems
}  // namespace tagwell
