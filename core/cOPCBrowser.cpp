#include "core/cOPCBrowser.h"

#include "core/AutomationCall.h"
#include "core/ErrorReport.h"
#include "core/MItems.h"
#include "platform/ComError.h"

namespace tagwell {

namespace {
constexpr int32_t NoItems = 0;
}

OPCBrowser& cOPCBrowser::browser()
{
    if (!m_browser)
        throw ComError(errors::ObjectVariableNotSet, "cOPCBrowser", "No automation browser was set");
    return *m_browser;
}

bool cOPCBrowser::GetBrowserOrganization(int32_t& Organization)
{
    return ReportedCall(*this, "GetBrowserOrganization", [&] { Organization = browser().Organization(); });
}

bool cOPCBrowser::MoveToRoot()
{
    return ReportedCall(*this, "MoveToRoot", [&] { browser().MoveToRoot(); });
}

bool cOPCBrowser::MoveDown(const std::string& Branch)
{
    return ReportedCall(*this, "MoveDown", [&] { browser().MoveDown(Branch); });
}

bool cOPCBrowser::MoveUp()
{
    return ReportedCall(*this, "MoveUp", [&] { browser().MoveUp(); });
}

bool cOPCBrowser::SetFilter(const std::string& Filter)
{
    return ReportedCall(*this, "SetFilter", [&] { browser().SetFilter(Filter); });
}

bool cOPCBrowser::SetDataTypeFilter(int16_t DataType)
{
    return ReportedCall(*this, "SetDataTypeFilter", [&] { browser().SetDataType(DataType); });
}

bool cOPCBrowser::SetAccessFilter(int32_t Access)
{
    return ReportedCall(*this, "SetAccessFilter", [&] { browser().SetAccessRights(Access); });
}

bool cOPCBrowser::ShowBranches()
{
    return ReportedCall(*this, "ShowBranches", [&] { browser().ShowBranches(); });
}

bool cOPCBrowser::ShowLeafs(std::optional<bool> Mode)
{
    return ReportedCall(*this, "ShowLeafs", [&] {
        if (Mode)
            browser().ShowLeafs(*Mode);
        else
            browser().ShowLeafs();
    });
}

int32_t cOPCBrowser::GetItemCount()
{
    int32_t count = NoItems;
    if (!ReportedCall(*this, "GetItemCount", [&] { count = browser().Count(); }))
        return NoItems;
    return count;
}

bool cOPCBrowser::GetItemName(std::string& ItemName, int32_t ItemSpecifier)
{
    return ReportedCall(*this, "GetItemName", [&] { ItemName = browser().Item(ItemSpecifier); });
}

std::string cOPCBrowser::GetItemID(const std::string& Leaf)
{
    std::string itemId;
    if (!ReportedCall(*this, "GetItemID", [&] { itemId = browser().GetItemID(Leaf); }))
        return std::string();
    return itemId;
}

void cOPCBrowser::DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode)
{
    ErrorReport::Report(ErrorReport::Reporter::Browser, OPC_Function, ErrorCode, [&](const std::string& text) {
        if (IBrowserCallback* owner = MItems::ResolveOwner(m_owner))
            owner->OPCBrowserError(text);
    });
}

}  // namespace tagwell
