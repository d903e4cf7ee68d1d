#include "core/MGlobal.h"

#include <cstdint>
#include <optional>

#include "core/OPCText.h"
#include "core/cOPCServer.h"
#include "platform/ComError.h"
#include "platform/ComputerName.h"
#include "platform/Services.h"
#include "platform/ValueText.h"

namespace tagwell {
namespace MGlobal {

namespace {

constexpr size_t ComputerNameLimit = 255;
constexpr const char* Unknown = "UNKNOWN";

// Where CentreCursor found the cursor. Owner thread only.
std::optional<ScreenPoint> g_rememberedCursor;

int32_t midpoint(int32_t low, int32_t high)
{
    return static_cast<int32_t>(low + (static_cast<int64_t>(high) - low) / 2);
}

void showWarning(int32_t number, const std::string& source, const std::string& description)
{
    const std::string title = "Error # " + ValueText::plain(number);
    const std::string text = title + "\twas generated in\rProcedure :\tGetWorkStationID\r" +
                             "By Program : \t" + source + "\rDescription : \t" + description;
    Services::messageBox().show(text, msgbox::Exclamation, title);
}

}  // namespace

std::string GetLocalComputerName()
{
    try {
        const auto name = ComputerName::read();
        if (!name)
            return Unknown;
        std::string text = name->substr(0, std::min(name->find('\0'), ComputerNameLimit));
        return text;
    } catch (const ComError& e) {
        showWarning(e.number(), e.source(), e.description());
    } catch (const std::exception& e) {
        showWarning(errors::InternalError, "ComputerName", e.what());
    }
    return Unknown;
}

int32_t GetServerStateCode(cOPCServer* server)
{
    if (!server)
        return NoServerObject;
    int32_t state = 0;
    return server->GetServerState(state) ? state : ServerStateUnreadable;
}

bool IsNT5OrLater() { return true; }

void CentreCursor(WindowHandle window, bool move)
{
    CursorService& cursor = Services::cursor();
    g_rememberedCursor = cursor.position();
    if (!move)
        return;
    if (const auto rect = cursor.windowRect(window))
        cursor.moveTo({midpoint(rect->left, rect->right), midpoint(rect->top, rect->bottom)});
}

void RestoreCursor()
{
    if (g_rememberedCursor)
        Services::cursor().moveTo(*g_rememberedCursor);
}

int32_t ShellOpen(WindowHandle window, const std::string& target)
{
    return Services::shell().open(window, target);
}

}  // namespace MGlobal
}  // namespace tagwell
