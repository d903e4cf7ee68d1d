#pragma once

#include "platform/CursorService.h"
#include "platform/MessageBoxService.h"
#include "platform/PointerService.h"
#include "platform/ShellService.h"

namespace tagwell {

// The user-interface services the host installs for code without Qt: Qt
// hosts install the Qt versions, tests recording fakes. Until a host installs
// one, a default is in place: a silent message box, a pointer and a cursor
// that are only remembered, and a shell that opens documents with the
// desktop's opener program. Services are not owned; installing nullptr goes
// back to the default. Used from the owner thread only.
class Services {
public:
    static MessageBoxService& messageBox();
    static void installMessageBox(MessageBoxService* service);

    static PointerService& pointer();
    static void installPointer(PointerService* service);

    static CursorService& cursor();
    static void installCursor(CursorService* service);

    static ShellService& shell();
    static void installShell(ShellService* service);
};

}  // namespace tagwell
