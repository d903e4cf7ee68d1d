#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>

#include "automation/OPCBrowser.h"
#include "automation/sim/SimBranch.h"
#include "automation/sim/SimTag.h"

namespace tagwell {

// The tags of one simulated server and the tree a browser walks.
//
// In a hierarchical space the item ID "A.B.Leaf" is the leaf "Leaf" in branch
// "B" under branch "A"; in a flat space every tag is a leaf of the root named
// by its whole item ID. Item IDs and names compare without regard to case.
// Tags are never removed, so references to them stay valid as long as the
// space lives.
class SimAddressSpace {
public:
    static constexpr char Separator = '.';

    SimAddressSpace(OPCNamespaceType organization, double createdAt);

    OPCNamespaceType organization() const { return m_organization; }
    const SimBranch& root() const { return m_root; }
    size_t size() const { return m_tags.size(); }

    // Adds a tag under its item ID (the name is derived from it). Throws
    // ComError E_INVALIDARG for an empty or duplicate item ID.
    SimTag& add(SimTag::Definition definition);
    // nullptr when no tag has that ID.
    SimTag* find(const std::string& itemId) const;

    // Adds count tags "<prefix>.Tag1" ... "<prefix>.Tag<count>" of one signal
    // kind: numeric signals are 64-bit floats in 0..100 with that EU range,
    // toggles Booleans, cycles strings, statics writable 64-bit floats.
    void addGeneratedTags(const std::string& prefix, int32_t count, SimSignal signal);


private:
    SimBranch& branchFor(const std::string& itemId, std::string& leafName);

    OPCNamespaceType m_organization;
    double m_createdAt;
    SimBranch m_root;
    std::deque<SimTag> m_tags;
    std::unordered_map<std::string, SimTag*> m_byId;
};

}  // namespace tagwell
