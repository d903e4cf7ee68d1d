#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/OPCGroups.h"
#include "automation/sim/SimGroup.h"

namespace tagwell {

class SimServer;

// The groups of one connection. Names compare without regard to case; an
// empty name gets the first free "Group<n>" of a running count.
class SimGroups : public OPCGroups, public std::enable_shared_from_this<SimGroups> {
public:
    static constexpr const char* GeneratedNameStem = "Group";

    explicit SimGroups(std::shared_ptr<SimServer> server);

    bool DefaultGroupIsActive() override;
    void SetDefaultGroupIsActive(bool active) override;
    int32_t DefaultGroupUpdateRate() override;
    void SetDefaultGroupUpdateRate(int32_t milliseconds) override;
    float DefaultGroupDeadband() override;
    void SetDefaultGroupDeadband(float percent) override;
    int32_t DefaultGroupTimeBias() override;
    void SetDefaultGroupTimeBias(int32_t minutes) override;
    int32_t Count() override;

    std::shared_ptr<OPCGroup> Add(const std::string& Name) override;
    std::shared_ptr<OPCGroup> GetOPCGroup(const std::string& Name) override;
    void Remove(const std::string& Name) override;
    void RemoveAll() override;

    bool isNameTaken(const std::string& name, const SimGroup* except) const;
    // The connection closes: every group goes, later calls fail.
    void closeAll();

private:
    void check(const char* member);
    std::vector<std::shared_ptr<SimGroup>>::iterator findGroup(const std::string& name);
    std::string generatedName();

    std::shared_ptr<SimServer> m_server;
    SimGroup::Settings m_defaults;
    std::vector<std::shared_ptr<SimGroup>> m_groups;
    int32_t m_lastGeneratedNumber = 0;
    bool m_closed = false;
};

}  // namespace tagwell
