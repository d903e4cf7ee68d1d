#pragma once

#include <string>

namespace tagwell {

class cOPCServer;

namespace MGlobal {

// This computer's name (at most 255 characters); "UNKNOWN" when it cannot be
// read. A failure that raises an error also shows a warning box naming it.
std::string GetLocalComputerName();

// The server's state (1 to 6) when it can be read, 99 when reading fails,
// 999 when there is no server object.
int32_t GetServerStateCode(cOPCServer* server);

}  // namespace MGlobal
}  // namespace tagwell
