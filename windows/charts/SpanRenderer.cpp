#include "windows/charts/SpanRenderer.h"

#include "analysis/ParallelLoop.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/RasterPainter.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    Cancel();
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
            g->SeriesKind() != EnvelopeGraph::Kind::Line || !g->Envelope() || g->Band() ||
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

RasterTarget SpanRenderer::TargetFor(QImage& image, const Frame& frame) {
    if (image.size() != frame.Size)
        image = QImage(frame.Size, QImage::Format_ARGB32_Premultiplied);
    scratch_.resize(static_cast<size_t>(std::max(1, threads_)));
    for (auto& s : scratch_)
        s.resize(static_cast<size_t>(DefaultTileColumns) *
                 static_cast<size_t>(frame.Size.height()));
    return {reinterpret_cast<uint32_t*>(image.bits()), frame.Size.width(), frame.Size.height(),
            image.bytesPerLine() / 4};
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
    ParallelLoop(threads, threads,
                 [&](int t) { RenderTiles(frame, target, static_cast<size_t>(t)); });
}

void SpanRenderer::Prepare() {
    Cancel();
    prepared_.reset();
    if (!lastDevice_ || !realVisibility() || threads_ < 2)
        return;
    Frame frame = FrameFor(lastDevice_->first, lastDevice_->second);
    if (frame.Size.isEmpty() || frame.Jobs.empty())
        return;
    preparedTarget_ = TargetFor(image_, frame);
    prepared_ = std::move(frame);
    nextTile_ = 0;
    // One thread now; the caller's joins it at Finish, so that the two share the cores with
    // the layers drawn meanwhile and never outnumber them.
    pending_ = std::thread([this] { RenderTiles(*prepared_, preparedTarget_, 1); });
}

void SpanRenderer::Finish() {
    if (!pending_.joinable())
        return;
    RenderTiles(*prepared_, preparedTarget_, 0);
    pending_.join();
}

void SpanRenderer::Cancel() {
    nextTile_ = std::numeric_limits<int>::max() / 2;
    if (pending_.joinable())
        pending_.join();
}

void SpanRenderer::DrawImage(QPainter* painter, QImage& image, const QPointF& at) const {
    painter->save();
    painter->resetTransform();
    image.setDevicePixelRatio(painter->device()->devicePixelRatioF());
    painter->drawImage(at, image);
    painter->restore();
}

bool SpanRenderer::Composite(QPainter* painter) {
    if (!kept_ || !realVisibility())
        return false;
    Finish();
    DrawImage(painter, image_, *kept_);
    return true;
}

bool SpanRenderer::AloneOnLayer() const {
    // Line series leave raster devices to this; anything else visible draws for itself.
    const QList<QCPLayerable*> children = layer()->children();
    return std::all_of(children.begin(), children.end(), [this](const QCPLayerable* l) {
        const auto* g = qobject_cast<const EnvelopeGraph*>(l);
        return l == this || !l->realVisibility() ||
               (g && g->SeriesKind() == EnvelopeGraph::Kind::Line);
    });
}

void SpanRenderer::draw(QCPPainter* painter) {
    // Device pixels per logical one: screen scaling times any export scale.
    const double dpr = painter->device()->devicePixelRatioF();
    const double ratio = dpr * painter->transform().m11();
    const bool antialias = painter->antialiasing();
    const Frame frame = Handles(painter) ? FrameFor(ratio, antialias) : Frame{};
    const bool ready = prepared_ && *prepared_ == frame;
    if (!ready) {
        Cancel();
        prepared_.reset();
    }
    // Kept for the widget only when the layer's buffer gets nothing else: composited apart,
    // translucent points over the lines would round differently.
    const bool keep = !inPlace_ && AloneOnLayer();
    if (!inPlace_)
        kept_.reset();
    if (frame.Size.isEmpty())
        return;
    if (!inPlace_)
        lastDevice_.emplace(ratio, antialias);
    // An image of the chart's own leaves the one kept for the widget as it is.
    QImage own;
    QImage& image = ready || !inPlace_ ? image_ : own;
    if (!ready)
        Render(frame, TargetFor(image, frame));
    // The engine's painter shifts by half a pixel while antialiasing, and a shifted image
    // would be resampled (slow and blurred): the image goes on whole pixels.
    const QPointF at = painter->transform().map(QPointF(rect_->rect().topLeft()));
    const QPointF whole(std::floor(at.x() * dpr) / dpr, std::floor(at.y() * dpr) / dpr);
    if (keep) {
        kept_ = whole;
        return;
    }
    Finish();
    DrawImage(painter, image, whole);
}
