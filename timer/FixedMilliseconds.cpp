#include "timer/FixedMilliseconds.h"

#include <cmath>
#include <limits>

#include "timer/PacetickError.h"

namespace tagwell {

namespace {
constexpr double UnitsPerSecond =
    double(FixedMilliseconds::UnitsPerMillisecond * FixedMilliseconds::MillisecondsPerSecond);
// 2^63 is exact as a double; every rounded value strictly below it fits.
constexpr double FirstUnrepresentable = 9223372036854775808.0;

// The result of an overflowing sum or difference is the limit it ran past.
int64_t saturated(bool overflowed, int64_t result, bool ranPastTheTop)
{
    if (!overflowed)
        return result;
    return ranPastTheTop ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}
}  // namespace

FixedMilliseconds FixedMilliseconds::fromSeconds(float seconds, const char* source)
{
    // The default floating-point rounding mode rounds half to even.
    const double units = std::nearbyint(double(seconds) * UnitsPerSecond);
    if (!(units >= -FirstUnrepresentable && units < FirstUnrepresentable))
        throw PacetickError(PacetickError::Overflow, source, "Overflow");
    return FixedMilliseconds(static_cast<int64_t>(units));
}

double FixedMilliseconds::toSeconds() const
{
    return double(m_units) / UnitsPerSecond;
}

FixedMilliseconds operator+(FixedMilliseconds a, FixedMilliseconds b)
{
    int64_t sum = 0;
    const bool overflowed = __builtin_add_overflow(a.m_units, b.m_units, &sum);
    return FixedMilliseconds(saturated(overflowed, sum, b.m_units > 0));
}

FixedMilliseconds operator-(FixedMilliseconds a, FixedMilliseconds b)
{
    int64_t difference = 0;
    const bool overflowed = __builtin_sub_overflow(a.m_units, b.m_units, &difference);
    return FixedMilliseconds(saturated(overflowed, difference, b.m_units < 0));
}

}  // namespace tagwell
