#include "charts/SpanRaster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

// The tile loop below is one function, every helper inlined into it, so that GCC can build it
// twice, for AVX2 (one-instruction floors, wider moves) and for the baseline, and the loader
// picks the one the processor runs. No FMA: the pixels stay those of the baseline.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define VRO_TILE_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define VRO_TILE_CLONES
#endif

namespace {

// The columns [FirstColumn, FirstColumn + ColumnCount) of a view, stored column by column:
// the vertical runs are contiguous there, where in a row-major image each pixel of a run is a
// cache line of its own.
struct ColumnBuffer {
    uint32_t* Bits = nullptr;
    int FirstColumn = 0;
    int ColumnCount = 0;
    int Height = 0;
    uint32_t* Column(int c) const { return Bits + std::ptrdiff_t(c - FirstColumn) * Height; }
    int EndColumn() const { return FirstColumn + ColumnCount; }
};

// Without SSE4.1 std::floor may be a library call; callers clamp v into int range first.
inline int IntFloor(double v) {
    const int i = static_cast<int>(v);
    return i - (v < static_cast<double>(i));
}

uint32_t ScaleArgb(uint32_t c, unsigned a) { // a in 0..256
    const uint32_t rb = (((c & 0x00ff00ffu) * a) >> 8) & 0x00ff00ffu;
    const uint32_t ag = (((c >> 8) & 0x00ff00ffu) * a) & 0xff00ff00u;
    return rb | ag;
}

// Premultiplied source-over.
uint32_t Blend(uint32_t dst, uint32_t src) {
    const unsigned inverse = 255u - (src >> 24);
    return src + ScaleArgb(dst, inverse + (inverse >> 7)); // 0..255 -> 0..256
}

// The rows a run paints: the two ends (which take their covered fraction when antialiased) and
// the rows between them, which take the whole colour.
struct RunRows {
    int First, Last;        // the end rows; First == Last for a run within one row
    double FirstPart = 1.0; // the covered fractions of the end rows when antialiased
    double LastPart = 1.0;
    int InnerBegin, InnerEnd; // [InnerBegin, InnerEnd), inside the image
};

// The rows of a vertical run [lo, hi] (pen growth included) in a column height rows high.
[[gnu::always_inline]] inline RunRows RowsOf(double lo, double hi, bool antialias, int height) {
    if (!antialias) {
        const int r0 = IntFloor(std::clamp(lo, 0.0, static_cast<double>(height)));
        const int r1 = IntFloor(std::clamp(hi, -1.0, height - 1.0));
        return {r0, r1, 1.0, 1.0, r0, r1 + 1};
    }
    // The line is one pixel thick around its centre run [lo, hi]; the rows at the ends get
    // their covered fraction, as a Wu line does.
    const double top = std::clamp(lo - 0.5, -1.0, height + 1.0);
    const double bottom = std::clamp(hi + 0.5, -1.0, height + 1.0);
    const int r0 = IntFloor(top), r1 = IntFloor(bottom);
    if (r0 == r1)
        return {r0, r1, bottom - top, 0.0, 0, 0};
    return {r0, r1, r0 + 1.0 - top, bottom - r1, std::max(r0 + 1, 0), std::min(r1, height)};
}

// One series' run in one column of a tile; the rows [HiddenLo, HiddenHi] are painted over
// opaquely by a later run and are left out.
struct Run {
    int Column;
    int Series;
    RunRows Rows;
    int HiddenLo = 0, HiddenHi = -1;
};

// The vertical extent of every series in every column of a tile (the columns a wide pen spills
// into included), series by series: a series has one run per column, since its samples go
// left to right. Lo > Hi where a series has none.
struct TileExtents {
    int FirstColumn = 0, Columns = 0;
    std::vector<double> Lo, Hi;

    void Reset(int firstColumn, int columns, size_t series) {
        FirstColumn = firstColumn;
        Columns = columns;
        const size_t n = series * static_cast<size_t>(columns);
        Lo.assign(n, std::numeric_limits<double>::infinity());
        Hi.assign(n, -std::numeric_limits<double>::infinity());
    }
    size_t At(int series, int column) const {
        return static_cast<size_t>(series) * static_cast<size_t>(Columns) +
               static_cast<size_t>(column - FirstColumn);
    }
};

// Widens one series' runs, column by column.
class RunCollector {
public:
    RunCollector(TileExtents& extents, int series)
        : lo_(extents.Lo.data() + extents.At(series, extents.FirstColumn)),
          hi_(extents.Hi.data() + extents.At(series, extents.FirstColumn)),
          first_(extents.FirstColumn) {}

    // Widens the run of col to cover [lo, hi].
    [[gnu::always_inline]] void Add(int col, double lo, double hi) {
        const int k = col - first_;
        lo_[k] = std::min(lo_[k], lo);
        hi_[k] = std::max(hi_[k], hi);
    }

private:
    double* lo_;
    double* hi_;
    int first_;
};

// p[0, n) = colour, n > 0: whole vectors, the last one overlapping the one before it, so
// that no loop is left for the remainder (runs are a few dozen rows of any length, and that
// loop's exits were mispredicted at every one).
[[gnu::always_inline]] inline void FillRows(uint32_t* p, int n, uint32_t colour) {
    using Eight = uint32_t __attribute__((vector_size(32)));
    using Four = uint32_t __attribute__((vector_size(16)));
    if (n >= 8) {
        const Eight v = {colour, colour, colour, colour, colour, colour, colour, colour};
        uint32_t* last = p + n - 8;
        for (; p < last; p += 8)
            std::memcpy(p, &v, sizeof v);
        std::memcpy(last, &v, sizeof v);
    } else if (n >= 4) {
        const Four v = {colour, colour, colour, colour};
        std::memcpy(p, &v, sizeof v);
        std::memcpy(p + n - 4, &v, sizeof v);
    } else {
        p[0] = colour;
        p[n > 1] = colour;
        p[n - 1] = colour;
    }
}

bool Opaque(const SpanStyle& s) {
    return (s.Color >> 24) == 0xffu;
}

[[gnu::always_inline]] inline void PaintRun(const ColumnBuffer& t, const Run& r,
                                            const SpanStyle& s) {
    const RunRows& rows = r.Rows;
    uint32_t* p = t.Column(r.Column);
    const bool opaque = Opaque(s);
    auto shown = [&](int row) { return row < r.HiddenLo || row > r.HiddenHi; };
    auto cover = [&](int row, double amount) {
        if (row >= 0 && row < t.Height && amount > 0.0 && shown(row))
            p[row] = Blend(
                p[row], ScaleArgb(s.Color, static_cast<unsigned>(std::min(amount, 1.0) * 256.0)));
    };
    auto whole = [&](int from, int to) {
        if (from >= to)
            return;
        if (opaque)
            FillRows(p + from, to - from, s.Color);
        else
            for (int row = from; row < to; ++row)
                p[row] = Blend(p[row], s.Color);
    };
    if (s.Antialias) {
        cover(rows.First, rows.FirstPart);
        if (rows.First == rows.Last)
            return;
        cover(rows.Last, rows.LastPart);
    }
    // The inner rows above and below the hidden ones.
    whole(rows.InnerBegin, std::min(rows.InnerEnd, r.HiddenLo));
    whole(std::max(rows.InnerBegin, r.HiddenHi + 1), rows.InnerEnd);
}

// The first and last of the columns [colBegin, colEnd) that the segment from x = px to qx
// crosses (none when the second is before the first).
[[gnu::always_inline]] inline std::pair<int, int> CrossedColumns(double px, double qx, int colBegin,
                                                                 int colEnd) {
    return {IntFloor(std::clamp(px, static_cast<double>(colBegin), static_cast<double>(colEnd))),
            IntFloor(std::clamp(qx, colBegin - 1.0, colEnd - 1e-9))};
}

// Adds the part of the segment p-q inside each column it crosses.
[[gnu::always_inline]] inline void AddSegment(RunCollector& out, double px, double py, double qx,
                                              double qy, int colBegin, int colEnd) {
    if (!(qx > px))
        return; // the same x: both ends are in their column's run already
    const double slope = (qy - py) / (qx - px);
    const auto [c0, c1] = CrossedColumns(px, qx, colBegin, colEnd);
    for (int c = c0; c <= c1; ++c) {
        const double xa = std::max(px, static_cast<double>(c)), xb = std::min(qx, c + 1.0);
        const double ya = py + (xa - px) * slope, yb = py + (xb - px) * slope;
        out.Add(c, std::min(ya, yb), std::max(ya, yb));
    }
}

// The line joining two samples in neighbouring columns, where it crosses one column border
// (the usual case): what AddSegment finds, less the values, which each series brings.
struct Join {
    double Across = 0;   // from the first sample's column position to the second's
    double ToBorder = 0; // from the first sample to the border
    int Column = 0;      // the first sample's column; the border is at Column + 1
    bool Simple = false; // crosses exactly that border; else AddSegment draws it
};

// Join of the samples at px and qx in the columns [colBegin, colEnd), as AddSegment splits it.
Join JoinOf(double px, double qx, int colBegin, int colEnd) {
    Join j{qx - px, 0, 0, false};
    const auto [c0, c1] = CrossedColumns(px, qx, colBegin, colEnd);
    j.Column = c0;
    j.ToBorder = (c0 + 1.0) - px;
    j.Simple = qx > px && c1 == c0 + 1 && px >= c0 && qx <= c1 + 1.0;
    return j;
}

// The samples of a tile's columns, column by column, for one array of times: series sharing
// it (the parameters of one recording) share these, and each only finds its extremes.
struct ColumnSpans {
    struct Span {
        int Column;
        size_t First, Last; // the column's first and last sample
    };
    const double* X;
    size_t Count;
    double XMin, XMax;
    int ColBegin, ColEnd;
    size_t Begin = 0, End = 0; // the samples in [ColBegin, ColEnd)
    std::vector<Span> Runs;
    // Joins[k] is the line from the last sample of Runs[k - 1] to the first of Runs[k].
    std::vector<Join> Joins;

    bool For(std::span<const double> x, double xMin, double xMax, int colBegin, int colEnd) const {
        return X == x.data() && Count == x.size() && XMin == xMin && XMax == xMax &&
               ColBegin == colBegin && ColEnd == colEnd;
    }
};

const ColumnSpans& SpansOf(std::vector<ColumnSpans>& known, const SeriesEnvelope& line, double xMin,
                           double xMax, int colBegin, int colEnd, int columns) {
    const auto found = std::find_if(known.begin(), known.end(), [&](const ColumnSpans& s) {
        return s.For(line.X(), xMin, xMax, colBegin, colEnd);
    });
    if (found != known.end())
        return *found;
    const double perUnit = columns / (xMax - xMin);
    ColumnSpans& s = known.emplace_back(
        ColumnSpans{line.X().data(), line.X().size(), xMin, xMax, colBegin, colEnd, 0, 0, {}, {}});
    const auto [lo, hi] = line.IndexRange(xMin, xMax);
    s.Begin = line.FirstInColumn(lo, hi, colBegin, xMin, perUnit, columns);
    s.End = line.FirstInColumn(s.Begin, hi, colEnd, xMin, perUnit, columns);
    line.ForEachColumnSpan(s.Begin, s.End, xMin, perUnit, columns,
                           [&](int c, size_t first, size_t last) {
                               s.Runs.push_back({c, first, last});
                           });
    const std::span<const double> xs = line.X();
    auto px = [&](size_t i) { return (xs[i] - xMin) * perUnit; };
    s.Joins.resize(s.Runs.size());
    for (size_t k = 1; k < s.Runs.size(); ++k)
        s.Joins[k] = JoinOf(px(s.Runs[k - 1].Last), px(s.Runs[k].First), colBegin, colEnd);
    return s;
}

// Widens the runs of jobs[series] in the tile's columns; [xMin, xMax] spans viewColumns
// columns. NaN breaks the line.
[[gnu::always_inline]] inline void CollectRuns(TileExtents& extents,
                                               std::vector<ColumnSpans>& known,
                                               const ColumnBuffer& target, int viewColumns,
                                               std::span<const SeriesJob> jobs, int series) {
    const SeriesJob& job = jobs[static_cast<size_t>(series)];
    const SeriesEnvelope& line = *job.Series;
    const double xMin = job.XMin, xMax = job.XMax;
    const Affine toPixelY = job.ToPixelY;
    const SpanStyle& style = job.Style;
    const int columns = viewColumns;
    const int clipBegin = std::max(target.FirstColumn, 0);
    const int clipEnd = std::min(target.EndColumn(), columns);
    // Wide pens spill into neighbouring columns: the runs of columns just outside the band are
    // computed too, and clipped when written.
    const int spill = std::max(style.Width, 1) - 1;
    const int colBegin = std::max(clipBegin - spill, 0);
    const int colEnd = std::min(clipEnd + spill, columns);
    const std::span<const double> xs = line.X();
    const std::span<const float> ys = line.Y();
    const size_t n = xs.size();
    if (n == 0 || clipBegin >= clipEnd || target.Height <= 0 || !(xMax > xMin))
        return;

    const double perUnit = columns / (xMax - xMin);
    const ColumnSpans& spans = SpansOf(known, line, xMin, xMax, colBegin, colEnd, columns);
    const size_t begin = spans.Begin, end = spans.End;
    // The neighbours just outside the columns carry the line in and out. x stays exact (the
    // slopes depend on it); y is bounded only to keep infinities out.
    auto px = [&](size_t i) { return (xs[i] - xMin) * perUnit; };
    auto py = [&](size_t i) { return std::clamp(toPixelY(ys[i]), -1.0e6, 1.0e6); };

    RunCollector out(extents, series);
    bool havePrevious = begin > 0 && !std::isnan(ys[begin - 1]);
    double previousX = havePrevious ? px(begin - 1) : 0.0;
    double previousY = havePrevious ? py(begin - 1) : 0.0;
    // The column's own extremes.
    auto addColumn = [&](int column, float lo, float hi) __attribute__((always_inline)) {
        const double a = std::clamp(toPixelY(lo), -1.0e6, 1.0e6);
        const double b = std::clamp(toPixelY(hi), -1.0e6, 1.0e6);
        out.Add(column, std::min(a, b), std::max(a, b));
    };
    // The next series on the same times reads the ends of the same columns in its own values
    // next: asked for now, they are in the cache by then (the processor's own fetching ahead
    // starts anew with every array, and stops at every page).
    const float* next = nullptr;
    if (static_cast<size_t>(series) + 1 < jobs.size()) {
        const SeriesEnvelope& after = *jobs[static_cast<size_t>(series) + 1].Series;
        if (after.X().data() == xs.data() && after.Y().size() == n)
            next = after.Y().data();
    }
    const size_t runs = spans.Runs.size();
    if (line.HasGaps()) {
        // A NaN breaks the line: no join reaches it, and a column's extent is that of its
        // numbers.
        for (size_t k = 0; k < runs; ++k) {
            const ColumnSpans::Span& r = spans.Runs[k];
            if (havePrevious && !std::isnan(ys[r.First]))
                AddSegment(out, previousX, previousY, px(r.First), py(r.First), colBegin, colEnd);
            float lo, hi;
            line.Extremes<true>(r.First, r.Last + 1, lo, hi);
            if (lo <= hi)
                addColumn(r.Column, lo, hi);
            havePrevious = !std::isnan(ys[r.Last]);
            if (havePrevious) {
                previousX = px(r.Last);
                previousY = py(r.Last);
            }
        }
    } else {
        for (size_t k = 0; k < runs; ++k) {
            const ColumnSpans::Span& r = spans.Runs[k];
            const Join& j = spans.Joins[k];
            if (next) {
                __builtin_prefetch(next + r.First);
                __builtin_prefetch(next + r.Last);
            }
            const double fy = py(r.First);
            if (k > 0 && j.Simple) {
                const double slope = (fy - previousY) / j.Across;
                const double ya = previousY + 0.0 * slope;
                const double yb = previousY + j.ToBorder * slope;
                const double yq = previousY + j.Across * slope;
                out.Add(j.Column, std::min(ya, yb), std::max(ya, yb));
                out.Add(j.Column + 1, std::min(yb, yq), std::max(yb, yq));
            } else if (havePrevious) {
                AddSegment(out, previousX, previousY, px(r.First), fy, colBegin, colEnd);
            }
            float lo, hi;
            line.Extremes<false>(r.First, r.Last + 1, lo, hi);
            addColumn(r.Column, lo, hi);
            havePrevious = true;
            previousX = px(r.Last);
            previousY = py(r.Last);
        }
    }
    if (havePrevious && end < n && !std::isnan(ys[end]))
        AddSegment(out, previousX, previousY, px(end), py(end), colBegin, colEnd);
}

// The runs of every series in column c that show, back to front (the order they are drawn in
// reversed: series by series, and a wide pen's copies from the columns left to right). Each
// run leaves out the rows a later run paints over with its whole opaque colour, since painting
// them would change no pixel, and a run left with no row is not kept. The column keeps one
// interval of such rows, grown while runs touch it, which is enough for lines drawn over each
// other.
[[gnu::always_inline]] inline void ShownRunsOf(std::vector<Run>& runs, const TileExtents& extents,
                                               std::span<const SeriesJob> jobs, int c, int height) {
    runs.clear();
    const int first = extents.FirstColumn, last = extents.FirstColumn + extents.Columns - 1;
    int lo = 0, hi = -1; // the rows covered so far
    for (size_t j = jobs.size(); j-- > 0;) {
        const SpanStyle& style = jobs[j].Style;
        const int w = style.Width;
        // Wider pens repeat the run in neighbouring columns and grow it vertically.
        const int shift = (w - 1) / 2;
        const double grow = (w - 1) * 0.5;
        const int series = static_cast<int>(j);
        const bool opaque = Opaque(style);
        for (int from = std::min(c + shift, last); from >= std::max(c + shift - w + 1, first);
             --from) {
            const size_t at = extents.At(series, from);
            const double top = extents.Lo[at], bottom = extents.Hi[at];
            if (!(top <= bottom))
                continue;
            const RunRows rows = RowsOf(top - grow, bottom + grow, style.Antialias, height);
            if (!(std::max(rows.First, 0) >= lo && std::min(rows.Last, height - 1) <= hi))
                runs.push_back({c, series, rows, lo, hi});
            const int a = rows.InnerBegin, b = rows.InnerEnd - 1;
            if (!opaque || a > b)
                continue;
            if (lo > hi) { // nothing covered yet
                lo = a;
                hi = b;
            } else if (a <= hi + 1 && b >= lo - 1) { // touching: one interval
                lo = std::min(lo, a);
                hi = std::max(hi, b);
            } else if (b - a > hi - lo) { // apart: the longer is kept
                lo = a;
                hi = b;
            }
        }
    }
}

// Rows ahead of the one being copied whose cache lines are asked for.
constexpr int CopyAhead = 16;

// The band into the same columns of the row-major image.
[[gnu::always_inline]] inline void CopyColumns(const ColumnBuffer& from, const RasterTarget& to) {
    const int colBegin = std::max(from.FirstColumn, 0);
    const int colEnd = std::min(from.EndColumn(), to.Width);
    const int rows = std::min(from.Height, to.Height);
    int c0 = colBegin;
#if defined(__SSE2__)
    // Blocks of 4 columns by 4 rows: four loads down the columns, a transpose in registers,
    // four stores along the rows.
    for (; c0 + 4 <= colEnd; c0 += 4) {
        const uint32_t* s0 = from.Column(c0);
        const uint32_t* s1 = s0 + from.Height;
        const uint32_t* s2 = s1 + from.Height;
        const uint32_t* s3 = s2 + from.Height;
        const std::ptrdiff_t stride = to.Stride;
        uint32_t* dst = to.Bits + c0;
        int r = 0;
        for (; r + 4 <= rows; r += 4, dst += 4 * stride) {
            // The image is far larger than the cache, and its rows too far apart for the
            // processor to fetch ahead of the stores: asked for a few rows ahead here.
            if (r + 4 + CopyAhead < rows)
                for (int q = 0; q < 4; ++q)
                    __builtin_prefetch(dst + (CopyAhead + q) * stride, 1, 3);
            auto load = [r](const uint32_t* p) {
                return _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + r)));
            };
            __m128 a = load(s0), b = load(s1), c = load(s2), d = load(s3);
            _MM_TRANSPOSE4_PS(a, b, c, d);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_castps_si128(a));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + stride), _mm_castps_si128(b));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * stride), _mm_castps_si128(c));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * stride), _mm_castps_si128(d));
        }
        for (; r < rows; ++r, dst += stride) {
            dst[0] = s0[r];
            dst[1] = s1[r];
            dst[2] = s2[r];
            dst[3] = s3[r];
        }
    }
#endif
    for (; c0 < colEnd; ++c0) {
        const uint32_t* src = from.Column(c0);
        for (int r = 0; r < rows; ++r)
            to.Bits[r * to.Stride + c0] = src[r];
    }
}

} // namespace

VRO_TILE_CLONES void RenderSeries(std::span<const SeriesJob> jobs, const RasterTarget& image,
                                  uint32_t* scratch, int colBegin, int colEnd, int tileColumns) {
    colBegin = std::max(colBegin, 0);
    colEnd = std::min(colEnd, image.Width);
    std::vector<Run> runs;
    std::vector<ColumnSpans> known;
    TileExtents extents;
    int spill = 0; // the widest pen's spill
    for (const SeriesJob& job : jobs)
        spill = std::max(spill, job.Style.Width - 1);
    for (int t = colBegin; t < colEnd; t += tileColumns) {
        const ColumnBuffer tile{scratch, t, std::min(tileColumns, colEnd - t), image.Height};
        std::memset(scratch, 0,
                    static_cast<size_t>(tile.ColumnCount) * static_cast<size_t>(tile.Height) * 4);
        const int from = std::max(t - spill, 0);
        extents.Reset(from, std::min(tile.EndColumn() + spill, image.Width) - from, jobs.size());
        known.clear();
        for (size_t j = 0; j < jobs.size(); ++j)
            CollectRuns(extents, known, tile, image.Width, jobs, static_cast<int>(j));
        for (int c = tile.FirstColumn; c < tile.EndColumn(); ++c) {
            ShownRunsOf(runs, extents, jobs, c, tile.Height);
            for (auto r = runs.rbegin(); r != runs.rend(); ++r)
                PaintRun(tile, *r, jobs[static_cast<size_t>(r->Series)].Style);
        }
        CopyColumns(tile, image);
    }
}
