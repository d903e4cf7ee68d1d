#pragma once

#include <cstdint>
#include <string>

namespace tagwell {

// The number forms used in keys, reports and cells.
class ValueText {
public:
    // Shortest general form with at most the given significant digits, no
    // trailing zeros, "." as decimal point, exponent form ("1E+20", "1E-05")
    // for very large and very small numbers.
    static std::string general(double value, int significantDigits);
    // 7 significant digits for 32-bit floats, 15 for 64-bit floats.
    static std::string ofFloat(float value) { return general(value, 7); }
    static std::string ofDouble(double value) { return general(value, 15); }

    // Decimal digits after one blank for zero and positive numbers, after a
    // minus sign for negative ones: 7 gives " 7", -3 gives "-3".
    static std::string signedField(int64_t value);
    // Decimal digits with no leading blank.
    static std::string plain(int64_t value);

    static std::string ofBoolean(bool value) { return value ? "True" : "False"; }
};

}  // namespace tagwell
