#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCGroup.h"

namespace tagwell {

// The groups of one connected server and the defaults for new ones.
class OPCGroups {
public:
    virtual ~OPCGroups() = default;

    virtual bool DefaultGroupIsActive() = 0;
    virtual void SetDefaultGroupIsActive(bool active) = 0;
    virtual int32_t DefaultGroupUpdateRate() = 0;
    virtual void SetDefaultGroupUpdateRate(int32_t milliseconds) = 0;
    virtual float DefaultGroupDeadband() = 0;
    virtual void SetDefaultGroupDeadband(float percent) = 0;
    virtual int32_t DefaultGroupTimeBias() = 0;
    virtual void SetDefaultGroupTimeBias(int32_t minutes) = 0;
    virtual int32_t Count() = 0;

    // An empty name lets the server name the group; a name already in use
    // throws ComError 0xC004000C.
    virtual std::shared_ptr<OPCGroup> Add(const std::string& Name) = 0;
    virtual std::shared_ptr<OPCGroup> GetOPCGroup(const std::string& Name) = 0;
    virtual void Remove(const std::string& Name) = 0;
    virtual void RemoveAll() = 0;
};

}  // namespace tagwell
