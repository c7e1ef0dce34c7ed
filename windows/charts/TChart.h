#pragma once

#include "charts/SeriesSamples.h"
#include "charts/UnitScales.h"

#include <qcustomplot.h>

#include <QCursor>

#include <functional>
#include <memory>
#include <vector>

class DayTimeTicker;
class EnvelopeGraph;
class SpanRenderer;

// The chart engine of the chart window: QCustomPlot with what the window needs of it and it
// lacks. A title row, the plot with the legend on any side, a footer row; the time axis at
// the bottom; two hidden value axes 0..1 (the window draws a scale per unit itself, through
// OnAfterDraw); zoom by rubber band (animated), pan by dragging, zoom about the pointer by
// the wheel, undo zoom and zoom by percent; a cursor for resting and a click on a point.
//
// Zooms and pans redraw only the layers a view change touches: the scales (axes, grid, unit
// scales) and the series, each on a buffered layer of its own. Line series are drawn by a
// span renderer straight from the recording's arrays on two threads; vector devices get the
// series' own drawing of a per-pixel-column envelope.
class TChart : public QCustomPlot {
    Q_OBJECT
public:
    explicit TChart(QWidget* parent = nullptr);
    ~TChart() override;

    QCPAxis* BottomAxis() const { return xAxis; }
    QCPAxis* LeftAxis() const { return yAxis; }
    QCPAxis* RightAxis() const { return yAxis2; }
    QCPTextElement* Title() const { return title_; }
    QCPTextElement* Foot() const { return foot_; }
    QCPLegend* Legend() const { return legend; }
    DayTimeTicker& TimeTicker() const { return *ticker_; }
    // The plot rectangle.
    QRect ChartRect() const;

    // An empty title or footer takes no room.
    void SetTitleText(const QString& text);
    void SetFootLines(const QStringList& lines);
    // position as a chart record stores it: 0 left, 1 right, 2 top, 3 bottom.
    void SetLegendPlace(bool visible, uint8_t position);
    bool LegendShown() const { return legendVisible_; }
    uint8_t LegendPosition() const { return legendPosition_; }
    // The legend lists the visible series, in their order.
    void RebuildLegend();
    // The room the legend takes when the chart is chart pixels large, wrapped as it would be.
    QSize LegendSize(QSize chart) const;

    // A series of a source's samples, normalised with minimum and range, on the left or the
    // right value axis; it belongs to the chart but is not one of its series until attached.
    EnvelopeGraph* MakeSeries(const SampleSpan& samples, bool line, double minimum, double range,
                              bool rightAxis);
    // Series are drawn and listed in the order they were attached.
    void AttachSeries(EnvelopeGraph* series);
    void ClearSeries();
    int SeriesCount() const { return static_cast<int>(series_.size()); }
    EnvelopeGraph* Series(int i) const { return series_.at(static_cast<size_t>(i)); }
    int SeriesIndex(const QCPAbstractPlottable* series) const;

    // The time span of the data: what UndoZoom shows.
    void SetDataRange(double start, double end);
    void UndoZoom();
    // percent 100 leaves the view, 50 doubles it, 200 halves it, about its centre.
    void ZoomPercent(double percent);
    // The time axis alone about its centre, as the wheel zooms.
    void ZoomTimePercent(double percent);
    // Ends a zoom band being drawn, unused, and takes it off the plot.
    void CancelBand();
    // The whole normalised value range, 0 to 1, with the room given above and below it (a
    // fraction of it) so that the marks of events at the extremes are drawn whole.
    void SetValuePad(double pad) { valuePad_ = pad; }
    QCPRange FullValueRange() const;
    // To the time range and the normalised value range; animated in two steps.
    void ZoomTo(const QCPRange& time, const QCPRange& value, bool animated);
    bool AnimatedZoom = true;
    // Moves the view by fractions of its width and height (right and up for positive ones).
    void PanBy(double timeFraction, double valueFraction);
    // Every zoom, pan and reset remembers the view before it; StepBack returns to the last
    // one remembered (false when there is none). Consecutive wheel turns count as one.
    void RememberView();
    bool StepBack();
    int HistoryDepth() const { return static_cast<int>(history_.size()); }

    // Cursors: presses, drags and releases of the left button are reported (CursorPressed,
    // CursorDragged, CursorReleased) for the window to place its cursors.
    enum class MouseAction { None, Zoom, Pan, Cursors };
    void SetMouseAction(MouseAction action);
    MouseAction Action() const { return action_; }
    // Shown while the mouse is over no clickable point.
    void SetRestingCursor(const QCursor& cursor);
    // Clicks on points are reported (SeriesClicked), and the pointer shows them.
    void SetSeriesClickable(bool clickable);

    // What a click at pos hits: the series and the index into its samples, or null.
    EnvelopeGraph* SeriesAt(const QPointF& pos, qint64& sourceIndex) const;

    // After a view change: the layers it touches, or everything when the layout moved.
    void ReplotView();

    // Asked whenever the chart lays itself out, with the chart's width in pixels.
    std::function<ChartMargins(int chartWidth)> MarginsFor;
    // Draws after the scales layer (axes and grid), in the plot's coordinates.
    std::function<void(QCPPainter& painter)> OnAfterDraw;
    // Draws on a layer of its own above the series, in the plot's coordinates; ReplotCursors
    // redraws that layer alone, or only where it changed (dirty, in the widget's pixels), and
    // only that part of the widget is painted again.
    std::function<void(QCPPainter& painter)> OnCursorDraw;
    void ReplotCursors();
    void ReplotCursors(const QRegion& dirty);

    // The whole chart into target of any painter (screen, printer, PDF, SVG, image), laid out
    // for a device of dotsPerInch: text and pens keep their physical size. Vector devices get
    // vectors, raster devices pixels.
    void DrawChart(QPainter& painter, const QRectF& target, double dotsPerInch);
    // The chart laid out at size (in logical pixels) onto a paint device of the caller's,
    // scaled by scale: an SVG or PDF file, or an image.
    void DrawTo(QPaintDevice& device, const QSize& size, double scale);

    // The legend wraps to the width the chart is given, so what it holds never makes the
    // chart ask for more room than a small window has.
    QSize minimumSizeHint() const override { return {320, 240}; }

signals:
    // After a zoom (before it is drawn, so that a handler may limit it).
    void Zoomed();
    // A left press in no mouse action, before any SeriesClicked.
    void Pressed(const QPoint& pos);
    void SeriesClicked(EnvelopeGraph* series, qint64 sourceIndex);
    void CursorPressed(const QPoint& pos);
    void CursorDragged(const QPoint& pos);
    void CursorReleased();

protected:
    void updateLayout() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    class AfterDrawLayer;
    class CursorLayer;
    void PlaceLegend();
    void FitLegend(int width, int height);
    QSize LegendItemSize() const;
    // How many items a row (top or bottom) or a column (left or right) of the legend holds.
    int LegendWrap(QSize item, int width, int height) const;
    void RubberBandDone(const QRect& rect);
    void UpdateHoverCursor();
    // Every layer at size onto painter, which is none of the plot's buffers.
    void DrawWhole(QCPPainter& painter, QSize size);
    // The index into the engine's paint buffers of the one that layer draws into.
    int BufferIndex(const QCPLayer* layer) const;

    QCPTextElement* title_;
    QCPTextElement* foot_;
    QCPLayoutGrid* body_;
    QCPLayer* scalesLayer_;
    QCPLayer* seriesLayer_;
    QCPLayer* cursorsLayer_;
    CursorLayer* cursorDrawing_;
    SpanRenderer* renderer_;
    QSharedPointer<DayTimeTicker> ticker_;
    std::vector<EnvelopeGraph*> series_;
    bool legendVisible_ = true;
    uint8_t legendPosition_ = 3;
    QCPRange dataRange_{0, 1};
    MouseAction action_ = MouseAction::None;
    QCursor restingCursor_;
    bool clickable_ = false;
    // A pan in progress: where it started and the view then.
    bool panning_ = false;
    bool cursorDrag_ = false;
    QPoint panStart_;
    QCPRange panTime_, panValue_;
    QPoint pressAt_;
    QPoint hoverAt_;
    std::vector<std::pair<QCPRange, QCPRange>> history_;
    qint64 lastWheel_ = 0; // when the wheel last zoomed, in ms since the epoch
    bool hoverPending_ = false;
    bool replotting_ = false; // between beforeReplot and afterReplot
    double valuePad_ = 0;
};
