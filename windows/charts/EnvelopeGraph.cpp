#include "windows/charts/EnvelopeGraph.h"

#include "windows/charts/RasterPainter.h"

#include <algorithm>
#include <cmath>
#include <numeric>

EnvelopeGraph::EnvelopeGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, Kind kind)
    : QCPGraph(keyAxis, valueAxis), kind_(kind) {
    // A line's envelope already keeps every column's extremes; the engine's own sampling
    // would only scan the points again. Points keep it: it merges points on one pixel.
    setAdaptiveSampling(kind == Kind::Points);
    if (kind_ == Kind::Points)
        setLineStyle(lsNone);
}

void EnvelopeGraph::SetSource(const SampleSpan& samples, double minimum, double range) {
    const std::span<const double> times = samples.Times;
    const std::span<const float> values = samples.Values;
    minimum_ = minimum;
    range_ = range;
    values_ = values;
    preparedColumns_ = -1;
    pointOrder_.clear();
    const auto normalised = [&](float v) {
        return static_cast<double>((v - static_cast<float>(minimum)) / static_cast<float>(range));
    };
    if (kind_ == Kind::Line) {
        envelope_.emplace(times, values, samples.Summary, samples.SummaryOffset);
        mDataContainer->clear();
        return;
    }
    QVector<QCPGraphData> data(static_cast<qsizetype>(times.size()));
    for (size_t i = 0; i < times.size(); ++i)
        data[static_cast<qsizetype>(i)] = QCPGraphData(times[i], normalised(values[i]));
    const bool sorted = std::is_sorted(times.begin(), times.end());
    if (!sorted) {
        // The engine keeps its points sorted by time; remember where each one came from.
        pointOrder_.resize(times.size());
        std::iota(pointOrder_.begin(), pointOrder_.end(), 0u);
        std::stable_sort(pointOrder_.begin(), pointOrder_.end(),
                         [&](uint32_t a, uint32_t b) { return times[a] < times[b]; });
        for (size_t i = 0; i < times.size(); ++i)
            data[static_cast<qsizetype>(i)] =
                QCPGraphData(times[pointOrder_[i]], normalised(values[pointOrder_[i]]));
    }
    mDataContainer->set(data, true);
}

void EnvelopeGraph::SetRenderer(QCPLayerable* renderer) {
    renderer_ = renderer;
}

bool EnvelopeGraph::Prepare(const QCPRange& range, int columns) {
    if (kind_ == Kind::Points || !envelope_)
        return false;
    if (columns == preparedColumns_ && range == preparedRange_)
        return false;
    envelope_->Reduce(range.lower, range.upper, columns, reduced_);
    const auto minimum = static_cast<float>(minimum_);
    const auto scale = static_cast<float>(range_);
    QVector<QCPGraphData> data(static_cast<qsizetype>(reduced_.Size()));
    for (size_t i = 0; i < reduced_.Size(); ++i)
        data[static_cast<qsizetype>(i)] = QCPGraphData(
            reduced_.X[i],
            static_cast<double>((static_cast<float>(reduced_.Y[i]) - minimum) / scale));
    mDataContainer->set(data, true);
    preparedRange_ = range;
    preparedColumns_ = columns;
    return true;
}

int EnvelopeGraph::ColumnsFor(const QPainter* painter) const {
    const QCPAxis* axis = keyAxis();
    if (!axis)
        return 0;
    const QRect rect = axis->axisRect()->rect();
    double ratio = 1.0;
    if (painter) {
        const QTransform t = painter->deviceTransform();
        ratio = std::hypot(t.m11(), t.m12());
    }
    return std::max(1, static_cast<int>(std::lround(rect.width() * ratio)));
}

qint64 EnvelopeGraph::SourceIndex(int dataIndex) const {
    if (kind_ == Kind::Points) {
        if (dataIndex < 0 || dataIndex >= mDataContainer->size())
            return -1;
        return pointOrder_.empty() ? dataIndex : pointOrder_[static_cast<size_t>(dataIndex)];
    }
    if (dataIndex < 0 || static_cast<size_t>(dataIndex) >= reduced_.SourceIndex.size())
        return -1;
    return reduced_.SourceIndex[static_cast<size_t>(dataIndex)];
}

double EnvelopeGraph::selectTest(const QPointF& pos, bool onlySelectable, QVariant* details) const {
    if (const QCPAxis* key = keyAxis())
        const_cast<EnvelopeGraph*>(this)->Prepare(key->range(), ColumnsFor(nullptr));
    return QCPGraph::selectTest(pos, onlySelectable, details);
}

bool EnvelopeGraph::DrawBand(QCPPainter* painter) const {
    const QCPAxis* key = keyAxis();
    const QCPAxis* value = valueAxis();
    if (!key || !value || !envelope_)
        return false;
    const QCPRange range = key->range();
    const int columns = ColumnsFor(painter);
    const auto [begin, end] = envelope_->IndexRange(range.lower, range.upper);
    if (end <= begin || range.size() <= 0 ||
        end - begin < BandSamplesPerColumn * static_cast<size_t>(columns))
        return false;
    // Columns of more than two hours take whole days of the clock, so that a year's means
    // follow the seasons rather than swing between day and night.
    double perUnit = columns / range.size(), xMin = range.lower;
    int spans = columns;
    if (1 / perUnit > 2.0 / 24) {
        perUnit = 1 / std::ceil(1 / perUnit);
        xMin = std::floor(range.lower);
        spans = static_cast<int>(std::ceil((range.upper - xMin) * perUnit));
    }
    struct Column {
        int At;
        float Low, High;
        double Sum;
        size_t Count;
    };
    // Runs of columns without a gap between them.
    std::vector<std::vector<Column>> pieces(1);
    const std::span<const float> y = envelope_->Y();
    envelope_->ForEachColumn(begin, end, xMin, perUnit, spans, [&](const ColumnRun& run) {
        if (run.Gap) {
            if (!pieces.back().empty())
                pieces.emplace_back();
            return;
        }
        double sum = 0;
        for (size_t k = run.First; k <= run.Last; ++k)
            sum += y[k];
        const size_t count = run.Last - run.First + 1;
        std::vector<Column>& piece = pieces.back();
        if (!piece.empty() && piece.back().At == run.Column) {
            Column& c = piece.back();
            c.Low = std::min(c.Low, run.MinValue);
            c.High = std::max(c.High, run.MaxValue);
            c.Sum += sum;
            c.Count += count;
        } else {
            piece.push_back({run.Column, run.MinValue, run.MaxValue, sum, count});
        }
    });
    const auto x = [&](double column) { return key->coordToPixel(xMin + column / perUnit); };
    const auto at = [&](double v) { return value->coordToPixel((v - minimum_) / range_); };
    QColor tint = pen().color();
    tint.setAlphaF(BandAlpha);
    painter->save();
    for (const std::vector<Column>& piece : pieces) {
        if (piece.empty())
            continue;
        // Each column's band as wide as the column, highest edge left to right, lowest back.
        QPolygonF band;
        for (const Column& c : piece)
            band << QPointF(x(c.At), at(c.High)) << QPointF(x(c.At + 1), at(c.High));
        for (auto c = piece.rbegin(); c != piece.rend(); ++c)
            band << QPointF(x(c->At + 1), at(c->Low)) << QPointF(x(c->At), at(c->Low));
        painter->setPen(Qt::NoPen);
        painter->setBrush(tint);
        painter->drawPolygon(band);
        QPolygonF means;
        for (const Column& c : piece)
            means << QPointF(x(c.At + 0.5), at(c.Sum / static_cast<double>(c.Count)));
        painter->setPen(pen());
        painter->setBrush(Qt::NoBrush);
        painter->drawPolyline(means);
    }
    painter->restore();
    return true;
}

void EnvelopeGraph::draw(QCPPainter* painter) {
    if (band_ && kind_ == Kind::Line && DrawBand(painter))
        return;
    if (kind_ == Kind::Line && !band_ && renderer_ && renderer_->realVisibility() &&
        PaintsRaster(painter))
        return;
    if (const QCPAxis* key = keyAxis())
        Prepare(key->range(), ColumnsFor(painter));
    QCPGraph::draw(painter);
}
