#include "automation/sim/SimGroup.h"

#include <algorithm>

#include "automation/OPCGroupEvents.h"
#include "automation/sim/SimGroups.h"
#include "automation/sim/SimServer.h"
#include "platform/ComError.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCGroup";
constexpr int32_t SubscriptionTransaction = 0;
}  // namespace

void SimGroup::Rows::add(int32_t handle, Variant value, int32_t quality, double timestamp)
{
    clientHandles.append(handle);
    values.append(std::move(value));
    qualities.append(quality);
    timestamps.append(timestamp);
}

SimGroup::SimGroup(std::shared_ptr<SimServer> server, std::weak_ptr<SimGroups> collection,
                   std::string name, Settings settings)
    : m_server(std::move(server)),
      m_collection(std::move(collection)),
      m_name(std::move(name)),
      m_settings(settings)
{
}

std::shared_ptr<SimGroup> SimGroup::create(std::shared_ptr<SimServer> server,
                                           std::weak_ptr<SimGroups> collection, std::string name,
                                           Settings settings)
{
    std::shared_ptr<SimGroup> group(
        new SimGroup(server, std::move(collection), std::move(name), settings));
    group->m_items = std::make_shared<SimItems>(std::move(server), group);
    return group;
}

SimGroup::~SimGroup() { stopTimer(); }

void SimGroup::check(const char* member)
{
    if (m_closed)
        throw ComError(errors::E_FAIL_, Source, "The group '" + m_name + "' was removed");
    m_server->faults().check(Source, member);
}

int32_t SimGroup::revisedUpdateRate(int32_t milliseconds)
{
    if (milliseconds < 0)
        throw ComError(errors::E_INVALIDARG_, Source, "An update rate cannot be negative");
    return std::max(milliseconds, MinimumUpdateRate);
}

float SimGroup::checkedDeadband(float percent)
{
    if (!(percent >= 0 && percent <= MaximumDeadband))
        throw ComError(errors::E_INVALIDARG_, Source, "A dead band runs from 0 to 100 percent");
    return percent;
}

std::string SimGroup::Name() { check("Name"); return m_name; }

void SimGroup::SetName(const std::string& name)
{
    check("Name");
    if (name.empty())
        throw ComError(errors::E_INVALIDARG_, Source, "A group name cannot be empty");
    auto collection = m_collection.lock();
    if (collection && collection->isNameTaken(name, this))
        throw ComError(errors::OPC_E_DUPLICATENAME, Source, "The group name '" + name + "' is in use");
    m_name = name;
}

bool SimGroup::IsActive() { check("IsActive"); return m_settings.active; }

void SimGroup::SetIsActive(bool active)
{
    check("IsActive");
    if (active && !m_settings.active)
        m_items->forgetSent();  // an activated group reports every item again
    m_settings.active = active;
    updateTimer();
}

bool SimGroup::IsSubscribed() { check("IsSubscribed"); return m_subscribed; }

void SimGroup::SetIsSubscribed(bool subscribed)
{
    check("IsSubscribed");
    if (subscribed && !m_subscribed)
        m_items->forgetSent();
    m_subscribed = subscribed;
    updateTimer();
}

int32_t SimGroup::UpdateRate() { check("UpdateRate"); return m_settings.updateRate; }

void SimGroup::SetUpdateRate(int32_t milliseconds)
{
    check("UpdateRate");
    m_settings.updateRate = revisedUpdateRate(milliseconds);
    updateTimer();
}

float SimGroup::DeadBand() { check("DeadBand"); return m_settings.deadband; }

void SimGroup::SetDeadBand(float percent)
{
    check("DeadBand");
    m_settings.deadband = checkedDeadband(percent);
}

int32_t SimGroup::TimeBias() { check("TimeBias"); return m_settings.timeBias; }
void SimGroup::SetTimeBias(int32_t minutes) { check("TimeBias"); m_settings.timeBias = minutes; }

std::shared_ptr<OPCItems> SimGroup::OPCItems()
{
    check("OPCItems");
    return m_items;
}

int32_t SimGroup::writeOne(int32_t serverHandle, const Variant& value)
{
    SimItem* item = m_items->find(serverHandle);
    return item ? m_server->write(item->tag(), value) : errors::OPC_E_INVALIDHANDLE;
}

void SimGroup::SyncWrite(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                         const OleArray<Variant>& Values, OleArray<int32_t>& Errors)
{
    check("SyncWrite");
    SimItems::requireRange(NumItems, ServerHandles, Source);
    SimItems::requireRange(NumItems, Values, Source);
    auto results = OleArray<int32_t>::withBounds(1, NumItems);
    for (int32_t i = 1; i <= NumItems; ++i)
        results[i] = writeOne(ServerHandles[i], Values[i]);
    Errors = std::move(results);
}

void SimGroup::AsyncWrite(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                          const OleArray<Variant>& Values, OleArray<int32_t>& Errors,
                          int32_t TransactionID, int32_t& CancelID)
{
    check("AsyncWrite");
    SimItems::requireRange(NumItems, ServerHandles, Source);
    SimItems::requireRange(NumItems, Values, Source);
    // Unknown handles are refused now; the accepted items are written and
    // reported in the completion.
    auto results = OleArray<int32_t>::withBounds(1, NumItems);
    std::vector<std::pair<int32_t, Variant>> accepted;
    for (int32_t i = 1; i <= NumItems; ++i) {
        const bool known = m_items->find(ServerHandles[i]) != nullptr;
        results[i] = known ? 0 : errors::OPC_E_INVALIDHANDLE;
        if (known)
            accepted.emplace_back(ServerHandles[i], Values[i]);
    }
    Errors = std::move(results);
    CancelID = ++m_lastCancelId;
    if (accepted.empty())
        return;
    std::weak_ptr<SimGroup> weak = weak_from_this();
    Dispatcher::current().post([weak, TransactionID, accepted = std::move(accepted)] {
        auto group = weak.lock();
        if (!group || group->m_closed)
            return;
        OleArray<int32_t> handles(1, {}), itemErrors(1, {});
        for (const auto& [serverHandle, value] : accepted) {
            SimItem* item = group->m_items->find(serverHandle);
            handles.append(item ? item->clientHandle() : 0);
            itemErrors.append(group->writeOne(serverHandle, value));
        }
        if (group->m_sink)
            group->m_sink->AsyncWriteComplete(TransactionID, int32_t(handles.size()), handles,
                                              itemErrors);
    });
}

void SimGroup::AsyncRefresh(int16_t Source_, int32_t TransactionID, int32_t& CancelID)
{
    check("AsyncRefresh");
    if (Source_ != OPCCache && Source_ != OPCDevice)
        throw ComError(errors::E_INVALIDARG_, Source, "A refresh reads from the cache (1) or the device (2)");
    const auto& items = m_items->items();
    const bool anyActive = std::any_of(items.begin(), items.end(), [](const auto& entry) {
        return entry.second->active() && entry.second->readable();
    });
    if (!m_settings.active || !anyActive)
        throw ComError(errors::E_FAIL_, Source, "Only an active group with active items can be refreshed");
    CancelID = ++m_lastCancelId;
    std::weak_ptr<SimGroup> weak = weak_from_this();
    Dispatcher::current().post([weak, Source_, TransactionID] {
        if (auto group = weak.lock(); group && !group->m_closed)
            group->refresh(Source_, TransactionID);
    });
}

void SimGroup::refresh(int16_t source, int32_t transactionId)
{
    Rows rows;
    for (const auto& [handle, item] : m_items->items()) {
        if (!item->active() || !item->readable())
            continue;
        const SimItem::Reading reading = source == OPCDevice ? item->sample() : item->cached();
        int32_t quality = 0;
        Variant value = item->delivered(reading, quality);
        rows.add(item->clientHandle(), std::move(value), quality, reading.timestamp);
        item->markSent(reading);
    }
    if (rows.count() > 0)
        raiseDataChange(transactionId, rows);
}

void SimGroup::tick()
{
    if (!wantsTicks())
        return;
    Rows rows;
    for (const auto& [handle, item] : m_items->items()) {
        if (!item->active() || !item->readable())
            continue;
        const SimItem::Reading& reading = item->sample();
        if (!item->dueForSend(reading, m_settings.deadband))
            continue;
        int32_t quality = 0;
        Variant value = item->delivered(reading, quality);
        rows.add(item->clientHandle(), std::move(value), quality, reading.timestamp);
        item->markSent(reading);
    }
    if (rows.count() > 0)
        raiseDataChange(SubscriptionTransaction, rows);
}

void SimGroup::raiseDataChange(int32_t transactionId, const Rows& rows)
{
    m_server->noteDataChangeSent(Dispatcher::current().currentDate());
    if (!m_sink)
        return;
    auto keepAlive = shared_from_this();  // the sink may remove the group
    m_sink->DataChange(transactionId, rows.count(), rows.clientHandles, rows.values,
                       rows.qualities, rows.timestamps);
}

void SimGroup::setEventSink(OPCGroupEvents* sink)
{
    m_sink = m_closed ? nullptr : sink;
    updateTimer();
}

bool SimGroup::wantsTicks() const
{
    return !m_closed && m_settings.active && m_subscribed && m_sink != nullptr;
}

void SimGroup::updateTimer()
{
    if (!wantsTicks())
        return stopTimer();
    if (m_timer && m_timerRate == m_settings.updateRate)
        return;
    stopTimer();
    std::weak_ptr<SimGroup> weak = weak_from_this();
    m_timerDispatcher = &Dispatcher::current();
    m_timerRate = m_settings.updateRate;
    m_timer = m_timerDispatcher->startTimer(std::chrono::milliseconds(m_timerRate), [weak] {
        if (auto group = weak.lock())
            group->tick();
    });
}

void SimGroup::stopTimer()
{
    if (m_timer && m_timerDispatcher)
        m_timerDispatcher->stopTimer(m_timer);
    m_timer = 0;
    m_timerDispatcher = nullptr;
}

void SimGroup::close()
{
    stopTimer();
    m_sink = nullptr;
    m_closed = true;
    m_items->clear();
}

}  // namespace tagwell
