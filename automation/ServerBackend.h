#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/ServerConnection.h"

namespace tagwell {

// A source of servers: the built-in simulation, or a network protocol. The
// registry asks each backend in turn. Nodes are computer names; the empty
// text is this computer.
class ServerBackend {
public:
    virtual ~ServerBackend() = default;

    // Whether this backend can reach servers on the node at all.
    virtual bool reachesNode(const std::string& node) = 0;
    // The ProgIDs of the servers on the node. Throws ComError when the node
    // cannot be reached.
    virtual std::vector<std::string> serverList(const std::string& node) = 0;
    // The class identifier ("{...}", upper case) of a ProgID this backend knows.
    virtual std::optional<std::string> classIdOf(const std::string& progId) = 0;
    // The full, version-specific ProgID of a class identifier it knows.
    virtual std::optional<std::string> progIdOf(const std::string& classId) = 0;
    // Connects to the server with that ProgID on the node. Throws ComError
    // when the server does not exist, refuses or cannot be reached.
    virtual std::unique_ptr<ServerConnection> connect(const std::string& progId,
                                                      const std::string& node) = 0;
};

}  // namespace tagwell
