#pragma once

#include <memory>
#include <string>

#include "automation/ServerConnection.h"
#include "automation/sim/SimServer.h"

namespace tagwell {

class SimGroups;

// One client's connection to a simulated server. It owns the client's groups;
// Disconnect (or destruction) removes them all and stops their updates.
// After Disconnect every member throws E_FAIL.
class SimConnection : public ServerConnection {
public:
    explicit SimConnection(std::shared_ptr<SimServer> server);
    ~SimConnection() override;
    SimConnection(const SimConnection&) = delete;
    SimConnection& operator=(const SimConnection&) = delete;

    void Disconnect() override;
    std::shared_ptr<tagwell::OPCGroups> OPCGroups() override;
    std::shared_ptr<OPCBrowser> CreateBrowser() override;

    double StartTime() override;
    double CurrentTime() override;
    double LastUpdateTime() override;
    int16_t MajorVersion() override;
    int16_t MinorVersion() override;
    int16_t BuildNumber() override;
    std::string VendorInfo() override;
    int32_t ServerState() override;
    std::string ServerName() override;
    std::string ServerNode() override;

    void QueryAvailableProperties(const std::string& ItemID, int32_t& Count,
                                  OleArray<int32_t>& PropertyIDs,
                                  OleArray<std::string>& Descriptions,
                                  OleArray<int16_t>& DataTypes) override;
    void GetItemProperties(const std::string& ItemID, int32_t Count,
                           const OleArray<int32_t>& PropertyIDs,
                           OleArray<Variant>& PropertyValues, OleArray<int32_t>& Errors) override;

    void setEventSink(OPCServerEvents* sink) override;

private:
    void check(const char* member);

    std::shared_ptr<SimServer> m_server;
    std::shared_ptr<SimGroups> m_groups;
    SimServer::EventSlot m_slot;
    bool m_connected = true;
};

}  // namespace tagwell
