#include "analysis/TimeRange.h"

#include "model/PlainText.h"

#include <cmath>
#include <cstdio>

namespace {

// 0001-01-01 and 9999-12-31 23:59:59 in days since 1899-12-30.
constexpr double FirstDay = -693593.0;
constexpr double LastDay = 2958465.0 + 86399.0 / SecsPerDay;

} // namespace

int64_t WholeSeconds(TDateTime time) {
    if (std::isnan(time))
        return 0;
    const double days = time < FirstDay ? FirstDay : time > LastDay ? LastDay : time;
    return std::llround(days * SecsPerDay);
}

TDateTime SecondsToDays(int64_t seconds) {
    return static_cast<double>(seconds) / SecsPerDay;
}

int64_t DayOfSecond(int64_t seconds) {
    const int64_t day = seconds / 86400;
    return seconds % 86400 < 0 ? day - 1 : day;
}

bool IsWeekend(int64_t day) {
    const int64_t sinceSaturday = ((day % 7) + 7) % 7;
    return sinceSaturday <= 1;
}

std::string PlainDateTimeText(TDateTime time) {
    return PlainDateTime(SecondsToDays(WholeSeconds(time)));
}
