#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace tagwell {

// Automation dates: days since 1899-12-30 00:00 as a double, the time of day
// in the fraction. Before the epoch the fraction still counts forwards from
// midnight, so -1.25 is 1899-12-29 06:00. Conversions round to the
// millisecond.
class OleDate {
public:
    struct Civil {
        int year = 1899, month = 12, day = 30;
        int hour = 0, minute = 0, second = 0, millisecond = 0;
        bool operator==(const Civil&) const = default;
    };

    static double fromCivil(const Civil& c);
    static Civil toCivil(double ole);

    // Local wall-clock time.
    static double fromTimePoint(std::chrono::system_clock::time_point t);
    static std::chrono::system_clock::time_point toTimePoint(double ole);
    static double now();

    // "YYYY-MM-DD hh:mm:ss"; only the date when the time is midnight, only the
    // time when the date is the epoch day.
    static std::string toText(double ole);
    // Reads the forms toText writes; nothing for anything else.
    static std::optional<double> parse(const std::string& text);
};

}  // namespace tagwell
