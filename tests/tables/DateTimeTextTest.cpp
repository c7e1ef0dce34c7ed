#include "tables/DateTimeText.h"
#include "tests/tables/TablesTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    TDateTime date = 0, time = 0;
    TryEncodeDate(year, month, day, date);
    TryEncodeTime(hour, minute, second, 0, time);
    return date + time;
}

TEST(DateTimeTextTest, ShortDateThenLongTimeWithoutZone) {
    const QLocale german(QLocale::German, QLocale::Germany);
    const struct {
        TDateTime value;
        QLocale locale;
        const char* text;
    } cases[] = {
        {At(2026, 11, 30, 17, 45), UsLocale(), "11/30/26 5:45:00 PM"},
        {At(2026, 11, 30, 17, 45), german, "30.11.26 17:45:00"},
        // Exactly midnight: the date alone.
        {At(2026, 12, 1), UsLocale(), "12/1/26"},
        {At(2026, 12, 1, 0, 0, 1), UsLocale(), "12/1/26 12:00:01 AM"},
        // The widest time the grid makes room for.
        {0.01, UsLocale(), "12/30/99 12:14:24 AM"},
        {std::nan(""), UsLocale(), "???"},
        {1e7, UsLocale(), "???"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateTimeToStr(c.value, c.locale).toStdString(), c.text) << c.value;
    EXPECT_EQ(DateToStr(At(2026, 11, 30, 17, 45), UsLocale()), QStringLiteral("11/30/26"));
    EXPECT_EQ(TimeToStr(At(2026, 11, 30, 17, 45), UsLocale()), QStringLiteral("5:45:00 PM"));
}

} // namespace
