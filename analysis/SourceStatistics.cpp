#include "analysis/SourceStatistics.h"

#include "analysis/ValueBlocks.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr uint8_t UnitWatts = 2, UnitVar = 3, UnitVoltAmperes = 4;

// The values are read in blocks (ValueBlocks); each block's moments are merged into the
// running ones by Chan's form of Welford's update: one pass, as stable as Welford's sample by
// sample.
struct Pass {
    int64_t count = 0;
    int64_t invalid = 0;
    double sum = 0;
    double mean = 0; // the running mean of Welford's update
    double m2 = 0;   // its sum of squared deviations
    int32_t minimum = -1, maximum = -1, first = -1, last = -1;
};

Pass Scan(const float* v, int32_t begin, int32_t end) {
    Pass r;
    float lo = std::numeric_limits<float>::infinity();
    float hi = -lo;
    for (int32_t b = begin; b < end;) {
        const int32_t e = ValueBlocks::BlockEnd(b, end);
        // Deviations are summed from a shift near the mean, so that their squares lose
        // nothing to a large offset: the mean so far, or the block's first finite value.
        double shift = r.mean;
        if (r.count == 0) {
            const float* finite =
                std::find_if(v + b, v + e, [](float x) { return std::isfinite(x); });
            if (finite == v + e) {
                r.invalid += e - b;
                b = e;
                continue;
            }
            shift = *finite;
        }
        double blockS = 0, blockQ = 0;
        const ValueBlocks::Figures f = ValueBlocks::Scan(v, b, e, shift, blockS, blockQ);
        for (const double x : f.Sums)
            r.sum += x;
        r.invalid += (e - b) - f.Count;
        // The first occurrence of a new extreme: the block's first value equal to it.
        if (f.Lo < lo) {
            lo = f.Lo;
            r.minimum = static_cast<int32_t>(std::find(v + b, v + e, lo) - v);
        }
        if (f.Hi > hi) {
            hi = f.Hi;
            r.maximum = static_cast<int32_t>(std::find(v + b, v + e, hi) - v);
        }
        if (f.Count > 0) {
            const double nb = f.Count;
            const double blockMean = shift + blockS / nb;
            const double blockM2 = std::max(0.0, blockQ - blockS * blockS / nb);
            const double na = static_cast<double>(r.count);
            const double total = na + nb;
            const double delta = blockMean - r.mean;
            r.mean += delta * nb / total;
            r.m2 += blockM2 + delta * delta * na * nb / total;
            r.count += f.Count;
        }
        b = e;
    }
    if (r.count > 0) {
        r.first = begin;
        while (!std::isfinite(v[r.first]))
            ++r.first;
        r.last = end - 1;
        while (!std::isfinite(v[r.last]))
            --r.last;
    }
    return r;
}

} // namespace

std::string IntegralUnit(const LParameter& p) {
    if (p.TableType() == ttHistoric) {
        switch (p.Unit()) {
        case UnitWatts:
            return "WH";
        case UnitVar:
            return "VARH";
        case UnitVoltAmperes:
            return "VAH";
        default:
            return {};
        }
    }
    return p.Unit() == uWattHours ? "WH" : std::string();
}

SourceStatistics ComputeStatistics(const SeriesRange& points) {
    SourceStatistics s;
    s.Parameter = points.Parameter;
    if (!points.Parameter || points.Empty())
        return s;
    const LParameter& p = *points.Parameter;
    const float* v = p.Values();
    s.From = PointTime(p, points.First);
    s.To = PointTime(p, points.End - 1);

    const Pass r = Scan(v, points.First, points.End);
    s.Count = r.count;
    s.Invalid = r.invalid;
    s.Expected = r.count + r.invalid;
    s.Coverage = static_cast<double>(r.count) / static_cast<double>(s.Expected);
    if (r.count == 0)
        return s;
    s.Minimum = v[r.minimum];
    s.MinimumTime = PointTime(p, r.minimum);
    s.Maximum = v[r.maximum];
    s.MaximumTime = PointTime(p, r.maximum);
    s.Mean = r.sum / static_cast<double>(r.count);
    s.StdDev = std::sqrt(r.m2 / static_cast<double>(r.count));
    s.First = v[r.first];
    s.Last = v[r.last];

    s.IntegralUnit = IntegralUnit(p);
    if (p.TableType() == ttHistoric && !s.IntegralUnit.empty())
        s.Integral = r.sum * p.Rate() / 3600.0;
    else if (!s.IntegralUnit.empty())
        s.Integral = r.sum;
    if (p.TableType() == ttHistoric && p.Unit() == UnitWatts && *s.Maximum > 0)
        s.LoadFactor = *s.Mean / *s.Maximum;
    return s;
}

SourceStatistics ComputeStatistics(const LParameter& parameter,
                                   const std::optional<TimeRange>& times) {
    const SeriesRange all = WholeSeries(parameter);
    return ComputeStatistics(times ? Narrow(all, *times) : all);
}

SourceStatistics ComputeStatistics(const LParameterSource& source,
                                   const std::optional<TimeRange>& times) {
    const SeriesRange shown = SourceSeries(source);
    SourceStatistics s = ComputeStatistics(times ? Narrow(shown, *times) : shown);
    s.Parameter = source.Parameter;
    s.Visible = source.Selected;
    return s;
}

RangeExtremes ComputeExtremes(const SeriesRange& points, const ValueBlocks& kept) {
    RangeExtremes out;
    if (points.Empty())
        return out;
    int64_t count = 0;
    double sum = 0;
    float lo = std::numeric_limits<float>::infinity();
    float hi = -lo;
    // As Scan cuts the range and adds its sums (a block without finite values adds zeros), so
    // that the figures are the same.
    for (int32_t b = points.First; b < points.End;) {
        const int32_t e = ValueBlocks::BlockEnd(b, points.End);
        const ValueBlocks::Figures f = kept.Of(b, e);
        for (const double x : f.Sums)
            sum += x;
        count += f.Count;
        lo = std::min(lo, f.Lo);
        hi = std::max(hi, f.Hi);
        b = e;
    }
    if (count > 0) {
        out.Minimum = lo;
        out.Mean = sum / static_cast<double>(count);
        out.Maximum = hi;
    }
    return out;
}
