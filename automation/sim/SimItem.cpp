#include "automation/sim/SimItem.h"

#include <cmath>

#include "automation/sim/SimGroup.h"
#include "automation/sim/SimProperties.h"
#include "automation/sim/SimServer.h"
#include "platform/ComError.h"
#include "platform/Dispatcher.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCItem";
constexpr int32_t QualityBad = 0;

bool isSupportedType(int16_t type)
{
    switch (uint16_t(type) & ~vtArray) {
    case vtEmpty: return (uint16_t(type) & vtArray) == 0;
    case vtI2: case vtI4: case vtR4: case vtR8: case vtDate: case vtString: case vtBool: case vtUI1:
        return true;
    default: return false;
    }
}
}  // namespace

SimItem::SimItem(std::shared_ptr<SimServer> server, std::weak_ptr<SimGroup> group, SimTag& tag,
                 std::string itemId, int32_t clientHandle, int32_t serverHandle, bool active,
                 int16_t requestedType)
    : m_server(std::move(server)),
      m_group(std::move(group)),
      m_tag(tag),
      m_itemId(std::move(itemId)),
      m_clientHandle(clientHandle),
      m_serverHandle(serverHandle),
      m_active(active),
      m_requestedType(requestedType)
{
}

void SimItem::check(const char* member) { m_server->faults().check(Source, member); }

int32_t SimItem::typeError(const SimTag& tag, int16_t requestedType)
{
    if (!isSupportedType(requestedType))
        return errors::OPC_E_BADTYPE;
    try {
        tag.valueAt(Dispatcher::current().now()).convertTo(uint16_t(requestedType));
    } catch (const ComError&) {
        return errors::OPC_E_BADTYPE;
    }
    return 0;
}

int32_t SimItem::ClientHandle() { check("ClientHandle"); return m_clientHandle; }
int32_t SimItem::ServerHandle() { check("ServerHandle"); return m_serverHandle; }
std::string SimItem::AccessPath() { check("AccessPath"); return {}; }
int32_t SimItem::AccessRights() { check("AccessRights"); return m_tag.accessRights(); }
std::string SimItem::ItemID() { check("ItemID"); return m_itemId; }
bool SimItem::IsActive() { check("IsActive"); return m_active; }

void SimItem::SetIsActive(bool active)
{
    check("IsActive");
    if (active && !m_active)
        forgetSent();  // a newly active item reports its value on the next update
    m_active = active;
}

int16_t SimItem::RequestedDataType() { check("RequestedDataType"); return m_requestedType; }

void SimItem::SetRequestedDataType(int16_t type)
{
    check("RequestedDataType");
    if (const int32_t error = typeError(m_tag, type))
        throw ComError(error, Source, "The item cannot be read as type " + std::to_string(type));
    m_requestedType = type;
    forgetSent();
}

bool SimItem::readable() const { return m_tag.isReadable(); }

SimItem::Reading SimItem::readNow() const
{
    const double date = Dispatcher::current().currentDate();
    return Reading{m_tag.valueAt(Dispatcher::current().now()), m_tag.quality(),
                   m_tag.timestampAt(date)};
}

Variant SimItem::Value()
{
    check("Value");
    if (!readable())
        throw ComError(errors::OPC_E_BADRIGHTS, Source, "The item '" + m_itemId + "' is write-only");
    int32_t quality = 0;
    return delivered(readNow(), quality);
}

int32_t SimItem::Quality() { check("Quality"); return m_tag.quality(); }

double SimItem::TimeStamp()
{
    check("TimeStamp");
    return m_tag.timestampAt(Dispatcher::current().currentDate());
}

int16_t SimItem::CanonicalDataType() { check("CanonicalDataType"); return int16_t(m_tag.canonicalType()); }
int16_t SimItem::EUType() { check("EUType"); return SimProperties::euType(m_tag); }
Variant SimItem::EUInfo() { check("EUInfo"); return SimProperties::euInfo(m_tag); }

std::shared_ptr<OPCGroup> SimItem::Parent()
{
    check("Parent");
    auto group = m_group.lock();
    return group && !group->isClosed() ? group : nullptr;
}

void SimItem::Write(const Variant& value)
{
    check("Write");
    if (const int32_t error = m_server->write(m_tag, value))
        throw ComError(error, Source, "The value could not be written to '" + m_itemId + "'");
}

const SimItem::Reading& SimItem::sample()
{
    m_cache = readNow();
    return *m_cache;
}

const SimItem::Reading& SimItem::cached() { return m_cache ? *m_cache : sample(); }

bool SimItem::dueForSend(const Reading& reading, float deadbandPercent) const
{
    if (!m_sent || reading.quality != m_sent->quality)
        return true;
    const auto& range = m_tag.euRange();
    if (deadbandPercent > 0 && range && range->span() > 0 && reading.value.isNumeric()
        && m_sent->value.isNumeric()) {
        const double threshold = range->span() * double(deadbandPercent) / 100.0;
        return std::abs(reading.value.toR8() - m_sent->value.toR8()) > threshold;
    }
    return !(reading.value == m_sent->value);
}

void SimItem::markSent(const Reading& reading) { m_sent = reading; }

Variant SimItem::delivered(const Reading& reading, int32_t& quality) const
{
    quality = reading.quality;
    try {
        return reading.value.convertTo(uint16_t(m_requestedType));
    } catch (const ComError&) {
        quality = QualityBad;
        return Variant();
    }
}

}  // namespace tagwell
