#pragma once

#include "analysis/BatteryStudy.h"
#include "figures/SurveyCharts.h"

#include <QRectF>

class QPainter;

// The battery study against the cap: the battery's energy in kWh on the left axis, the saving
// a year in the tariff's currency on the right (with a saving), the cap of the shortest
// payback and the threshold's cap as upright lines.
ChartLayout PaintBatteryCurve(QPainter& painter, const QRectF& area, const BatteryStudy& battery,
                              const ChartLook& look);
