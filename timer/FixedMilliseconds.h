#pragma once

#include <compare>
#include <cstdint>

namespace tagwell {

// A time or a duration in milliseconds, held as a signed 64-bit count of
// 1/10,000 ms (four decimal places). All schedule arithmetic of the timer is
// done in this form, so that comparisons are exact. Sums and differences
// saturate instead of overflowing, so absurd intervals simply never fall due.
class FixedMilliseconds {
public:
    static constexpr int64_t UnitsPerMillisecond = 10'000;
    static constexpr int64_t MillisecondsPerSecond = 1'000;

    constexpr FixedMilliseconds() = default;

    static constexpr FixedMilliseconds fromMilliseconds(int64_t milliseconds)
    {
        return FixedMilliseconds(milliseconds * UnitsPerMillisecond);
    }
    static constexpr FixedMilliseconds fromUnits(int64_t units) { return FixedMilliseconds(units); }

    // seconds × 1000 ms, rounded half to even to 1/10,000 ms. Throws
    // PacetickError 6 "Overflow" with the given source when the value is not
    // a number or does not fit.
    static FixedMilliseconds fromSeconds(float seconds, const char* source);

    constexpr int64_t units() const { return m_units; }
    double toSeconds() const;
    float toSecondsFloat() const { return static_cast<float>(toSeconds()); }

    friend FixedMilliseconds operator+(FixedMilliseconds a, FixedMilliseconds b);
    friend FixedMilliseconds operator-(FixedMilliseconds a, FixedMilliseconds b);
    friend constexpr auto operator<=>(FixedMilliseconds, FixedMilliseconds) = default;

private:
    constexpr explicit FixedMilliseconds(int64_t units) : m_units(units) {}

    int64_t m_units = 0;
};

}  // namespace tagwell
