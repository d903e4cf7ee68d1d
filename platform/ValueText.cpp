#include "platform/ValueText.h"

#include <cmath>
#include <cstdio>

namespace tagwell {

std::string ValueText::general(double value, int significantDigits)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*G", significantDigits, value);
    std::string text = buffer;
    // %G writes at least two exponent digits ("1E+20", "1E-05"), which is the
    // form wanted; a three-digit exponent stays as it is.
    return text;
}

std::string ValueText::signedField(int64_t value)
{
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string ValueText::plain(int64_t value) { return std::to_string(value); }

}  // namespace tagwell
