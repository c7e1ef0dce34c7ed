#include "charts/windows/SpanRenderer.h"

#include "charts/ParallelFor.h"
#include "charts/windows/EnvelopeGraph.h"
#include "charts/windows/RasterPainter.h"

#include <algorithm>
#include <cmath>

namespace {

// Image pixels of a recorded value on the graph's value axis: the axis maps normalised
// values, (value - minimum) / range.
Affine ValueToImage(const EnvelopeGraph& g, const QCPAxis& axis, double origin, double ratio) {
    const QCPRange r = axis.range();
    const double p0 = axis.coordToPixel(r.lower), p1 = axis.coordToPixel(r.upper);
    const double scale = (p1 - p0) / r.size() * ratio;
    const double offset = (p0 - origin) * ratio - r.lower * scale;
    return {offset - scale * g.Minimum() / g.Range(), scale / g.Range()};
}

bool SameJob(const SeriesJob& a, const SeriesJob& b) {
    return a.Series == b.Series && a.XMin == b.XMin && a.XMax == b.XMax &&
           a.ToPixelY.Offset == b.ToPixelY.Offset && a.ToPixelY.Scale == b.ToPixelY.Scale &&
           a.Style.Color == b.Style.Color && a.Style.Width == b.Style.Width &&
           a.Style.Antialias == b.Style.Antialias;
}

} // namespace

bool SpanRenderer::Frame::operator==(const Frame& other) const {
    return Size == other.Size && Ratio == other.Ratio &&
           std::equal(Jobs.begin(), Jobs.end(), other.Jobs.begin(), other.Jobs.end(), SameJob);
}

SpanRenderer::SpanRenderer(QCPAxisRect* rect, QCPLayer* layer, int threads)
    : QCPLayerable(rect->parentPlot(), layer->name()), rect_(rect), threads_(threads) {}

SpanRenderer::~SpanRenderer() {
    Finish();
}

bool SpanRenderer::Handles(const QCPPainter* painter) const {
    return realVisibility() && PaintsRaster(painter);
}

void SpanRenderer::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    // The series' switch, so that switching antialiasing off for series applies here too.
    applyAntialiasingHint(painter, mAntialiased, QCP::aePlottables);
}

SpanRenderer::Frame SpanRenderer::FrameFor(double ratio, bool antialias) const {
    const QRect area = rect_->rect();
    Frame frame{QSize(static_cast<int>(std::lround(area.width() * ratio)),
                      static_cast<int>(std::lround(area.height() * ratio))),
                ratio,
                {}};
    for (QCPAbstractPlottable* p : rect_->plottables()) {
        const auto* g = qobject_cast<EnvelopeGraph*>(p);
        const QCPAxis* key = g ? g->keyAxis() : nullptr;
        const QCPAxis* value = g ? g->valueAxis() : nullptr;
        if (!key || !value || !g->realVisibility() ||
            g->SeriesKind() != EnvelopeGraph::Kind::Line || !g->Envelope() ||
            g->pen().style() == Qt::NoPen)
            continue;
        SpanStyle style;
        style.Color = qPremultiply(g->pen().color().rgba());
        style.Width = std::max(1, static_cast<int>(std::lround(g->pen().widthF() * ratio)));
        style.Antialias = antialias;
        const QCPRange range = key->range();
        frame.Jobs.push_back({g->Envelope(), range.lower, range.upper,
                              ValueToImage(*g, *value, area.top(), ratio), style});
    }
    return frame;
}

RasterTarget SpanRenderer::TargetFor(const Frame& frame) {
    if (image_.size() != frame.Size)
        image_ = QImage(frame.Size, QImage::Format_ARGB32_Premultiplied);
    scratch_.resize(static_cast<size_t>(std::max(1, threads_)));
    for (auto& s : scratch_)
        s.resize(static_cast<size_t>(DefaultTileColumns) *
                 static_cast<size_t>(frame.Size.height()));
    return {reinterpret_cast<uint32_t*>(image_.bits()), frame.Size.width(), frame.Size.height(),
            image_.bytesPerLine() / 4};
}

void SpanRenderer::RenderTiles(const Frame& frame, const RasterTarget& target, size_t scratch) {
    // A tile at a time, whichever thread is free takes the next: whole tiles, so that no two
    // threads write one cache line.
    const int tiles = (target.Width + DefaultTileColumns - 1) / DefaultTileColumns;
    for (int t = nextTile_++; t < tiles; t = nextTile_++)
        RenderSeries(frame.Jobs, target, scratch_[scratch].data(), t * DefaultTileColumns,
                     (t + 1) * DefaultTileColumns);
}

void SpanRenderer::Render(const Frame& frame, const RasterTarget& target) {
    nextTile_ = 0;
    const int threads = static_cast<int>(scratch_.size());
    ParallelFor(threads, threads,
                [&](int t) { RenderTiles(frame, target, static_cast<size_t>(t)); });
}

void SpanRenderer::Prepare() {
    Finish();
    prepared_.reset();
    if (!lastDevice_ || !realVisibility() || threads_ < 2)
        return;
    Frame frame = FrameFor(lastDevice_->first, lastDevice_->second);
    if (frame.Size.isEmpty() || frame.Jobs.empty())
        return;
    preparedTarget_ = TargetFor(frame);
    prepared_ = std::move(frame);
    nextTile_ = 0;
    // One thread now; the caller's joins it at draw(), so that the two share the cores with
    // the layers drawn meanwhile and never outnumber them.
    pending_ = std::thread([this] { RenderTiles(*prepared_, preparedTarget_, 1); });
}

void SpanRenderer::Finish() {
    if (pending_.joinable())
        pending_.join();
}

void SpanRenderer::draw(QCPPainter* painter) {
    // Device pixels per logical one: screen scaling times any export scale.
    const double dpr = painter->device()->devicePixelRatioF();
    const double ratio = dpr * painter->transform().m11();
    const bool antialias = painter->antialiasing();
    const Frame frame = Handles(painter) ? FrameFor(ratio, antialias) : Frame{};
    const bool ready = prepared_ && *prepared_ == frame;
    if (ready)
        RenderTiles(*prepared_, preparedTarget_, 0);
    Finish();
    prepared_.reset();
    if (frame.Size.isEmpty())
        return;
    lastDevice_.emplace(ratio, antialias);
    if (!ready)
        Render(frame, TargetFor(frame));

    // The engine's painter shifts by half a pixel while antialiasing, and a shifted image
    // would be resampled (slow and blurred): the image goes on whole pixels.
    const QRect area = rect_->rect();
    const QPointF at = painter->transform().map(QPointF(area.topLeft()));
    painter->save();
    painter->resetTransform();
    image_.setDevicePixelRatio(dpr);
    painter->drawImage(QPointF(std::floor(at.x() * dpr) / dpr, std::floor(at.y() * dpr) / dpr),
                       image_);
    painter->restore();
}
