#include "charts/windows/DayTimeTicker.h"

#include <QFontMetrics>

#include <cmath>

DayTimeTicker::DayTimeTicker(bool withDate) : withDate_(withDate) {
    setDateTimeSpec(Qt::UTC);
}

int DayTimeTicker::LabelWidth(const QFont& font) const {
    // A late date at a late time with two-digit parts is as wide as labels get.
    TDateTime sample = 0, time = 0;
    TryEncodeDate(2028, 12, 28, sample);
    TryEncodeTime(22, 58, 58, 0, time);
    return QFontMetrics(font).horizontalAdvance(withDate_ ? format_.DateTimeToStr(sample + time)
                                                          : format_.TimeToStr(time));
}

double DayTimeTicker::getTickStep(const QCPRange& range) {
    const QCPRange seconds(ToUnixSeconds(range.lower), ToUnixSeconds(range.upper));
    double step = QCPAxisTickerDateTime::getTickStep(seconds);
    if (axisPixels_ > 0 && labelPixels_ > 0) {
        // A label and a fifth of one between neighbours; a wider range asked for rounds to
        // the next nice step up.
        const double shortest = seconds.size() * (labelPixels_ * 1.2) / axisPixels_;
        for (double wider = 2; step < shortest && wider < 1e9; wider *= 2)
            step = QCPAxisTickerDateTime::getTickStep(QCPRange(0, seconds.size() * wider));
    }
    return step / 86400.0;
}

int DayTimeTicker::getSubTickCount(double tickStep) {
    return QCPAxisTickerDateTime::getSubTickCount(tickStep * 86400.0);
}

QString DayTimeTicker::getTickLabel(double tick, const QLocale&, QChar, int) {
    // Ticks come back from whole seconds with a little rounding error; the texts round to
    // the millisecond, so 00:00:00 does not show as 23:59:59.
    // With the date, every tick shows its time too, midnight included. Half a millisecond
    // takes a tick just short of midnight into the day its time rounds to.
    return withDate_ ? format_.DateToStr(tick + 0.5 / 86400000.0) + QLatin1Char(' ') +
                           format_.TimeToStr(tick)
                     : format_.TimeToStr(tick);
}

QVector<double> DayTimeTicker::createTickVector(double tickStep, const QCPRange& range) {
    const QCPRange seconds(ToUnixSeconds(range.lower), ToUnixSeconds(range.upper));
    QVector<double> ticks = QCPAxisTickerDateTime::createTickVector(tickStep * 86400.0, seconds);
    for (double& t : ticks)
        t = ToDay(std::round(t * 1000.0) / 1000.0);
    return ticks;
}
