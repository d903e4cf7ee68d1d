#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/OPCServerEvents.h"
#include "automation/sim/SimAddressSpace.h"
#include "automation/sim/SimFaults.h"

namespace tagwell {

// What a simulated server is: its ProgID, class identifier, how its address
// space is organised and whether it hands out a browser.
struct SimServerIdentity {
    std::string progId;
    std::string classId;
    OPCNamespaceType organization = OPCHierarchical;
    bool offersBrowser = true;
};

// The shared state of one simulated server on one node: address space, tag
// values, status, state and injected faults. Every connection to that server
// sees the same state; groups belong to their connection.
//
// Tests reach it through SimulationBackend::server() and change it directly:
// set the state, write tag values or qualities, add generated tags, inject
// faults, announce a shutdown.
class SimServer {
public:
    static constexpr int32_t StateRunning = 1;
    static constexpr int32_t StateFirst = 1;
    static constexpr int32_t StateLast = 6;
    static constexpr int16_t Major = 1;
    static constexpr int16_t Minor = 0;
    static constexpr int16_t Build = 1;
    static constexpr const char* DefaultVendorInfo = "Tagwell Simulation Server";

    // A slot a connection registers for the shutdown notice; the connection
    // points it at its sink (or nullptr) and drops it when it goes.
    using EventSlot = std::shared_ptr<OPCServerEvents*>;

    SimServer(SimServerIdentity identity, std::string nodeName);

    const std::string& progId() const { return m_identity.progId; }
    const std::string& classId() const { return m_identity.classId; }
    bool offersBrowser() const { return m_identity.offersBrowser; }
    // The node as connections report it: this computer's name for the local node.
    const std::string& nodeName() const { return m_nodeName; }

    SimAddressSpace& addressSpace() { return m_space; }
    SimFaults& faults() { return m_faults; }

    // Status.
    double startTime() const { return m_startTime; }
    // The automation date of the last data change any group sent; 0 before.
    double lastUpdateTime() const { return m_lastUpdateTime; }
    void noteDataChangeSent(double date) { m_lastUpdateTime = date; }
    int32_t serverState() const { return m_state; }
    // 1 running ... 6 disconnected; other numbers throw ComError E_INVALIDARG.
    void setServerState(int32_t state);
    const std::string& vendorInfo() const { return m_vendorInfo; }
    void setVendorInfo(std::string text) { m_vendorInfo = std::move(text); }

    // Tags, for tests. tag() throws ComError OPC_E_UNKNOWNITEMID.
    SimTag& tag(const std::string& itemId);
    void addGeneratedTags(const std::string& prefix, int32_t count, SimSignal signal);
    void setTagQuality(const std::string& itemId, int32_t quality);
    // Stores a value as a device would: no access check, converted to the
    // tag's type (throws ComError when it cannot be).
    void setTagValue(const std::string& itemId, const Variant& value);

    // A client's write of one tag: 0, or the OPC error of the refusal
    // (OPC_E_BADRIGHTS, OPC_E_BADTYPE, OPC_E_RANGE). Nothing changes on refusal.
    int32_t write(SimTag& tag, const Variant& value);

    // Shutdown notice: every connection still registered receives
    // ServerShutDown(reason) through the dispatcher.
    void shutdown(const std::string& reason);
    void registerConnection(const EventSlot& slot);
    int32_t connectionCount();

private:
    void pruneConnections();

    SimServerIdentity m_identity;
    std::string m_nodeName;
    double m_startTime;
    double m_lastUpdateTime = 0;
    int32_t m_state = StateRunning;
    std::string m_vendorInfo = DefaultVendorInfo;
    SimAddressSpace m_space;
    SimFaults m_faults;
    std::vector<std::weak_ptr<OPCServerEvents*>> m_connections;
};

}  // namespace tagwell
