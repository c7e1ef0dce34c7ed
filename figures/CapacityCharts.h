#pragma once

#include "analysis/CapacityStudy.h"
#include "figures/SurveyCharts.h"

#include <optional>

class QPainter;

// The capacity study's charts, painted on any QPainter into a rectangle as the survey's are.

// The headroom on the tightest phase by hour of day, weekdays and weekend side by side in
// each hour, with the rating's edge at 0; without a rating the highest block current instead.
ChartLayout PaintHeadroomProfile(QPainter& painter, const QRectF& area, const CapacityStudy& study,
                                 const ChartLook& look);
// The energy each managed load could take in every charging window recorded whole, a bar per
// load and night, with the need per night as a dashed line when one is given.
ChartLayout PaintNightEnergy(QPainter& painter, const QRectF& area, const CapacityStudy& study,
                             const std::optional<double>& needWh, const ChartLook& look);
