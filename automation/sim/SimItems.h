#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "automation/OPCItems.h"
#include "automation/sim/SimItem.h"

namespace tagwell {

class SimGroup;
class SimServer;

// The items of one simulated group, keyed by server handle. Server handles
// are handed out in increasing order, so the map also keeps the order in
// which items were added: data changes list items in that order.
class SimItems : public OPCItems {
public:
    // Server handles start well away from the small numbers clients use for
    // their own handles, so that a mix-up of the two is refused.
    static constexpr int32_t FirstServerHandle = 1'000'001;

    SimItems(std::shared_ptr<SimServer> server, std::weak_ptr<SimGroup> group);

    int16_t DefaultRequestedDataType() override;
    void SetDefaultRequestedDataType(int16_t type) override;
    bool DefaultIsActive() override;
    void SetDefaultIsActive(bool active) override;
    int32_t Count() override;

    std::shared_ptr<OPCItem> AddItem(const std::string& ItemID, int32_t ClientHandle) override;
    std::shared_ptr<OPCItem> GetOPCItem(int32_t ServerHandle) override;
    void Remove(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                OleArray<int32_t>& Errors) override;
    void Validate(int32_t NumItems, const OleArray<std::string>& ItemIDs, OleArray<int32_t>& Errors,
                  const OleArray<int16_t>& RequestedDataTypes) override;

    // For the group.
    const std::map<int32_t, std::shared_ptr<SimItem>>& items() const { return m_items; }
    SimItem* find(int32_t serverHandle) const;
    void forgetSent();
    void clear() { m_items.clear(); }

    // Throws ComError E_INVALIDARG unless 1..count are all inside the array.
    template <class T>
    static void requireRange(int32_t count, const OleArray<T>& array, const char* source);

private:
    void check(const char* member);
    // 0 when the ID names a tag that can be read as the type, else its OPC error.
    int32_t validate(const std::string& itemId, int16_t requestedType, SimTag** tag) const;

    std::shared_ptr<SimServer> m_server;
    std::weak_ptr<SimGroup> m_group;
    int16_t m_defaultType = vtEmpty;
    bool m_defaultActive = true;
    int32_t m_nextHandle = FirstServerHandle;
    std::map<int32_t, std::shared_ptr<SimItem>> m_items;
};

}  // namespace tagwell
