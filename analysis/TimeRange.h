#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <string>

// The analyses compare and show times at whole seconds: a recording's times are days in a
// double, and two stamps of one second must not differ by a rounding error.

// The nearest whole second of a time, counted from 1899-12-30 00:00. Times that are no date
// (not finite, or beyond the years 1 to 9999) are held at those limits, so that damaged files
// keep the arithmetic defined.
int64_t WholeSeconds(TDateTime time);
TDateTime SecondsToDays(int64_t seconds);

// The day a second lies in (days since 1899-12-30, so that day 0 is a Saturday) and its
// midnight.
int64_t DayOfSecond(int64_t seconds);
bool IsWeekend(int64_t day);

// "2024-03-11 09:30:01": the text the analyses show a time in when no locale is given.
std::string PlainDateTimeText(TDateTime time);

// The times an analysis keeps: those whose whole seconds lie from From to To, both included.
struct TimeRange {
    TDateTime From = 0;
    TDateTime To = 0;

    int64_t FromSeconds() const { return WholeSeconds(From); }
    int64_t ToSeconds() const { return WholeSeconds(To); }
};
