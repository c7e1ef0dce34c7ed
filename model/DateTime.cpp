#include "model/DateTime.h"

#include <cmath>
#include <cstdio>

namespace {

// Days from 1970-01-01 to the given proleptic Gregorian date.
long DaysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void CivilFromDays(long z, int& year, int& month, int& day) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<long>(yoe) + era * 400 + (month <= 2));
}

constexpr long DayCountEpoch = 25569; // 1970-01-01 in days since 1899-12-30

} // namespace

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime& result) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return false;
    result = static_cast<double>(
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
        DayCountEpoch);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 ||
        msec < 0 || msec > 999)
        return false;
    result = (hour * 3600000 + minute * 60000 + second * 1000 + msec) / MSecsPerDay;
    return true;
}

DateTimeParts DecodeDateTime(TDateTime value) {
    DateTimeParts p{};
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return p;
    double whole = std::trunc(value);
    auto ms = static_cast<long long>(std::llround(std::fabs(value - whole) * MSecsPerDay));
    if (ms >= static_cast<long long>(MSecsPerDay)) {
        ms -= static_cast<long long>(MSecsPerDay);
        whole += value < 0 ? -1 : 1;
    }
    CivilFromDays(static_cast<long>(whole) - DayCountEpoch, p.year, p.month, p.day);
    p.hour = static_cast<int>(ms / 3600000);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.msec = static_cast<int>(ms % 1000);
    return p;
}

std::string FormatIso8601(TDateTime value) {
    const DateTimeParts p = DecodeDateTime(value);
    char buf[48];
    if (p.msec)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", p.year, p.month, p.day,
                      p.hour, p.minute, p.second, p.msec);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day,
                      p.hour, p.minute, p.second);
    return buf;
}
