#include "automation/OPCServer.h"

#include "automation/AutomationRegistry.h"
#include "platform/ComError.h"

namespace tagwell {

OPCServer::OPCServer(AutomationRegistry* registry)
    : m_registry(registry ? *registry : AutomationRegistry::instance())
{
}

OPCServer::~OPCServer()
{
    if (m_connection)
        m_connection->setEventSink(nullptr);
}

OleArray<std::string> OPCServer::GetOPCServers(const std::string& Node)
{
    return m_registry.serverList(Node);
}

void OPCServer::adopt(std::unique_ptr<ServerConnection> connection)
{
    if (m_connection)
        throw ComError(errors::E_FAIL_, "OPCServer", "The server object is already connected");
    m_connection = std::move(connection);
    m_connection->setEventSink(this);
}

void OPCServer::Connect(const std::string& ProgID, const std::string& Node)
{
    if (m_connection)
        throw ComError(errors::E_FAIL_, "OPCServer", "The server object is already connected");
    adopt(m_registry.connect(ProgID, Node));
}

void OPCServer::ConnectByClassId(const std::string& ClassID, const std::string& Node)
{
    if (m_connection)
        throw ComError(errors::E_FAIL_, "OPCServer", "The server object is already connected");
    adopt(m_registry.connectByClassId(ClassID, Node));
}

void OPCServer::Disconnect()
{
    connection().Disconnect();
    m_connection->setEventSink(nullptr);
    m_connection.reset();
}

ServerConnection& OPCServer::connection()
{
    if (!m_connection)
        throw ComError(errors::E_FAIL_, "OPCServer", "The server object is not connected");
    return *m_connection;
}

std::shared_ptr<tagwell::OPCGroups> OPCServer::OPCGroups() { return connection().OPCGroups(); }
std::shared_ptr<OPCBrowser> OPCServer::CreateBrowser() { return connection().CreateBrowser(); }
double OPCServer::StartTime() { return connection().StartTime(); }
double OPCServer::CurrentTime() { return connection().CurrentTime(); }
double OPCServer::LastUpdateTime() { return connection().LastUpdateTime(); }
int16_t OPCServer::MajorVersion() { return connection().MajorVersion(); }
int16_t OPCServer::MinorVersion() { return connection().MinorVersion(); }
int16_t OPCServer::BuildNumber() { return connection().BuildNumber(); }
std::string OPCServer::VendorInfo() { return connection().VendorInfo(); }
int32_t OPCServer::ServerState() { return connection().ServerState(); }
std::string OPCServer::ServerName() { return m_connection ? m_connection->ServerName() : std::string(); }
std::string OPCServer::ServerNode() { return m_connection ? m_connection->ServerNode() : std::string(); }

void OPCServer::QueryAvailableProperties(const std::string& ItemID, int32_t& Count,
                                         OleArray<int32_t>& PropertyIDs,
                                         OleArray<std::string>& Descriptions,
                                         OleArray<int16_t>& DataTypes)
{
    connection().QueryAvailableProperties(ItemID, Count, PropertyIDs, Descriptions, DataTypes);
}

void OPCServer::GetItemProperties(const std::string& ItemID, int32_t Count,
                                  const OleArray<int32_t>& PropertyIDs,
                                  OleArray<Variant>& PropertyValues, OleArray<int32_t>& Errors)
{
    connection().GetItemProperties(ItemID, Count, PropertyIDs, PropertyValues, Errors);
}

void OPCServer::ServerShutDown(const std::string& Reason)
{
    if (m_sink)
        m_sink->ServerShutDown(Reason);
}

}  // namespace tagwell
