#include "automation/sim/SimulationBackend.h"

#include <strings.h>

#include "automation/sim/SimConnection.h"
#include "platform/ComError.h"
#include "platform/ComputerName.h"
#include "platform/TextCase.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCServer";
constexpr const char* LocalKey = "";
constexpr const char* LocalFallbackName = "localhost";

bool sameText(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// "Vendor.Server.1" is also known as "Vendor.Server".
bool namesProgId(const std::string& text, const std::string& progId)
{
    if (sameText(text, progId))
        return true;
    const size_t lastDot = progId.rfind('.');
    return lastDot != std::string::npos && sameText(text, progId.substr(0, lastDot));
}

std::string localComputerName()
{
    try {
        if (auto name = ComputerName::read())
            return *name;
    } catch (...) {
        // a provider that fails leaves the node its generic name
    }
    return LocalFallbackName;
}
}  // namespace

SimulationBackend::SimulationBackend() { reset(); }

std::shared_ptr<SimulationBackend> SimulationBackend::shared()
{
    static const auto backend = std::make_shared<SimulationBackend>();
    return backend;
}

const std::vector<SimServerIdentity>& SimulationBackend::identities()
{
    static const std::vector<SimServerIdentity> list{
        {DemoProgId, DemoClassId, OPCHierarchical, true},
        {FlatProgId, FlatClassId, OPCFlat, true},
        {NoBrowserProgId, NoBrowserClassId, OPCHierarchical, false},
    };
    return list;
}

const SimServerIdentity* SimulationBackend::identityOf(const std::string& progId)
{
    for (const auto& identity : identities())
        if (namesProgId(progId, identity.progId))
            return &identity;
    return nullptr;
}

void SimulationBackend::reset()
{
    m_nodes.clear();
    m_nodes[LocalKey] = Node{LocalKey, true, {}};
    m_faults.clearAll();
}

std::string SimulationBackend::nodeKey(const std::string& node)
{
    if (node.empty() || ComputerName::isThisComputer(node))
        return LocalKey;
    return TextCase::lower(node);
}

SimulationBackend::Node* SimulationBackend::findNode(const std::string& node)
{
    const auto found = m_nodes.find(nodeKey(node));
    return found == m_nodes.end() ? nullptr : &found->second;
}

SimulationBackend::Node& SimulationBackend::reachableNode(const std::string& node)
{
    Node* found = findNode(node);
    if (!found || !found->reachable)
        throw ComError(errors::RPC_S_SERVER_UNAVAILABLE_, Source,
                       "The RPC server is unavailable on node '" + node + "'");
    return *found;
}

void SimulationBackend::addNode(const std::string& name)
{
    const std::string key = nodeKey(name);
    if (!m_nodes.count(key))
        m_nodes[key] = Node{name, true, {}};
}

void SimulationBackend::setNodeReachable(const std::string& name, bool reachable)
{
    addNode(name);
    m_nodes[nodeKey(name)].reachable = reachable;
}

std::shared_ptr<SimServer> SimulationBackend::serverOn(Node& node, const SimServerIdentity& identity)
{
    auto& slot = node.servers[identity.progId];
    if (!slot) {
        const std::string nodeName = node.name.empty() ? localComputerName() : node.name;
        slot = std::make_shared<SimServer>(identity, nodeName);
    }
    return slot;
}

SimServer& SimulationBackend::server(const std::string& progId, const std::string& node)
{
    const SimServerIdentity* identity = identityOf(progId);
    Node* found = findNode(node);
    if (!identity || !found)
        throw ComError(errors::E_FAIL_, Source,
                       "The simulation has no server '" + progId + "' on node '" + node + "'");
    return *serverOn(*found, *identity);
}

bool SimulationBackend::reachesNode(const std::string& node)
{
    const Node* found = findNode(node);
    return found && found->reachable;
}

std::vector<std::string> SimulationBackend::serverList(const std::string& node)
{
    reachableNode(node);
    m_faults.check(Source, "GetOPCServers");
    std::vector<std::string> list;
    for (const auto& identity : identities())
        list.push_back(identity.progId);
    return list;
}

std::optional<std::string> SimulationBackend::classIdOf(const std::string& progId)
{
    if (const SimServerIdentity* identity = identityOf(progId))
        return identity->classId;
    return std::nullopt;
}

std::optional<std::string> SimulationBackend::progIdOf(const std::string& classId)
{
    for (const auto& identity : identities())
        if (sameText(classId, identity.classId))
            return identity.progId;
    return std::nullopt;
}

std::unique_ptr<ServerConnection> SimulationBackend::connect(const std::string& progId,
                                                             const std::string& node)
{
    Node& target = reachableNode(node);
    const SimServerIdentity* identity = identityOf(progId);
    if (!identity)
        throw ComError(errors::E_FAIL_, Source, "Unknown ProgID '" + progId + "'");
    auto server = serverOn(target, *identity);
    if (const auto refusal = server->faults().connectionRefusal())
        throw ComError(*refusal, Source, "The server '" + identity->progId + "' refused the connection");
    server->faults().check(Source, "Connect");
    return std::make_unique<SimConnection>(std::move(server));
}

}  // namespace tagwell
