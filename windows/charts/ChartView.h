#pragma once

#include "charts/SeriesSamples.h"
#include "charts/UnitScales.h"
#include "model/DateTime.h"
#include "model/NumberFormat.h"
#include "windows/charts/SidePicture.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class EnvelopeGraph;
class LChartRecord;
class QCPPainter;
class QPainter;
class QRectF;
class QSize;
class QWidget;
class TChart;

// One chart record drawn: the record's sources plotted against time on the chart engine, each
// unit normalised to its own value range and drawn with a scale of its own at the plot's edges
// (volts and amperes left, the other units right), in the record's fonts, colours, titles,
// legend and grid. It is no window: the command-line tool, the printer and the report make one
// to draw a record, and the chart window is one with its window parts on top. The series
// belong to the view, one per source of the record and in its order.
class ChartView {
public:
    // The engine goes into parent, or belongs to the view when there is none. Shows the record
    // (see ShowRecord).
    explicit ChartView(LChartRecord& record, QWidget* parent = nullptr);
    virtual ~ChartView();
    ChartView(const ChartView&) = delete;
    ChartView& operator=(const ChartView&) = delete;

    LChartRecord& Record() const { return record_; }
    TChart* Chart() const { return chart_; }

    // Builds a series per source of the record and shows everything as the record has it.
    // A Cumulative source raises "Wrong parameter type for chart".
    void ShowRecord();
    // Series titles, the right axis, the footer, the unit scales shown and the margins.
    void RefreshChart();
    void SyncRightAxis();
    // The record's fonts, colours, titles, legend and grid onto the chart.
    virtual void ApplyStyle();
    void ApplySeriesStyle(int32_t i);
    void UpdateFooter();

    void SetTitle(const QString& text);
    QString GetTitle() const;
    void SetAxisColor(uint32_t color);
    void SetXAxisLabelsTimeDate(bool on);
    void SetShowStartEnd(bool on);
    void SetShowLocation(bool on);
    // Powers and energies on the scales and in the legend in kW, kvar, kVA and kWh (MWh from
    // 10 000 kWh), as a report shows them to a person; and a line of many more samples than
    // its pixel columns drawn as the band of each column's lowest to highest value with the
    // column's mean over it, so that a year reads as a load shape. A window keeps the
    // recorded units and the lines.
    void SetForPeople(bool on);
    // The unit a scale's labels are written in, and what they are divided by.
    ScaledUnit ShownUnit(const UnitScale& scale) const;
    // Whether series i is drawn, and the selected flag of its source with it.
    virtual void SetSeriesActive(int32_t i, bool active);
    bool SeriesActive(int32_t i) const;
    // The series of source i of the record.
    EnvelopeGraph* Series(int32_t i) const { return series_.at(static_cast<size_t>(i)); }

    const UnitScaleSet& UnitScales() const { return scales_; }
    const SeriesSamples& Samples() const { return samples_; }
    // The width of one unit scale, and the margins for the chart's width now.
    int ScaleWidth() const;
    ChartMargins Margins() const;
    TDateTime Start() const { return start_; }
    TDateTime End() const { return end_; }
    // The time range on screen (zoom and pan).
    TDateTime ViewStart() const;
    TDateTime ViewEnd() const;

    // The chart into target of any painter (printer, PDF, SVG, image), laid out for a device
    // of dotsPerInch; see TChart::DrawChart.
    void DrawChart(QPainter& painter, const QRectF& target, double dotsPerInch);
    // The chart at size into a file: SVG, PDF (laid out at 300 dots per inch) or otherwise PNG,
    // by the name's extension, titled with the record's caption. The file is replaced only
    // when complete; false and the reason in error when it could not be written.
    bool SaveAsPicture(const QString& fileName, const QSize& size, QString* error = nullptr);

private:
    // The unit's scale over the record's sources, and a series for each source of the unit.
    void MakeSeries(uint8_t unit, UnitScale& scale);
    // The unit scales beside the plot, kept as a picture until what they show changes.
    void ChartAfterDraw(QCPPainter& painter);
    void DrawUnitScales(QCPPainter& painter);

    LChartRecord& record_;
    std::unique_ptr<TChart> ownChart_; // when no window holds it
    TChart* chart_;
    UnitScaleSet scales_;
    SidePicture scalesPicture_;
    SeriesSamples samples_;
    std::vector<EnvelopeGraph*> series_; // beside the record's sources
    TDateTime start_ = 0, end_ = 0;
    bool hasSpan_ = false;
    bool forPeople_ = false;
};
