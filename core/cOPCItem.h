#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCItem.h"
#include "core/IBindableControl.h"
#include "core/IItemCallback.h"
#include "core/Trackable.h"
#include "platform/OleArray.h"
#include "platform/Variant.h"

namespace tagwell {

// One OPC item in one group. It holds the automation item, the user's
// descriptions of it, the last update it stored, its display and logging
// flags, its buffer of updates for per-item collection and an optional
// binding to a property of a control.
//
// Live reads and writes go to the automation item; a failure is reported
// once (report text, DCOM hint, the owner's OPCItemError, PendingMessages)
// and the operation returns its failure value. Stored reads never fail.
// Owner thread only.
class cOPCItem {
public:
    // Values of Desired_Mode: read the automation item now, or the stored
    // update (any mode other than ReadLive reads the stored update).
    static constexpr int16_t ReadLive = 1;
    static constexpr int16_t ReadStored = 2;

    cOPCItem();
    ~cOPCItem();
    cOPCItem(const cOPCItem&) = delete;
    cOPCItem& operator=(const cOPCItem&) = delete;

    // Takes the automation item and everything the user gave the item; the
    // update buffer starts empty.
    void SetOPCItem(std::shared_ptr<OPCItem> OPCItemObject, const std::string& OPCItem_IDval,
                    int32_t OPCItemIndex, int16_t DataType, bool New_IsLogged,
                    bool New_IsDisplayUpdated, const std::string& New_ItemAlias,
                    const std::string& New_CustomTag1, const std::string& New_CustomTag2);
    void SetItemOwner(IItemCallback* owner) { m_owner = OwnerRef<IItemCallback>(owner); }

    void SetItemLogged(bool Logged) { m_logged = Logged; }
    bool GetItemLogged() const { return m_logged; }
    void SetItemDisplayUpdates(bool DisplayUpdates) { m_displayUpdates = DisplayUpdates; }
    bool GetItemDisplayUpdates() const { return m_displayUpdates; }
    void SetItemAlias(const std::string& Alias) { m_alias = Alias; }
    const std::string& GetItemAlias() const { return m_alias; }
    void SetItemCustomTag1(const std::string& CustomTag1) { m_customTag1 = CustomTag1; }
    const std::string& GetItemCustomTag1() const { return m_customTag1; }
    void SetItemCustomTag2(const std::string& CustomTag2) { m_customTag2 = CustomTag2; }
    const std::string& GetItemCustomTag2() const { return m_customTag2; }
    const std::string& GetItemID() const { return m_itemId; }
    // The client handle the item was added with.
    int32_t GetItemIndex() const { return m_index; }

    // Live (ReadLive) or stored values. Failure values: empty, 0, 0, 0.
    Variant GetItemValue(int16_t Desired_Mode);
    int32_t GetItemQuality(int16_t Desired_Mode);
    double GetItemTimeStamp(int16_t Desired_Mode);
    // Live: the requested type at the server; stored: the type given at addition.
    int16_t GetItemDataType(int16_t Desired_Mode);
    // The full text of the stored quality ("Good", "Bad, Non Specific", ...).
    std::string GetItemQualityString() const;
    void SetItemQuality(int32_t New_Quality) { m_quality = New_Quality; }

    // Writes synchronously through the automation item. Label "Set Item Value".
    bool SetItemValue(const Variant& Item_Value);

    // Live properties of the automation item; 0 or empty after a failure.
    int32_t GetItemClientHandle();
    int32_t GetItemServerHandle();
    int32_t GetItemAccessRights();
    int16_t GetItemCanonicalType();
    int16_t GetItemEUType();
    std::string GetItemAccessPath();
    Variant GetItemEUInfo();
    // The name of the automation item's group.
    std::string GetItemParentName();
    // False after a failure.
    bool GetItemActiveState();
    bool SetItemActiveState(bool ActiveState);

    // One update from the group, in this order:
    //  1. with DisplayUpdates on, the update is stored;
    //  2. the owner, if any, receives the stored fields (so with DisplayUpdates
    //     off it sees the last stored update, not this one);
    //  3. with Logged on while collection runs, the update is stored and
    //     appended to this item's buffer (cmItem) or to the process-wide
    //     buffer (cmAll);
    //  4. a registered control, while it exists and binding is active,
    //     receives the stored value, scaled, in its bound property.
    // A failure of the owner or of the control does not stop the other steps;
    // the last one is rethrown at the end for the group to pass on.
    void UpdateOPCItemData(const Variant& ItmVal, int32_t ItmQuality, double ItmTime);

    // Updates waiting in this item's buffer.
    int32_t GetItemUpdatesCount() const;
    // With updates waiting: the outputs receive the buffer's arrays (1 to the
    // count, in arrival order) and the buffer is emptied. With none the
    // outputs are left untouched.
    void GetAllItemUpdates(OleArray<Variant>& New_Values, OleArray<double>& New_DateTimes,
                           OleArray<int32_t>& New_Qualities);

    // Binds the item to a property of a control: every later update writes
    // the stored value times Scaling into it. The control is not owned.
    void RegisterXOPCGroupControl(IBindableControl* cControl, const std::string& PropertyName,
                                  double Scaling);
    void DeregisterXOPCGroupControl();

    // The automation item (nullptr before SetOPCItem).
    OPCItem* GetOPCItemObject() { return m_item.get(); }

    void DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode);

    // Hints for a caller that will update this item soon: the first brings
    // the item's own cache lines closer, the second (once the item itself is
    // in the cache) what its fields point to. Neither changes anything.
    void PrefetchObject() const
    {
        const char* self = reinterpret_cast<const char*>(this);
        __builtin_prefetch(self);
        __builtin_prefetch(self + 64);
        __builtin_prefetch(self + 128);
    }
    void PrefetchReferenced() const;

private:
    struct UpdateBuffer;
    struct Binding;

    OPCItem& automationItem();
    template <class Value, class Read>
    Value liveRead(const char* label, Value failureValue, Read read);
    void store(const Variant& value, int32_t quality, double time);
    void notifyOwner();
    void collect(const Variant& value, int32_t quality, double time);
    void writeBoundProperty();

    // What every update touches comes first, so that it shares few cache
    // lines: the stored update, the flags and the buffer in the first 64
    // bytes, then the owner, the binding and the texts the owner and the
    // all-items buffer receive. What updates never read comes last.
    Variant m_value;
    double m_timeStamp = 0;
    int32_t m_quality = 0;
    bool m_logged = false;
    bool m_displayUpdates = false;
    int16_t m_dataType = 0;
    // Created on first use: most items never buffer and are never bound.
    std::unique_ptr<UpdateBuffer> m_buffer;
    OwnerRef<IItemCallback> m_owner;
    std::unique_ptr<Binding> m_binding;
    std::string m_itemId;
    std::string m_alias;
    int32_t m_index = 0;
    std::shared_ptr<OPCItem> m_item;
    std::string m_customTag1;
    std::string m_customTag2;
};

}  // namespace tagwell
