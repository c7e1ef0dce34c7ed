#pragma once

#include <string>

// Date-times are days since 30 December 1899 held in a double; the fraction is the time of day.
using TDateTime = double;

constexpr double SecsPerDay = 86400.0;
constexpr double MSecsPerDay = 86400000.0;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Both refuse what is not a real date (years 1-9999) or time of day (0:00:00-23:59:59.999).
bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int msec, TDateTime& result);

struct DateTimeParts {
    int year, month, day, hour, minute, second, msec;
};
// Splits a date-time; the time of day of a date before 1899-12-30 is the magnitude of its
// fraction, as the day-count form defines it. Rounds to the nearest millisecond.
DateTimeParts DecodeDateTime(TDateTime value);

// "YYYY-MM-DDTHH:MM:SS", with ".mmm" when there are milliseconds.
std::string FormatIso8601(TDateTime value);
