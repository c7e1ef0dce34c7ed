#pragma once

#include "texts/DateTimeText.h"

#include <qcustomplot.h>

// Ticks of the time axis, whose keys are days since 30 December 1899: the engine's date-time
// ticker counts Unix seconds, so ranges and ticks are converted here instead of every sample.
// Labels are the program's own date-time texts (date and time, or time only), computed from
// the day count with no time zone: the recording's local times show unchanged.
class DayTimeTicker : public QCPAxisTickerDateTime {
public:
    static constexpr double UnixEpochDay = 25569.0;

    explicit DayTimeTicker(bool withDate = false);

    void SetWithDate(bool withDate) { withDate_ = withDate; }
    bool WithDate() const { return withDate_; }
    // The widest label this ticker writes in the font, for spacing the ticks.
    int LabelWidth(const QFont& font) const;
    // The axis is axisPixels long and its labels labelPixels wide: no step is so short that
    // neighbouring labels touch, however the range is zoomed.
    void SetSpacing(int axisPixels, int labelPixels) {
        axisPixels_ = axisPixels;
        labelPixels_ = labelPixels;
    }

    static double ToUnixSeconds(double day) { return (day - UnixEpochDay) * 86400.0; }
    static double ToDay(double unixSeconds) { return unixSeconds / 86400.0 + UnixEpochDay; }

protected:
    double getTickStep(const QCPRange& range) override;
    int getSubTickCount(double tickStep) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;
    QVector<double> createTickVector(double tickStep, const QCPRange& range) override;

private:
    bool withDate_;
    int axisPixels_ = 0;
    int labelPixels_ = 0;
    DateTimeFormatter format_;
};
