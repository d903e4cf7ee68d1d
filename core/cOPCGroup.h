#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/OPCGroup.h"

namespace tagwell {

// One OPC group on a connected server.
class cOPCGroup {
public:
    virtual ~cOPCGroup() = default;

    // Takes the automation group and its identity, and sets the group's
    // subscription; a failure of that throws ComError to the caller.
    void SetOPCGroup(std::shared_ptr<OPCGroup> New_OPCGroupObject, const std::string& New_GroupName,
                     const std::string& New_GroupKey, int16_t GroupIndx, bool GroupSubscribed);
    const std::string& GetGroupName() const { return m_groupName; }
    const std::string& GetGroupKey() const { return m_groupKey; }
    int16_t GetGroupIndex() const { return m_groupIndex; }

private:
    std::shared_ptr<OPCGroup> m_group;
    std::string m_groupName;
    std::string m_groupKey;
    int16_t m_groupIndex = 0;
};

}  // namespace tagwell
