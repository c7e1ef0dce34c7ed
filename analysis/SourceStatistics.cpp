#include "analysis/SourceStatistics.h"

#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "model/ValueSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr uint8_t UnitWatts = 2, UnitVar = 3, UnitVoltAmperes = 4;

// The values are read in the summary's blocks of ValueSummary::BlockSize, whole ones as they
// were kept: each block's moments (taken around its own mean) are merged into the running ones
// by Chan's form of Welford's update, as stable as Welford's value by value.
struct Pass {
    int64_t count = 0;
    int64_t invalid = 0;
    double sum = 0;
    double mean = 0; // the running mean of Welford's update
    double m2 = 0;   // its sum of squared deviations
    int32_t minimum = -1, maximum = -1, first = -1, last = -1;
};

Pass Scan(const ValueSummary& summary, int32_t begin, int32_t end) {
    const float* v = summary.Values();
    Pass r;
    float lo = std::numeric_limits<float>::infinity();
    float hi = -lo;
    // The blocks where the extremes first occur and the first and last with a finite value.
    int32_t loAt = -1, hiAt = -1, firstAt = -1, lastAt = -1;
    for (int32_t b = begin; b < end;) {
        const int32_t e = ValueSummary::BlockEnd(b, end);
        const ValueSummary::Figures f = summary.Of(b, e);
        for (const double x : f.Sums)
            r.sum += x;
        r.invalid += (e - b) - f.Count;
        if (f.Lo < lo) {
            lo = f.Lo;
            loAt = b;
        }
        if (f.Hi > hi) {
            hi = f.Hi;
            hiAt = b;
        }
        if (f.Count > 0) {
            firstAt = firstAt < 0 ? b : firstAt;
            lastAt = b;
            const double na = static_cast<double>(r.count), nb = f.Count;
            const double total = na + nb;
            const double delta = f.Mean - r.mean;
            r.mean += delta * nb / total;
            r.m2 += f.M2 + delta * delta * na * nb / total;
            r.count += f.Count;
        }
        b = e;
    }
    if (r.count > 0) {
        // The first value equal to each extreme, within the block it first occurs in.
        r.minimum = static_cast<int32_t>(std::find(v + loAt, v + end, lo) - v);
        r.maximum = static_cast<int32_t>(std::find(v + hiAt, v + end, hi) - v);
        r.first = firstAt;
        while (!std::isfinite(v[r.first]))
            ++r.first;
        r.last = ValueSummary::BlockEnd(lastAt, end) - 1;
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

    const Pass r = Scan(p.Summary(), points.First, points.End);
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
