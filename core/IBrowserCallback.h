#pragma once

#include <string>

#include "core/Trackable.h"

namespace tagwell {

// What a browser object tells its owner. Does nothing here.
class IBrowserCallback : public virtual Trackable {
public:
    virtual void OPCBrowserError(const std::string& /*BrowserError*/) {}
};

}  // namespace tagwell
