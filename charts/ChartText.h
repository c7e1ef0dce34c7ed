#pragma once

#include "model/DateTime.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>

class DateTimeFormatter;
class LParameterSource;

// The texts a chart shows besides its scales.

// A value as the chart writes it: fixed with two decimals, rounded to 8 significant digits
// first, no thousands separators; scientific beyond 8 integer digits.
QString FormatFixed(double value, const QLocale& locale = QLocale());

// "RMS Voltage - V1 (V)", or for a Historic parameter with min/max on
// "RMS Voltage - V1 [ 118.20V .. 126.40V ] "; an interval parameter's ends in " (intervals)".
// unit, when given, is written for the parameter's own in the first form ("(kW)").
QString SeriesTitle(const LParameterSource& source, bool showMinMax,
                    const QLocale& locale = QLocale(), const QString& unit = {});

// The footer: "Start: ... End: ..." when showStartEnd and the data has a time span, then the
// location when showLocation and it is not empty.
QStringList FooterLines(bool showStartEnd, bool showLocation, bool hasSpan, TDateTime start,
                        TDateTime end, const std::string& location,
                        const DateTimeFormatter& format);

// What Examine shows for the point at viewIndex of the source:
// "RMS Voltage - V1 = 121.53V  3/11/2024 9:30:00 AM".
QString ExamineText(const LParameterSource& source, int32_t viewIndex,
                    const DateTimeFormatter& format);
