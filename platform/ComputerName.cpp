#include "platform/ComputerName.h"

#include <cerrno>
#include <cstring>
#include <strings.h>
#include <unistd.h>

#include "platform/ComError.h"

namespace tagwell {

namespace {
std::optional<std::string> g_override;
}

std::string ComputerName::read()
{
    if (g_override)
        return *g_override;
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0)
        throw ComError(errno, "ComputerName", std::strerror(errno));
    return buffer;
}

void ComputerName::setOverride(std::optional<std::string> name) { g_override = std::move(name); }

bool ComputerName::isThisComputer(const std::string& node)
{
    if (strcasecmp(node.c_str(), "localhost") == 0)
        return true;
    try {
        return strcasecmp(node.c_str(), read().c_str()) == 0;
    } catch (const ComError&) {
        return false;
    }
}

}  // namespace tagwell
