#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "automation/OPCBrowser.h"
#include "core/IBrowserCallback.h"
#include "core/Trackable.h"

namespace tagwell {

// A walk through the address space of one connected server, over the server's
// automation browser. Position, filters and the names of the last listing
// live in the automation browser; this object keeps only that browser and its
// owner.
//
// A listing is read by ShowBranches or ShowLeafs, then GetItemCount, then
// GetItemName for positions 1 to that count; the filters set before the
// listing apply to it.
//
// Every operation is one call of the automation browser. A failure is
// reported once under the operation's name (report text with the
// "OPC function" prefix, the DCOM hint for 0x80010001 only, the owner's
// OPCBrowserError, PendingMessages) and the operation returns its failure
// value: false, 0 for GetItemCount, empty text for GetItemID. Without an
// automation browser every operation fails that way with error 91. Runs on
// the owner thread only.
class cOPCBrowser {
public:
    void SetBrowserObject(std::shared_ptr<OPCBrowser> OPCBrowseObj) { m_browser = std::move(OPCBrowseObj); }
    void SetBrowserOwner(IBrowserCallback* New_BrowserOwner)
    {
        m_owner = OwnerRef<IBrowserCallback>(New_BrowserOwner);
    }

    // 1 hierarchical, 2 flat.
    bool GetBrowserOrganization(int32_t& Organization);
    bool MoveToRoot();
    bool MoveDown(const std::string& Branch);
    bool MoveUp();
    // A name pattern: "*" any run of characters, "?" one, empty for all.
    bool SetFilter(const std::string& Filter);
    // A data type code, 0 for any.
    bool SetDataTypeFilter(int16_t DataType);
    // 0 any, 1 read only, 2 write only, 3 read and write.
    bool SetAccessFilter(int32_t Access);
    bool ShowBranches();
    // Mode is handed on as the automation browser's flat argument; omitted,
    // only the leaves at the current position are listed.
    bool ShowLeafs(std::optional<bool> Mode = std::nullopt);
    // The number of names in the last listing; 0 after a failure.
    int32_t GetItemCount();
    // The name at ItemSpecifier (1 to GetItemCount) of the last listing.
    bool GetItemName(std::string& ItemName, int32_t ItemSpecifier);
    // The fully qualified item ID of a leaf at the current position; empty
    // after a failure.
    std::string GetItemID(const std::string& Leaf);

    void DisplayOPC_COM_ErrorValue(const std::string& OPC_Function, int32_t ErrorCode);

private:
    OPCBrowser& browser();

    std::shared_ptr<OPCBrowser> m_browser;
    OwnerRef<IBrowserCallback> m_owner;
};

}  // namespace tagwell
