#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/ServerBackend.h"
#include "automation/sim/SimFaults.h"
#include "automation/sim/SimServer.h"

namespace tagwell {

// The built-in, in-process simulation: three servers on this computer and on
// any simulated remote node a test adds.
//
//   DemoProgId       a hierarchical address space (the demonstration items
//                    SimulatePLC.PHASED.Ramp1..5, SimulatePLC.BOOL.In1/In2/
//                    Out1/Out2 and many more, see SimCatalog)
//   FlatProgId       a flat address space
//   NoBrowserProgId  the demonstration items, but CreateBrowser gives nullptr
//
// Everything runs on the owner thread and moves with Dispatcher::current():
// values follow its clock, events are raised through it. Nothing sleeps and
// nothing starts a thread.
//
// Tests reach the state through shared():
//   auto& sim = *SimulationBackend::shared();
//   sim.reset();                                   // in SetUp
//   SimServer& demo = sim.server(SimulationBackend::DemoProgId);
//   demo.setServerState(4);
//   demo.faults().fail("AddItem", errors::E_FAIL_, 1);
//   demo.addGeneratedTags("Bulk", 100000, SimSignal::Ramp);
//   sim.addNode("PLANT7");  sim.setNodeReachable("PLANT7", false);
//   sim.faults().fail("GetOPCServers", 0x80010001);  // the node's server list
//
// The local node is the empty text, this computer's name in any letter case,
// or "localhost". Unknown and unreachable nodes fail with 0x800706BA.
class SimulationBackend : public ServerBackend {
public:
    static constexpr const char* DemoProgId = "ICONICS.Simulator.1";
    static constexpr const char* DemoClassId = "{2C6F3B8E-51A4-4F0B-9D7E-6A1C0B3E7D01}";
    static constexpr const char* FlatProgId = "Tagwell.FlatSimulator.1";
    static constexpr const char* FlatClassId = "{2C6F3B8E-51A4-4F0B-9D7E-6A1C0B3E7D02}";
    static constexpr const char* NoBrowserProgId = "Tagwell.NoBrowserSimulator.1";
    static constexpr const char* NoBrowserClassId = "{2C6F3B8E-51A4-4F0B-9D7E-6A1C0B3E7D03}";

    SimulationBackend();

    // The process's simulation, registered with AutomationRegistry::instance().
    static std::shared_ptr<SimulationBackend> shared();

    // Back to the initial state: only the local node, fresh servers (created
    // on first use, with the current dispatcher's clock), no faults.
    // Connections made before keep working against the servers they had.
    void reset();

    // The server of that ProgID (any letter case, with or without its
    // version) on the node, created on first use. Throws ComError E_FAIL for
    // a ProgID the simulation does not have or a node it does not know.
    SimServer& server(const std::string& progId, const std::string& node = {});

    // Simulated remote nodes, reachable when added.
    void addNode(const std::string& name);
    void setNodeReachable(const std::string& name, bool reachable);

    // Faults of the node-wide member GetOPCServers (server members have
    // theirs on SimServer::faults()).
    SimFaults& faults() { return m_faults; }

    // ServerBackend
    bool reachesNode(const std::string& node) override;
    std::vector<std::string> serverList(const std::string& node) override;
    std::optional<std::string> classIdOf(const std::string& progId) override;
    std::optional<std::string> progIdOf(const std::string& classId) override;
    std::unique_ptr<ServerConnection> connect(const std::string& progId,
                                              const std::string& node) override;

private:
    struct Node {
        std::string name;
        bool reachable = true;
        std::map<std::string, std::shared_ptr<SimServer>> servers;
    };

    static const std::vector<SimServerIdentity>& identities();
    static const SimServerIdentity* identityOf(const std::string& progId);
    static std::string nodeKey(const std::string& node);
    Node* findNode(const std::string& node);
    Node& reachableNode(const std::string& node);
    std::shared_ptr<SimServer> serverOn(Node& node, const SimServerIdentity& identity);

    std::map<std::string, Node> m_nodes;
    SimFaults m_faults;
};

}  // namespace tagwell
