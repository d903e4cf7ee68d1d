#pragma once

#include <cstdint>
#include <new>
#include <string>
#include <utility>

#include "platform/ComError.h"

namespace tagwell {

// Runs one automation call and turns any failure into its error number:
// 0 when the call succeeded.
template <class Call>
int32_t AutomationCall(Call&& call) noexcept
{
    try {
        std::forward<Call>(call)();
        return 0;
    } catch (const ComError& e) {
        return e.number() != 0 ? e.number() : errors::E_FAIL_;
    } catch (const std::bad_alloc&) {
        return hresult(0x8007000Eu);  // out of memory
    } catch (...) {
        return errors::E_FAIL_;
    }
}

// Runs one automation call for an object of the object layer; a failure is
// reported once through the object's DisplayOPC_COM_ErrorValue under the
// label. True when the call succeeded.
template <class Reporter, class Call>
bool ReportedCall(Reporter& reporter, const std::string& label, Call&& call)
{
    const int32_t error = AutomationCall(std::forward<Call>(call));
    if (error != 0)
        reporter.DisplayOPC_COM_ErrorValue(label, error);
    return error == 0;
}

}  // namespace tagwell
