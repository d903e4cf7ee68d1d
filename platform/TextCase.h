#pragma once

#include <string>
#include <string_view>

namespace tagwell {

// Letter case of the names the system compares without regard to case:
// sections and keys of profile files, item IDs, branch names, class
// identifiers. Only the letters A-Z and a-z change; other bytes, including
// those of multi-byte characters, stay as they are, so folding never
// depends on the process's locale.
class TextCase {
public:
    static std::string lower(std::string_view text);
    static std::string upper(std::string_view text);
};

}  // namespace tagwell
