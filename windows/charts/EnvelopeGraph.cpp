#include "windows/charts/EnvelopeGraph.h"

#include "windows/charts/RasterPainter.h"

#include <QDataStream>

#include <algorithm>
#include <cmath>
#include <numeric>

EnvelopeGraph::EnvelopeGraph(QCPAxis* keyAxis, QCPAxis* valueAxis, Kind kind)
    : QCPGraph(keyAxis, valueAxis), kind_(kind), whole_(new QCPGraphDataContainer) {
    // Both kinds hand the engine what a pixel column shows already; its own sampling would
    // only scan the points again.
    setAdaptiveSampling(false);
    if (kind_ == Kind::Points)
        setLineStyle(lsNone);
}

double EnvelopeGraph::Normalised(float value) const {
    return static_cast<double>((value - static_cast<float>(minimum_)) / static_cast<float>(range_));
}

void EnvelopeGraph::SetSource(const SampleSpan& samples, double minimum, double range) {
    const std::span<const double> times = samples.Times;
    const std::span<const float> values = samples.Values;
    minimum_ = minimum;
    range_ = range;
    preparedColumns_ = -1;
    pointOrder_.clear();
    sortedTimes_.clear();
    sortedValues_.clear();
    mDataContainer->clear();
    if (kind_ == Kind::Line || std::is_sorted(times.begin(), times.end())) {
        envelope_.emplace(times, values, samples.Summary, samples.SummaryOffset);
        return;
    }
    // Points out of time order: split into columns in time order, with a summary of their own.
    pointOrder_.resize(times.size());
    std::iota(pointOrder_.begin(), pointOrder_.end(), 0u);
    std::stable_sort(pointOrder_.begin(), pointOrder_.end(),
                     [&](uint32_t a, uint32_t b) { return times[a] < times[b]; });
    for (const uint32_t i : pointOrder_) {
        sortedTimes_.push_back(times[i]);
        sortedValues_.push_back(values[i]);
    }
    envelope_.emplace(sortedTimes_, sortedValues_);
}

void EnvelopeGraph::SetRenderer(QCPLayerable* renderer) {
    renderer_ = renderer;
}

bool EnvelopeGraph::Prepare(const QCPRange& range, int columns) {
    if (!envelope_)
        return false;
    QCPRange values;
    if (const QCPAxis* axis = valueAxis(); axis && kind_ == Kind::Points)
        values = axis->range();
    if (columns == preparedColumns_ && range == preparedRange_ && values == preparedValues_)
        return false;
    preparedRange_ = range;
    preparedValues_ = values;
    preparedColumns_ = columns;
    if (kind_ == Kind::Points) {
        PreparePoints(range, columns, values);
        return true;
    }
    envelope_->Reduce(range.lower, range.upper, columns, reduced_);
    QVector<QCPGraphData> data(static_cast<qsizetype>(reduced_.Size()));
    for (size_t i = 0; i < reduced_.Size(); ++i)
        data[static_cast<qsizetype>(i)] =
            QCPGraphData(reduced_.X[i], Normalised(static_cast<float>(reduced_.Y[i])));
    mDataContainer->set(data, true);
    return true;
}

void EnvelopeGraph::PreparePoints(const QCPRange& range, int columns, const QCPRange& values) {
    ValueWindow window;
    window.Minimum = static_cast<float>(minimum_);
    window.Range = static_cast<float>(range_);
    window.Lower = values.lower;
    window.Upper = values.upper;
    envelope_->ReducePoints(range.lower, range.upper, columns, window, points_);
    const std::span<const double> x = envelope_->X();
    const std::span<const float> y = envelope_->Y();
    // The engine holds every point kept, for hit tests and vector output.
    QVector<QCPGraphData> all(static_cast<qsizetype>(points_.Size())), whole;
    marks_.clear();
    for (size_t k = 0; k < points_.Size(); ++k) {
        const size_t i = points_.Index[k];
        const QCPGraphData point(x[i], Normalised(y[i]));
        all[static_cast<qsizetype>(k)] = point;
        if (points_.Whole[k])
            whole.push_back(point);
        else
            marks_.emplace_back(point.key, point.value);
    }
    mDataContainer->set(all, true);
    whole_->set(whole, true);
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
        if (dataIndex < 0 || static_cast<size_t>(dataIndex) >= points_.Size())
            return -1;
        const uint32_t i = points_.Index[static_cast<size_t>(dataIndex)];
        return pointOrder_.empty() ? i : pointOrder_[i];
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

namespace {

// A mark's picture is drawn at this many steps of a pixel across and down: copies of it stand
// where the engine would draw the mark, to an eighth of a pixel.
constexpr int MarkPhases = 8;

} // namespace

void EnvelopeGraph::KeepMarkPictures(bool antialiased) {
    const QCPScatterStyle& style = scatterStyle();
    QByteArray key;
    QDataStream out(&key, QIODevice::WriteOnly);
    out << static_cast<int>(style.shape()) << style.size() << style.pen() << style.brush() << pen()
        << antialiased;
    if (key != markKey_) {
        markKey_ = key;
        markPictures_.assign(MarkPhases * MarkPhases, QImage());
    }
}

const QImage& EnvelopeGraph::MarkPicture(bool antialiased, int phaseX, int phaseY) {
    const QCPScatterStyle& style = scatterStyle();
    QImage& picture = markPictures_[static_cast<size_t>(phaseY * MarkPhases + phaseX)];
    if (!picture.isNull())
        return picture;
    // The mark as the engine draws it, room for its pen around it.
    const int half = MarkHalf();
    picture = QImage(2 * half + 2, 2 * half + 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QCPPainter painter(&picture);
    painter.setAntialiasing(antialiased);
    style.applyTo(&painter, pen());
    style.drawShape(&painter, half + static_cast<double>(phaseX) / MarkPhases,
                    half + static_cast<double>(phaseY) / MarkPhases);
    return picture;
}

int EnvelopeGraph::MarkHalf() const {
    return static_cast<int>(std::ceil(scatterStyle().size() / 2 + pen().widthF())) + 2;
}

void EnvelopeGraph::DrawMarks(QCPPainter* painter) {
    applyScattersAntialiasingHint(painter);
    const bool antialiased = painter->antialiasing();
    KeepMarkPictures(antialiased);
    const int half = MarkHalf();
    // Where the engine's painter puts a mark's centre, less the half pixel its antialiasing
    // adds, which the picture has too.
    const QTransform toDevice = painter->deviceTransform();
    const double shift = antialiased ? 0.5 : 0.0;
    const QCPAxis* key = keyAxis();
    const QCPAxis* value = valueAxis();
    const auto split = [](double at, int& whole, int& phase) {
        const double steps = std::floor(at * MarkPhases + 0.5);
        whole = static_cast<int>(std::floor(steps / MarkPhases));
        phase = static_cast<int>(steps - static_cast<double>(whole) * MarkPhases);
    };
    painter->save();
    painter->resetTransform();
    for (const QPointF& m : marks_) {
        const QPointF at =
            toDevice.map(QPointF(key->coordToPixel(m.x()), value->coordToPixel(m.y())));
        int x, y, phaseX, phaseY;
        split(at.x() - shift, x, phaseX);
        split(at.y() - shift, y, phaseY);
        painter->drawImage(QPoint(x - half, y - half), MarkPicture(antialiased, phaseX, phaseY));
    }
    painter->restore();
}

void EnvelopeGraph::draw(QCPPainter* painter) {
    if (band_ && kind_ == Kind::Line && DrawBand(painter))
        return;
    if (kind_ == Kind::Line && !band_ && renderer_ && renderer_->realVisibility() &&
        PaintsRaster(painter))
        return;
    if (const QCPAxis* key = keyAxis())
        Prepare(key->range(), ColumnsFor(painter));
    // On a raster at its own scale the extremes of crowded columns are copies of pictures of
    // the mark; elsewhere every point kept is drawn by the engine.
    const bool copies = kind_ == Kind::Points && PaintsRaster(painter) && !marks_.empty() &&
                        painter->deviceTransform().type() <= QTransform::TxTranslate &&
                        painter->device()->devicePixelRatioF() == 1.0 && !scatterStyle().isNone();
    if (!copies) {
        QCPGraph::draw(painter);
        return;
    }
    std::swap(mDataContainer, whole_);
    QCPGraph::draw(painter);
    std::swap(mDataContainer, whole_);
    DrawMarks(painter);
}
