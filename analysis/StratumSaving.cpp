#include "analysis/StratumSaving.h"

#include "analysis/StudentT.h"

#include <cmath>

namespace {

struct Sample {
    double Mean = 0;
    double Variance = 0; // with n − 1
    double N = 0;
};

Sample Describe(const std::vector<double>& values) {
    Sample s;
    s.N = static_cast<double>(values.size());
    for (double v : values)
        s.Mean += v;
    s.Mean /= s.N;
    for (double v : values)
        s.Variance += (v - s.Mean) * (v - s.Mean);
    s.Variance /= s.N - 1;
    return s;
}

} // namespace

double TwoSided95(double df) {
    return StudentTQuantile(0.975, df);
}

std::optional<StratumSaving> ComputeStratumSaving(const std::vector<double>& beforeWh,
                                                  const std::vector<double>& afterWh) {
    if (beforeWh.size() < StratumDaysNeeded || afterWh.size() < StratumDaysNeeded)
        return std::nullopt;
    const Sample b = Describe(beforeWh), a = Describe(afterWh);
    StratumSaving s;
    s.NBefore = static_cast<int32_t>(beforeWh.size());
    s.NAfter = static_cast<int32_t>(afterWh.size());
    s.DWh = b.Mean - a.Mean;
    const double vb = b.Variance / b.N, va = a.Variance / a.N;
    s.SeWh = std::sqrt(vb + va);
    if (s.SeWh > 0) {
        s.Df = (vb + va) * (vb + va) / (vb * vb / (b.N - 1) + va * va / (a.N - 1));
    } else {
        s.Df = b.N + a.N - 2;
    }
    const double half = TwoSided95(s.Df) * s.SeWh;
    s.LowWh = s.DWh - half;
    s.HighWh = s.DWh + half;
    return s;
}
