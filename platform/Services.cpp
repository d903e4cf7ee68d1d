#include "platform/Services.h"

#include "platform/XdgOpenShellService.h"

namespace tagwell {

namespace {
MessageBoxService* g_messageBox = nullptr;
PointerService* g_pointer = nullptr;
CursorService* g_cursor = nullptr;
ShellService* g_shell = nullptr;
}  // namespace

MessageBoxService& Services::messageBox()
{
    static SilentMessageBoxService silent;
    return g_messageBox ? *g_messageBox : silent;
}

void Services::installMessageBox(MessageBoxService* service) { g_messageBox = service; }

PointerService& Services::pointer()
{
    static RememberingPointerService remembering;
    return g_pointer ? *g_pointer : remembering;
}

void Services::installPointer(PointerService* service) { g_pointer = service; }

CursorService& Services::cursor()
{
    static RememberingCursorService remembering;
    return g_cursor ? *g_cursor : remembering;
}

void Services::installCursor(CursorService* service) { g_cursor = service; }

ShellService& Services::shell()
{
    static XdgOpenShellService opener;
    return g_shell ? *g_shell : opener;
}

void Services::installShell(ShellService* service) { g_shell = service; }

}  // namespace tagwell
