#include "windows/charts/TChart.h"

#include "charts/ChartRules.h"
#include "windows/charts/DayTimeTicker.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/LegendEntry.h"
#include "windows/charts/SpanRenderer.h"

#include <QDateTime>
#include <QPaintEngine>
#include <QPicture>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {

constexpr uint8_t LegendLeft = 0, LegendRight = 1, LegendTop = 2;
// Room between the legend and the plot, and around the plot's top for the unit symbols.
constexpr int LegendGap = 4;
// A rubber band smaller than this is a click.
constexpr int MinimumBand = 4;

double DeviceScale(const QPainter& painter) {
    const QTransform t = painter.deviceTransform();
    const double scale = std::hypot(t.m11(), t.m12());
    return scale > 0 ? scale : 1.0;
}

} // namespace

// Runs the chart's after-draw hook on the scales layer, so that it is drawn again with the
// axes whenever a zoom redraws them (a layer's own redraw tells nobody).
class TChart::AfterDrawLayer : public QCPLayerable {
public:
    AfterDrawLayer(TChart* chart, QCPLayer* layer)
        : QCPLayerable(chart, layer->name()), chart_(chart) {}

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
        applyAntialiasingHint(painter, mAntialiased, QCP::aeAxes);
    }
    void draw(QCPPainter* painter) override {
        if (chart_->OnAfterDraw)
            chart_->OnAfterDraw(*painter);
    }

private:
    TChart* chart_;
};

// Runs the chart's cursor hook on the cursors' layer.
class TChart::CursorLayer : public QCPLayerable {
public:
    CursorLayer(TChart* chart, QCPLayer* layer)
        : QCPLayerable(chart, layer->name()), chart_(chart) {}

    // As the layer draws it, into a painter clipped already.
    void DrawPart(QCPPainter* painter) {
        painter->save();
        painter->setClipRect(clipRect().translated(0, -1), Qt::IntersectClip);
        applyDefaultAntialiasingHint(painter);
        draw(painter);
        painter->restore();
    }

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
        applyAntialiasingHint(painter, false, QCP::aeAxes);
    }
    void draw(QCPPainter* painter) override {
        if (chart_->OnCursorDraw)
            chart_->OnCursorDraw(*painter);
    }

private:
    TChart* chart_;
};

TChart::TChart(QWidget* parent) : QCustomPlot(parent), ticker_(new DayTimeTicker) {
    setObjectName(QStringLiteral("Chart"));
    setBackground(QBrush(Qt::white));

    QCPLayoutGrid* root = plotLayout();
    QCPAxisRect* rect = axisRect();
    root->take(rect);
    root->simplify();
    title_ = new QCPTextElement(this, QStringLiteral("Chart"));
    body_ = new QCPLayoutGrid;
    foot_ = new QCPTextElement(this, QString());
    root->addElement(0, 0, title_);
    root->addElement(1, 0, body_);
    root->addElement(2, 0, foot_);
    // A tiny stretch keeps the title and the footer at their text's height.
    root->setRowStretchFactor(0, 0.001);
    root->setRowStretchFactor(2, 0.001);
    root->setRowSpacing(2);
    body_->addElement(0, 0, rect);
    rect->setAutoMargins(QCP::msBottom);

    xAxis->setTicker(ticker_);
    xAxis2->setVisible(false);
    for (QCPAxis* axis : {yAxis, yAxis2}) {
        axis->setRange(0.0, 1.0);
        axis->setTickLabels(false);
        axis->setVisible(false);
    }
    connect(yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), yAxis2,
            qOverload<const QCPRange&>(&QCPAxis::setRange));

    // What a zoom changes gets buffered layers of its own: the scales (grid, axes, unit
    // scales) and the series. Background, title, footer and legend stay in the bottom buffer.
    addLayer(QStringLiteral("scales"), layer(QStringLiteral("legend")), limAbove);
    scalesLayer_ = layer(QStringLiteral("scales"));
    addLayer(QStringLiteral("series"), scalesLayer_, limAbove);
    seriesLayer_ = layer(QStringLiteral("series"));
    addLayer(QStringLiteral("cursors"), seriesLayer_, limAbove);
    cursorsLayer_ = layer(QStringLiteral("cursors"));
    scalesLayer_->setMode(QCPLayer::lmBuffered);
    seriesLayer_->setMode(QCPLayer::lmBuffered);
    cursorsLayer_->setMode(QCPLayer::lmBuffered);
    const QList<QCPAxis*> axes = rect->axes();
    for (QCPAxis* axis : axes)
        axis->grid()->setLayer(scalesLayer_);
    for (QCPAxis* axis : axes)
        axis->setLayer(scalesLayer_);
    new AfterDrawLayer(this, scalesLayer_);
    cursorDrawing_ = new CursorLayer(this, cursorsLayer_);
    // The zoom band goes on top of the cursors, in their buffer: every buffer is cleared and
    // composited in full at each redraw, and the engine's own overlay buffer is mostly empty.
    selectionRect()->setLayer(cursorsLayer_);
    removeLayer(layer(QStringLiteral("overlay")));
    // Below the point series, which go onto the same layer after it.
    renderer_ = new SpanRenderer(rect, seriesLayer_);
    // A replot starts the series' drawing once its layout is done (updateLayout), so that it
    // runs while the layers below are drawn, and waits for it before it returns.
    connect(this, &QCustomPlot::beforeReplot, this, [this] { replotting_ = true; });
    connect(this, &QCustomPlot::afterReplot, this, [this] {
        replotting_ = false;
        renderer_->Finish();
    });

    legend->setVisible(true);
    PlaceLegend();

    setSelectionRectMode(QCP::srmNone);
    connect(selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& band, QMouseEvent*) { RubberBandDone(band); });
    setMouseTracking(true);
}

TChart::~TChart() = default;

QRect TChart::ChartRect() const {
    return axisRect()->rect();
}

void TChart::SetTitleText(const QString& text) {
    title_->setText(text);
    title_->setVisible(!text.isEmpty());
    title_->setMargins(text.isEmpty() ? QMargins() : QMargins(2, 4, 2, 2));
}

void TChart::SetFootLines(const QStringList& lines) {
    foot_->setText(lines.join(QLatin1Char('\n')));
    foot_->setVisible(!lines.isEmpty());
    foot_->setMargins(lines.isEmpty() ? QMargins() : QMargins(6, 2, 6, 4));
}

void TChart::SetLegendPlace(bool visible, uint8_t position) {
    if (visible == legendVisible_ && position == legendPosition_)
        return;
    legendVisible_ = visible;
    legendPosition_ = position;
    PlaceLegend();
}

// The legend goes into the body grid beside the plot: the engine's grid cannot span cells,
// so a legend column of the outer grid would split the title and the footer.
void TChart::PlaceLegend() {
    QCPAxisRect* rect = axisRect();
    if (legend->layout())
        legend->layout()->take(legend);
    body_->take(rect);
    body_->simplify();
    legend->setVisible(legendVisible_);
    if (!legendVisible_) {
        // Parked in the plot's inset layout, which keeps an owner for it.
        body_->addElement(0, 0, rect);
        rect->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
        return;
    }
    const bool horizontal = legendPosition_ >= LegendTop;
    const bool legendFirst = legendPosition_ == LegendTop || legendPosition_ == LegendLeft;
    legend->setFillOrder(horizontal ? QCPLayoutGrid::foColumnsFirst : QCPLayoutGrid::foRowsFirst,
                         true);
    QCPLayoutElement* first = legendFirst ? static_cast<QCPLayoutElement*>(legend) : rect;
    QCPLayoutElement* second = legendFirst ? static_cast<QCPLayoutElement*>(rect) : legend;
    const QList<double> stretch = {legendFirst ? 0.001 : 1.0, legendFirst ? 1.0 : 0.001};
    if (horizontal) {
        body_->addElement(0, 0, first);
        body_->addElement(1, 0, second);
        body_->setRowStretchFactors(stretch);
    } else {
        body_->addElement(0, 0, first);
        body_->addElement(0, 1, second);
        body_->setColumnStretchFactors(stretch);
    }
    legend->setMargins(QMargins(6, 4, 6, 4));
}

void TChart::RebuildLegend() {
    legend->clearItems();
    for (EnvelopeGraph* g : series_)
        if (g->visible())
            legend->addItem(new LegendEntry(legend, g));
}

QSize TChart::LegendItemSize() const {
    QSize item;
    // A wrapped legend's grid has empty cells at its end.
    for (int i = 0; i < legend->itemCount(); ++i)
        if (const QCPAbstractLegendItem* entry = legend->item(i))
            item = item.expandedTo(entry->minimumOuterSizeHint());
    return item;
}

int TChart::LegendWrap(QSize item, int width, int height) const {
    if (legendPosition_ >= LegendTop)
        return std::max(1, width * 96 / 100 / std::max(1, item.width() + legend->columnSpacing()));
    return std::max(1, height * 3 / 4 / std::max(1, item.height() + legend->rowSpacing()));
}

QSize TChart::LegendSize(QSize chart) const {
    if (!legendVisible_ || legend->itemCount() == 0)
        return {};
    const QSize item = LegendItemSize();
    const int wrap = LegendWrap(item, chart.width(), chart.height());
    const int lines = (legend->itemCount() + wrap - 1) / wrap;
    const QMargins m = legend->margins();
    // Top or bottom: rows of wrap items; left or right: columns of wrap items.
    const int rows = legendPosition_ >= LegendTop ? lines : std::min(wrap, legend->itemCount());
    const int columns = legendPosition_ >= LegendTop ? std::min(wrap, legend->itemCount()) : lines;
    return {columns * item.width() + (columns - 1) * legend->columnSpacing() + m.left() + m.right(),
            rows * item.height() + (rows - 1) * legend->rowSpacing() + m.top() + m.bottom()};
}

void TChart::FitLegend(int width, int height) {
    if (!legendVisible_ || legend->itemCount() == 0)
        return;
    const int wrap = LegendWrap(LegendItemSize(), width, height);
    if (legend->wrap() != wrap) {
        legend->setWrap(wrap);
        legend->setFillOrder(legend->fillOrder(), true);
    }
}

EnvelopeGraph* TChart::MakeSeries(const SampleSpan& samples, bool line, double minimum,
                                  double range, bool rightAxis) {
    auto* g = new EnvelopeGraph(xAxis, rightAxis ? yAxis2 : yAxis,
                                line ? EnvelopeGraph::Kind::Line : EnvelopeGraph::Kind::Points);
    g->SetRenderer(renderer_);
    g->SetSource(samples, minimum, range);
    g->removeFromLegend();
    return g;
}

void TChart::AttachSeries(EnvelopeGraph* series) {
    // Onto the series layer last: drawn above the series attached before.
    series->setLayer(seriesLayer_);
    series_.push_back(series);
}

void TChart::ClearSeries() {
    // Made but never attached ones too.
    for (int i = plottableCount() - 1; i >= 0; --i)
        removePlottable(i);
    series_.clear();
}

int TChart::SeriesIndex(const QCPAbstractPlottable* series) const {
    const auto it = std::find(series_.begin(), series_.end(), series);
    return it == series_.end() ? -1 : static_cast<int>(it - series_.begin());
}

void TChart::SetDataRange(double start, double end) {
    LimitSpan(start, end, MinTimeSpan);
    dataRange_ = QCPRange(start, end);
    xAxis->setRange(dataRange_);
}

void TChart::RememberView() {
    // Enough steps for any session; the oldest go first.
    constexpr size_t Depth = 100;
    const std::pair<QCPRange, QCPRange> view(xAxis->range(), yAxis->range());
    if (!history_.empty() && history_.back() == view)
        return;
    if (history_.size() == Depth)
        history_.erase(history_.begin());
    history_.push_back(view);
}

bool TChart::StepBack() {
    // A pan that never moved remembered the view it left unchanged.
    const std::pair<QCPRange, QCPRange> now(xAxis->range(), yAxis->range());
    while (!history_.empty() && history_.back() == now)
        history_.pop_back();
    if (history_.empty())
        return false;
    const auto [time, value] = history_.back();
    history_.pop_back();
    xAxis->setRange(time);
    yAxis->setRange(value);
    emit Zoomed();
    ReplotView();
    return true;
}

void TChart::PanBy(double timeFraction, double valueFraction) {
    RememberView();
    const QCPRange t = xAxis->range(), v = yAxis->range();
    xAxis->setRange(t.lower + t.size() * timeFraction, t.upper + t.size() * timeFraction);
    yAxis->setRange(v.lower + v.size() * valueFraction, v.upper + v.size() * valueFraction);
    ReplotView();
}

QCPRange TChart::FullValueRange() const {
    return QCPRange(-valuePad_, 1.0 + valuePad_);
}

void TChart::UndoZoom() {
    RememberView();
    xAxis->setRange(dataRange_);
    yAxis->setRange(FullValueRange());
    ReplotView();
}

void TChart::ZoomPercent(double percent) {
    if (!(percent > 0))
        return;
    RememberView();
    const double factor = 100.0 / percent;
    auto scaled = [factor](const QCPRange& r) {
        const double centre = r.center(), half = r.size() / 2 * factor;
        return QCPRange(centre - half, centre + half);
    };
    xAxis->setRange(scaled(xAxis->range()));
    yAxis->setRange(scaled(yAxis->range()));
    emit Zoomed();
    ReplotView();
}

void TChart::ZoomTimePercent(double percent) {
    if (!(percent > 0))
        return;
    RememberView();
    const QCPRange r = xAxis->range();
    const double centre = r.center(), half = r.size() / 2 * 100.0 / percent;
    xAxis->setRange(centre - half, centre + half);
    emit Zoomed();
    ReplotView();
}

void TChart::ZoomTo(const QCPRange& time, const QCPRange& value, bool animated) {
    if (animated && isVisible()) {
        // One frame halfway: enough to show where the view goes.
        const QCPRange t = xAxis->range(), v = yAxis->range();
        xAxis->setRange((t.lower + time.lower) / 2, (t.upper + time.upper) / 2);
        yAxis->setRange((v.lower + value.lower) / 2, (v.upper + value.upper) / 2);
        ReplotView();
        repaint();
    }
    xAxis->setRange(time);
    yAxis->setRange(value);
    emit Zoomed();
    ReplotView();
}

void TChart::RubberBandDone(const QRect& band) {
    // The band is done with: off the screen, whatever the drag did.
    if (QCPLayer* bandLayer = selectionRect()->layer())
        bandLayer->replot();
    if (std::abs(band.width()) < MinimumBand && std::abs(band.height()) < MinimumBand)
        return;
    // Drawn from right to left: back to the whole data, as the band's direction says.
    if (band.width() < 0) {
        UndoZoom();
        return;
    }
    const QRect r = band.normalized().intersected(ChartRect());
    if (r.isEmpty())
        return;
    RememberView();
    ZoomTo(QCPRange(xAxis->pixelToCoord(r.left()), xAxis->pixelToCoord(r.right())),
           QCPRange(yAxis->pixelToCoord(r.bottom()), yAxis->pixelToCoord(r.top())), AnimatedZoom);
}

void TChart::CancelBand() {
    // A band never outlives its drag: a press of another button, Escape or a change of mode
    // ends it unused.
    if (!selectionRect()->isActive())
        return;
    selectionRect()->cancel();
    if (QCPLayer* bandLayer = selectionRect()->layer())
        bandLayer->replot();
}

void TChart::SetMouseAction(MouseAction action) {
    CancelBand();
    action_ = action;
    panning_ = false;
    cursorDrag_ = false;
    setSelectionRectMode(action == MouseAction::Zoom ? QCP::srmCustom : QCP::srmNone);
    setCursor(restingCursor_);
}

void TChart::SetRestingCursor(const QCursor& cursor) {
    restingCursor_ = cursor;
    setCursor(cursor);
}

void TChart::SetSeriesClickable(bool clickable) {
    clickable_ = clickable;
    if (!clickable)
        setCursor(restingCursor_);
}

EnvelopeGraph* TChart::SeriesAt(const QPointF& pos, qint64& sourceIndex) const {
    sourceIndex = -1;
    // A point at the top of the value range lies one pixel above the plot's rectangle as
    // the engine counts it, where the engine looks for nothing: clicks near the edge count
    // as on it.
    const QRect r = ChartRect();
    const double tolerance = selectionTolerance();
    if (!QRectF(r).adjusted(-tolerance, -tolerance, tolerance, tolerance).contains(pos))
        return nullptr;
    const QPointF at(std::clamp<double>(pos.x(), r.left(), r.right()),
                     std::clamp<double>(pos.y(), r.top(), r.bottom()));
    int dataIndex = -1;
    auto* g = qobject_cast<EnvelopeGraph*>(plottableAt(at, false, &dataIndex));
    if (!g || SeriesIndex(g) < 0)
        return nullptr;
    sourceIndex = g->SourceIndex(dataIndex);
    return sourceIndex < 0 ? nullptr : g;
}

void TChart::ReplotView() {
    const QRect before = ChartRect();
    updateLayout();
    if (ChartRect() != before || !isVisible()) {
        replot(rpQueuedRefresh);
        return;
    }
    // Stale buffers need the whole replot, which the layers would fall back to one by one,
    // drawing the series again after it.
    if (hasInvalidatedPaintBuffers()) {
        replot();
        return;
    }
    renderer_->Prepare();
    scalesLayer_->replot();
    seriesLayer_->replot();
    cursorsLayer_->replot();
    renderer_->Finish();
}

void TChart::ReplotCursors() {
    if (!isVisible())
        return;
    cursorsLayer_->replot();
}

void TChart::ReplotCursors(const QRegion& dirty) {
    const QRegion area = dirty & QRegion(viewport());
    if (!isVisible() || area.isEmpty())
        return;
    // The zoom band shares the layer, and stale buffers need the whole replot.
    const int index = BufferIndex(cursorsLayer_);
    if (selectionRect()->isActive() || hasInvalidatedPaintBuffers() || index < 0 ||
        index >= mPaintBuffers.size() || !cursorDrawing_->realVisibility()) {
        ReplotCursors();
        return;
    }
    QCPAbstractPaintBuffer& buffer = *mPaintBuffers.at(index);
    {
        const std::unique_ptr<QCPPainter> painter(buffer.startPainting());
        if (!painter || !painter->isActive()) {
            ReplotCursors();
            return;
        }
        // Rectangle by rectangle, as the widget paints them.
        for (const QRect& part : area) {
            painter->setClipRect(part);
            painter->setCompositionMode(QPainter::CompositionMode_Source);
            painter->fillRect(part, Qt::transparent);
            painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
            cursorDrawing_->DrawPart(painter.get());
        }
    }
    buffer.donePainting();
    update(area);
}

void TChart::updateLayout() {
    const int width = viewport().width(), height = viewport().height();
    const ChartMargins m = MarginsFor ? MarginsFor(width) : ChartMargins{};
    int left = width * m.LeftPercent / 100;
    int right = width * m.RightPercent / 100;
    QMargins outer;
    if (legendVisible_ && legendPosition_ == LegendLeft) {
        outer.setLeft(left);
        left = m.LegendMargin + LegendGap;
    } else if (legendVisible_ && legendPosition_ == LegendRight) {
        outer.setRight(right);
        right = m.LegendMargin + LegendGap;
    }
    plotLayout()->setMargins(outer);
    // Room above the plot for the unit symbols.
    const int top = QFontMetrics(yAxis->tickLabelFont()).height() + 2 * LegendGap;
    axisRect()->setMargins(QMargins(left, top, right, 0));
    FitLegend(width, height);
    // The ticker rounds its step to a nice one, which may be half the one asked for: room
    // for two labels per tick keeps neighbours apart.
    const int label = ticker_->LabelWidth(xAxis->tickLabelFont());
    ticker_->setTickCount(std::clamp((width - left - right) / std::max(1, 2 * label), 2, 10));
    ticker_->SetSpacing(width - left - right - outer.left() - outer.right(), label);
    QCustomPlot::updateLayout();
    if (replotting_)
        renderer_->Prepare();
}

void TChart::paintEvent(QPaintEvent* event) {
    // The buffers as the engine composites them, but for the series' image, which their
    // layer's buffered draw may have kept aside instead of drawing it into an empty buffer.
    QCPPainter painter(this);
    if (!painter.isActive())
        return;
    const int series = BufferIndex(seriesLayer_);
    // Rectangle by rectangle: clipped to a region of several (a cursor's strips), the raster
    // engine blends row by row and hands every few rows to a thread of its own, which costs
    // more than the blending.
    const QRegion region = event->region();
    for (const QRect& part : region) {
        if (region.rectCount() > 1)
            painter.setClipRect(part);
        if (mBackgroundBrush.style() != Qt::NoBrush)
            painter.fillRect(mViewport, mBackgroundBrush);
        drawBackground(&painter);
        for (int i = 0; i < mPaintBuffers.size(); ++i) {
            if (i != series || !renderer_->Composite(&painter))
                mPaintBuffers.at(i)->draw(&painter);
        }
    }
}

int TChart::BufferIndex(const QCPLayer* target) const {
    // As the engine hands out its buffers: the logical layers share the current one, and each
    // buffered layer takes one of its own, with a new one after it for logical layers above.
    int index = 0;
    for (int i = 0; i < layerCount(); ++i) {
        const QCPLayer* l = layer(i);
        if (l->mode() == QCPLayer::lmBuffered) {
            ++index;
            if (l == target)
                return index;
            if (i + 1 < layerCount() && layer(i + 1)->mode() == QCPLayer::lmLogical)
                ++index;
        } else if (l == target) {
            return index;
        }
    }
    return -1;
}

void TChart::mousePressEvent(QMouseEvent* event) {
    pressAt_ = event->pos();
    if (action_ == MouseAction::Zoom) {
        // Only the left button draws a band; the right one opens the menu, which takes the
        // release, so a band it started would stay on the plot.
        CancelBand();
        if (event->button() == Qt::LeftButton)
            QCustomPlot::mousePressEvent(event);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (action_ == MouseAction::Pan) {
        panning_ = true;
        RememberView();
        panStart_ = event->pos();
        panTime_ = xAxis->range();
        panValue_ = yAxis->range();
        setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (action_ == MouseAction::Cursors) {
        cursorDrag_ = true;
        emit CursorPressed(event->pos());
        return;
    }
    emit Pressed(event->pos());
    if (!clickable_)
        return;
    qint64 index = -1;
    if (EnvelopeGraph* g = SeriesAt(event->pos(), index))
        emit SeriesClicked(g, index);
}

void TChart::mouseMoveEvent(QMouseEvent* event) {
    if (action_ == MouseAction::Zoom) {
        QCustomPlot::mouseMoveEvent(event);
        return;
    }
    if (panning_) {
        const QRect r = ChartRect();
        const QPoint d = event->pos() - panStart_;
        const double dt = -d.x() * panTime_.size() / std::max(1, r.width());
        const double dv = d.y() * panValue_.size() / std::max(1, r.height());
        xAxis->setRange(panTime_.lower + dt, panTime_.upper + dt);
        yAxis->setRange(panValue_.lower + dv, panValue_.upper + dv);
        ReplotView();
        return;
    }
    if (cursorDrag_) {
        emit CursorDragged(event->pos());
        return;
    }
    if (clickable_) {
        // Hit tests of many series cost a few milliseconds: one per turn of the event loop.
        hoverAt_ = event->pos();
        if (!hoverPending_) {
            hoverPending_ = true;
            QTimer::singleShot(0, this, [this] { UpdateHoverCursor(); });
        }
    }
}

void TChart::UpdateHoverCursor() {
    hoverPending_ = false;
    if (!clickable_ || action_ != MouseAction::None)
        return;
    qint64 index;
    setCursor(SeriesAt(hoverAt_, index) ? QCursor(Qt::PointingHandCursor) : restingCursor_);
}

void TChart::mouseReleaseEvent(QMouseEvent* event) {
    if (action_ == MouseAction::Zoom) {
        QCustomPlot::mouseReleaseEvent(event);
        return;
    }
    if (panning_) {
        panning_ = false;
        setCursor(restingCursor_);
    }
    if (cursorDrag_) {
        cursorDrag_ = false;
        emit CursorReleased();
    }
}

void TChart::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0)
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastWheel_ > 600)
        RememberView();
    lastWheel_ = now;
    const double factor = std::pow(0.85, steps);
    const double at = xAxis->pixelToCoord(event->position().x());
    const QCPRange r = xAxis->range();
    xAxis->setRange(at + (r.lower - at) * factor, at + (r.upper - at) * factor);
    emit Zoomed();
    ReplotView();
    event->accept();
}

void TChart::DrawWhole(QCPPainter& painter, QSize size) {
    // Not one of the plot's buffers: the series' image goes into this painter, and the one kept
    // for the widget stays as it is.
    renderer_->SetInPlace(true);
    toPainter(&painter, size.width(), size.height());
    renderer_->SetInPlace(false);
}

void TChart::DrawTo(QPaintDevice& device, const QSize& size, double scale) {
    {
        QCPPainter painter(&device);
        if (!painter.isActive())
            return;
        if (painter.paintEngine()->type() != QPaintEngine::Raster)
            painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        painter.scale(scale, scale);
        DrawWhole(painter, size);
    }
    // Back to the screen's layout, for the hit tests and layer redraws that follow.
    updateLayout();
}

void TChart::DrawChart(QPainter& painter, const QRectF& target, double dotsPerInch) {
    if (target.isEmpty() || !(dotsPerInch > 0))
        return;
    // The chart is laid out in pixels of 1/96 inch, like the screen's.
    const double perPixel = dotsPerInch / 96.0;
    const QSize logical(std::max(1, static_cast<int>(std::lround(target.width() / perPixel))),
                        std::max(1, static_cast<int>(std::lround(target.height() / perPixel))));
    const double device = DeviceScale(painter) * perPixel;
    painter.save();
    painter.setClipRect(target, Qt::IntersectClip);
    if (painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Raster) {
        QImage image(std::max(1, static_cast<int>(std::lround(logical.width() * device))),
                     std::max(1, static_cast<int>(std::lround(logical.height() * device))),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        DrawTo(image, logical, device);
        painter.drawImage(target, image);
    } else {
        // Recorded at the device's resolution, so that the series' envelopes have a column
        // per device pixel, and played back into the caller's painter as vectors.
        QPicture picture;
        {
            QCPPainter recorder(&picture);
            recorder.setMode(QCPPainter::pmVectorized);
            recorder.setMode(QCPPainter::pmNoCaching);
            recorder.scale(device, device);
            DrawWhole(recorder, logical);
        }
        updateLayout();
        // A picture plays back scaled by the device's resolution over its own; that is
        // already in the recording.
        const QPaintDevice* playedOn = painter.device();
        const double replayX =
            static_cast<double>(picture.logicalDpiX()) / std::max(1, playedOn->logicalDpiX());
        const double replayY =
            static_cast<double>(picture.logicalDpiY()) / std::max(1, playedOn->logicalDpiY());
        painter.translate(target.topLeft());
        painter.scale(target.width() / (logical.width() * device) * replayX,
                      target.height() / (logical.height() * device) * replayY);
        painter.drawPicture(QPointF(0, 0), picture);
    }
    painter.restore();
}
