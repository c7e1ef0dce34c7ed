#include "windows/charts/DayTimeTicker.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

DayTimeTicker::DayTimeTicker(bool withDate) : withDate_(withDate) {
    setDateTimeSpec(Qt::UTC);
}

int DayTimeTicker::LabelWidth(const QFont& font) const {
    // A late date at a late time with two-digit parts is as wide as labels get.
    TDateTime sample = 0, time = 0;
    TryEncodeDate(2028, 12, 28, sample);
    TryEncodeTime(22, 58, 58, 0, time);
    // With the date, a label is the date over the time: as wide as the wider of the two.
    const QFontMetrics metrics(font);
    const int timeWidth = metrics.horizontalAdvance(format_.TimeToStr(time));
    return withDate_ ? std::max(timeWidth, metrics.horizontalAdvance(format_.DateToStr(sample)))
                     : timeWidth;
}

double DayTimeTicker::getTickStep(const QCPRange& range) {
    const QCPRange seconds(ToUnixSeconds(range.lower), ToUnixSeconds(range.upper));
    double step = QCPAxisTickerDateTime::getTickStep(seconds);
    // A label and a fifth of one between neighbours.
    const double shortest = axisPixels_ > 0 && labelPixels_ > 0
                                ? seconds.size() * (labelPixels_ * 1.2) / axisPixels_
                                : 0;
    if (withDate_ && std::max(step, shortest) >= 86400 * 0.75) {
        // Over days, the ticks fall on whole days: every day, every other, or every week
        // (Mondays), then on as many weeks as the labels need.
        for (const double days : {1.0, 2.0, 7.0, 14.0, 28.0, 56.0, 112.0, 224.0, 448.0})
            if (days * 86400 >= shortest && days * 86400 * 25 >= seconds.size())
                return days;
        return std::ceil(std::max(shortest, seconds.size() / 25) / (448 * 86400)) * 448;
    }
    if (shortest > 0) {
        // A wider range asked for rounds to the next nice step up.
        for (double wider = 2; step < shortest && wider < 1e9; wider *= 2)
            step = QCPAxisTickerDateTime::getTickStep(QCPRange(0, seconds.size() * wider));
    }
    return step / 86400.0;
}

int DayTimeTicker::getSubTickCount(double tickStep) {
    if (withDate_ && tickStep >= 1 && tickStep == std::round(tickStep))
        return tickStep == 7 || tickStep == 14 ? static_cast<int>(tickStep) - 1 : 0;
    return QCPAxisTickerDateTime::getSubTickCount(tickStep * 86400.0);
}

QString DayTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    // Ticks come back from whole seconds with a little rounding error; the texts round to
    // the millisecond, so 00:00:00 does not show as 23:59:59.
    // With the date, every tick shows its time too, midnight included. Half a millisecond
    // takes a tick just short of midnight into the day its time rounds to.
    // The date over the time, on two lines.
    return withDate_ ? format_.DateToStr(tick + 0.5 / 86400000.0) + QLatin1Char('\n') +
                           format_.TimeToStr(tick)
                     : format_.TimeToStr(tick);
}

QVector<double> DayTimeTicker::createTickVector(double tickStep, const QCPRange& range) {
    if (withDate_ && tickStep >= 1 && tickStep == std::round(tickStep)) {
        // Whole days from midnight; steps of weeks from a Monday (day 0 is a Saturday), of two
        // days from an even day.
        const double align = tickStep >= 7 ? 7 : tickStep;
        const double offset = tickStep >= 7 ? 2 : 0;
        double first = std::ceil((range.lower - offset) / align - 1e-9) * align + offset;
        QVector<double> ticks;
        for (double t = first; t <= range.upper + 1e-9; t += tickStep)
            ticks.push_back(t);
        return ticks;
    }
    const QCPRange seconds(ToUnixSeconds(range.lower), ToUnixSeconds(range.upper));
    QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(tickStep * 86400.0, seconds);
    for (double& t : ticks)
        t = ToDay(std::round(t * 1000.0) / 1000.0);
    return ticks;
}
