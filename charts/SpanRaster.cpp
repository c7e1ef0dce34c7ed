#include "charts/SpanRaster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

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

class ColumnWriter {
public:
    ColumnWriter(const ColumnBuffer& t, const SpanStyle& s, int colBegin, int colEnd)
        : t_(t), s_(s), colBegin_(colBegin), colEnd_(colEnd), opaque_((s.Color >> 24) == 0xffu) {}

    // Widens the run of col to cover [lo, hi]; a new column writes out the one before.
    void Add(int col, double lo, double hi) {
        if (col != col_) {
            Flush();
            col_ = col;
            lo_ = lo;
            hi_ = hi;
        } else {
            lo_ = std::min(lo_, lo);
            hi_ = std::max(hi_, hi);
        }
    }

    void Flush() {
        if (col_ == None)
            return;
        // Wider pens repeat the run in neighbouring columns and grow it vertically.
        const double grow = (s_.Width - 1) * 0.5;
        const int first = col_ - (s_.Width - 1) / 2;
        for (int c = std::max(first, colBegin_); c < std::min(first + s_.Width, colEnd_); ++c)
            s_.Antialias ? WriteSmooth(c, lo_ - grow, hi_ + grow)
                         : WriteHard(c, lo_ - grow, hi_ + grow);
        col_ = None;
    }

private:
    static constexpr int None = std::numeric_limits<int>::min();

    void WriteHard(int col, double lo, double hi) {
        const int r0 = IntFloor(std::clamp(lo, 0.0, static_cast<double>(t_.Height)));
        const int r1 = IntFloor(std::clamp(hi, -1.0, t_.Height - 1.0));
        uint32_t* p = t_.Column(col);
        if (opaque_)
            std::fill(p + r0, p + r1 + 1, s_.Color);
        else
            for (int r = r0; r <= r1; ++r)
                p[r] = Blend(p[r], s_.Color);
    }

    // The line is one pixel thick around its centre run [lo, hi]; the rows at the ends get
    // their covered fraction, as a Wu line does.
    void WriteSmooth(int col, double lo, double hi) {
        const double top = std::clamp(lo - 0.5, -1.0, t_.Height + 1.0);
        const double bottom = std::clamp(hi + 0.5, -1.0, t_.Height + 1.0);
        const int r0 = IntFloor(top), r1 = IntFloor(bottom); // the rows holding the two ends
        uint32_t* p = t_.Column(col);
        auto cover = [&](int r, double amount) {
            if (r >= 0 && r < t_.Height && amount > 0.0)
                p[r] = Blend(p[r], ScaleArgb(s_.Color,
                                             static_cast<unsigned>(std::min(amount, 1.0) * 256.0)));
        };
        if (r0 == r1) {
            cover(r0, bottom - top);
            return;
        }
        cover(r0, r0 + 1.0 - top);
        cover(r1, bottom - r1);
        const int i0 = std::max(r0 + 1, 0), i1 = std::min(r1, t_.Height);
        if (opaque_)
            std::fill(p + std::max(i0, 0), p + std::max(i1, i0), s_.Color);
        else
            for (int r = i0; r < i1; ++r)
                p[r] = Blend(p[r], s_.Color);
    }

    const ColumnBuffer& t_;
    const SpanStyle& s_;
    int colBegin_, colEnd_;
    bool opaque_;
    int col_ = None;
    double lo_ = 0, hi_ = 0;
};

// Adds the part of the segment p-q inside each column it crosses.
void AddSegment(ColumnWriter& out, double px, double py, double qx, double qy, int colBegin,
                int colEnd) {
    if (!(qx > px))
        return; // the same x: both ends are in their column's run already
    const double slope = (qy - py) / (qx - px);
    const int c0 =
        IntFloor(std::clamp(px, static_cast<double>(colBegin), static_cast<double>(colEnd)));
    const int c1 = IntFloor(std::clamp(qx, colBegin - 1.0, colEnd - 1e-9));
    for (int c = c0; c <= c1; ++c) {
        const double xa = std::max(px, static_cast<double>(c)), xb = std::min(qx, c + 1.0);
        const double ya = py + (xa - px) * slope, yb = py + (xb - px) * slope;
        out.Add(c, std::min(ya, yb), std::max(ya, yb));
    }
}

} // namespace

void RasterizeEnvelope(const ColumnBuffer& target, int viewColumns, const SeriesEnvelope& series,
                       double xMin, double xMax, Affine toPixelY, const SpanStyle& style) {
    const int columns = viewColumns;
    const int clipBegin = std::max(target.FirstColumn, 0);
    const int clipEnd = std::min(target.EndColumn(), columns);
    // Wide pens spill into neighbouring columns: the runs of columns just outside the band are
    // computed too, and clipped when written.
    const int spill = std::max(style.Width, 1) - 1;
    const int colBegin = std::max(clipBegin - spill, 0);
    const int colEnd = std::min(clipEnd + spill, columns);
    const std::span<const double> xs = series.X();
    const std::span<const float> ys = series.Y();
    const size_t n = xs.size();
    if (n == 0 || clipBegin >= clipEnd || target.Height <= 0 || !(xMax > xMin))
        return;

    const double perUnit = columns / (xMax - xMin);
    const auto [lo, hi] = series.IndexRange(xMin, xMax);
    const size_t begin = series.FirstInColumn(lo, hi, colBegin, xMin, perUnit, columns);
    const size_t end = series.FirstInColumn(begin, hi, colEnd, xMin, perUnit, columns);
    // The neighbours just outside the columns carry the line in and out. x stays exact (the
    // slopes depend on it); y is bounded only to keep infinities out.
    auto px = [&](size_t i) { return (xs[i] - xMin) * perUnit; };
    auto py = [&](size_t i) { return std::clamp(toPixelY(ys[i]), -1.0e6, 1.0e6); };

    ColumnWriter out(target, style, clipBegin, clipEnd);
    bool havePrevious = begin > 0 && !std::isnan(ys[begin - 1]);
    double previousX = havePrevious ? px(begin - 1) : 0.0;
    double previousY = havePrevious ? py(begin - 1) : 0.0;
    series.ForEachColumn<false>(begin, end, xMin, perUnit, columns, [&](const ColumnRun& r) {
        if (r.Gap) {
            havePrevious = false;
            return;
        }
        const double fx = px(r.First), fy = py(r.First);
        if (havePrevious)
            AddSegment(out, previousX, previousY, fx, fy, colBegin, colEnd);
        const double a = std::clamp(toPixelY(r.MinValue), -1.0e6, 1.0e6);
        const double b = std::clamp(toPixelY(r.MaxValue), -1.0e6, 1.0e6);
        out.Add(r.Column, std::min(a, b), std::max(a, b));
        havePrevious = true;
        previousX = px(r.Last);
        previousY = py(r.Last);
    });
    if (havePrevious && end < n && !std::isnan(ys[end]))
        AddSegment(out, previousX, previousY, px(end), py(end), colBegin, colEnd);
    out.Flush();
}

void RenderSeries(std::span<const SeriesJob> jobs, const RasterTarget& image, uint32_t* scratch,
                  int colBegin, int colEnd, int tileColumns) {
    colBegin = std::max(colBegin, 0);
    colEnd = std::min(colEnd, image.Width);
    for (int t = colBegin; t < colEnd; t += tileColumns) {
        const ColumnBuffer tile{scratch, t, std::min(tileColumns, colEnd - t), image.Height};
        std::memset(scratch, 0,
                    static_cast<size_t>(tile.ColumnCount) * static_cast<size_t>(tile.Height) * 4);
        for (const SeriesJob& j : jobs)
            RasterizeEnvelope(tile, image.Width, *j.Series, j.XMin, j.XMax, j.ToPixelY, j.Style);
        CopyColumns(tile, image);
    }
}

void CopyColumns(const ColumnBuffer& from, const RasterTarget& to) {
    const int colBegin = std::max(from.FirstColumn, 0);
    const int colEnd = std::min(from.EndColumn(), to.Width);
    const int rows = std::min(from.Height, to.Height);
    // Blocks of 8 columns: 8 sequential read streams, one 32-byte write per row.
    constexpr int Block = 8;
    for (int c0 = colBegin; c0 < colEnd; c0 += Block) {
        const int c1 = std::min(c0 + Block, colEnd);
        for (int r = 0; r < rows; ++r) {
            uint32_t* dst = to.Bits + r * to.Stride;
            for (int c = c0; c < c1; ++c)
                dst[c] = from.Column(c)[r];
        }
    }
}
