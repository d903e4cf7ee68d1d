#include "core/cOPCGroup.h"

#include <limits>
#include <new>
#include <optional>
#include <utility>

#include "core/AutomationCall.h"
#include "core/ErrorReport.h"
#include "core/MItems.h"
#include "core/OPCKeys.h"
#include "platform/TextCase.h"

namespace tagwell {

namespace {

constexpr const char* Source = "cOPCGroup";
constexpr int32_t OutOfMemory = 7;
constexpr int32_t KeyAlreadyInCollection = 457;
// How far ahead of the row being handled a data change fetches items into
// the cache: large groups do not fit in it.
constexpr int32_t PrefetchRows = 16;

// What a failed row or callback of an event handler leaves behind.
struct Failure {
    int32_t number;
    std::string description;
};

// The failure being handled, as a number and its description. Call only
// inside a catch block.
Failure currentFailure()
{
    try {
        throw;
    } catch (const ComError& e) {
        return {e.number(), e.description()};
    } catch (const std::bad_alloc&) {
        return {OutOfMemory, "Out of memory"};
    } catch (const std::exception& e) {
        return {errors::E_FAIL_, e.what()};
    } catch (...) {
        return {errors::E_FAIL_, "Unknown failure"};
    }
}

int16_t refreshSource(int32_t source)
{
    if (source < std::numeric_limits<int16_t>::min() || source > std::numeric_limits<int16_t>::max())
        throw ComError(errors::Overflow, Source, "Overflow");
    return int16_t(source);
}

}  // namespace

// The arrays a write hands to the automation group, 1 to count.
struct cOPCGroup::WriteRows {
    int32_t count = 0;
    OleArray<int32_t> serverHandles{1, {}};
    OleArray<Variant> values{1, {}};
};

cOPCGroup::cOPCGroup() = default;

cOPCGroup::~cOPCGroup()
{
    if (m_group)
        AutomationCall([&] { m_group->setEventSink(nullptr); });
}

void cOPCGroup::SetOPCGroup(std::shared_ptr<OPCGroup> New_OPCGroupObject,
                            const std::string& New_GroupName, const std::string& New_GroupKey,
                            int16_t GroupIndx, bool GroupSubscribed)
{
    if (m_group)
        AutomationCall([&] { m_group->setEventSink(nullptr); });
    m_group = std::move(New_OPCGroupObject);
    m_automationItems.reset();
    m_groupName = New_GroupName;
    m_groupKey = New_GroupKey;
    m_groupIndex = GroupIndx;
    group().SetIsSubscribed(GroupSubscribed);
    m_group->setEventSink(this);
}

OPCGroup& cOPCGroup::group()
{
    if (!m_group)
        throw ComError(errors::ObjectVariableNotSet, Source, "The group has no automation group");
    return *m_group;
}

OPCItems& cOPCGroup::automationItems()
{
    if (!m_automationItems)
        m_automationItems = group().OPCItems();
    if (!m_automationItems)
        throw ComError(errors::ObjectVariableNotSet, Source, "The group offers no items object");
    return *m_automationItems;
}

// Marks the time an automation event is being handled.
struct cOPCGroup::EventScope {
    explicit EventScope(cOPCGroup& group) : m_group(group) { ++m_group.m_eventDepth; }
    ~EventScope()
    {
        if (--m_group.m_eventDepth == 0)
            m_group.m_parked.clear();
    }
    EventScope(const EventScope&) = delete;
    EventScope& operator=(const EventScope&) = delete;

private:
    cOPCGroup& m_group;
};

void cOPCGroup::prefetchItem(const OleArray<int32_t>& clientHandles, int32_t row) const
{
    // Far ahead the item itself, nearer what it points to (its item ID and
    // its buffer), which can only be found once the item is in the cache.
    if (clientHandles.contains(row + PrefetchRows)) {
        if (const cOPCItem* item = itemByHandle(clientHandles[row + PrefetchRows]))
            item->PrefetchObject();
    }
    if (clientHandles.contains(row + PrefetchRows / 2)) {
        if (const cOPCItem* item = itemByHandle(clientHandles[row + PrefetchRows / 2]))
            item->PrefetchReferenced();
    }
}

cOPCItem* cOPCGroup::itemByHandle(int32_t clientHandle) const
{
    if (clientHandle < 0 || size_t(clientHandle) >= m_byHandle.size())
        return nullptr;
    return m_byHandle[size_t(clientHandle)];
}

void cOPCGroup::indexItem(int32_t clientHandle, cOPCItem* item)
{
    if (size_t(clientHandle) >= m_byHandle.size())
        m_byHandle.resize(size_t(clientHandle) + 1);
    m_byHandle[size_t(clientHandle)] = item;
}

void cOPCGroup::unindexItem(int32_t clientHandle)
{
    if (clientHandle >= 0 && size_t(clientHandle) < m_byHandle.size())
        m_byHandle[size_t(clientHandle)] = nullptr;
    while (!m_byHandle.empty() && !m_byHandle.back())
        m_byHandle.pop_back();
}

bool cOPCGroup::AddOPCItem(const std::string& NewOPCItemID, int16_t NewDataType,
                           bool NewActiveState, bool NewDisplayUpdated, bool NewLogged,
                           std::string& ItemKey_, const std::string& NewAlias,
                           const std::string& NewCustomTag1, const std::string& NewCustomTag2)
{
    SetOPCItemsDefaultActive(NewActiveState);
    SetOPCItemsDefaultDataType(NewDataType);

    const int32_t handle = m_handles.allocate();
    std::shared_ptr<OPCItem> added;
    bool entered = false;
    const bool ok = ReportedCall(*this, "Add Item", [&] {
        added = automationItems().AddItem(NewOPCItemID, handle);
        if (!added)
            return;
        auto item = std::make_shared<cOPCItem>();
        item->SetOPCItem(added, NewOPCItemID, handle, NewDataType, NewLogged, NewDisplayUpdated,
                         NewAlias, NewCustomTag1, NewCustomTag2);
        if (!m_items.add(OPCKeys::ItemCollectionKey(handle), item))
            throw ComError(KeyAlreadyInCollection, Source,
                           "This key is already associated with an element of this collection");
        entered = true;
        indexItem(handle, item.get());
        ItemKey_ = OPCKeys::ItemKey(handle);
        m_itemIdMap.try_emplace(TextCase::lower(NewOPCItemID), ItemKey_);
    });
    if (ok && entered)
        return true;
    if (entered) {
        // Only the ItemID map entry failed (out of memory): keep the item, it
        // is in the group; the report has been made.
        return false;
    }
    m_handles.release(handle);
    if (added) {
        // The server took an item the group does not hold: take it back so
        // that it does not update unseen.
        AutomationCall([&] {
            OleArray<int32_t> refusals;
            automationItems().Remove(1, OleArray<int32_t>::oneBased({added->ServerHandle()}),
                                     refusals);
        });
    }
    return false;
}

bool cOPCGroup::RemoveOPCItem(const std::string& ItemKey_, int32_t& Error)
{
    int32_t refusal = 0;
    const bool called = ReportedCall(*this, "Remove Item", [&] {
        const std::optional<std::string> key = OPCKeys::CollectionKeyOfItemKey(ItemKey_);
        if (!key)
            throw ComError(errors::InvalidProcedureCall, Source,
                           "The item key '" + ItemKey_ + "' holds no blank");
        std::shared_ptr<cOPCItem>* found = m_items.find(*key);
        if (!found)
            throw ComError(errors::InvalidProcedureCall, Source,
                           "No item with the key '" + ItemKey_ + "'");
        std::shared_ptr<cOPCItem> item = *found;
        OPCItem* automation = item->GetOPCItemObject();
        if (!automation)
            throw ComError(errors::ObjectVariableNotSet, Source, "The item has no automation item");
        OleArray<int32_t> refusals;
        automationItems().Remove(1, OleArray<int32_t>::oneBased({automation->ServerHandle()}),
                                 refusals);
        refusal = refusals[1];
        if (refusal != 0)
            return;
        if (m_eventDepth > 0)
            m_parked.push_back(item);
        m_items.remove(*key);
        unindexItem(item->GetItemIndex());
        m_handles.release(item->GetItemIndex());
    });
    if (!called)
        return false;
    if (refusal != 0) {
        Error = refusal;
        DisplayOPC_COM_ErrorValue("Remove Item", refusal);
        return false;
    }
    return true;
}

bool cOPCGroup::ValidateOPCItem(const std::string& DesiredOPCItemID, int16_t DesiredDataType,
                                bool DesiredActiveState, int32_t& Error)
{
    SetOPCItemsDefaultActive(DesiredActiveState);
    SetOPCItemsDefaultDataType(DesiredDataType);

    int32_t refusal = 0;
    const bool called = ReportedCall(*this, "Validate Item", [&] {
        OleArray<int32_t> refusals;
        automationItems().Validate(1, OleArray<std::string>::oneBased({DesiredOPCItemID}), refusals,
                                   OleArray<int16_t>::oneBased({DesiredDataType}));
        refusal = refusals[1];
    });
    if (!called)
        return false;
    if (refusal != 0) {
        Error = refusal;
        return false;
    }
    return true;
}

cOPCGroup::WriteRows cOPCGroup::writeRows(const OleArray<std::shared_ptr<cOPCItem>>& objects,
                                          const OleArray<Variant>& values)
{
    WriteRows rows;
    rows.count = objects.ubound();
    if (rows.count < 1)
        throw ComError(errors::SubscriptOutOfRange, Source, "Subscript out of range");
    rows.serverHandles.reserve(size_t(rows.count));
    rows.values.reserve(size_t(rows.count));
    for (int32_t i = 1; i <= rows.count; ++i) {
        const std::shared_ptr<cOPCItem>& item = objects[i];
        if (!item)
            throw ComError(errors::ObjectVariableNotSet, Source, "Object variable not set");
        rows.serverHandles.append(item->GetItemServerHandle());
        rows.values.append(values[i]);
    }
    return rows;
}

bool cOPCGroup::SyncWriteOPCGroup(const OleArray<std::shared_ptr<cOPCItem>>& New_ObjectToWrite,
                                  const OleArray<Variant>& New_ValueToWrite)
{
    return ReportedCall(*this, "Synchronous Write Item", [&] {
        WriteRows rows = writeRows(New_ObjectToWrite, New_ValueToWrite);
        OleArray<int32_t> perItemErrors;  // not examined: True means the call was accepted
        group().SyncWrite(rows.count, rows.serverHandles, rows.values, perItemErrors);
    });
}

bool cOPCGroup::AsyncWriteOPCGroup(const OleArray<std::shared_ptr<cOPCItem>>& New_ObjectToWrite,
                                   const OleArray<Variant>& New_ValueToWrite, int32_t TransactionID)
{
    return ReportedCall(*this, "Asynchronous Write Item", [&] {
        WriteRows rows = writeRows(New_ObjectToWrite, New_ValueToWrite);
        OleArray<int32_t> perItemErrors;  // failures arrive with the completion
        int32_t cancelId = 0;
        group().AsyncWrite(rows.count, rows.serverHandles, rows.values, perItemErrors,
                           TransactionID, cancelId);
    });
}

int32_t cOPCGroup::AsyncRefresh(int32_t Source, int32_t TransID)
{
    int32_t cancelId = 0;
    if (!ReportedCall(*this, "Asynchronous Refresh",
                      [&] { group().AsyncRefresh(refreshSource(Source), TransID, cancelId); }))
        return 0;
    return cancelId;
}

template <class Value, class Read>
bool cOPCGroup::readSetting(const char* label, Value& out, Read read)
{
    return ReportedCall(*this, label, [&] { out = read(); });
}

bool cOPCGroup::SetGroupActiveState(bool ActiveState)
{
    return ReportedCall(*this, "Group Active State", [&] { group().SetIsActive(ActiveState); });
}

bool cOPCGroup::GetGroupActiveState(bool& ActiveState)
{
    return readSetting("Get Group Active State", ActiveState, [&] { return group().IsActive(); });
}

bool cOPCGroup::SetGroupSubscribed(bool Subscribed)
{
    return ReportedCall(*this, "Group Subscribed", [&] { group().SetIsSubscribed(Subscribed); });
}

bool cOPCGroup::GetGroupSubscribed(bool& Subscribed)
{
    return readSetting("Get Group Subscribed", Subscribed, [&] { return group().IsSubscribed(); });
}

bool cOPCGroup::SetGroupUpdateRate(int32_t UpdateRate)
{
    return ReportedCall(*this, "Set Group Update Rate", [&] { group().SetUpdateRate(UpdateRate); });
}

bool cOPCGroup::GetGroupUpdateRate(int32_t& UpdateRate)
{
    return readSetting("Get Group Update Rate", UpdateRate, [&] { return group().UpdateRate(); });
}

bool cOPCGroup::SetGroupDeadBand(float DeadBand)
{
    return ReportedCall(*this, "Set Group Dead Band", [&] { group().SetDeadBand(DeadBand); });
}

bool cOPCGroup::GetGroupDeadBand(float& DeadBand)
{
    return readSetting("Get Group Dead Band", DeadBand, [&] { return group().DeadBand(); });
}

bool cOPCGroup::SetGroupTimeBias(int32_t TimeBias)
{
    return ReportedCall(*this, "Set Group Time Bias", [&] { group().SetTimeBias(TimeBias); });
}

bool cOPCGroup::GetGroupTimeBias(int32_t& TimeBias)
{
    return readSetting("Get Group Time Bias", TimeBias, [&] { return group().TimeBias(); });
}

bool cOPCGroup::SetOPCItemsDefaultDataType(int16_t DataType)
{
    return ReportedCall(*this, "Set OPC Item Default Data Type",
                        [&] { automationItems().SetDefaultRequestedDataType(DataType); });
}

bool cOPCGroup::GetOPCItemsDefaultDataType(int16_t& DataType)
{
    return readSetting("Get OPC Item Default Data Type", DataType,
                       [&] { return automationItems().DefaultRequestedDataType(); });
}

bool cOPCGroup::SetOPCItemsDefaultActive(bool Active)
{
    return ReportedCall(*this, "Set OPC Item Default Active State",
                        [&] { automationItems().SetDefaultIsActive(Active); });
}

bool cOPCGroup::GetOPCItemsDefaultActive(bool& Active)
{
    return readSetting("Get OPC Item Default Active State", Active,
                       [&] { return automationItems().DefaultIsActive(); });
}

std::string cOPCGroup::GetItemKeyForItemID(const std::string& sItemID) const
{
    auto it = m_itemIdMap.find(TextCase::lower(sItemID));
    return it == m_itemIdMap.end() ? std::string() : it->second;
}

void cOPCGroup::DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode)
{
    ErrorReport::Report(ErrorReport::Reporter::Group, OPC_Function, ErrorCode,
                        [&](const std::string& text) {
                            if (IGroupCallback* owner = MItems::ResolveOwner(m_owner))
                                owner->OPCGroupError(text);
                        });
}

void cOPCGroup::DataChange(int32_t TransactionID, int32_t NumItems,
                           const OleArray<int32_t>& ClientHandles,
                           const OleArray<Variant>& ItemValues, const OleArray<int32_t>& Qualities,
                           const OleArray<double>& TimeStamps)
{
    // An owner may remove this group from inside a callback; the routine
    // still runs to its end.
    const std::shared_ptr<cOPCGroup> keepAlive = weak_from_this().lock();
    const EventScope scope(*this);
    const bool withItemIds = m_groupUpdates && m_withItemIds;
    // The item-ID array of the last change is reused: its texts keep their
    // storage, so that a steady stream of changes copies characters instead
    // of allocating a text per row. A change handled inside another one's
    // callback finds it taken and starts a fresh one.
    OleArray<std::string> itemIds = std::exchange(m_itemIdsScratch, OleArray<std::string>());
    if (itemIds.lbound() != 1)
        itemIds = OleArray<std::string>(1, {});
    std::vector<std::string>& ids = itemIds.elements();
    const size_t rows = withItemIds && NumItems > 1 ? size_t(NumItems) : 1;
    if (ids.size() > rows)
        ids.resize(rows);
    if (ids.empty())
        ids.emplace_back();
    else if (!withItemIds || NumItems < 1)
        ids.front().clear();
    std::optional<Failure> lastFailure;

    for (int32_t row = 1; row <= NumItems; ++row) {
        prefetchItem(ClientHandles, row);
        cOPCItem* item = nullptr;
        try {
            item = itemByHandle(ClientHandles[row]);
            if (item)
                item->UpdateOPCItemData(ItemValues[row], Qualities[row], TimeStamps[row]);
        } catch (...) {
            lastFailure = currentFailure();
        }
        if (withItemIds) {
            const size_t at = size_t(row - 1);
            if (at == ids.size())
                ids.emplace_back();
            if (item)
                ids[at] = item->GetItemID();
            else
                ids[at] = InvalidItemIdText;
        }
    }

    IGroupCallback* owner = MItems::ResolveOwner(m_owner);
    if (m_groupUpdates && owner) {
        try {
            owner->Update(m_groupKey, TransactionID, NumItems, ClientHandles, ItemValues, Qualities,
                          TimeStamps, itemIds);
        } catch (...) {
            lastFailure = currentFailure();
        }
    }

    m_itemIdsScratch = std::move(itemIds);

    // Rows of unknown handles are not failures. A failure numbered 5 (a
    // missing key) is not passed on either.
    if (lastFailure && lastFailure->number != errors::InvalidProcedureCall) {
        if (IGroupCallback* current = MItems::ResolveOwner(m_owner)) {
            try {
                current->OPCGroupError(lastFailure->description);
            } catch (...) {
                // The owner cannot take its own error: nobody else is told.
            }
        }
    }
}

void cOPCGroup::AsyncWriteComplete(int32_t TransactionID, int32_t NumItems,
                                   const OleArray<int32_t>& ClientHandles,
                                   const OleArray<int32_t>& Errors)
{
    const std::shared_ptr<cOPCGroup> keepAlive = weak_from_this().lock();
    const EventScope scope(*this);
    for (int32_t row = 1; row <= NumItems; ++row) {
        // A row outside the arrays or naming no item is skipped.
        if (!Errors.contains(row) || !ClientHandles.contains(row) || Errors[row] == 0)
            continue;
        if (cOPCItem* item = itemByHandle(ClientHandles[row]))
            item->SetItemQuality(0);
    }
    if (IGroupCallback* owner = MItems::ResolveOwner(m_owner)) {
        try {
            owner->AsyncWriteComplete(TransactionID);
        } catch (...) {
            // Nothing is left to do for this completion.
        }
    }
}

}  // namespace tagwell
