#pragma once

#include <cstdint>
#include <string>

#include "core/Trackable.h"
#include "platform/Variant.h"

namespace tagwell {

// What an item object tells its owner. The members do nothing here; owners
// override the ones they need.
class IItemCallback : public virtual Trackable {
public:
    virtual void OPCItemError(const std::string& /*ItemError*/) {}
    virtual void OPCItemUpdate(const std::string& /*Alias*/, const std::string& /*ItemID*/,
                               const Variant& /*Value*/, double /*TimeDate*/,
                               int32_t /*Quality*/)
    {
    }
    virtual void ParentFormClosing() {}
};

}  // namespace tagwell
