#pragma once

#include "analysis/Survey.h"
#include "windows/reports/FindingsPage.h"

#include <QFont>
#include <QRectF>

class QPainter;

// The one page an inspector files for the new loads: the title block (site, period, whether
// the recording is valid for the study, the service, the engineer), the peak block of every
// phase with its time, the loads with their factors, every line of the calculation, the
// verdict with its reasons, and a line to sign. Set smaller as a whole when it would not fit
// the area. Returns the height it took at its own size.
double PaintCapacitySheet(QPainter& painter, const QRectF& area, const TitleBlock& block,
                          const SurveyResult& survey, const QFont& font);
