#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tagwell {

// An error raised by the timer library: a number, the member that raised it
// ("CPacetick::Interval") and a description. Property writes throw it to the
// caller; inside a tick it is caught and reported through UserError.
class PacetickError : public std::runtime_error {
public:
    // Error numbers the library raises.
    static constexpr int32_t Overflow = 6;
    static constexpr int32_t SubscriptOutOfRange = 9;
    static constexpr int32_t InternalError = 51;
    static constexpr int32_t InvalidPropertyValue = 380;

    PacetickError(int32_t number, std::string source, std::string description);

    int32_t number() const { return m_number; }
    const std::string& source() const { return m_source; }
    const std::string& description() const { return m_description; }

private:
    int32_t m_number;
    std::string m_source;
    std::string m_description;
};

}  // namespace tagwell
