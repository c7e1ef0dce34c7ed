#pragma once

#include "model/ValueSummary.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
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

// The points a raster shows of a point series, as indices into the arrays in time order.
// Whole marks the points of a pixel column that holds no more than two (and the nearest one
// beyond each edge of the range): every point there is kept. The others are the lowest and
// highest of a column holding more.
struct ReducedPoints {
    RawVector<uint32_t> Index;
    RawVector<uint8_t> Whole;

    size_t Size() const { return Index.size(); }
};

// The values whose marks a view shows: those whose normalised value, (value - Minimum) / Range
// as the chart computes it, lies strictly between Lower and Upper.
struct ValueWindow {
    float Minimum = 0, Range = 1;
    double Lower = -std::numeric_limits<double>::infinity();
    double Upper = std::numeric_limits<double>::infinity();

    bool Shows(float v) const {
        const auto n = static_cast<double>((v - Minimum) / Range);
        return n > Lower && n < Upper;
    }
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
// must outlive it, and reads a column's extremes from the values' summary: its whole blocks,
// and the values only at the column's ends.
class SeriesEnvelope {
public:
    // x ascending; y as long as x. A NaN in y is a gap: the line breaks there. summary is that
    // of the values y starts at offset of (a parameter's, which outlives the envelope); without
    // one the envelope makes its own.
    SeriesEnvelope(std::span<const double> x, std::span<const float> y,
                   const ValueSummary* summary = nullptr, size_t offset = 0);

    // The range [xMin, xMax] split into columns equal pixel columns. One sample beyond each
    // edge is kept, so that the line runs to the border. out's capacity is reused.
    void Reduce(double xMin, double xMax, int columns, ReducedSeries& out) const;

    // The same split for points drawn as marks: a column's points when it holds one or two,
    // else its lowest and highest (their first occurrences) among those the window shows,
    // found from the summary's blocks where the window shows the column's extremes; and the
    // nearest point beyond each edge. out's capacity is reused.
    void ReducePoints(double xMin, double xMax, int columns, const ValueWindow& window,
                      ReducedPoints& out) const;

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
    // right, and once for every NaN sample.
    template <class F>
    void ForEachColumn(size_t begin, size_t end, double xMin, double columnsPerUnit, int columns,
                       F&& f) const;
    // Calls f(column, first, last) for every column holding samples of [begin, end), left to
    // right, NaN samples included: the times alone, no value is read.
    template <class F>
    void ForEachColumnSpan(size_t begin, size_t end, double xMin, double columnsPerUnit,
                           int columns, F&& f) const;

    // The lowest and highest of y[begin, end), end > begin; with SkipNaN, NaN is left out
    // (lo > hi when every one is NaN). Whole blocks come from the coarsest levels of the
    // summary that fit, values are read only at the ends. Inline, as MinMax.
    template <bool SkipNaN> void Extremes(size_t begin, size_t end, float& lo, float& hi) const;
    // Stretches shorter than this are read whole: blocks would save nothing there.
    static constexpr size_t ReadWholeBelow = 48;
    // The first index of [begin, end) whose value is v, the lowest (Lowest) or the highest
    // number there: blocks of the summary whose extreme is not v are passed over whole.
    template <bool Lowest> size_t FirstAt(size_t begin, size_t end, float v) const;

    std::span<const double> X() const { return x_; }
    std::span<const float> Y() const { return y_; }
    bool HasGaps() const { return hasGaps_; }

    // The lowest and highest of v[0, n), n > 0, no NaN among them; with SkipNaN, NaN may be
    // among them and is left out (lo > hi when every one is NaN); with Pairs, v holds n / 2
    // pairs (lowest, highest) and lo is the lowest of the lowest, hi the highest of the
    // highest. Inline, so that callers built for wider vectors get them here too.
    template <bool SkipNaN = false, bool Pairs = false>
    static void MinMax(const float* v, size_t n, float& lo, float& hi);

private:
    // The mean number of samples per column of [begin, end), which predicts where each column
    // ends.
    double PerColumn(size_t begin, size_t end, double columnsPerUnit) const {
        return end - begin > 1 && x_[end - 1] > x_[begin] && columnsPerUnit > 0.0
                   ? static_cast<double>(end - begin - 1) /
                         ((x_[end - 1] - x_[begin]) * columnsPerUnit)
                   : 0.0;
    }
    size_t RunEnd(size_t i, size_t end, double perColumn, int column, double xMin,
                  double columnsPerUnit, int columns) const;

    std::span<const double> x_;
    std::span<const float> y_;
    bool hasGaps_ = false;
    std::shared_ptr<const ValueSummary> own_; // when the caller gave none
    const ValueSummary* summary_;
    size_t offset_; // of y_[0] in the summary's values
};

template <bool SkipNaN, bool Pairs>
inline void SeriesEnvelope::MinMax(const float* v, size_t n, float& lo, float& hi) {
    // Whole vectors, the last one overlapping the one before it: the extremes do not mind a
    // value seen twice, and no loop is left for the remainder. Eight lanes where the caller is
    // built for them, else two vectors of four. Lanes start from the first values, or, where
    // NaN may be among them, from what every number replaces: a NaN replaces nothing.
    using Eight = float __attribute__((vector_size(32)));
    using Four = float __attribute__((vector_size(16)));
    constexpr float inf = std::numeric_limits<float>::infinity();
    Four l4, h4, a4;
    if (n >= 8) {
        Eight l8, h8, a8;
        std::memcpy(&a8, v + n - 8, sizeof a8);
        if constexpr (SkipNaN) {
            l8 = Eight{} + inf;
            h8 = Eight{} - inf;
            l8 = a8 < l8 ? a8 : l8;
            h8 = a8 > h8 ? a8 : h8;
        } else {
            l8 = h8 = a8;
        }
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
        std::memcpy(&a4, v, sizeof a4);
        if constexpr (SkipNaN) {
            l4 = Four{} + inf;
            h4 = Four{} - inf;
            l4 = a4 < l4 ? a4 : l4;
            h4 = a4 > h4 ? a4 : h4;
        } else {
            l4 = h4 = a4;
        }
        std::memcpy(&a4, v + n - 4, sizeof a4);
        h4 = a4 > h4 ? a4 : h4;
        l4 = a4 < l4 ? a4 : l4;
    } else if constexpr (Pairs) {
        lo = v[0];
        hi = v[1];
        return;
    } else {
        lo = SkipNaN ? inf : v[0];
        hi = SkipNaN ? -inf : v[0];
        for (size_t k = SkipNaN ? 0 : 1; k < n; ++k) {
            lo = v[k] < lo ? v[k] : lo;
            hi = v[k] > hi ? v[k] : hi;
        }
        return;
    }
    if constexpr (Pairs) {
        lo = std::min(l4[0], l4[2]);
        hi = std::max(h4[1], h4[3]);
    } else {
        lo = std::min(std::min(l4[0], l4[1]), std::min(l4[2], l4[3]));
        hi = std::max(std::max(h4[0], h4[1]), std::max(h4[2], h4[3]));
    }
}

template <bool SkipNaN>
inline void SeriesEnvelope::Extremes(size_t begin, size_t end, float& lo, float& hi) const {
    if (end - begin < ReadWholeBelow) {
        MinMax<SkipNaN>(y_.data() + begin, end - begin, lo, hi);
        return;
    }
    constexpr size_t fan = size_t{1} << ValueSummary::LevelBits;
    const float* v = summary_->Values();
    const size_t a = begin + offset_, b = end + offset_;
    // The whole blocks [from, to) of the level, and the values before and after them.
    size_t from = (a + fan - 1) / fan, to = b / fan;
    float l, h;
    lo = std::numeric_limits<float>::infinity();
    hi = -lo;
    auto add = [&] {
        lo = l < lo ? l : lo;
        hi = h > hi ? h : hi;
    };
    if (a < from * fan) {
        MinMax<SkipNaN>(v + a, from * fan - a, l, h);
        add();
    }
    if (to * fan < b) {
        MinMax<SkipNaN>(v + to * fan, b - to * fan, l, h);
        add();
    }
    for (int level = 0;; ++level) {
        const float* pairs = summary_->Level(level);
        const size_t up = (from + fan - 1) / fan, upTo = to / fan;
        if (up >= upTo || level + 1 == summary_->Levels()) {
            MinMax<false, true>(pairs + 2 * from, 2 * (to - from), l, h);
            add();
            return;
        }
        if (from < up * fan) {
            MinMax<false, true>(pairs + 2 * from, 2 * (up * fan - from), l, h);
            add();
        }
        if (upTo * fan < to) {
            MinMax<false, true>(pairs + 2 * upTo * fan, 2 * (to - upTo * fan), l, h);
            add();
        }
        from = up;
        to = upTo;
    }
}

template <bool Lowest> size_t SeriesEnvelope::FirstAt(size_t begin, size_t end, float v) const {
    if (end - begin < ReadWholeBelow)
        return static_cast<size_t>(std::find(y_.data() + begin, y_.data() + end, v) - y_.data());
    constexpr size_t fan = size_t{1} << ValueSummary::LevelBits;
    const float* values = summary_->Values();
    const size_t last = end + offset_;
    // The coarsest level tried at i: a block found to hold v is searched a level finer.
    int cap = summary_->Levels() - 1;
    for (size_t i = begin + offset_; i < last;) {
        int level = -1;
        size_t size = 1;
        while (level < cap && i % (size * fan) == 0 && i + size * fan <= last) {
            size *= fan;
            ++level;
        }
        if (level < 0) {
            if (values[i] == v)
                return i - offset_;
            ++i;
            continue;
        }
        // v is the extreme of a range holding the block: the block holds v when its own
        // extreme is v.
        const float* pair = summary_->Level(level) + 2 * (i / size);
        if ((Lowest ? pair[0] : pair[1]) == v) {
            cap = level - 1;
            continue;
        }
        i += size;
        cap = summary_->Levels() - 1;
    }
    return end;
}

template <class F>
void SeriesEnvelope::ForEachColumnSpan(size_t begin, size_t end, double xMin, double columnsPerUnit,
                                       int columns, F&& f) const {
    const double perColumn = PerColumn(begin, end, columnsPerUnit);
    for (size_t i = begin; i < end;) {
        const int col = ColumnOf(x_[i], xMin, columnsPerUnit, columns);
        const size_t j = RunEnd(i, end, perColumn, col, xMin, columnsPerUnit, columns);
        f(col, i, j - 1);
        i = j;
    }
}

template <class F>
void SeriesEnvelope::ForEachColumn(size_t begin, size_t end, double xMin, double columnsPerUnit,
                                   int columns, F&& f) const {
    const float* y = y_.data();
    const double perColumn = PerColumn(begin, end, columnsPerUnit);
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
        run.MinAt = static_cast<size_t>(std::find(y + i, y + j, run.MinValue) - y);
        run.MaxAt = static_cast<size_t>(std::find(y + i, y + j, run.MaxValue) - y);
        f(run);
        i = j;
    }
}
