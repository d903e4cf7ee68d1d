#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tagwell {

// How servers, groups and items are keyed. Numbers inside keys are in
// signed-field form: a blank before zero and positive numbers, which is part
// of the key and never trimmed ("Server 0", "Group 1 0", "Item 12").
class OPCKeys {
public:
    static std::string ServerKey(int16_t serverIndex);
    static std::string GroupKey(int16_t groupIndex, int16_t serverIndex);
    static std::string ItemKey(int32_t clientHandle);
    // The key of an item in its group's collection: " 12".
    static std::string ItemCollectionKey(int32_t clientHandle);
    // The text of an ItemKey from its first blank to its end; nothing when
    // the key holds no blank.
    static std::optional<std::string> CollectionKeyOfItemKey(const std::string& itemKey);
};

}  // namespace tagwell
