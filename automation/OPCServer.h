#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCServerEvents.h"
#include "automation/ServerConnection.h"
#include "platform/OleArray.h"

namespace tagwell {

class AutomationRegistry;

// The automation server object: created unconnected, connected once to a
// server found through the registry, then forwarding to that connection.
// Members other than GetOPCServers, ServerName and ServerNode throw ComError
// 0x80004005 while the object is not connected; ServerName and ServerNode
// are empty then.
class OPCServer : private OPCServerEvents {
public:
    explicit OPCServer(AutomationRegistry* registry = nullptr);
    ~OPCServer() override;
    OPCServer(const OPCServer&) = delete;
    OPCServer& operator=(const OPCServer&) = delete;

    // ProgIDs of the servers on a node (the empty text is this computer), 1-based.
    OleArray<std::string> GetOPCServers(const std::string& Node = {});
    void Connect(const std::string& ProgID, const std::string& Node = {});
    // Connection by class identifier text ("{...}") through the server's
    // second interface.
    void ConnectByClassId(const std::string& ClassID, const std::string& Node = {});
    void Disconnect();
    bool isConnected() const { return m_connection != nullptr; }

    std::shared_ptr<tagwell::OPCGroups> OPCGroups();
    std::shared_ptr<OPCBrowser> CreateBrowser();

    double StartTime();
    double CurrentTime();
    double LastUpdateTime();
    int16_t MajorVersion();
    int16_t MinorVersion();
    int16_t BuildNumber();
    std::string VendorInfo();
    int32_t ServerState();
    std::string ServerName();
    std::string ServerNode();

    void QueryAvailableProperties(const std::string& ItemID, int32_t& Count,
                                  OleArray<int32_t>& PropertyIDs,
                                  OleArray<std::string>& Descriptions,
                                  OleArray<int16_t>& DataTypes);
    void GetItemProperties(const std::string& ItemID, int32_t Count,
                           const OleArray<int32_t>& PropertyIDs,
                           OleArray<Variant>& PropertyValues, OleArray<int32_t>& Errors);

    // Receives ServerShutDown; nullptr detaches.
    void setEventSink(OPCServerEvents* sink) { m_sink = sink; }

private:
    void ServerShutDown(const std::string& Reason) override;
    ServerConnection& connection();
    void adopt(std::unique_ptr<ServerConnection> connection);

    AutomationRegistry& m_registry;
    std::unique_ptr<ServerConnection> m_connection;
    OPCServerEvents* m_sink = nullptr;
};

}  // namespace tagwell
