#pragma once

#include <optional>
#include <string>

namespace tagwell {

// The name of this computer (its host name). The local node is also reached
// as "localhost".
class ComputerName {
public:
    // Throws ComError when the system cannot tell.
    static std::string read();
    // Replaces the name read from the system (tests, hosts that present
    // another name); nullopt goes back to the system's.
    static void setOverride(std::optional<std::string> name);
    // True for this computer's name and for "localhost", without regard to
    // letter case.
    static bool isThisComputer(const std::string& node);
};

}  // namespace tagwell
