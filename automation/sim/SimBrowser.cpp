#include "automation/sim/SimBrowser.h"

#include <cctype>

#include "automation/sim/SimServer.h"
#include "platform/ComError.h"
#include "platform/TextCase.h"

namespace tagwell {

namespace {
constexpr const char* Source = "OPCBrowser";

bool sameLetter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}
}  // namespace

SimBrowser::SimBrowser(std::shared_ptr<SimServer> server)
    : m_server(std::move(server)), m_position(&m_server->addressSpace().root())
{
}

void SimBrowser::check(const char* member) { m_server->faults().check(Source, member); }

bool SimBrowser::matches(const std::string& pattern, const std::string& name)
{
    if (pattern.empty())
        return true;
    // Greedy match with back-tracking to the last star only.
    size_t p = 0, n = 0, star = std::string::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || sameLetter(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

int32_t SimBrowser::Organization()
{
    check("Organization");
    return m_server->addressSpace().organization();
}

std::string SimBrowser::Filter() { check("Filter"); return m_filter; }
void SimBrowser::SetFilter(const std::string& pattern) { check("Filter"); m_filter = pattern; }
int16_t SimBrowser::DataType() { check("DataType"); return m_dataType; }
void SimBrowser::SetDataType(int16_t type) { check("DataType"); m_dataType = type; }
int32_t SimBrowser::AccessRights() { check("AccessRights"); return m_access; }

void SimBrowser::SetAccessRights(int32_t rights)
{
    check("AccessRights");
    if (rights < OPCAnyAccess || rights > (OPCReadable | OPCWritable))
        throw ComError(errors::E_INVALIDARG_, Source, "Access rights run from 0 to 3");
    m_access = rights;
}

std::string SimBrowser::CurrentPosition()
{
    check("CurrentPosition");
    std::string path;
    for (const SimBranch* b = m_position; b && b->parent; b = b->parent)
        path = path.empty() ? b->name : b->name + SimAddressSpace::Separator + path;
    return path;
}

int32_t SimBrowser::Count() { check("Count"); return int32_t(m_listing.size()); }

std::string SimBrowser::Item(int32_t index)
{
    check("Item");
    if (index < 1 || index > int32_t(m_listing.size()))
        throw ComError(errors::E_INVALIDARG_, Source,
                       "The listing has no entry " + std::to_string(index));
    return m_listing[size_t(index - 1)];
}

bool SimBrowser::passesLeafFilters(const SimTag& tag) const
{
    return matches(m_filter, tag.name()) && (m_dataType == 0 || tag.canonicalType() == uint16_t(m_dataType))
        && (tag.accessRights() & m_access) == m_access;
}

void SimBrowser::ShowBranches()
{
    check("ShowBranches");
    m_listing.clear();
    for (const auto& branch : m_position->branches)
        if (matches(m_filter, branch->name))
            m_listing.push_back(branch->name);
}

void SimBrowser::collectLeaves(const SimBranch& branch, std::vector<std::string>& into) const
{
    for (const SimTag* tag : branch.leaves)
        if (passesLeafFilters(*tag))
            into.push_back(tag->itemId());
    for (const auto& child : branch.branches)
        collectLeaves(*child, into);
}

void SimBrowser::ShowLeafs(bool Flat)
{
    check("ShowLeafs");
    m_listing.clear();
    if (Flat) {
        collectLeaves(*m_position, m_listing);
        return;
    }
    for (const SimTag* tag : m_position->leaves)
        if (passesLeafFilters(*tag))
            m_listing.push_back(tag->name());
}

void SimBrowser::MoveUp()
{
    check("MoveUp");
    if (!m_position->parent)
        throw ComError(errors::E_FAIL_, Source, "The browser is at the root already");
    m_position = m_position->parent;
}

void SimBrowser::MoveToRoot()
{
    check("MoveToRoot");
    m_position = &m_server->addressSpace().root();
}

void SimBrowser::MoveDown(const std::string& Branch)
{
    check("MoveDown");
    const auto found = m_position->branchByName.find(TextCase::lower(Branch));
    if (found == m_position->branchByName.end())
        throw ComError(errors::E_INVALIDARG_, Source, "No branch '" + Branch + "' here");
    m_position = found->second;
}

std::string SimBrowser::GetItemID(const std::string& Leaf)
{
    check("GetItemID");
    const auto found = m_position->leafByName.find(TextCase::lower(Leaf));
    if (found != m_position->leafByName.end())
        return found->second->itemId();
    // A name from a flat listing is the item ID of a leaf below this position.
    const std::string position = CurrentPosition();
    const SimTag* tag = m_server->addressSpace().find(Leaf);
    const bool below = position.empty()
        || TextCase::lower(Leaf).rfind(TextCase::lower(position) + SimAddressSpace::Separator, 0) == 0;
    if (tag && below)
        return tag->itemId();
    throw ComError(errors::OPC_E_UNKNOWNITEMID, Source, "No leaf '" + Leaf + "' here");
}

}  // namespace tagwell
