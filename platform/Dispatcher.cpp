#include "platform/Dispatcher.h"

#include "platform/LoopDispatcher.h"

namespace tagwell {

namespace {
Dispatcher* g_installed = nullptr;
}

Dispatcher& Dispatcher::current()
{
    static LoopDispatcher builtIn;
    return g_installed ? *g_installed : builtIn;
}

void Dispatcher::install(Dispatcher* dispatcher) { g_installed = dispatcher; }

}  // namespace tagwell
