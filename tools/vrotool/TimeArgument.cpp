#include "tools/vrotool/TimeArgument.h"

#include "tools/vrotool/Arguments.h"

#include <cstdio>

TDateTime ParseTimeArgument(const std::string& option, const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, end = 0;
    char separator = 0;
    TDateTime date = 0, time = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &year, &month, &day, &separator,
                    &hour, &minute, &second, &end) != 7 ||
        static_cast<size_t>(end) != text.size() || text.size() != 19 ||
        (separator != ' ' && separator != 'T') || !TryEncodeDate(year, month, day, date) ||
        !TryEncodeTime(hour, minute, second, 0, time))
        throw UsageError("option " + option + " needs a time as \"YYYY-MM-DD hh:mm:ss\", not '" +
                         text + "'");
    return date + time;
}
