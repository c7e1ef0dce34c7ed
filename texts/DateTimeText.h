#pragma once

#include "model/DateTime.h"

#include <QLocale>
#include <QString>

// Date-times as tables, charts and printouts show them: the locale's short date with the year in
// four digits, then its long time without a time zone (the recording's times are the
// instrument's local times, with no zone to name). A time of exactly midnight shows the date
// alone. A value that is no date
// (not finite, or beyond the years 1 to 9999) shows "???".
QString DateTimeToStr(TDateTime value, const QLocale& locale = QLocale());
QString DateToStr(TDateTime value, const QLocale& locale = QLocale());
QString TimeToStr(TDateTime value, const QLocale& locale = QLocale());

// The same texts with the locale's formats looked up once, for callers that format many.
class DateTimeFormatter {
public:
    explicit DateTimeFormatter(const QLocale& locale = QLocale());

    QString DateTimeToStr(TDateTime value) const;
    // With the time even at midnight, where a figure is timed to the second (a block's start).
    QString FullDateTimeToStr(TDateTime value) const;
    QString DateToStr(TDateTime value) const;
    QString TimeToStr(TDateTime value) const;
    const QLocale& Locale() const { return locale_; }

private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
};
