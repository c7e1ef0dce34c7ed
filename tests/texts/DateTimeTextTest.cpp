#include "texts/DateTimeText.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cmath>

namespace {

QLocale UsLocale() {
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

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
        {At(2026, 11, 30, 17, 45), UsLocale(), "11/30/2026 5:45:00 PM"},
        {At(2026, 11, 30, 17, 45), german, "30.11.2026 17:45:00"},
        // Exactly midnight: the date alone.
        {At(2026, 12, 1), UsLocale(), "12/1/2026"},
        {At(2026, 12, 1, 0, 0, 1), UsLocale(), "12/1/2026 12:00:01 AM"},
        // A year in four digits, as the long formats have it already.
        {At(2026, 11, 30, 17, 45), QLocale(QLocale::French, QLocale::France),
         "30/11/2026 17:45:00"},
        {At(2026, 11, 30, 17, 45), QLocale::c(), "30 Nov 2026 17:45:00"},
        // The widest time the grid makes room for.
        {0.01, UsLocale(), "12/30/1899 12:14:24 AM"},
        {std::nan(""), UsLocale(), "???"},
        {1e7, UsLocale(), "???"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateTimeToStr(c.value, c.locale).toStdString(), c.text) << c.value;
    EXPECT_EQ(DateToStr(At(2026, 11, 30, 17, 45), UsLocale()), QStringLiteral("11/30/2026"));
    EXPECT_EQ(TimeToStr(At(2026, 11, 30, 17, 45), UsLocale()), QStringLiteral("5:45:00 PM"));
    // A figure timed to its block keeps its time at midnight.
    EXPECT_EQ(DateTimeFormatter(german).FullDateTimeToStr(At(2026, 12, 1)),
              QStringLiteral("01.12.2026 00:00:00"));
}

} // namespace
