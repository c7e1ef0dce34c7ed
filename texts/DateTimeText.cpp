#include "texts/DateTimeText.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace {

const QString Unformattable = QStringLiteral("???");

// The long time format minus its time zone ("t" outside quotes).
QString TimeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result.append(c);
    }
    return result.simplified();
}

// The short date with the year in four digits ("dd.MM.yy" becomes "dd.MM.yyyy"): a study
// can span a new year, and a two-digit year reads as a day.
QString DateFormatWithFullYear(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('y')) {
            result.append(c);
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == QLatin1Char('y'))
            ++run;
        result.append(QStringLiteral("yyyy"));
        i += run - 1;
    }
    return result;
}

struct Parts {
    QDate date;
    QTime time;
};

bool Split(TDateTime value, Parts& parts) {
    if (!std::isfinite(value))
        return false;
    const DateTimeParts p = DecodeDateTime(value);
    parts.date = QDate(p.year, p.month, p.day);
    parts.time = QTime(p.hour, p.minute, p.second, p.msec);
    return parts.date.isValid() && parts.time.isValid();
}

} // namespace

DateTimeFormatter::DateTimeFormatter(const QLocale& locale)
    : locale_(locale), dateFormat_(DateFormatWithFullYear(locale)),
      timeFormat_(TimeFormatWithoutZone(locale)) {}

QString DateTimeFormatter::DateTimeToStr(TDateTime value) const {
    Parts p;
    if (!Split(value, p))
        return Unformattable;
    const QString date = locale_.toString(p.date, dateFormat_);
    if (p.time.hour() == 0 && p.time.minute() == 0 && p.time.second() == 0)
        return date;
    return date + QLatin1Char(' ') + locale_.toString(p.time, timeFormat_);
}

QString DateTimeFormatter::FullDateTimeToStr(TDateTime value) const {
    Parts p;
    if (!Split(value, p))
        return Unformattable;
    return locale_.toString(p.date, dateFormat_) + QLatin1Char(' ') +
           locale_.toString(p.time, timeFormat_);
}

QString DateTimeFormatter::DateToStr(TDateTime value) const {
    Parts p;
    return Split(value, p) ? locale_.toString(p.date, dateFormat_) : Unformattable;
}

QString DateTimeFormatter::TimeToStr(TDateTime value) const {
    Parts p;
    return Split(value, p) ? locale_.toString(p.time, timeFormat_) : Unformattable;
}

QString DateTimeToStr(TDateTime value, const QLocale& locale) {
    return DateTimeFormatter(locale).DateTimeToStr(value);
}

QString DateToStr(TDateTime value, const QLocale& locale) {
    return DateTimeFormatter(locale).DateToStr(value);
}

QString TimeToStr(TDateTime value, const QLocale& locale) {
    return DateTimeFormatter(locale).TimeToStr(value);
}
