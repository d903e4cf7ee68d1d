#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tagwell {

// The one way a failed automation call is reported: a report text, at most
// one hint in a modal message box, the owner's error callback, and an entry
// in PendingMessages, in that order.
class ErrorReport {
public:
    // Which object reports: the prefix and the hints depend on it.
    enum class Reporter { Server, Group, Item, Browser };

    // "Function '" (server) or "OPC function '" (others), the label,
    // "' returned an error of ", the signed-field number, " or Hex 0x" and the
    // number in upper-case hexadecimal without leading zeros.
    static std::string Text(Reporter reporter, const std::string& label, int32_t errorCode);
    // The hint shown for an error number, if any.
    static std::optional<std::string> Hint(Reporter reporter, int32_t errorCode);

    // Reports and returns the report text. toOwner is called with the text
    // when the reporting object has an owner (it may be empty).
    static std::string Report(Reporter reporter, const std::string& label, int32_t errorCode,
                              const std::function<void(const std::string&)>& toOwner);
};

}  // namespace tagwell
