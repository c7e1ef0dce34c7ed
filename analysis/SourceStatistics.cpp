#include "analysis/SourceStatistics.h"

#include "analysis/ExcludedRanges.h"
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

// The values the statistics read: the parameter's own with the kept blocks of its summary,
// or, where points are set aside, a copy of the range with those NaN, whose blocks that hold
// one are scanned again. A scan counts its lanes from its start, so a block scanned in the
// copy gives what it would give in values that held the NaN themselves.
class Values {
public:
    Values(const SeriesRange& points, const std::vector<TimeRange>& excluded)
        : summary_(points.Parameter->Summary()), values_(summary_.Values()) {
        const auto runs = ExcludedPoints(points, excluded);
        if (runs.empty())
            return;
        base_ = points.First;
        firstBlock_ = points.First / ValueSummary::BlockSize;
        copy_.assign(values_ + points.First, values_ + points.End);
        touched_.assign(
            static_cast<size_t>((points.End - 1) / ValueSummary::BlockSize - firstBlock_ + 1),
            false);
        for (const auto& [first, end] : runs) {
            std::fill(copy_.begin() + (first - base_), copy_.begin() + (end - base_),
                      std::numeric_limits<float>::quiet_NaN());
            for (int32_t b = first / ValueSummary::BlockSize;
                 b <= (end - 1) / ValueSummary::BlockSize; ++b)
                touched_[static_cast<size_t>(b - firstBlock_)] = true;
            excluded_ += end - first;
        }
        values_ = copy_.data();
    }

    float operator[](int32_t i) const { return values_[i - base_]; }
    // The first index of [i, end) holding x, or end.
    int32_t Find(int32_t i, int32_t end, float x) const {
        return static_cast<int32_t>(std::find(values_ + (i - base_), values_ + (end - base_), x) -
                                    values_) +
               base_;
    }
    // The figures of [begin, end), within one block.
    ValueSummary::Figures Of(int32_t begin, int32_t end) const {
        const int32_t block = begin / ValueSummary::BlockSize - firstBlock_;
        if (!touched_.empty() && touched_[static_cast<size_t>(block)])
            return ValueSummary::Scan(values_, begin - base_, end - base_);
        return summary_.Of(begin, end);
    }
    int64_t Excluded() const { return excluded_; }

private:
    const ValueSummary& summary_;
    const float* values_;
    int32_t base_ = 0;       // the index of values_[0]
    int32_t firstBlock_ = 0; // the block of touched_[0]
    std::vector<float> copy_;
    std::vector<bool> touched_;
    int64_t excluded_ = 0;
};

Pass Scan(const Values& v, int32_t begin, int32_t end) {
    Pass r;
    float lo = std::numeric_limits<float>::infinity();
    float hi = -lo;
    // The blocks where the extremes first occur and the first and last with a finite value.
    int32_t loAt = -1, hiAt = -1, firstAt = -1, lastAt = -1;
    for (int32_t b = begin; b < end;) {
        const int32_t e = ValueSummary::BlockEnd(b, end);
        const ValueSummary::Figures f = v.Of(b, e);
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
        r.minimum = v.Find(loAt, end, lo);
        r.maximum = v.Find(hiAt, end, hi);
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

SourceStatistics ComputeStatistics(const SeriesRange& points,
                                   const std::vector<TimeRange>& excluded) {
    SourceStatistics s;
    s.Parameter = points.Parameter;
    if (!points.Parameter || points.Empty())
        return s;
    const LParameter& p = *points.Parameter;
    s.From = PointTime(p, points.First);
    s.To = PointTime(p, points.End - 1);

    const Values v(points, excluded);
    const Pass r = Scan(v, points.First, points.End);
    s.Excluded = v.Excluded();
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
