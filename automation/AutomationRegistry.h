#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/ServerBackend.h"
#include "platform/OleArray.h"

namespace tagwell {

// Finds servers: by ProgID, by class identifier in braces, and by node,
// across the registered backends (the built-in simulation first).
//
// Failures are the errors an automation client sees: an unknown ProgID gives
// 0x80004005, a class identifier that is not one 0x800401F3, an unknown class
// identifier 0x80040154, an unreachable node 0x800706BA.
class AutomationRegistry {
public:
    AutomationRegistry();

    // The process's registry, holding the built-in simulation backend.
    static AutomationRegistry& instance();

    void addBackend(std::shared_ptr<ServerBackend> backend);
    void removeBackend(const std::shared_ptr<ServerBackend>& backend);

    // ProgIDs of every server on the node, 1-based.
    OleArray<std::string> serverList(const std::string& node);
    std::unique_ptr<ServerConnection> connect(const std::string& progId, const std::string& node);
    std::unique_ptr<ServerConnection> connectByClassId(const std::string& classId,
                                                       const std::string& node);

    std::optional<std::string> classIdFromProgId(const std::string& progId);
    std::optional<std::string> progIdFromClassId(const std::string& classId);

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits.
    static bool isWellFormedClassId(const std::string& text);

private:
    void requireReachable(const std::string& node);

    std::vector<std::shared_ptr<ServerBackend>> m_backends;
};

}  // namespace tagwell
