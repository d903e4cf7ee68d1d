#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "automation/OPCServer.h"
#include "core/IServerCallback.h"
#include "core/IndexAllocator.h"
#include "core/KeyedCollection.h"
#include "core/Trackable.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

class cOPCBrowser;
class cOPCGroup;

// One connection to one OPC server, local or on another node. It owns the
// automation server object and the server's groups, keyed by GroupKey.
//
// Every operation that calls the automation interface catches a failure,
// reports it once (report text, hint box, the owner's OPCServerError,
// PendingMessages) under its label and returns its failure value. Runs on
// the owner thread only.
class cOPCServer : private OPCServerEvents {
public:
    using GroupCollection = KeyedCollection<std::shared_ptr<cOPCGroup>>;

    cOPCServer();
    ~cOPCServer() override;
    cOPCServer(const cOPCServer&) = delete;
    cOPCServer& operator=(const cOPCServer&) = delete;

    // Connects by ProgID, or by class identifier when ServerName is "{...}".
    // An empty NodeName, or this computer's name in the same letter case,
    // means this computer. Label "Connect".
    bool ConnectOPCServer(const std::string& ServerName, const std::string& ServerKey,
                          int16_t ServerIndex, const std::string& NodeName);
    // With Reason "ServerShutdown" nothing is called: the server has gone.
    // Label "Disconnect".
    bool DisconnectOPCServer(const std::string& Reason);

    // The ProgIDs on the node (this computer when omitted); works without a
    // connection. Label "Get OPC Server List".
    void GetOPCServerList(OleArray<std::string>& ServerList,
                          const std::optional<std::string>& NodeName = std::nullopt);
    // Every property of an item with its value, arrays 1 to Return_Count.
    // Label "Get Available Properties".
    bool GetAvailableProperties(const std::string& QueryItemID, int32_t& Return_Count,
                                OleArray<int32_t>& Return_PropertyIDs,
                                OleArray<std::string>& Return_Descriptions,
                                OleArray<int16_t>& Return_DataTypes,
                                OleArray<Variant>& Return_Data);

    bool GetServerState(int32_t& ServerState);
    bool GetVendorInfo(std::string& VendorInfo);
    bool GetStartTime(double& StartTime);
    bool GetCurrentTime(double& CurrentTime);
    bool GetLastUpdateTime(double& LastUpdateTime);
    bool GetMajorVersion(int16_t& MajorVersion);
    bool GetMinorVersion(int16_t& MinorVersion);
    bool GetBuildNumber(int16_t& BuildNumber);

    bool SetDefaultGroupIsActive(bool IsActive);
    bool SetDefaultGroupUpdateRate(int32_t UpdateRate);
    bool SetDefaultGroupDeadBand(float DeadBand);
    bool SetDefaultGroupTimeBias(int32_t TimeBias);
    bool GetDefaultGroupIsActive(bool& IsActive);
    bool GetDefaultGroupUpdateRate(int32_t& UpdateRate);
    bool GetDefaultGroupDeadBand(float& DeadBand);

    // As given to ConnectOPCServer.
    const std::string& GetServerName() const { return m_serverName; }
    // The connected server's own name and node; a failure throws ComError to
    // the caller, unreported.
    std::string GetServerNameFromServer();
    std::string GetNodeName();
    const std::string& GetOPCServerKey() const { return m_serverKey; }
    int16_t GetOPCServerIndex() const { return m_serverIndex; }
    bool GetOPCServerIsLocal() const { return m_isLocal; }
    GroupCollection& GetOPCServerGroupCollection() { return m_groups; }
    // Creates a group with the defaults given; an empty GroupName lets the
    // server name it (GroupName receives that name, or the GroupKey when the
    // server gives none). Label "Add Group".
    bool AddOPCGroup(std::string& GroupName, int32_t UpdateRate, float DeadBand, bool ActiveState,
                     bool SubscribedState, std::string& GroupKey);
    // With Reason "ServerShutdown" nothing is removed at the server, which
    // has gone. Label "Remove Group".
    bool RemoveOPCGroup(const std::string& GroupKey, const std::string& Reason);
    // Browser receives nullptr when the server offers no browser (still
    // True). Label "Browser Object".
    bool GetServerBrowseObject(std::shared_ptr<cOPCBrowser>& Browser);

    // nullptr once a normal disconnect released it.
    OPCServer* GetOPCServerObject() { return m_server.get(); }

    void SetServerOwner(IServerCallback* owner) { m_owner = OwnerRef<IServerCallback>(owner); }

    void DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode);

private:
    void ServerShutDown(const std::string& Reason) override;
    OPCServer& server();
    OPCGroups& automationGroups();
    template <class Value, class Read>
    bool readProperty(const char* label, Value& out, Read read);

    std::unique_ptr<OPCServer> m_server;
    std::shared_ptr<OPCGroups> m_automationGroups;
    std::string m_serverName;
    std::string m_serverKey;
    int16_t m_serverIndex = 0;
    bool m_isLocal = false;
    GroupCollection m_groups;
    IndexAllocator m_groupIndexes;
    OwnerRef<IServerCallback> m_owner;
};

}  // namespace tagwell
