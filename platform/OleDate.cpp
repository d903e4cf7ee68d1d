#include "platform/OleDate.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace tagwell {

namespace {

constexpr int64_t MillisecondsPerDay = 86'400'000;
constexpr int64_t EpochToUnixDays = 25'569;  // 1899-12-30 to 1970-01-01

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// Milliseconds since 1899-12-30 on a straight time line.
int64_t linearMilliseconds(double ole)
{
    double day = std::trunc(ole);
    double fraction = std::fabs(ole - day);
    return std::llround((day + fraction) * MillisecondsPerDay);
}

double oleFromLinear(int64_t ms)
{
    int64_t day = ms >= 0 ? ms / MillisecondsPerDay : -((-ms + MillisecondsPerDay - 1) / MillisecondsPerDay);
    int64_t rest = ms - day * MillisecondsPerDay;  // 0 .. one day
    double fraction = double(rest) / MillisecondsPerDay;
    return day >= 0 ? double(day) + fraction : double(day) - fraction;
}

}  // namespace

double OleDate::fromCivil(const Civil& c)
{
    int64_t days = daysFromCivil(c.year, unsigned(c.month), unsigned(c.day)) + EpochToUnixDays;
    int64_t ms = ((int64_t(c.hour) * 60 + c.minute) * 60 + c.second) * 1000 + c.millisecond;
    return oleFromLinear(days * MillisecondsPerDay + ms);
}

OleDate::Civil OleDate::toCivil(double ole)
{
    int64_t ms = linearMilliseconds(ole);
    int64_t day = ms >= 0 ? ms / MillisecondsPerDay : -((-ms + MillisecondsPerDay - 1) / MillisecondsPerDay);
    int64_t rest = ms - day * MillisecondsPerDay;
    Civil c;
    civilFromDays(day - EpochToUnixDays, c.year, c.month, c.day);
    c.millisecond = int(rest % 1000);
    rest /= 1000;
    c.second = int(rest % 60);
    rest /= 60;
    c.minute = int(rest % 60);
    c.hour = int(rest / 60);
    return c;
}

double OleDate::fromTimePoint(std::chrono::system_clock::time_point t)
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(t.time_since_epoch()).count();
    std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    const int64_t utcOffsetMs = int64_t(local.tm_gmtoff) * 1000;
    return oleFromLinear(ms + utcOffsetMs + EpochToUnixDays * MillisecondsPerDay);
}

std::chrono::system_clock::time_point OleDate::toTimePoint(double ole)
{
    using namespace std::chrono;
    int64_t localMs = linearMilliseconds(ole) - EpochToUnixDays * MillisecondsPerDay;
    std::time_t guess = static_cast<std::time_t>(localMs / 1000);
    std::tm local{};
    localtime_r(&guess, &local);
    return system_clock::time_point(milliseconds(localMs - int64_t(local.tm_gmtoff) * 1000));
}

double OleDate::now() { return fromTimePoint(std::chrono::system_clock::now()); }

std::string OleDate::toText(double ole)
{
    const Civil c = toCivil(ole);
    const bool hasTime = c.hour || c.minute || c.second;
    const bool hasDate = !(c.year == 1899 && c.month == 12 && c.day == 30);
    char buffer[48];
    if (hasDate && hasTime)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                      c.hour, c.minute, c.second);
    else if (hasTime)
        std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", c.hour, c.minute, c.second);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    return buffer;
}

std::optional<double> OleDate::parse(const std::string& text)
{
    Civil c;
    int consumed = 0;
    auto matches = [&](const char* format, auto... fields) {
        consumed = 0;
        return std::sscanf(text.c_str(), format, fields..., &consumed) == int(sizeof...(fields)) &&
               consumed == int(text.size());
    };
    bool ok = matches("%4d-%2d-%2d %2d:%2d:%2d%n", &c.year, &c.month, &c.day, &c.hour, &c.minute,
                      &c.second) ||
              (c = Civil{}, matches("%4d-%2d-%2d%n", &c.year, &c.month, &c.day)) ||
              (c = Civil{}, matches("%2d:%2d:%2d%n", &c.hour, &c.minute, &c.second));
    if (!ok || c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31 || c.hour > 23 ||
        c.minute > 59 || c.second > 59 || c.hour < 0 || c.minute < 0 || c.second < 0)
        return std::nullopt;
    return fromCivil(c);
}

}  // namespace tagwell
