#include "charts/SeriesEnvelope.h"

#include <cassert>
#include <cmath>

SeriesEnvelope::SeriesEnvelope(std::span<const double> x, std::span<const float> y,
                               const ValueSummary* summary, size_t offset)
    : x_(x), y_(y), summary_(summary), offset_(offset) {
    assert(x.size() == y.size());
    if (!summary_) {
        own_ = std::make_shared<const ValueSummary>(y.data(), static_cast<int32_t>(y.size()));
        summary_ = own_.get();
        offset_ = 0;
    }
    assert(y.empty() || (summary_->Values() + offset_ == y.data() &&
                         offset_ + y.size() <= static_cast<size_t>(summary_->Count())));
    // Series without gaps (the usual case) skip every NaN check of the scan.
    hasGaps_ = std::any_of(y.begin(), y.end(), [](float v) { return std::isnan(v); });
}

std::pair<size_t, size_t> SeriesEnvelope::IndexRange(double xMin, double xMax) const {
    const auto lo = std::lower_bound(x_.begin(), x_.end(), xMin);
    const auto hi = std::upper_bound(lo, x_.end(), xMax);
    return {static_cast<size_t>(lo - x_.begin()), static_cast<size_t>(hi - x_.begin())};
}

size_t SeriesEnvelope::FirstInColumn(size_t begin, size_t end, int column, double xMin,
                                     double columnsPerUnit, int columns) const {
    const auto it =
        std::partition_point(x_.begin() + static_cast<std::ptrdiff_t>(begin),
                             x_.begin() + static_cast<std::ptrdiff_t>(end), [&](double v) {
                                 return ColumnOf(v, xMin, columnsPerUnit, columns) < column;
                             });
    return static_cast<size_t>(it - x_.begin());
}

size_t SeriesEnvelope::RunEnd(size_t i, size_t end, double perColumn, int column, double xMin,
                              double columnsPerUnit, int columns) const {
    auto inColumn = [&](double v) { return ColumnOf(v, xMin, columnsPerUnit, columns) <= column; };
    const double* x = x_.data();
    if (column == columns - 1)
        return end;
    // Recorded samples are evenly spaced: guess the first sample of the next column from the
    // mean spacing and correct by a few steps. A binary search only when the guess is far off
    // (gaps in time): its branches cost more than scanning the column.
    size_t j = i + 1;
    if (perColumn > 0.0) {
        const double ahead = ((column + 1) - (x[i] - xMin) * columnsPerUnit) * perColumn;
        j = ahead < static_cast<double>(end - i)
                ? i + std::max<size_t>(1, static_cast<size_t>(ahead))
                : end;
    }
    for (int tries = 0; tries < 4; ++tries) {
        if (j < end && inColumn(x[j]))
            ++j;
        else if (j > i + 1 && !inColumn(x[j - 1]))
            --j;
        else
            return j;
    }
    const double* lo = x + i + 1;
    return static_cast<size_t>(std::partition_point(lo, x + end, inColumn) - x);
}

void SeriesEnvelope::Reduce(double xMin, double xMax, int columns, ReducedSeries& out) const {
    const size_t n = x_.size();
    if (n == 0 || columns <= 0 || !(xMax >= xMin)) {
        out.X.clear();
        out.Y.clear();
        out.SourceIndex.clear();
        return;
    }
    const auto [lo, hi] = IndexRange(xMin, xMax);

    // The worst case, written through a cursor and trimmed afterwards.
    const size_t bound = (hasGaps_ ? hi - lo : std::min(hi - lo, MaxPoints(columns))) + 2;
    out.X.resize(bound);
    out.Y.resize(bound);
    out.SourceIndex.resize(bound);
    double* ox = out.X.data();
    double* oy = out.Y.data();
    uint32_t* oi = out.SourceIndex.data();
    size_t count = 0;
    bool lastWasGap = false;
    auto emit = [&](size_t i) {
        ox[count] = x_[i];
        oy[count] = static_cast<double>(y_[i]);
        oi[count] = static_cast<uint32_t>(i);
        ++count;
    };

    if (lo > 0) {
        emit(lo - 1);
        lastWasGap = std::isnan(y_[lo - 1]);
    }
    // A range of no width puts everything into one column instead of dividing by zero.
    const double perUnit = xMax > xMin ? columns / (xMax - xMin) : 0.0;
    ForEachColumn(lo, hi, xMin, perUnit, columns, [&](const ColumnRun& r) {
        if (r.Gap) {
            // One NaN is enough to break the line.
            if (!lastWasGap)
                emit(r.First);
            lastWasGap = true;
            return;
        }
        lastWasGap = false;
        emit(r.First);
        const size_t a = std::min(r.MinAt, r.MaxAt), b = std::max(r.MinAt, r.MaxAt);
        if (a != r.First && a != r.Last)
            emit(a);
        if (b != a && b != r.First && b != r.Last)
            emit(b);
        if (r.Last != r.First)
            emit(r.Last);
    });
    if (hi < n)
        emit(hi);

    out.X.resize(count);
    out.Y.resize(count);
    out.SourceIndex.resize(count);
}

void SeriesEnvelope::ReducePoints(double xMin, double xMax, int columns, const ValueWindow& window,
                                  ReducedPoints& out) const {
    out.Index.clear();
    out.Whole.clear();
    const size_t n = x_.size();
    if (n == 0 || columns <= 0 || !(xMax >= xMin))
        return;
    const auto [lo, hi] = IndexRange(xMin, xMax);
    const size_t bound = std::min(hi - lo, 2 * static_cast<size_t>(columns)) + 2;
    out.Index.resize(bound);
    out.Whole.resize(bound);
    size_t count = 0;
    auto emit = [&](size_t i, bool whole) {
        out.Index[count] = static_cast<uint32_t>(i);
        out.Whole[count] = whole;
        ++count;
    };
    // The marks just beyond the edges reach into the view.
    if (lo > 0)
        emit(lo - 1, true);
    const float* y = y_.data();
    const double perUnit = xMax > xMin ? columns / (xMax - xMin) : 0.0;
    ForEachColumnSpan(lo, hi, xMin, perUnit, columns, [&](int, size_t first, size_t last) {
        if (last - first < 2) {
            for (size_t k = first; k <= last; ++k)
                emit(k, true);
            return;
        }
        float low, high;
        Extremes<true>(first, last + 1, low, high);
        if (low > high)
            return; // NaN only: no mark
        size_t lowAt = last + 1, highAt = last + 1;
        if (window.Shows(low) && window.Shows(high)) {
            lowAt = FirstAt<true>(first, last + 1, low);
            highAt = FirstAt<false>(first, last + 1, high);
        } else {
            // Some lie outside the view: the extremes of those it shows, read one by one.
            for (size_t k = first; k <= last; ++k) {
                if (!window.Shows(y[k]))
                    continue;
                if (lowAt > last || y[k] < y[lowAt])
                    lowAt = k;
                if (highAt > last || y[k] > y[highAt])
                    highAt = k;
            }
            if (lowAt > last)
                return;
        }
        emit(std::min(lowAt, highAt), false);
        if (highAt != lowAt)
            emit(std::max(lowAt, highAt), false);
    });
    if (hi < n)
        emit(hi, true);
    out.Index.resize(count);
    out.Whole.resize(count);
}
