#include "core/cOPCGroup.h"

namespace tagwell {

void cOPCGroup::SetOPCGroup(std::shared_ptr<OPCGroup> New_OPCGroupObject,
                            const std::string& New_GroupName, const std::string& New_GroupKey,
                            int16_t GroupIndx, bool GroupSubscribed)
{
    m_group = std::move(New_OPCGroupObject);
    m_groupName = New_GroupName;
    m_groupKey = New_GroupKey;
    m_groupIndex = GroupIndx;
    m_group->SetIsSubscribed(GroupSubscribed);
}

}  // namespace tagwell
