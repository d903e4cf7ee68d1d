#pragma once

#include <cstdint>

namespace tagwell {

// The system millisecond count the timer schedules against: milliseconds of
// CLOCK_MONOTONIC, plus a settable offset, read as a wrapping signed 32-bit
// number. It passes from 2^31 - 1 to -2^31 about 24.8 days after its zero;
// the offset lets a test or a soak run put that moment a few milliseconds
// ahead instead of weeks.
class MillisecondClock {
public:
    // The current count. Safe to call from any thread.
    static int32_t now();

    // Milliseconds added to every reading from now on (process-wide).
    static void setOffset(int64_t milliseconds);
    static int64_t offset();

    // A monotonic millisecond value folded into the signed 32-bit count.
    static constexpr int32_t wrap(int64_t milliseconds)
    {
        return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(milliseconds)));
    }
};

}  // namespace tagwell
