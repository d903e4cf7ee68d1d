#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "automation/OPCBrowser.h"
#include "automation/sim/SimBranch.h"

namespace tagwell {

class SimServer;
class SimTag;

// A browser over a simulated address space.
//
// ShowBranches lists the branches at the current position whose names match
// the filter; ShowLeafs the matching leaves that pass the data-type and
// access filters; ShowLeafs(true) every such leaf below the current position
// by its full item ID. Names are listed in the order the tags were added.
//
// MoveDown to a branch that is not here throws E_INVALIDARG, MoveUp at the
// root E_FAIL. GetItemID accepts a leaf name at the current position, or a
// full item ID below it (what a flat listing shows); anything else throws
// OPC_E_UNKNOWNITEMID.
class SimBrowser : public OPCBrowser {
public:
    explicit SimBrowser(std::shared_ptr<SimServer> server);

    int32_t Organization() override;
    std::string Filter() override;
    void SetFilter(const std::string& pattern) override;
    int16_t DataType() override;
    void SetDataType(int16_t type) override;
    int32_t AccessRights() override;
    void SetAccessRights(int32_t rights) override;
    std::string CurrentPosition() override;

    int32_t Count() override;
    std::string Item(int32_t index) override;
    void ShowBranches() override;
    void ShowLeafs(bool Flat = false) override;
    void MoveUp() override;
    void MoveToRoot() override;
    void MoveDown(const std::string& Branch) override;
    std::string GetItemID(const std::string& Leaf) override;

    // "*" any run of characters, "?" one character, letter case ignored; an
    // empty pattern matches everything. Linear in the lengths, whatever the
    // pattern.
    static bool matches(const std::string& pattern, const std::string& name);

private:
    void check(const char* member);
    bool passesLeafFilters(const SimTag& tag) const;
    void collectLeaves(const SimBranch& branch, std::vector<std::string>& into) const;

    std::shared_ptr<SimServer> m_server;
    const SimBranch* m_position;
    std::string m_filter;
    int16_t m_dataType = 0;
    int32_t m_access = 0;
    std::vector<std::string> m_listing;
};

}  // namespace tagwell
