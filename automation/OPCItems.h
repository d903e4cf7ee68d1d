#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCItem.h"
#include "platform/OleArray.h"

namespace tagwell {

// The items of one automation group. Arrays run from 1 to NumItems; per-item
// results come back in Errors (0 for success, an OPC error number otherwise).
class OPCItems {
public:
    virtual ~OPCItems() = default;

    virtual int16_t DefaultRequestedDataType() = 0;
    virtual void SetDefaultRequestedDataType(int16_t type) = 0;
    virtual bool DefaultIsActive() = 0;
    virtual void SetDefaultIsActive(bool active) = 0;
    virtual int32_t Count() = 0;

    // Adds one item with the current defaults. Throws ComError with the
    // per-item error (an unknown item ID, a type the item cannot give, ...).
    virtual std::shared_ptr<OPCItem> AddItem(const std::string& ItemID, int32_t ClientHandle) = 0;
    virtual std::shared_ptr<OPCItem> GetOPCItem(int32_t ServerHandle) = 0;
    virtual void Remove(int32_t NumItems, const OleArray<int32_t>& ServerHandles,
                        OleArray<int32_t>& Errors) = 0;
    // Checks item IDs without adding them. RequestedDataTypes may be empty
    // (the default type for every item).
    virtual void Validate(int32_t NumItems, const OleArray<std::string>& ItemIDs,
                          OleArray<int32_t>& Errors,
                          const OleArray<int16_t>& RequestedDataTypes) = 0;
};

}  // namespace tagwell
