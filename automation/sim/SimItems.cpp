#include "automation/sim/SimItems.h"

#include "automation/sim/SimGroup.h"
#include "automation/sim/SimServer.h"
#include "platform/ComError.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCItems";
}

template <class T>
void SimItems::requireRange(int32_t count, const OleArray<T>& array, const char* source)
{
    if (count <= 0 || !array.contains(1) || !array.contains(count))
        throw ComError(errors::E_INVALIDARG_, source,
                       "The arrays must hold elements 1 to " + std::to_string(count));
}

template void SimItems::requireRange(int32_t, const OleArray<int32_t>&, const char*);
template void SimItems::requireRange(int32_t, const OleArray<Variant>&, const char*);

SimItems::SimItems(std::shared_ptr<SimServer> server, std::weak_ptr<SimGroup> group)
    : m_server(std::move(server)), m_group(std::move(group))
{
}

void SimItems::check(const char* member)
{
    auto group = m_group.lock();
    if (!group || group->isClosed())
        throw ComError(errors::E_FAIL_, Source, "The group of these items was removed");
    m_server->faults().check(Source, member);
}

int16_t SimItems::DefaultRequestedDataType() { check("DefaultRequestedDataType"); return m_defaultType; }

void SimItems::SetDefaultRequestedDataType(int16_t type)
{
    check("DefaultRequestedDataType");
    m_defaultType = type;
}

bool SimItems::DefaultIsActive() { check("DefaultIsActive"); return m_defaultActive; }
void SimItems::SetDefaultIsActive(bool active) { check("DefaultIsActive"); m_defaultActive = active; }
int32_t SimItems::Count() { check("Count"); return int32_t(m_items.size()); }

int32_t SimItems::validate(const std::string& itemId, int16_t requestedType, SimTag** tag) const
{
    if (itemId.empty())
        return errors::OPC_E_INVALIDITEMID;
    SimTag* found = m_server->addressSpace().find(itemId);
    if (!found)
        return errors::OPC_E_UNKNOWNITEMID;
    if (tag)
        *tag = found;
    return SimItem::typeError(*found, requestedType);
}

std::shared_ptr<OPCItem> SimItems::AddItem(const std::string& ItemID, int32_t ClientHandle)
{
    check("AddItem");
    SimTag* tag = nullptr;
    if (const int32_t error = validate(ItemID, m_defaultType, &tag))
        throw ComError(error, Source, "The item '" + ItemID + "' cannot be added");
    const int32_t handle = m_nextHandle++;
    auto item = std::make_shared<SimItem>(m_server, m_group, *tag, ItemID, ClientHandle, handle,
                                          m_defaultActive, m_defaultType);
    m_items.emplace(handle, item);
    return item;
}

SimItem* SimItems::find(int32_t serverHandle) const
{
    const auto found = m_items.find(serverHandle);
    return found == m_items.end() ? nullptr : found->second.get();
}

std::shared_ptr<OPCItem> SimItems::GetOPCItem(int32_t ServerHandle)
{
    check("GetOPCItem");
    const auto found = m_items.find(ServerHandle);
    if (found == m_items.end())
        throw ComError(errors::OPC_E_INVALIDHANDLE, Source,
                       "No item has the server handle " + std::to_string(ServerHandle));
    return found->second;
}

void SimItems::Remove(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                      OleArray<int32_t>& Errors)
{
    check("Remove");
    requireRange(NumItems, ServerHandles, Source);
    auto results = OleArray<int32_t>::withBounds(1, NumItems);
    for (int32_t i = 1; i <= NumItems; ++i)
        results[i] = m_items.erase(ServerHandles[i]) ? 0 : errors::OPC_E_INVALIDHANDLE;
    Errors = std::move(results);
}

void SimItems::Validate(int32_t NumItems, const OleArray<std::string>& ItemIDs,
                        OleArray<int32_t>& Errors, const OleArray<int16_t>& RequestedDataTypes)
{
    check("Validate");
    if (NumItems <= 0 || !ItemIDs.contains(1) || !ItemIDs.contains(NumItems))
        throw ComError(errors::E_INVALIDARG_, Source,
                       "The item IDs must run from 1 to " + std::to_string(NumItems));
    auto results = OleArray<int32_t>::withBounds(1, NumItems);
    for (int32_t i = 1; i <= NumItems; ++i) {
        const int16_t type = RequestedDataTypes.contains(i) ? RequestedDataTypes[i] : m_defaultType;
        results[i] = validate(ItemIDs[i], type, nullptr);
    }
    Errors = std::move(results);
}

void SimItems::forgetSent()
{
    for (auto& [handle, item] : m_items)
        item->forgetSent();
}

}  // namespace tagwell
