#include "core/PendingMessages.h"

#include <utility>

namespace tagwell {

namespace {
std::vector<std::string>& messages()
{
    static std::vector<std::string> list;
    return list;
}
}  // namespace

void PendingMessages::Append(std::string text) { messages().push_back(std::move(text)); }
size_t PendingMessages::Count() { return messages().size(); }
const std::vector<std::string>& PendingMessages::All() { return messages(); }

std::vector<std::string> PendingMessages::TakeAll()
{
    std::vector<std::string> taken;
    taken.swap(messages());
    return taken;
}

void PendingMessages::Clear() { messages().clear(); }

}  // namespace tagwell
