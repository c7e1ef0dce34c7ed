#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"
#include "analysis/TextTable.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

class QPainter;

// How the survey's charts look: the font of every text, the numbers' and times' style, the
// width a pen of one unit has on the device (1 on screen, the device's dots per 96 on paper)
// and the colours.
struct ChartLook {
    QFont Font;
    TextStyle Style;
    double PenScale = 1;
    QColor Background = Qt::white;
    QColor Text = QColor(0x20, 0x20, 0x20);
    QColor Axis = QColor(0x60, 0x60, 0x60);
    QColor Grid = QColor(0xe0, 0xe0, 0xe0);
    QColor Weekday = QColor(0x1f, 0x5f, 0xb4);
    QColor Weekend = QColor(0xe0, 0x6c, 0x10);
    // The sides of a comparison.
    QColor Before = QColor(0x1f, 0x5f, 0xb4);
    QColor After = QColor(0x2e, 0x8b, 0x3e);
    QColor Limit = QColor(0xc0, 0x20, 0x20);
    QColor Empty = QColor(0xf2, 0xf2, 0xf2);
    // The smallest type a table is set in, in points; a table wider than the area at that
    // size is set in groups of its columns, one below the other.
    double SmallestPointSize = 5;
};

// What a chart drew: its plot area and every text it wrote (tick labels, axis titles, the
// legend), in order.
struct ChartLayout {
    QRectF Plot;
    QStringList Texts;
};

// The daily profile: demand in W by time of day, the weekday and the weekend mean, each with
// a band from the minimum to the maximum of its bin.
ChartLayout PaintDailyProfile(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                              const ChartLook& look);
// The block demands as a day × time-of-day grid, a row per day from the top, with the colour
// legend in W on the right; a cell without a complete block stays empty.
ChartLayout PaintHeatMap(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                         const ChartLook& look);
// The load duration curve: demand in W against the share of time it is reached, with the
// threshold as a line when there is one.
ChartLayout PaintLoadDuration(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                              const ChartLook& look);
// The 10-minute means of every voltage channel in V over time, with the limit lines of the
// nominal voltage: Un + 10 %, Un − 10 % and Un − 15 %.
ChartLayout PaintVoltageBlocks(QPainter& painter, const QRectF& area,
                               const VoltageVariation& voltage, const ChartLook& look);
// The energy of every day recorded as a bar in kWh, full weekdays and weekend days in their
// colours and days recorded in part in grey: a year's days at a glance.
ChartLayout PaintEnergyPerDay(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                              const ChartLook& look);
// The energy cost of every day as a bar stacked by energy period, in the tariff's currency.
ChartLayout PaintCostPerDay(QPainter& painter, const QRectF& area, const CostStudy& cost,
                            const ChartLook& look);
// The power factor of every block over time, with the target as a dashed line.
ChartLayout PaintPowerFactorBlocks(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                                   const ChartLook& look);
// The reactive power a bank must give (Qc) of every block from highest to lowest against the
// share of time, with the bank as a dashed line.
ChartLayout PaintQcDuration(QPainter& painter, const QRectF& area, const PowerSurvey& power,
                            const ChartLook& look);
// The unbalance of the voltage and current blocks over time in %, with the 2 % line.
ChartLayout PaintUnbalanceBlocks(QPainter& painter, const QRectF& area,
                                 const UnbalanceStudy& unbalance, const ChartLook& look);
// A chart with nothing to show: the text in the middle of the area.
ChartLayout PaintChartMessage(QPainter& painter, const QRectF& area, const QString& text,
                              const ChartLook& look);

// Lines of text (the reasons a page gives) wrapped to the area's width, from its top. Returns
// the height drawn, with a gap below the last line; 0 without lines.
double PaintNotes(QPainter& painter, const QRectF& area, const QStringList& notes,
                  const ChartLook& look);

// Rows of texts with the first row in bold as the header, each column as wide as its widest
// text, the columns marked in alignRight to the right; in a smaller font while wider than the
// area, down to the look's smallest, and then in groups of columns one below the other, each
// beginning with the columns before the first one aligned to the right. Returns the height
// drawn.
double PaintTextTable(QPainter& painter, const QRectF& area, const std::vector<QStringList>& rows,
                      const std::vector<bool>& alignRight, const ChartLook& look);
// A text table as a person reads it in the look's style.
double PaintTextTable(QPainter& painter, const QRectF& area, const TextTable& table,
                      const ChartLook& look);
