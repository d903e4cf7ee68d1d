#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Variant.h"

namespace tagwell {

class OPCGroup;

// One item of an automation group. Every member may throw ComError (a lost
// connection, a refused write, ...). Value, Quality and TimeStamp are the
// values the server holds for the item now.
class OPCItem {
public:
    virtual ~OPCItem() = default;

    virtual int32_t ClientHandle() = 0;
    virtual int32_t ServerHandle() = 0;
    virtual std::string AccessPath() = 0;
    // 1 readable, 2 writable, 3 both.
    virtual int32_t AccessRights() = 0;
    virtual std::string ItemID() = 0;
    virtual bool IsActive() = 0;
    virtual void SetIsActive(bool active) = 0;
    virtual int16_t RequestedDataType() = 0;
    virtual void SetRequestedDataType(int16_t type) = 0;
    virtual Variant Value() = 0;
    virtual int32_t Quality() = 0;
    virtual double TimeStamp() = 0;
    virtual int16_t CanonicalDataType() = 0;
    // 0 none, 1 analog (EUInfo holds low and high), 2 enumerated (EUInfo holds texts).
    virtual int16_t EUType() = 0;
    virtual Variant EUInfo() = 0;
    // The group the item belongs to; nullptr once that group is gone.
    virtual std::shared_ptr<OPCGroup> Parent() = 0;
    // Writes synchronously; the value is converted to the item's type first.
    virtual void Write(const Variant& value) = 0;
};

}  // namespace tagwell
