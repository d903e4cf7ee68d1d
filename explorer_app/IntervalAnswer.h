#pragma once

#include <QString>
#include <cstdint>

namespace tagwell {

// Reads the answer typed into the display-interval input box.
//
// A number (blanks around it allowed, "." as decimal point, an exponent
// allowed) is rounded to whole milliseconds, halves to the even neighbour;
// it is used when it fits a 16-bit signed number. Anything else is not a
// number. The control itself brings a used interval into its own limits.
//
//   "500"    -> Accepted, 500        "2.5"  -> Accepted, 2
//   "abc"    -> NotNumeric           ""     -> NotNumeric
//   "40000"  -> OutOfRange
class IntervalAnswer {
public:
    enum class Kind { Accepted, NotNumeric, OutOfRange };

    static constexpr int32_t Smallest = INT16_MIN;
    static constexpr int32_t Largest = INT16_MAX;

    static IntervalAnswer Parse(const QString& answer);

    Kind kind() const { return m_kind; }
    // The interval, milliseconds; 0 unless Accepted.
    int16_t milliseconds() const { return m_milliseconds; }

private:
    IntervalAnswer(Kind kind, int16_t milliseconds) : m_kind(kind), m_milliseconds(milliseconds) {}

    Kind m_kind;
    int16_t m_milliseconds;
};

}  // namespace tagwell
