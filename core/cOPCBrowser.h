#pragma once

#include <memory>

#include "automation/OPCBrowser.h"

namespace tagwell {

// A walk through the address space of one connected server.
class cOPCBrowser {
public:
    void SetBrowserObject(std::shared_ptr<OPCBrowser> OPCBrowseObj) { m_browser = std::move(OPCBrowseObj); }

private:
    std::shared_ptr<OPCBrowser> m_browser;
};

}  // namespace tagwell
