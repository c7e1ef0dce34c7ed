#include "analysis/PowerFactorCorrection.h"

#include "analysis/AlignedBlocks.h"

#include <algorithm>
#include <cmath>
#include <functional>

const char* const NoReactivePowerText =
    "No reactive power was recorded: power factor correction needs it.";
const char* const CapacitiveAtPeakText = "The load is capacitive at its peak: no correction.";
const char* const NoCorrectionNeededText = "no correction needed";
const char* const NoHarmonicsText =
    "The recording holds no harmonics: have the voltage distortion checked before capacitors "
    "are installed (above about 5 % THD a detuned bank is needed).";

namespace {

// The sorted value at index round(p (n − 1)), without sorting them all.
double Percentile(std::vector<double> values, double p) {
    const auto at = values.begin() + std::lround(p * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

// Whole steps of a figure, rounded up or down; a figure a rounding error off a whole step
// counts as that step.
double Steps(double var, double step, bool up) {
    const double steps = var / step;
    return up ? std::ceil(steps - 1e-9) : std::floor(steps + 1e-9);
}

} // namespace

PowerFactorCorrection ComputePowerFactorCorrection(const BlockSeries& power,
                                                   const BlockSeries* reactive, double target,
                                                   double stepVar) {
    PowerFactorCorrection c;
    c.Target = target;
    c.StepVar = stepVar;
    if (!reactive) {
        c.Reasons.push_back(NoReactivePowerText);
        return c;
    }
    for (const BlockSeries* s : {&power, reactive})
        if (!s->Refusal.empty()) {
            c.Reasons.push_back(s->Refusal);
            return c;
        }
    const AlignedBlocks blocks = AlignBlocks({&power, reactive});
    const std::vector<double>& p = blocks.Means[0];
    const std::vector<double>& q = blocks.Means[1];
    const size_t n = blocks.Count();
    c.Blocks = static_cast<int32_t>(n);
    if (n == 0) {
        c.Reasons.push_back(NoHarmonicsText);
        return c;
    }

    const double tanTarget = std::tan(std::acos(target));
    std::vector<double> qc(n);
    c.BlockPf.reserve(n);
    double sumP = 0, sumS = 0;
    size_t below = 0, peak = 0;
    for (size_t k = 0; k < n; ++k) {
        const double s = std::hypot(p[k], q[k]);
        sumP += p[k];
        sumS += s;
        qc[k] = p[k] > 0 ? std::max(0.0, q[k] - p[k] * tanTarget) : 0;
        const TDateTime time = SecondsToDays(blocks.Starts[k]);
        if (s > 0) {
            const double pf = p[k] / s;
            below += pf < target;
            c.BlockPf.push_back({pf, time});
            if (!c.Lowest || pf < c.Lowest->Value)
                c.Lowest = TimedValue{pf, time};
        }
        if (!c.QcMax || qc[k] > c.QcMax->Value)
            c.QcMax = TimedValue{qc[k], time};
        if (p[k] > p[peak])
            peak = k;
    }
    if (sumS > 0)
        c.Average = sumP / sumS;
    c.BelowTarget = static_cast<double>(below) / static_cast<double>(n);
    c.QcAtPeakVar = qc[peak];
    c.Qc95Var = Percentile(qc, 0.95);
    c.QcSorted = qc;
    std::sort(c.QcSorted.begin(), c.QcSorted.end(), std::greater<>());
    const double light = Percentile(p, 0.10);
    for (size_t k = 0; k < n; ++k)
        if (p[k] <= light && (!c.QcLightVar || qc[k] < *c.QcLightVar))
            c.QcLightVar = qc[k];

    const bool capacitive = q[peak] <= 0;
    if (capacitive)
        c.Reasons.push_back(CapacitiveAtPeakText);
    c.Reasons.push_back(NoHarmonicsText);
    const double bank = capacitive ? 0 : Steps(*c.Qc95Var, stepVar, true) * stepVar;
    const double fixed = std::min(bank, Steps(*c.QcLightVar, stepVar, false) * stepVar);
    c.BankVar = bank;
    c.FixedVar = fixed;
    c.SwitchedSteps = static_cast<int32_t>(std::lround((bank - fixed) / stepVar));
    c.PeakVaBefore = std::hypot(p[peak], q[peak]);
    c.PeakVaAfter = std::hypot(p[peak], q[peak] - bank);
    if (*c.PeakVaBefore > 0)
        c.CurrentFall = 1 - *c.PeakVaAfter / *c.PeakVaBefore;
    return c;
}
