#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/OPCGroup.h"
#include "automation/OPCGroupEvents.h"
#include "core/IGroupCallback.h"
#include "core/IndexAllocator.h"
#include "core/KeyedCollection.h"
#include "core/Trackable.h"
#include "core/cOPCItem.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

// One OPC group on a connected server. It holds the automation group and
// receives its events, and keeps its items under their collection keys (the
// signed-field client handle, " 12") together with an index by client handle
// for the data-change path.
//
// Every operation that calls the automation interface catches a failure,
// reports it once (report text, DCOM hint, the owner's OPCGroupError,
// PendingMessages) under its label and returns its failure value; SetOPCGroup
// is the exception. Refusals of single items come back through an Error
// parameter. Owner thread only.
class cOPCGroup : public OPCGroupEvents, public std::enable_shared_from_this<cOPCGroup> {
public:
    using ItemCollection = KeyedCollection<std::shared_ptr<cOPCItem>>;

    // Text of the item-ID row for a client handle that names no item.
    static constexpr const char* InvalidItemIdText = "Invalid ItemID From Server - Please ignore";

    cOPCGroup();
    // Stops the automation group's events and releases it.
    ~cOPCGroup() override;
    cOPCGroup(const cOPCGroup&) = delete;
    cOPCGroup& operator=(const cOPCGroup&) = delete;

    // Takes the automation group and its identity, sets the group's
    // subscription and starts receiving its events; a failure of the
    // subscription throws ComError to the caller.
    void SetOPCGroup(std::shared_ptr<OPCGroup> New_OPCGroupObject, const std::string& New_GroupName,
                     const std::string& New_GroupKey, int16_t GroupIndx, bool GroupSubscribed);
    void SetGroupOwner(IGroupCallback* owner) { m_owner = OwnerRef<IGroupCallback>(owner); }
    // Whether the owner receives Update on data changes, and whether that
    // Update carries the item IDs of the rows. Both start False.
    void GroupUpdates(bool New_GroupUpdates) { m_groupUpdates = New_GroupUpdates; }
    void GroupUpdatesWithItemIDs(bool New_WithItemIDs) { m_withItemIds = New_WithItemIDs; }

    // Adds an item under the smallest free client handle; ItemKey_ receives
    // "Item" and the signed-field handle. False without a report when the
    // server hands back no item. Label "Add Item".
    bool AddOPCItem(const std::string& NewOPCItemID, int16_t NewDataType, bool NewActiveState,
                    bool NewDisplayUpdated, bool NewLogged, std::string& ItemKey_,
                    const std::string& NewAlias = {}, const std::string& NewCustomTag1 = {},
                    const std::string& NewCustomTag2 = {});
    // Removes the item named by ItemKey_ (its text from the first blank on).
    // A refusal by the server leaves the item in the group, puts the per-item
    // error in Error and is reported with that number. The ItemID map keeps
    // the item's entry. Label "Remove Item".
    bool RemoveOPCItem(const std::string& ItemKey_, int32_t& Error);
    // True when the server would accept the item; otherwise Error receives
    // the per-item error, unreported. Label "Validate Item".
    bool ValidateOPCItem(const std::string& DesiredOPCItemID, int16_t DesiredDataType,
                         bool DesiredActiveState, int32_t& Error);

    // Write New_ValueToWrite(i) to New_ObjectToWrite(i) for i from 1 to the
    // upper bound of New_ObjectToWrite (elements below 1 are ignored). True
    // when the call was accepted; per-item results are not examined. Labels
    // "Synchronous Write Item", "Asynchronous Write Item".
    bool SyncWriteOPCGroup(const OleArray<std::shared_ptr<cOPCItem>>& New_ObjectToWrite,
                           const OleArray<Variant>& New_ValueToWrite);
    bool AsyncWriteOPCGroup(const OleArray<std::shared_ptr<cOPCItem>>& New_ObjectToWrite,
                            const OleArray<Variant>& New_ValueToWrite, int32_t TransactionID);
    // Source 1 reads the cache, 2 the device; the values arrive later as a
    // data change carrying TransID. The cancel id, 0 after a failure. Label
    // "Asynchronous Refresh".
    int32_t AsyncRefresh(int32_t Source, int32_t TransID);

    // Settings: each passes its value through the parameter and returns success.
    bool SetGroupActiveState(bool ActiveState);
    bool GetGroupActiveState(bool& ActiveState);
    bool SetGroupSubscribed(bool Subscribed);
    bool GetGroupSubscribed(bool& Subscribed);
    bool SetGroupUpdateRate(int32_t UpdateRate);
    bool GetGroupUpdateRate(int32_t& UpdateRate);
    bool SetGroupDeadBand(float DeadBand);
    bool GetGroupDeadBand(float& DeadBand);
    bool SetGroupTimeBias(int32_t TimeBias);
    bool GetGroupTimeBias(int32_t& TimeBias);
    bool SetOPCItemsDefaultDataType(int16_t DataType);
    bool GetOPCItemsDefaultDataType(int16_t& DataType);
    bool SetOPCItemsDefaultActive(bool Active);
    bool GetOPCItemsDefaultActive(bool& Active);

    const std::string& GetGroupName() const { return m_groupName; }
    const std::string& GetGroupKey() const { return m_groupKey; }
    int16_t GetGroupIndex() const { return m_groupIndex; }
    const ItemCollection& GetOPCGroupItemsCollection() const { return m_items; }
    // The ItemKey first added for this ItemID (any letter case), or empty
    // text. Entries are never removed: after the item went, the key may name
    // a later item that reused its client handle.
    std::string GetItemKeyForItemID(const std::string& sItemID) const;

    void DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode);

    // Automation events. A data change updates every row's item in order
    // (rows with unknown client handles are skipped), then gives the owner
    // the whole change when GroupUpdates is on; a failure of one row does not
    // stop the others, and the last one reaches the owner's OPCGroupError as
    // its description only. A write completion sets quality 0 on every item
    // that failed, then tells the owner.
    void DataChange(int32_t TransactionID, int32_t NumItems, const OleArray<int32_t>& ClientHandles,
                    const OleArray<Variant>& ItemValues, const OleArray<int32_t>& Qualities,
                    const OleArray<double>& TimeStamps) override;
    void AsyncWriteComplete(int32_t TransactionID, int32_t NumItems,
                            const OleArray<int32_t>& ClientHandles,
                            const OleArray<int32_t>& Errors) override;

private:
    struct WriteRows;
    struct EventScope;

    OPCGroup& group();
    OPCItems& automationItems();
    cOPCItem* itemByHandle(int32_t clientHandle) const;
    void prefetchItem(const OleArray<int32_t>& clientHandles, int32_t row) const;
    void indexItem(int32_t clientHandle, cOPCItem* item);
    void unindexItem(int32_t clientHandle);
    WriteRows writeRows(const OleArray<std::shared_ptr<cOPCItem>>& objects,
                        const OleArray<Variant>& values);
    template <class Value, class Read>
    bool readSetting(const char* label, Value& out, Read read);

    std::shared_ptr<OPCGroup> m_group;
    std::shared_ptr<OPCItems> m_automationItems;
    std::string m_groupName;
    std::string m_groupKey;
    int16_t m_groupIndex = 0;
    ItemCollection m_items;
    // Slot n holds the item with client handle n (handles are dense: the
    // smallest free number is always reused). The collection owns the items.
    std::vector<cOPCItem*> m_byHandle;
    // Items removed while an event is being handled live until it ends, so
    // that the handler may hold them by plain pointer.
    int m_eventDepth = 0;
    std::vector<std::shared_ptr<cOPCItem>> m_parked;
    IndexAllocator m_handles;
    // ItemID folded to lower case -> ItemKey; add-only.
    std::unordered_map<std::string, std::string> m_itemIdMap;
    OwnerRef<IGroupCallback> m_owner;
    // The item-ID array handed to the owner by the last data change, kept
    // for the next one (see DataChange).
    OleArray<std::string> m_itemIdsScratch;
    bool m_groupUpdates = false;
    bool m_withItemIds = false;
};

}  // namespace tagwell
