#include "automation/sim/SimAddressSpace.h"

#include <algorithm>

#include "platform/ComError.h"
#include "platform/TextCase.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCServer";
constexpr std::chrono::milliseconds GeneratedPeriod{10'000};
constexpr double GeneratedLow = 0;
constexpr double GeneratedHigh = 100;
}  // namespace

SimAddressSpace::SimAddressSpace(OPCNamespaceType organization, double createdAt)
    : m_organization(organization), m_createdAt(createdAt)
{
}

SimBranch& SimAddressSpace::branchFor(const std::string& itemId, std::string& leafName)
{
    if (m_organization == OPCFlat) {
        leafName = itemId;
        return m_root;
    }
    SimBranch* branch = &m_root;
    size_t start = 0;
    for (size_t dot = itemId.find(Separator); dot != std::string::npos;
         start = dot + 1, dot = itemId.find(Separator, start)) {
        std::string name = itemId.substr(start, dot - start);
        const std::string key = TextCase::lower(name);
        auto found = branch->branchByName.find(key);
        if (found == branch->branchByName.end()) {
            auto child = std::make_unique<SimBranch>();
            child->name = std::move(name);
            child->parent = branch;
            found = branch->branchByName.emplace(key, child.get()).first;
            branch->branches.push_back(std::move(child));
        }
        branch = found->second;
    }
    leafName = itemId.substr(start);
    return *branch;
}

SimTag& SimAddressSpace::add(SimTag::Definition definition)
{
    const std::string key = TextCase::lower(definition.itemId);
    if (definition.itemId.empty() || m_byId.count(key))
        throw ComError(errors::E_INVALIDARG_, Source,
                       "The item ID '" + definition.itemId + "' is empty or already in use");
    SimBranch& branch = branchFor(definition.itemId, definition.name);
    SimTag& tag = m_tags.emplace_back(std::move(definition), m_createdAt);
    m_byId.emplace(key, &tag);
    branch.leaves.push_back(&tag);
    branch.leafByName.emplace(TextCase::lower(tag.name()), &tag);
    return tag;
}

SimTag* SimAddressSpace::find(const std::string& itemId) const
{
    const auto found = m_byId.find(TextCase::lower(itemId));
    return found == m_byId.end() ? nullptr : found->second;
}

void SimAddressSpace::addGeneratedTags(const std::string& prefix, int32_t count, SimSignal signal)
{
    const std::string stem = prefix.empty() ? std::string("Tag") : prefix + Separator + "Tag";
    for (int32_t n = 1; n <= count; ++n) {
        SimTag::Definition d;
        d.itemId = stem + std::to_string(n);
        d.signal = signal;
        d.period = GeneratedPeriod;
        d.phase = GeneratedPeriod * (n - 1) / std::max(count, 1);
        d.low = GeneratedLow;
        d.high = GeneratedHigh;
        d.description = "Generated tag";
        switch (signal) {
        case SimSignal::Toggle: d.canonicalType = vtBool; d.accessRights = OPCReadable; break;
        case SimSignal::Cycle:
            d.canonicalType = vtString;
            d.accessRights = OPCReadable;
            d.texts = {"Idle", "Running", "Stopped"};
            break;
        case SimSignal::Static: d.canonicalType = vtR8; d.accessRights = OPCReadable | OPCWritable; break;
        default:
            d.canonicalType = vtR8;
            d.accessRights = OPCReadable;
            d.euRange = SimEURange{GeneratedLow, GeneratedHigh};
            break;
        }
        add(std::move(d));
    }
}

}  // namespace tagwell
