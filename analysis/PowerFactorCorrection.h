#pragma once

#include "analysis/DemandBlocks.h"

#include <optional>
#include <string>
#include <vector>

// The capacitor bank that would bring the load's power factor to a target, from the complete
// blocks of real power P̄ and reactive power Q̄ that start together. Per block PF = P̄ / √(P̄² +
// Q̄²) and the reactive power a bank must give Qc = P̄ × (Q̄ / P̄ − tan(arccos t)) when P̄ > 0
// and that is positive, else 0. Percentiles are the sorted values (lowest first) at index
// round(p (n − 1)). Powers in W, var and VA.
struct PowerFactorCorrection {
    double Target = 0.95;
    double StepVar = 5000;
    int32_t Blocks = 0;                // blocks with both P̄ and Q̄
    std::optional<double> Average;     // Σ P̄ / Σ √(P̄² + Q̄²)
    std::optional<double> BelowTarget; // the share of blocks whose PF is below the target
    std::optional<TimedValue> Lowest;  // the lowest block PF
    std::optional<double> QcAtPeakVar; // at the block of the highest P̄
    std::optional<TimedValue> QcMax;
    std::optional<double> Qc95Var;
    // The smallest Qc of the blocks whose P̄ is at most the 10th percentile of P̄.
    std::optional<double> QcLightVar;
    // The 95 % Qc rounded up to the step; of it, the light-load Qc rounded down to the step is
    // fixed and the rest switched in steps. 0 when the load is capacitive at its peak.
    std::optional<double> BankVar, FixedVar;
    std::optional<int32_t> SwitchedSteps;
    // At the peak block: √(P̄² + Q̄²) before, √(P̄² + (Q̄ − bank)²) after, and 1 − after / before.
    std::optional<double> PeakVaBefore, PeakVaAfter, CurrentFall;
    std::vector<std::string> Reasons;
    // For the charts: the PF of every block with power, at its start, and every block's Qc,
    // highest first.
    std::vector<TimedValue> BlockPf;
    std::vector<double> QcSorted;
};

constexpr double LowestTargetPowerFactor = 0.80;
constexpr double DefaultTargetPowerFactor = 0.95;
constexpr double DefaultBankStepVar = 5000;

// power, reactive: blocks of the same minutes; reactive null when it was not recorded.
PowerFactorCorrection ComputePowerFactorCorrection(const BlockSeries& power,
                                                   const BlockSeries* reactive, double target,
                                                   double stepVar);

extern const char* const NoReactivePowerText;
extern const char* const CapacitiveAtPeakText;
// What the largest Qc reads when no block needs a bank.
extern const char* const NoCorrectionNeededText;
extern const char* const NoHarmonicsText;
