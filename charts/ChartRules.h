#pragma once

#include "model/DateTime.h"

#include <cstdint>
#include <random>
#include <vector>

class LParameterSourceGroup;

// The rules of a chart that need no window.

// The narrowest view: 5 seconds of time, 0.05 of the normalised value range.
constexpr double MinTimeSpan = 5.0 / SecsPerDay;
constexpr double MinValueSpan = 0.05;

// A view narrower than minSpan is widened to exactly minSpan above its lower end.
void LimitSpan(double lower, double& upper, double minSpan);

// Refuses a group with a Cumulative or Interval cumulative source: "Wrong parameter type for
// chart", reported at "TChartForm::MakeSeries".
void CheckChartSources(const LParameterSourceGroup& group);

// The earliest first and the latest last time stamp of the group's sources; false when no
// source has data.
bool DataTimeSpan(const LParameterSourceGroup& group, TDateTime& start, TDateTime& end);

// Whether the date belongs on the time axis: start and end lie on different days.
bool CrossesMidnight(TDateTime start, TDateTime end);

// The point style of an event parameter by its quantity: RMS maximum an up triangle (2), RMS
// minimum a down triangle (3), peak maximum a circle (1), anything else a rectangle (0).
uint8_t PointStyleForQuantity(uint8_t quantity);

// A random colour (0x00BBGGRR) that stands out from the background (it differs from it by at
// least 10 in blue, 6 in green or 10 in red, and reads as a line on it) and from the colours
// already taken by the chart's other series, as far as so many colours can.
uint32_t RandomSeriesColor(uint32_t background, std::mt19937& random,
                           const std::vector<uint32_t>& taken = {});
// How far apart two colours look (0 to about 765).
double ColorDistance(uint32_t a, uint32_t b);
