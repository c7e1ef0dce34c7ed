#include "analysis/SourceStatistics.h"

#include "model/LParameter.h"
#include "model/LParameterSource.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr uint8_t UnitWatts = 2, UnitVar = 3, UnitVoltAmperes = 4;

// The values are read in blocks; within a block four lanes keep their own sums, so that no
// add waits for the one before it, and the block's moments are merged into the running ones
// by Chan's form of Welford's update: one pass, as stable as Welford's sample by sample.
constexpr int32_t BlockSize = 1024;
constexpr int Lanes = 4;

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
        const int32_t e = end - b > BlockSize ? b + BlockSize : end;
        // Deviations are summed from a shift near the mean, so that their squares lose
        // nothing to a large offset: the mean so far, or the block's first finite value.
        double shift = r.mean;
        if (r.count == 0) {
            int32_t i = b;
            while (i < e && !std::isfinite(v[i]))
                ++i;
            r.invalid += i - b;
            if (i == e) {
                b = e;
                continue;
            }
            shift = v[i];
            b = i;
        }
        double s[Lanes] = {}, q[Lanes] = {}, x[Lanes] = {};
        int32_t n[Lanes] = {};
        float blo[Lanes], bhi[Lanes];
        std::fill_n(blo, Lanes, lo);
        std::fill_n(bhi, Lanes, hi);
        auto add = [&](int j, float value) {
            const bool finite = std::isfinite(value);
            const float f = finite ? value : 0.0f;
            const double d = finite ? static_cast<double>(value) - shift : 0.0;
            s[j] += d;
            q[j] += d * d;
            x[j] += f;
            n[j] += finite;
            blo[j] = finite && value < blo[j] ? value : blo[j];
            bhi[j] = finite && value > bhi[j] ? value : bhi[j];
        };
        int32_t i = b;
        for (; e - i >= Lanes; i += Lanes)
            for (int j = 0; j < Lanes; ++j)
                add(j, v[i + j]);
        for (int j = 0; i < e; ++i, ++j)
            add(j, v[i]);

        int32_t blockCount = 0;
        double blockS = 0, blockQ = 0;
        float blockLo = lo, blockHi = hi;
        for (int j = 0; j < Lanes; ++j) {
            blockCount += n[j];
            blockS += s[j];
            blockQ += q[j];
            r.sum += x[j];
            blockLo = std::min(blockLo, blo[j]);
            blockHi = std::max(blockHi, bhi[j]);
        }
        r.invalid += (e - b) - blockCount;
        // The first occurrence of a new extreme: the block's first value equal to it.
        if (blockLo < lo) {
            lo = blockLo;
            r.minimum = static_cast<int32_t>(std::find(v + b, v + e, blockLo) - v);
        }
        if (blockHi > hi) {
            hi = blockHi;
            r.maximum = static_cast<int32_t>(std::find(v + b, v + e, blockHi) - v);
        }
        if (blockCount > 0) {
            const double nb = blockCount;
            const double blockMean = shift + blockS / nb;
            const double blockM2 = std::max(0.0, blockQ - blockS * blockS / nb);
            const double na = static_cast<double>(r.count);
            const double total = na + nb;
            const double delta = blockMean - r.mean;
            r.mean += delta * nb / total;
            r.m2 += blockM2 + delta * delta * na * nb / total;
            r.count += blockCount;
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
