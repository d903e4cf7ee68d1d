#include "platform/ComputerName.h"

#include <strings.h>
#include <unistd.h>

namespace tagwell {

namespace {
ComputerName::Provider g_provider;
}

std::optional<std::string> ComputerName::read()
{
    if (g_provider)
        return g_provider();
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        return std::nullopt;
    return std::string(buffer);
}

void ComputerName::setProvider(Provider provider) { g_provider = std::move(provider); }

bool ComputerName::isThisComputer(const std::string& node)
{
    if (strcasecmp(node.c_str(), "localhost") == 0)
        return true;
    try {
        const auto name = read();
        return name && strcasecmp(node.c_str(), name->c_str()) == 0;
    } catch (...) {
        return false;
    }
}

}  // namespace tagwell
