#include "automation/sim/SimServer.h"

#include <algorithm>

#include "automation/sim/SimCatalog.h"
#include "platform/ComError.h"
#include "platform/Dispatcher.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCServer";
}

SimServer::SimServer(SimServerIdentity identity, std::string nodeName)
    : m_identity(std::move(identity)),
      m_nodeName(std::move(nodeName)),
      m_startTime(Dispatcher::current().currentDate()),
      m_space(m_identity.organization, m_startTime)
{
    SimCatalog::populate(m_space);
}

void SimServer::setServerState(int32_t state)
{
    if (state < StateFirst || state > StateLast)
        throw ComError(errors::E_INVALIDARG_, Source,
                       "A server state runs from 1 to 6, not " + std::to_string(state));
    m_state = state;
}

SimTag& SimServer::tag(const std::string& itemId)
{
    if (SimTag* found = m_space.find(itemId))
        return *found;
    throw ComError(errors::OPC_E_UNKNOWNITEMID, Source, "Unknown item ID '" + itemId + "'");
}

void SimServer::addGeneratedTags(const std::string& prefix, int32_t count, SimSignal signal)
{
    m_space.addGeneratedTags(prefix, count, signal);
}

void SimServer::setTagQuality(const std::string& itemId, int32_t quality)
{
    tag(itemId).setQuality(quality);
}

void SimServer::setTagValue(const std::string& itemId, const Variant& value)
{
    SimTag& target = tag(itemId);
    target.store(value.convertTo(target.canonicalType()), Dispatcher::current().currentDate());
}

int32_t SimServer::write(SimTag& tag, const Variant& value)
{
    if (!tag.isWritable())
        return errors::OPC_E_BADRIGHTS;
    if (value.isEmpty() || value.isNull())
        return errors::OPC_E_BADTYPE;
    Variant converted;
    try {
        converted = value.convertTo(tag.canonicalType());
    } catch (const ComError& e) {
        return e.number() == errors::Overflow ? errors::OPC_E_RANGE : errors::OPC_E_BADTYPE;
    }
    tag.store(converted, Dispatcher::current().currentDate());
    return 0;
}

void SimServer::registerConnection(const EventSlot& slot)
{
    pruneConnections();
    m_connections.push_back(slot);
}

void SimServer::pruneConnections()
{
    std::erase_if(m_connections, [](const auto& slot) { return slot.expired(); });
}

int32_t SimServer::connectionCount()
{
    pruneConnections();
    return int32_t(m_connections.size());
}

void SimServer::shutdown(const std::string& reason)
{
    pruneConnections();
    for (const auto& weakSlot : m_connections) {
        Dispatcher::current().post([weakSlot, reason] {
            if (auto slot = weakSlot.lock(); slot && *slot)
                (*slot)->ServerShutDown(reason);
        });
    }
}

}  // namespace tagwell
