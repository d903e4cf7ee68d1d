#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/Trackable.h"
#include "platform/Variant.h"

namespace tagwell {

// A control whose properties an item can be bound to: properties are found
// by name once and then written by member id on every update. The widget
// layer implements it over the meta-object system (a member id is a property
// index); the object layer holds it by a non-owning reference that empties
// when the control is destroyed.
class IBindableControl : public virtual Trackable {
public:
    // The member id of the named property, or nothing when the control has
    // no property of that name.
    virtual std::optional<int32_t> memberIdOf(const std::string& propertyName) const = 0;
    // Writes one value into the property with that member id. A value the
    // property cannot take throws ComError; the caller reports it.
    virtual void setPropertyById(int32_t memberId, const Variant& value) = 0;
};

}  // namespace tagwell
