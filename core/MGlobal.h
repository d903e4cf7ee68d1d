#pragma once

#include <cstdint>
#include <string>

#include "core/OPCText.h"
#include "platform/WindowHandle.h"

namespace tagwell {

class cOPCServer;

namespace MGlobal {

// This computer's name (at most 255 characters); "UNKNOWN" when it cannot be
// read. A failure that raises an error also shows a warning box naming it.
std::string GetLocalComputerName();

// The server's state (1 to 6) when it can be read, ServerStateUnreadable (99)
// when reading fails, NoServerObject (999) when there is no server object.
int32_t GetServerStateCode(cOPCServer* server);

// Whether the system is of the newer generation the controls were made for;
// this platform is.
bool IsNT5OrLater();

// Remembers where the cursor is; with move, puts it at the centre of the
// window: left + (right - left) / 2, top + (bottom - top) / 2, halves dropped.
// An unknown window leaves the cursor where it is.
void CentreCursor(WindowHandle window, bool move);
// Puts the cursor back where the last CentreCursor found it; does nothing
// before the first CentreCursor.
void RestoreCursor();

// Opens a document, folder, program or address with the program the desktop
// associates with it, and gives the shell's result code: above 32 for
// success, a small number for failure (see shell:: in platform/ShellService.h).
// The text is handed on as it is, as one argument.
int32_t ShellOpen(WindowHandle window, const std::string& target);

}  // namespace MGlobal
}  // namespace tagwell
