#include "automation/sim/SimGroups.h"

#include <algorithm>
#include <strings.h>

#include "automation/sim/SimServer.h"
#include "platform/ComError.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCGroups";

bool sameName(const std::string& a, const std::string& b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}
}  // namespace

SimGroups::SimGroups(std::shared_ptr<SimServer> server) : m_server(std::move(server)) {}

void SimGroups::check(const char* member)
{
    if (m_closed)
        throw ComError(errors::E_FAIL_, Source, "The server connection was closed");
    m_server->faults().check(Source, member);
}

bool SimGroups::DefaultGroupIsActive() { check("DefaultGroupIsActive"); return m_defaults.active; }

void SimGroups::SetDefaultGroupIsActive(bool active)
{
    check("DefaultGroupIsActive");
    m_defaults.active = active;
}

int32_t SimGroups::DefaultGroupUpdateRate()
{
    check("DefaultGroupUpdateRate");
    return m_defaults.updateRate;
}

void SimGroups::SetDefaultGroupUpdateRate(int32_t milliseconds)
{
    check("DefaultGroupUpdateRate");
    m_defaults.updateRate = SimGroup::revisedUpdateRate(milliseconds);
}

float SimGroups::DefaultGroupDeadband() { check("DefaultGroupDeadband"); return m_defaults.deadband; }

void SimGroups::SetDefaultGroupDeadband(float percent)
{
    check("DefaultGroupDeadband");
    m_defaults.deadband = SimGroup::checkedDeadband(percent);
}

int32_t SimGroups::DefaultGroupTimeBias() { check("DefaultGroupTimeBias"); return m_defaults.timeBias; }

void SimGroups::SetDefaultGroupTimeBias(int32_t minutes)
{
    check("DefaultGroupTimeBias");
    m_defaults.timeBias = minutes;
}

int32_t SimGroups::Count() { check("Count"); return int32_t(m_groups.size()); }

bool SimGroups::isNameTaken(const std::string& name, const SimGroup* except) const
{
    return std::any_of(m_groups.begin(), m_groups.end(), [&](const auto& group) {
        return group.get() != except && sameName(group->name(), name);
    });
}

std::string SimGroups::generatedName()
{
    std::string name;
    do
        name = GeneratedNameStem + std::to_string(++m_lastGeneratedNumber);
    while (isNameTaken(name, nullptr));
    return name;
}

std::shared_ptr<OPCGroup> SimGroups::Add(const std::string& Name)
{
    check("Add");
    if (!Name.empty() && isNameTaken(Name, nullptr))
        throw ComError(errors::OPC_E_DUPLICATENAME, Source, "The group name '" + Name + "' is in use");
    auto group = SimGroup::create(m_server, weak_from_this(), Name.empty() ? generatedName() : Name,
                                  m_defaults);
    m_groups.push_back(group);
    return group;
}

std::vector<std::shared_ptr<SimGroup>>::iterator SimGroups::findGroup(const std::string& name)
{
    return std::find_if(m_groups.begin(), m_groups.end(),
                        [&](const auto& group) { return sameName(group->name(), name); });
}

std::shared_ptr<OPCGroup> SimGroups::GetOPCGroup(const std::string& Name)
{
    check("GetOPCGroup");
    const auto found = findGroup(Name);
    if (found == m_groups.end())
        throw ComError(errors::E_INVALIDARG_, Source, "No group is named '" + Name + "'");
    return *found;
}

void SimGroups::Remove(const std::string& Name)
{
    check("Remove");
    const auto found = findGroup(Name);
    if (found == m_groups.end())
        throw ComError(errors::E_INVALIDARG_, Source, "No group is named '" + Name + "'");
    const auto group = *found;
    m_groups.erase(found);
    group->close();
}

void SimGroups::RemoveAll()
{
    check("RemoveAll");
    auto groups = std::move(m_groups);
    m_groups.clear();
    for (const auto& group : groups)
        group->close();
}

void SimGroups::closeAll()
{
    auto groups = std::move(m_groups);
    m_groups.clear();
    for (const auto& group : groups)
        group->close();
    m_closed = true;
}

}  // namespace tagwell
