#pragma once

#include "analysis/Comparison.h"
#include "figures/SurveyCharts.h"

class QPainter;

// The comparison's charts, painted on any QPainter into a rectangle as the survey's are, so
// that the Compare window, its SVG and PNG files and the compare report share them. Before
// and after each in its colour of the look.

// The Summary page: its table, the saving and the notes (verdict, reasons, limits) below,
// each table under a bold heading. Returns what it wrote, the part of the area it took as Plot.
ChartLayout PaintCompareSummary(QPainter& painter, const QRectF& area, const Comparison& c,
                                const ChartLook& look);
// The daily profiles overlaid: weekdays in the upper half, weekend days in the lower, each
// side's mean with a band from the minimum to the maximum of its bin.
ChartLayout PaintCompareProfiles(QPainter& painter, const QRectF& area, const Comparison& c,
                                 const ChartLook& look);
// The energy of every full day of both sides as bars, before then after, weekend days paler,
// with each side's weekday and weekend mean as lines.
ChartLayout PaintCompareEnergy(QPainter& painter, const QRectF& area, const Comparison& c,
                               const ChartLook& look);
// Both load duration curves, each against the share of its own time.
ChartLayout PaintCompareDuration(QPainter& painter, const QRectF& area, const Comparison& c,
                                 const ChartLook& look);
