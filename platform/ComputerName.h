#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tagwell {

// The name of this computer (its host name). The local node is also reached
// as "localhost".
class ComputerName {
public:
    using Provider = std::function<std::optional<std::string>()>;

    // The name, or nothing when the system cannot tell. A provider installed
    // with setProvider may also throw.
    static std::optional<std::string> read();
    // Replaces the system as the source of the name (tests, hosts that
    // present another name); an empty provider goes back to the system.
    static void setProvider(Provider provider);
    // True for this computer's name and for "localhost", without regard to
    // letter case.
    static bool isThisComputer(const std::string& node);
};

}  // namespace tagwell
