#pragma once

#include <cstdint>
#include <string>

#include "platform/WindowHandle.h"

namespace tagwell {

// Result codes of opening a document through the shell, as the classic shell
// gives them: a number above SuccessAbove means the document was handed to
// its program; small numbers name the failure.
namespace shell {
constexpr int32_t SuccessAbove = 32;
constexpr int32_t Opened = 42;          // handed to the program that opens it
constexpr int32_t FileNotFound = 2;     // nothing to open: empty text or a text with a zero character
constexpr int32_t OutOfResources = 8;   // the opener could not be started for lack of resources
constexpr int32_t NoAssociation = 31;   // no program to open it: the opener is missing or refused
constexpr bool succeeded(int32_t code) { return code > SuccessAbove; }
}  // namespace shell

// Opens a document, folder, program or address with the program the desktop
// associates with it (its default verb), with no parameters and no working
// folder, its window shown normally. The text reaches the opener as one
// argument, never through a command interpreter. Returns a shell:: code;
// owner is the window that asks (for any message the opener shows).
class ShellService {
public:
    virtual ~ShellService() = default;
    virtual int32_t open(WindowHandle owner, const std::string& target) = 0;
};

}  // namespace tagwell
