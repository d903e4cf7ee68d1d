#include "automation/sim/SimConnection.h"

#include "automation/sim/SimBrowser.h"
#include "automation/sim/SimGroups.h"
#include "automation/sim/SimProperties.h"
#include "platform/ComError.h"
#include "platform/Dispatcher.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCServer";
}

SimConnection::SimConnection(std::shared_ptr<SimServer> server)
    : m_server(std::move(server)),
      m_groups(std::make_shared<SimGroups>(m_server)),
      m_slot(std::make_shared<OPCServerEvents*>(nullptr))
{
    m_server->registerConnection(m_slot);
}

SimConnection::~SimConnection() { m_groups->closeAll(); }

void SimConnection::check(const char* member)
{
    if (!m_connected)
        throw ComError(errors::E_FAIL_, Source, "The server is disconnected");
    m_server->faults().check(Source, member);
}

void SimConnection::Disconnect()
{
    check("Disconnect");
    m_groups->closeAll();
    *m_slot = nullptr;
    m_slot.reset();
    m_connected = false;
}

std::shared_ptr<OPCGroups> SimConnection::OPCGroups()
{
    check("OPCGroups");
    return m_groups;
}

std::shared_ptr<OPCBrowser> SimConnection::CreateBrowser()
{
    check("CreateBrowser");
    if (!m_server->offersBrowser())
        return nullptr;
    return std::make_shared<SimBrowser>(m_server);
}

double SimConnection::StartTime() { check("StartTime"); return m_server->startTime(); }

double SimConnection::CurrentTime()
{
    check("CurrentTime");
    return Dispatcher::current().currentDate();
}

double SimConnection::LastUpdateTime() { check("LastUpdateTime"); return m_server->lastUpdateTime(); }
int16_t SimConnection::MajorVersion() { check("MajorVersion"); return SimServer::Major; }
int16_t SimConnection::MinorVersion() { check("MinorVersion"); return SimServer::Minor; }
int16_t SimConnection::BuildNumber() { check("BuildNumber"); return SimServer::Build; }
std::string SimConnection::VendorInfo() { check("VendorInfo"); return m_server->vendorInfo(); }
int32_t SimConnection::ServerState() { check("ServerState"); return m_server->serverState(); }
std::string SimConnection::ServerName() { check("ServerName"); return m_server->progId(); }
std::string SimConnection::ServerNode() { check("ServerNode"); return m_server->nodeName(); }

void SimConnection::QueryAvailableProperties(const std::string& ItemID, int32_t& Count,
                                             OleArray<int32_t>& PropertyIDs,
                                             OleArray<std::string>& Descriptions,
                                             OleArray<int16_t>& DataTypes)
{
    check("QueryAvailableProperties");
    const auto list = SimProperties::available(m_server->tag(ItemID));
    OleArray<int32_t> ids(1, {});
    OleArray<std::string> descriptions(1, {});
    OleArray<int16_t> types(1, {});
    for (const auto& info : list) {
        ids.append(info.id);
        descriptions.append(info.description);
        types.append(info.dataType);
    }
    Count = int32_t(list.size());
    PropertyIDs = std::move(ids);
    Descriptions = std::move(descriptions);
    DataTypes = std::move(types);
}

void SimConnection::GetItemProperties(const std::string& ItemID, int32_t Count,
                                      const OleArray<int32_t>& PropertyIDs,
                                      OleArray<Variant>& PropertyValues, OleArray<int32_t>& Errors)
{
    check("GetItemProperties");
    const SimTag& tag = m_server->tag(ItemID);
    if (Count <= 0 || !PropertyIDs.contains(1) || !PropertyIDs.contains(Count))
        throw ComError(errors::E_INVALIDARG_, Source,
                       "The property IDs must run from 1 to " + std::to_string(Count));
    auto values = OleArray<Variant>::withBounds(1, Count);
    auto results = OleArray<int32_t>::withBounds(1, Count);
    const auto now = Dispatcher::current().now();
    const double date = Dispatcher::current().currentDate();
    for (int32_t i = 1; i <= Count; ++i) {
        auto reading = SimProperties::read(tag, PropertyIDs[i], now, date);
        values[i] = std::move(reading.value);
        results[i] = reading.error;
    }
    PropertyValues = std::move(values);
    Errors = std::move(results);
}

void SimConnection::setEventSink(OPCServerEvents* sink)
{
    if (m_slot)
        *m_slot = sink;
}

}  // namespace tagwell
