#include "automation/AutomationRegistry.h"

#include <algorithm>
#include <cctype>
#include <strings.h>

#include "automation/sim/SimulationBackend.h"
#include "platform/ComError.h"
#include "platform/TextCase.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCServer";

}  // namespace

AutomationRegistry::AutomationRegistry() = default;

AutomationRegistry& AutomationRegistry::instance()
{
    static AutomationRegistry registry = [] {
        AutomationRegistry r;
        r.addBackend(SimulationBackend::shared());
        return r;
    }();
    return registry;
}

void AutomationRegistry::addBackend(std::shared_ptr<ServerBackend> backend)
{
    if (backend && std::find(m_backends.begin(), m_backends.end(), backend) == m_backends.end())
        m_backends.push_back(std::move(backend));
}

void AutomationRegistry::removeBackend(const std::shared_ptr<ServerBackend>& backend)
{
    m_backends.erase(std::remove(m_backends.begin(), m_backends.end(), backend), m_backends.end());
}

void AutomationRegistry::requireReachable(const std::string& node)
{
    for (const auto& backend : m_backends)
        if (backend->reachesNode(node))
            return;
    throw ComError(errors::RPC_S_SERVER_UNAVAILABLE_, Source,
                   "The node '" + node + "' cannot be reached");
}

OleArray<std::string> AutomationRegistry::serverList(const std::string& node)
{
    requireReachable(node);
    std::vector<std::string> all;
    for (const auto& backend : m_backends) {
        if (!backend->reachesNode(node))
            continue;
        for (auto& progId : backend->serverList(node))
            all.push_back(std::move(progId));
    }
    return OleArray<std::string>::oneBased(std::move(all));
}

std::unique_ptr<ServerConnection> AutomationRegistry::connect(const std::string& progId,
                                                              const std::string& node)
{
    if (progId.empty())
        throw ComError(errors::E_FAIL_, Source, "No ProgID was given");
    requireReachable(node);
    // A backend that knows the ProgID's class identifier serves it; one that
    // does not may still list it among the node's servers.
    for (const auto& backend : m_backends)
        if (backend->reachesNode(node) && backend->classIdOf(progId))
            return backend->connect(progId, node);
    for (const auto& backend : m_backends) {
        if (!backend->reachesNode(node))
            continue;
        const auto list = backend->serverList(node);
        const bool serves = std::any_of(list.begin(), list.end(), [&](const std::string& p) {
            return strcasecmp(p.c_str(), progId.c_str()) == 0;
        });
        if (serves)
            return backend->connect(progId, node);
    }
    throw ComError(errors::E_FAIL_, Source, "Unknown ProgID '" + progId + "'");
}

std::unique_ptr<ServerConnection> AutomationRegistry::connectByClassId(const std::string& classId,
                                                                       const std::string& node)
{
    if (!isWellFormedClassId(classId))
        throw ComError(errors::CO_E_CLASSSTRING_, Source, "Invalid class string");
    const auto progId = progIdFromClassId(classId);
    if (!progId)
        throw ComError(errors::REGDB_E_CLASSNOTREG_, Source, "Class not registered");
    return connect(*progId, node);
}

std::optional<std::string> AutomationRegistry::classIdFromProgId(const std::string& progId)
{
    for (const auto& backend : m_backends)
        if (auto id = backend->classIdOf(progId))
            return id;
    return std::nullopt;
}

std::optional<std::string> AutomationRegistry::progIdFromClassId(const std::string& classId)
{
    if (!isWellFormedClassId(classId))
        return std::nullopt;
    const std::string normalised = TextCase::upper(classId);
    for (const auto& backend : m_backends)
        if (auto progId = backend->progIdOf(normalised))
            return progId;
    return std::nullopt;
}

bool AutomationRegistry::isWellFormedClassId(const std::string& text)
{
    static constexpr const char* Shape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
    if (text.size() != std::char_traits<char>::length(Shape))
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool ok = Shape[i] == 'X' ? std::isxdigit(static_cast<unsigned char>(text[i])) != 0
                                        : text[i] == Shape[i];
        if (!ok)
            return false;
    }
    return true;
}

}  // namespace tagwell
