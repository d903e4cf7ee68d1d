#include "core/ErrorReport.h"

#include <cstdio>

#include "core/PendingMessages.h"
#include "platform/ComError.h"
#include "platform/Services.h"
#include "platform/ValueText.h"

namespace tagwell {

namespace {

constexpr const char* DcomTimeoutHint = "Error! Possible cause: DCOM Timeout on Remote OPC Server";

std::string upperHex(int32_t number)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", static_cast<uint32_t>(number));
    return buffer;
}

}  // namespace

std::string ErrorReport::Text(Reporter reporter, const std::string& label, int32_t errorCode)
{
    const char* prefix = reporter == Reporter::Server ? "Function '" : "OPC function '";
    return prefix + label + "' returned an error of " + ValueText::signedField(errorCode) +
           " or Hex 0x" + upperHex(errorCode);
}

std::optional<std::string> ErrorReport::Hint(Reporter reporter, int32_t errorCode)
{
    if (reporter == Reporter::Browser)
        return errorCode == errors::RPC_E_CALL_REJECTED_ ? std::optional<std::string>(DcomTimeoutHint)
                                                         : std::nullopt;
    if (errorCode == errors::RPC_E_CALL_REJECTED_ || errorCode == errors::RPC_E_SERVERCALL_RETRYLATER_)
        return DcomTimeoutHint;
    if (reporter != Reporter::Server)
        return std::nullopt;
    switch (errorCode) {
    case errors::ActiveXCannotCreateObject:
    case errors::PermissionDenied:
        return "Error! Possible cause: No ProgID or Incorrect DCOM configuration.";
    case errors::OPC_E_DUPLICATENAME: return "Error! Possible cause: Cannot Add Duplicate Groupname";
    case errors::E_FAIL_: return "Error! Possible cause: Invalid ProgID or OPC Server Disconnected";
    default: return std::nullopt;
    }
}

std::string ErrorReport::Report(Reporter reporter, const std::string& label, int32_t errorCode,
                                const std::function<void(const std::string&)>& toOwner)
{
    std::string text = Text(reporter, label, errorCode);
    if (auto hint = Hint(reporter, errorCode))
        Services::messageBox().show(*hint, msgbox::OKOnly, std::string());
    if (toOwner) {
        try {
            toOwner(text);
        } catch (...) {
            // An owner that fails to take the report must not lose it.
        }
    }
    PendingMessages::Append(text);
    return text;
}

}  // namespace tagwell
