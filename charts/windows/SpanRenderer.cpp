#include "charts/windows/SpanRenderer.h"

#include "charts/ParallelFor.h"
#include "charts/SpanRaster.h"
#include "charts/windows/EnvelopeGraph.h"
#include "charts/windows/RasterPainter.h"

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

} // namespace

SpanRenderer::SpanRenderer(QCPAxisRect* rect, QCPLayer* layer, int threads)
    : QCPLayerable(rect->parentPlot(), layer->name()), rect_(rect), threads_(threads) {}

bool SpanRenderer::Handles(const QCPPainter* painter) const {
    return realVisibility() && PaintsRaster(painter);
}

void SpanRenderer::applyDefaultAntialiasingHint(QCPPainter* painter) const {
    // The series' switch, so that switching antialiasing off for series applies here too.
    applyAntialiasingHint(painter, mAntialiased, QCP::aePlottables);
}

void SpanRenderer::draw(QCPPainter* painter) {
    if (!Handles(painter))
        return;
    // Device pixels per logical one: screen scaling times any export scale.
    const double dpr = painter->device()->devicePixelRatioF();
    const double ratio = dpr * painter->transform().m11();
    const QRect area = rect_->rect();
    const QSize size(static_cast<int>(std::lround(area.width() * ratio)),
                     static_cast<int>(std::lround(area.height() * ratio)));
    if (size.isEmpty())
        return;
    if (image_.size() != size)
        image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);

    const bool antialias = painter->antialiasing();
    std::vector<SeriesJob> jobs;
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
        jobs.push_back({g->Envelope(), range.lower, range.upper,
                        ValueToImage(*g, *value, area.top(), ratio), style});
    }

    const RasterTarget target{reinterpret_cast<uint32_t*>(image_.bits()), size.width(),
                              size.height(), image_.bytesPerLine() / 4};
    const int threads = std::max(1, threads_);
    scratch_.resize(static_cast<size_t>(threads));
    for (auto& s : scratch_)
        s.resize(static_cast<size_t>(DefaultTileColumns) * static_cast<size_t>(size.height()));
    ParallelFor(threads, threads, [&](int t) {
        // Whole tiles per thread, so that no two threads write one cache line.
        const int tiles = (size.width() + DefaultTileColumns - 1) / DefaultTileColumns;
        const int c0 = tiles * t / threads * DefaultTileColumns;
        const int c1 = tiles * (t + 1) / threads * DefaultTileColumns;
        RenderSeries(jobs, target, scratch_[static_cast<size_t>(t)].data(), c0, c1);
    });

    // The engine's painter shifts by half a pixel while antialiasing, and a shifted image
    // would be resampled (slow and blurred): the image goes on whole pixels.
    const QPointF at = painter->transform().map(QPointF(area.topLeft()));
    painter->save();
    painter->resetTransform();
    image_.setDevicePixelRatio(dpr);
    painter->drawImage(QPointF(std::floor(at.x() * dpr) / dpr, std::floor(at.y() * dpr) / dpr),
                       image_);
    painter->restore();
}
