#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <utility>
#include <vector>

// A vector that leaves new elements uninitialised on resize: the reduction sizes for the worst
// case and writes through a cursor.
template <class T> struct DefaultInitAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = DefaultInitAllocator<U>; };
    using std::allocator<T>::allocator;
    template <class U> void construct(U* p) { ::new (static_cast<void*>(p)) U; }
    template <class U, class... Args> void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
};
template <class T> using RawVector = std::vector<T, DefaultInitAllocator<T>>;

// The points a reduction keeps: every one a real sample (its own x and y), so SourceIndex
// maps a hit back to the series' arrays.
struct ReducedSeries {
    RawVector<double> X;
    RawVector<double> Y;
    RawVector<uint32_t> SourceIndex;

    size_t Size() const { return X.size(); }
};

// The samples of one pixel column, as indices into the arrays.
struct ColumnRun {
    int Column = 0;
    size_t First = 0, Last = 0;  // first and last sample in the column
    size_t MinAt = 0, MaxAt = 0; // lowest and highest (first occurrence)
    float MinValue = 0, MaxValue = 0;
    bool Gap = false; // a NaN sample (First == Last): the line breaks there
};

// One series reduced to what a pixel raster can show: for every pixel column the first,
// lowest, highest and last sample, in their order. Every column keeps its vertical extent
// exactly, so a single-sample spike survives any zoom. Works on the caller's arrays, which
// must outlive it.
class SeriesEnvelope {
public:
    // x ascending; y as long as x. A NaN in y is a gap: the line breaks there.
    SeriesEnvelope(std::span<const double> x, std::span<const float> y);

    // The range [xMin, xMax] split into columns equal pixel columns. One sample beyond each
    // edge is kept, so that the line runs to the border. out's capacity is reused.
    void Reduce(double xMin, double xMax, int columns, ReducedSeries& out) const;

    // The column of x; monotonic in x, so each column is one contiguous run of samples.
    static int ColumnOf(double x, double xMin, double columnsPerUnit, int columns) {
        const double c = (x - xMin) * columnsPerUnit;
        return c < 0.0 ? 0 : (c >= columns ? columns - 1 : static_cast<int>(c));
    }

    // The most points Reduce makes of data without gaps; each gap adds one.
    static size_t MaxPoints(int columns) { return 4u * static_cast<size_t>(columns) + 2u; }

    // Samples [begin, end) with x in [xMin, xMax].
    std::pair<size_t, size_t> IndexRange(double xMin, double xMax) const;

    // The first index of [begin, end) whose column is at least column.
    size_t FirstInColumn(size_t begin, size_t end, int column, double xMin, double columnsPerUnit,
                         int columns) const;

    // Calls f(const ColumnRun&) for every column holding samples of [begin, end), left to
    // right, and once for every NaN sample. Drawing needs only the values: without
    // withIndices, MinAt and MaxAt stay unset (finding them is a good part of the scan).
    template <bool withIndices = true, class F>
    void ForEachColumn(size_t begin, size_t end, double xMin, double columnsPerUnit, int columns,
                       F&& f) const;

    std::span<const double> X() const { return x_; }
    std::span<const float> Y() const { return y_; }
    bool HasGaps() const { return hasGaps_; }

    // The lowest and highest of v[0, n), n > 0, no NaN among them. Inline, so that callers
    // built for wider vectors get them here too.
    static void MinMax(const float* v, size_t n, float& lo, float& hi);

private:
    size_t RunEnd(size_t i, size_t end, double perColumn, int column, double xMin,
                  double columnsPerUnit, int columns) const;

    std::span<const double> x_;
    std::span<const float> y_;
    bool hasGaps_ = false;
};

inline void SeriesEnvelope::MinMax(const float* v, size_t n, float& lo, float& hi) {
    // Whole vectors, the last one overlapping the one before it: the extremes do not mind a
    // value seen twice, and no loop is left for the remainder. Eight lanes where the caller is
    // built for them, else two vectors of four.
    using Eight = float __attribute__((vector_size(32)));
    using Four = float __attribute__((vector_size(16)));
    Four l4, h4, a4;
    if (n >= 8) {
        Eight l8, h8, a8;
        std::memcpy(&l8, v + n - 8, sizeof l8);
        h8 = l8;
        for (size_t k = 0; k + 8 < n; k += 8) {
            std::memcpy(&a8, v + k, sizeof a8);
            l8 = a8 < l8 ? a8 : l8;
            h8 = a8 > h8 ? a8 : h8;
        }
        // The two halves of each, one against the other.
        l4 = __builtin_shufflevector(l8, l8, 0, 1, 2, 3);
        a4 = __builtin_shufflevector(l8, l8, 4, 5, 6, 7);
        l4 = a4 < l4 ? a4 : l4;
        h4 = __builtin_shufflevector(h8, h8, 0, 1, 2, 3);
        a4 = __builtin_shufflevector(h8, h8, 4, 5, 6, 7);
        h4 = a4 > h4 ? a4 : h4;
    } else if (n >= 4) {
        std::memcpy(&l4, v, sizeof l4);
        std::memcpy(&a4, v + n - 4, sizeof a4);
        h4 = a4 > l4 ? a4 : l4;
        l4 = a4 < l4 ? a4 : l4;
    } else {
        lo = hi = v[0];
        for (size_t k = 1; k < n; ++k) {
            lo = std::min(lo, v[k]);
            hi = std::max(hi, v[k]);
        }
        return;
    }
    lo = std::min(std::min(l4[0], l4[1]), std::min(l4[2], l4[3]));
    hi = std::max(std::max(h4[0], h4[1]), std::max(h4[2], h4[3]));
}

template <bool withIndices, class F>
void SeriesEnvelope::ForEachColumn(size_t begin, size_t end, double xMin, double columnsPerUnit,
                                   int columns, F&& f) const {
    const float* y = y_.data();
    // The mean number of samples per column predicts where each column ends.
    const double perColumn =
        end - begin > 1 && x_[end - 1] > x_[begin] && columnsPerUnit > 0.0
            ? static_cast<double>(end - begin - 1) / ((x_[end - 1] - x_[begin]) * columnsPerUnit)
            : 0.0;
    size_t i = begin;
    while (i < end) {
        const int col = ColumnOf(x_[i], xMin, columnsPerUnit, columns);
        if (hasGaps_ && y[i] != y[i]) {
            f(ColumnRun{col, i, i, i, i, y[i], y[i], true});
            ++i;
            continue;
        }
        size_t j = RunEnd(i, end, perColumn, col, xMin, columnsPerUnit, columns);
        if (hasGaps_)
            for (size_t k = i + 1; k < j; ++k)
                if (y[k] != y[k]) {
                    j = k;
                    break;
                }
        ColumnRun run{col, i, j - 1, 0, 0, 0, 0, false};
        MinMax(y + i, j - i, run.MinValue, run.MaxValue);
        if constexpr (withIndices) {
            run.MinAt = static_cast<size_t>(std::find(y + i, y + j, run.MinValue) - y);
            run.MaxAt = static_cast<size_t>(std::find(y + i, y + j, run.MaxValue) - y);
        }
        f(run);
        i = j;
    }
}
