#include "core/cOPCServer.h"

#include "core/AutomationCall.h"
#include "core/ErrorReport.h"
#include "core/MGlobal.h"
#include "core/MItems.h"
#include "core/OPCKeys.h"
#include "core/cOPCBrowser.h"
#include "core/cOPCGroup.h"

namespace tagwell {

namespace {

constexpr const char* ShutdownReason = "ServerShutdown";
constexpr bool NewGroupsActive = true;
constexpr int32_t NewGroupsUpdateRate = 100;
constexpr float NewGroupsDeadBand = 0;

bool isClassIdText(const std::string& name)
{
    return name.size() >= 2 && name.front() == '{' && name.back() == '}';
}

}  // namespace

cOPCServer::cOPCServer() : m_server(std::make_unique<OPCServer>()) {}

cOPCServer::~cOPCServer()
{
    if (m_automationGroups && AutomationCall([&] {
            if (m_automationGroups->Count() > 0)
                m_automationGroups->RemoveAll();
        }) != 0) {
        // The server may already be gone; there is nobody left to tell.
    }
    while (!m_groups.empty())
        m_groups.takeLast();
    if (m_server) {
        m_server->setEventSink(nullptr);
        AutomationCall([&] {
            if (m_server->isConnected())
                m_server->Disconnect();
        });
        m_server.reset();
    }
}

OPCServer& cOPCServer::server()
{
    if (!m_server)
        throw ComError(errors::ObjectVariableNotSet, "cOPCServer",
                       "The server object was released by a disconnect");
    return *m_server;
}

OPCGroups& cOPCServer::automationGroups()
{
    if (!m_automationGroups)
        throw ComError(errors::ObjectVariableNotSet, "cOPCServer",
                       "The server is not connected");
    return *m_automationGroups;
}

bool cOPCServer::ConnectOPCServer(const std::string& ServerName, const std::string& ServerKey,
                                  int16_t ServerIndex, const std::string& NodeName)
{
    m_serverName = ServerName;
    m_serverIndex = ServerIndex;
    m_serverKey = ServerKey;

    const std::string localName = MGlobal::GetLocalComputerName();
    m_isLocal = NodeName.empty() || NodeName == localName;
    const std::string node = m_isLocal ? localName : NodeName;

    const bool connected = ReportedCall(*this, "Connect", [&] {
        OPCServer& automation = server();
        automation.setEventSink(this);
        if (isClassIdText(ServerName))
            automation.ConnectByClassId(ServerName, node);
        else
            automation.Connect(ServerName, node);
        m_automationGroups = automation.OPCGroups();
    });
    if (!connected)
        return false;
    SetDefaultGroupIsActive(NewGroupsActive);
    SetDefaultGroupUpdateRate(NewGroupsUpdateRate);
    SetDefaultGroupDeadBand(NewGroupsDeadBand);
    return true;
}

bool cOPCServer::DisconnectOPCServer(const std::string& Reason)
{
    if (Reason == ShutdownReason)
        return true;
    return ReportedCall(*this, "Disconnect", [&] {
        server().Disconnect();
        m_server->setEventSink(nullptr);
        m_server.reset();
        m_automationGroups.reset();
    });
}

void cOPCServer::GetOPCServerList(OleArray<std::string>& ServerList,
                                  const std::optional<std::string>& NodeName)
{
    ReportedCall(*this, "Get OPC Server List",
                 [&] { ServerList = server().GetOPCServers(NodeName.value_or(std::string())); });
}

bool cOPCServer::GetAvailableProperties(const std::string& QueryItemID, int32_t& Return_Count,
                                        OleArray<int32_t>& Return_PropertyIDs,
                                        OleArray<std::string>& Return_Descriptions,
                                        OleArray<int16_t>& Return_DataTypes,
                                        OleArray<Variant>& Return_Data)
{
    return ReportedCall(*this, "Get Available Properties", [&] {
        int32_t count = 0;
        OleArray<int32_t> ids;
        OleArray<std::string> descriptions;
        OleArray<int16_t> types;
        server().QueryAvailableProperties(QueryItemID, count, ids, descriptions, types);
        OleArray<Variant> values;
        OleArray<int32_t> perPropertyErrors;  // not examined: a value that failed stays empty
        server().GetItemProperties(QueryItemID, count, ids, values, perPropertyErrors);
        Return_Count = count;
        Return_PropertyIDs = std::move(ids);
        Return_Descriptions = std::move(descriptions);
        Return_DataTypes = std::move(types);
        Return_Data = std::move(values);
    });
}

template <class Value, class Read>
bool cOPCServer::readProperty(const char* label, Value& out, Read read)
{
    return ReportedCall(*this, label, [&] { out = read(server()); });
}

bool cOPCServer::GetServerState(int32_t& ServerState)
{
    return readProperty("ServerState", ServerState, [](OPCServer& s) { return s.ServerState(); });
}

bool cOPCServer::GetVendorInfo(std::string& VendorInfo)
{
    return readProperty("VendorInfo", VendorInfo, [](OPCServer& s) { return s.VendorInfo(); });
}

bool cOPCServer::GetStartTime(double& StartTime)
{
    return readProperty("StartTime", StartTime, [](OPCServer& s) { return s.StartTime(); });
}

bool cOPCServer::GetCurrentTime(double& CurrentTime)
{
    return readProperty("CurrentTime", CurrentTime, [](OPCServer& s) { return s.CurrentTime(); });
}

bool cOPCServer::GetLastUpdateTime(double& LastUpdateTime)
{
    return readProperty("LastUpdate", LastUpdateTime,
                        [](OPCServer& s) { return s.LastUpdateTime(); });
}

bool cOPCServer::GetMajorVersion(int16_t& MajorVersion)
{
    return readProperty("MajorVersion", MajorVersion, [](OPCServer& s) { return s.MajorVersion(); });
}

bool cOPCServer::GetMinorVersion(int16_t& MinorVersion)
{
    return readProperty("MinorVersion", MinorVersion, [](OPCServer& s) { return s.MinorVersion(); });
}

bool cOPCServer::GetBuildNumber(int16_t& BuildNumber)
{
    return readProperty("BuildNumber", BuildNumber, [](OPCServer& s) { return s.BuildNumber(); });
}

bool cOPCServer::SetDefaultGroupIsActive(bool IsActive)
{
    return ReportedCall(*this, "DefaultGroupIsActive",
                        [&] { automationGroups().SetDefaultGroupIsActive(IsActive); });
}

bool cOPCServer::SetDefaultGroupUpdateRate(int32_t UpdateRate)
{
    return ReportedCall(*this, "SetDefaultGroupUpdateRate",
                        [&] { automationGroups().SetDefaultGroupUpdateRate(UpdateRate); });
}

bool cOPCServer::SetDefaultGroupDeadBand(float DeadBand)
{
    return ReportedCall(*this, "SetDefaultGroupDeadBand",
                        [&] { automationGroups().SetDefaultGroupDeadband(DeadBand); });
}

bool cOPCServer::SetDefaultGroupTimeBias(int32_t TimeBias)
{
    return ReportedCall(*this, "DefaultGroupTimeBias",
                        [&] { automationGroups().SetDefaultGroupTimeBias(TimeBias); });
}

bool cOPCServer::GetDefaultGroupIsActive(bool& IsActive)
{
    return ReportedCall(*this, "GetDefaultGroupIsActive",
                        [&] { IsActive = automationGroups().DefaultGroupIsActive(); });
}

bool cOPCServer::GetDefaultGroupUpdateRate(int32_t& UpdateRate)
{
    return ReportedCall(*this, "GetDefaultGroupUpdateRate",
                        [&] { UpdateRate = automationGroups().DefaultGroupUpdateRate(); });
}

bool cOPCServer::GetDefaultGroupDeadBand(float& DeadBand)
{
    return ReportedCall(*this, "GetDefaultGroupDeadBand",
                        [&] { DeadBand = automationGroups().DefaultGroupDeadband(); });
}

bool cOPCServer::AddOPCGroup(std::string& GroupName, int32_t UpdateRate, float DeadBand,
                             bool ActiveState, bool SubscribedState, std::string& GroupKey)
{
    SetDefaultGroupTimeBias(0);
    SetDefaultGroupIsActive(ActiveState);
    SetDefaultGroupUpdateRate(UpdateRate);
    SetDefaultGroupDeadBand(DeadBand);

    std::shared_ptr<OPCGroup> added;
    int32_t index = 0;
    const bool ok = ReportedCall(*this, "Add Group", [&] {
        added = automationGroups().Add(GroupName);
        std::string name = GroupName.empty() ? added->Name() : GroupName;
        index = m_groupIndexes.allocate();
        std::string key = OPCKeys::GroupKey(int16_t(index), m_serverIndex);
        if (name.empty())
            name = key;
        auto group = std::make_shared<cOPCGroup>();
        group->SetOPCGroup(added, name, key, int16_t(index), SubscribedState);
        m_groups.add(key, std::move(group));
        GroupName = std::move(name);
        GroupKey = std::move(key);
    });
    if (!ok) {
        // Leave nothing behind at the server that a retry would trip over.
        if (index)
            m_groupIndexes.release(index);
        if (added)
            AutomationCall([&] { automationGroups().Remove(added->Name()); });
    }
    return ok;
}

bool cOPCServer::RemoveOPCGroup(const std::string& GroupKey, const std::string& Reason)
{
    return ReportedCall(*this, "Remove Group", [&] {
        std::shared_ptr<cOPCGroup>* group = m_groups.find(GroupKey);
        if (!group)
            throw ComError(errors::InvalidProcedureCall, "cOPCServer",
                           "No group with the key '" + GroupKey + "'");
        if (Reason == ShutdownReason)
            m_automationGroups.reset();
        else
            automationGroups().Remove((*group)->GetGroupName());
        m_groupIndexes.release((*group)->GetGroupIndex());
        m_groups.remove(GroupKey);
    });
}

bool cOPCServer::GetServerBrowseObject(std::shared_ptr<cOPCBrowser>& Browser)
{
    return ReportedCall(*this, "Browser Object", [&] {
        std::shared_ptr<OPCBrowser> automationBrowser = server().CreateBrowser();
        Browser.reset();
        if (!automationBrowser)
            return;
        auto browser = std::make_shared<cOPCBrowser>();
        browser->SetBrowserObject(std::move(automationBrowser));
        Browser = std::move(browser);
    });
}

std::string cOPCServer::GetServerNameFromServer() { return server().ServerName(); }
std::string cOPCServer::GetNodeName() { return server().ServerNode(); }

void cOPCServer::DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode)
{
    ErrorReport::Report(ErrorReport::Reporter::Server, OPC_Function, ErrorCode,
                        [&](const std::string& text) {
                            if (IServerCallback* owner = MItems::ResolveOwner(m_owner))
                                owner->OPCServerError(text);
                        });
}

void cOPCServer::ServerShutDown(const std::string& Reason)
{
    if (IServerCallback* owner = MItems::ResolveOwner(m_owner))
        owner->Shutdown(m_serverKey, Reason);
}

}  // namespace tagwell
