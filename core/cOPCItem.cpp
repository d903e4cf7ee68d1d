#include "core/cOPCItem.h"

#include <exception>
#include <utility>

#include "automation/OPCGroup.h"
#include "core/AutomationCall.h"
#include "core/ErrorReport.h"
#include "core/MCollector.h"
#include "core/MItems.h"
#include "core/OPCText.h"

namespace tagwell {

// The per-item collection buffer: three parallel arrays indexed from 1.
struct cOPCItem::UpdateBuffer {
    // Up to this many updates a take copies and the buffer keeps its
    // storage; more are handed over as the arrays themselves.
    static constexpr size_t KeptCapacity = 4;
    // From this many updates in one take the next batch gets room for as
    // many (see GetAllItemUpdates).
    static constexpr size_t ReservedFrom = 65536;

    OleArray<Variant> values{1, {}};
    OleArray<double> dateTimes{1, {}};
    OleArray<int32_t> qualities{1, {}};
};

namespace {

// Makes out a 1-based copy of from.
template <class T>
void copyInto(OleArray<T>& out, const OleArray<T>& from)
{
    if (out.lbound() != 1)
        out = OleArray<T>(1, {});
    out.elements().assign(from.begin(), from.end());
}

template <class T>
void reserveArray(OleArray<T>& array, size_t entries)
{
    array.reserve(entries);
    MCollector::detail::AdviseLargeStorage(array.elements().data(),
                                           array.elements().capacity() * sizeof(T));
}

}  // namespace

struct cOPCItem::Binding {
    OwnerRef<IBindableControl> control;
    std::string propertyName;
    double scaling = 1;
    int32_t memberId = -1;  // not yet looked up
};

cOPCItem::cOPCItem() = default;
cOPCItem::~cOPCItem() = default;

void cOPCItem::SetOPCItem(std::shared_ptr<OPCItem> OPCItemObject, const std::string& OPCItem_IDval,
                          int32_t OPCItemIndex, int16_t DataType, bool New_IsLogged,
                          bool New_IsDisplayUpdated, const std::string& New_ItemAlias,
                          const std::string& New_CustomTag1, const std::string& New_CustomTag2)
{
    m_item = std::move(OPCItemObject);
    m_itemId = OPCItem_IDval;
    m_index = OPCItemIndex;
    m_dataType = DataType;
    m_logged = New_IsLogged;
    m_displayUpdates = New_IsDisplayUpdated;
    m_alias = New_ItemAlias;
    m_customTag1 = New_CustomTag1;
    m_customTag2 = New_CustomTag2;
    m_buffer.reset();
}

OPCItem& cOPCItem::automationItem()
{
    if (!m_item)
        throw ComError(errors::ObjectVariableNotSet, "cOPCItem", "The item has no automation item");
    return *m_item;
}

template <class Value, class Read>
Value cOPCItem::liveRead(const char* label, Value failureValue, Read read)
{
    Value value = failureValue;
    if (!ReportedCall(*this, label, [&] { value = read(automationItem()); }))
        return failureValue;
    return value;
}

Variant cOPCItem::GetItemValue(int16_t Desired_Mode)
{
    if (Desired_Mode != ReadLive)
        return m_value;
    return liveRead("GetItemValue", Variant(), [](OPCItem& item) { return item.Value(); });
}

int32_t cOPCItem::GetItemQuality(int16_t Desired_Mode)
{
    if (Desired_Mode != ReadLive)
        return m_quality;
    return liveRead("GetItemQuality", int32_t(0), [](OPCItem& item) { return item.Quality(); });
}

double cOPCItem::GetItemTimeStamp(int16_t Desired_Mode)
{
    if (Desired_Mode != ReadLive)
        return m_timeStamp;
    return liveRead("GetItemTimeStamp", 0.0, [](OPCItem& item) { return item.TimeStamp(); });
}

int16_t cOPCItem::GetItemDataType(int16_t Desired_Mode)
{
    if (Desired_Mode != ReadLive)
        return m_dataType;
    return liveRead("GetItemDataType", int16_t(0),
                    [](OPCItem& item) { return item.RequestedDataType(); });
}

std::string cOPCItem::GetItemQualityString() const { return OPCText::QualityText(m_quality); }

bool cOPCItem::SetItemValue(const Variant& Item_Value)
{
    return ReportedCall(*this, "Set Item Value", [&] { automationItem().Write(Item_Value); });
}

int32_t cOPCItem::GetItemClientHandle()
{
    return liveRead("GetItemClientHandle", int32_t(0),
                    [](OPCItem& item) { return item.ClientHandle(); });
}

int32_t cOPCItem::GetItemServerHandle()
{
    return liveRead("GetItemServerHandle", int32_t(0),
                    [](OPCItem& item) { return item.ServerHandle(); });
}

int32_t cOPCItem::GetItemAccessRights()
{
    return liveRead("GetItemAccessRights", int32_t(0),
                    [](OPCItem& item) { return item.AccessRights(); });
}

int16_t cOPCItem::GetItemCanonicalType()
{
    return liveRead("GetItemCanonicalType", int16_t(0),
                    [](OPCItem& item) { return item.CanonicalDataType(); });
}

int16_t cOPCItem::GetItemEUType()
{
    return liveRead("GetItemEUType", int16_t(0), [](OPCItem& item) { return item.EUType(); });
}

std::string cOPCItem::GetItemAccessPath()
{
    return liveRead("GetItemAccessPath", std::string(),
                    [](OPCItem& item) { return item.AccessPath(); });
}

Variant cOPCItem::GetItemEUInfo()
{
    return liveRead("GetItemEUInfo", Variant(), [](OPCItem& item) { return item.EUInfo(); });
}

std::string cOPCItem::GetItemParentName()
{
    return liveRead("GetItemParentName", std::string(), [](OPCItem& item) {
        std::shared_ptr<OPCGroup> parent = item.Parent();
        if (!parent)
            throw ComError(errors::ObjectVariableNotSet, "cOPCItem", "The item's group has gone");
        return parent->Name();
    });
}

bool cOPCItem::GetItemActiveState()
{
    return liveRead("GetItemActiveState", false, [](OPCItem& item) { return item.IsActive(); });
}

bool cOPCItem::SetItemActiveState(bool ActiveState)
{
    return ReportedCall(*this, "SetItemActiveState",
                        [&] { automationItem().SetIsActive(ActiveState); });
}

void cOPCItem::UpdateOPCItemData(const Variant& ItmVal, int32_t ItmQuality, double ItmTime)
{
    if (m_displayUpdates)
        store(ItmVal, ItmQuality, ItmTime);

    // The owner and the bound control are outside code: a failure of one
    // must not cost the collection its entry, so it is held and passed on
    // once every step has run.
    std::exception_ptr failure;
    try {
        notifyOwner();
    } catch (...) {
        failure = std::current_exception();
    }
    if (m_logged && MCollector::CollectionActive()) {
        store(ItmVal, ItmQuality, ItmTime);
        collect(ItmVal, ItmQuality, ItmTime);
    }
    try {
        writeBoundProperty();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure)
        std::rethrow_exception(failure);
}

void cOPCItem::store(const Variant& value, int32_t quality, double time)
{
    m_value = value;
    m_quality = quality;
    m_timeStamp = time;
}

void cOPCItem::notifyOwner()
{
    if (IItemCallback* owner = MItems::ResolveOwner(m_owner))
        owner->OPCItemUpdate(m_alias, m_itemId, m_value, m_timeStamp, m_quality);
}

void cOPCItem::collect(const Variant& value, int32_t quality, double time)
{
    switch (MCollector::GetCollectionMode()) {
    case cmItem:
        if (!m_buffer)
            m_buffer = std::make_unique<UpdateBuffer>();
        m_buffer->values.append(value);
        m_buffer->dateTimes.append(time);
        m_buffer->qualities.append(quality);
        break;
    case cmAll:
        MCollector::AppendAllUpdate(m_alias, m_itemId, value, time, quality);
        break;
    default:
        break;
    }
}

void cOPCItem::writeBoundProperty()
{
    if (!m_binding || !MItems::BindingActive())
        return;
    IBindableControl* control = MItems::ResolveOwner(m_binding->control);
    if (!control)
        return;
    if (m_binding->memberId < 0)
        m_binding->memberId = MItems::LookupMemberId(*control, m_binding->propertyName);
    MItems::SetBoundProperty(control, m_binding->memberId, *this, m_binding->scaling);
}

void cOPCItem::PrefetchReferenced() const
{
    __builtin_prefetch(m_itemId.data());
    if (m_buffer) {
        __builtin_prefetch(m_buffer->values.elements().data());
        __builtin_prefetch(m_buffer->dateTimes.elements().data());
        __builtin_prefetch(m_buffer->qualities.elements().data());
    }
}

int32_t cOPCItem::GetItemUpdatesCount() const
{
    return m_buffer ? int32_t(m_buffer->qualities.size()) : 0;
}

void cOPCItem::GetAllItemUpdates(OleArray<Variant>& New_Values, OleArray<double>& New_DateTimes,
                                 OleArray<int32_t>& New_Qualities)
{
    const int32_t count = GetItemUpdatesCount();
    if (count <= 0)
        return;
    UpdateBuffer& buffer = *m_buffer;
    if (size_t(count) > UpdateBuffer::KeptCapacity) {
        // The arrays themselves are handed over; the buffer starts again empty.
        New_Values = std::exchange(buffer.values, OleArray<Variant>(1, {}));
        New_DateTimes = std::exchange(buffer.dateTimes, OleArray<double>(1, {}));
        New_Qualities = std::exchange(buffer.qualities, OleArray<int32_t>(1, {}));
        if (size_t(count) >= UpdateBuffer::ReservedFrom) {
            // A stream this fast fills as much again: room for it from the
            // start instead of growth by copying. Storage of this size is
            // mapped page by page as it fills, so unused room costs no memory.
            reserveArray(buffer.values, size_t(count));
            reserveArray(buffer.dateTimes, size_t(count));
            reserveArray(buffer.qualities, size_t(count));
        }
        return;
    }
    // A few updates are copied into the outputs (into their own storage
    // when they have room), so that neither the buffer nor the outputs
    // allocate again on the next update and the next take.
    copyInto(New_Values, buffer.values);
    copyInto(New_DateTimes, buffer.dateTimes);
    copyInto(New_Qualities, buffer.qualities);
    buffer.values.elements().clear();
    buffer.dateTimes.elements().clear();
    buffer.qualities.elements().clear();
}

void cOPCItem::RegisterXOPCGroupControl(IBindableControl* cControl, const std::string& PropertyName,
                                        double Scaling)
{
    auto binding = std::make_unique<Binding>();
    binding->control = OwnerRef<IBindableControl>(cControl);
    binding->propertyName = PropertyName;
    binding->scaling = Scaling;
    m_binding = std::move(binding);
}

void cOPCItem::DeregisterXOPCGroupControl() { m_binding.reset(); }

void cOPCItem::DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode)
{
    ErrorReport::Report(ErrorReport::Reporter::Item, OPC_Function, ErrorCode,
                        [&](const std::string& text) {
                            if (IItemCallback* owner = MItems::ResolveOwner(m_owner))
                                owner->OPCItemError(text);
                        });
}

}  // namespace tagwell
