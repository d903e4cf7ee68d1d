#pragma once

#include "platform/MessageBoxService.h"

namespace tagwell {

// The user-interface services the host installs for code without Qt: Qt
// hosts install the Qt versions, tests recording fakes. Until a host installs
// one, a silent service is in place. Services are not owned.
class Services {
public:
    static MessageBoxService& messageBox();
    static void installMessageBox(MessageBoxService* service);
};

}  // namespace tagwell
