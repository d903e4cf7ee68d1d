#include "platform/Services.h"

namespace tagwell {

namespace {
MessageBoxService* g_messageBox = nullptr;
}

MessageBoxService& Services::messageBox()
{
    static SilentMessageBoxService silent;
    return g_messageBox ? *g_messageBox : silent;
}

void Services::installMessageBox(MessageBoxService* service) { g_messageBox = service; }

}  // namespace tagwell
