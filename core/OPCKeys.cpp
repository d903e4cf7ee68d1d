#include "core/OPCKeys.h"

#include "platform/ValueText.h"

namespace tagwell {

std::string OPCKeys::ServerKey(int16_t serverIndex)
{
    return "Server" + ValueText::signedField(serverIndex);
}

std::string OPCKeys::GroupKey(int16_t groupIndex, int16_t serverIndex)
{
    return "Group" + ValueText::signedField(groupIndex) + ValueText::signedField(serverIndex);
}

std::string OPCKeys::ItemKey(int32_t clientHandle) { return "Item" + ItemCollectionKey(clientHandle); }

std::string OPCKeys::ItemCollectionKey(int32_t clientHandle)
{
    return ValueText::signedField(clientHandle);
}

std::optional<std::string> OPCKeys::CollectionKeyOfItemKey(const std::string& itemKey)
{
    const auto blank = itemKey.find(' ');
    if (blank == std::string::npos)
        return std::nullopt;
    return itemKey.substr(blank);
}

}  // namespace tagwell
