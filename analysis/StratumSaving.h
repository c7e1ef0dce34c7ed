#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The saving of one stratum of days (weekdays or weekend days) and how sure it is: the daily
// energies of each side's full days of the stratum, d = mean before − mean after, Welch's
// standard error SE = √(s_b² / n_b + s_a² / n_a) of the sample variances (n − 1), the
// Welch–Satterthwaite degrees of freedom and the 95 % interval d ± t(0.975, df) × SE. Without
// any scatter (SE = 0) the degrees are n_b + n_a − 2 and the interval is d itself.
struct StratumSaving {
    double DWh = 0;
    double SeWh = 0;
    double Df = 0;
    double LowWh = 0, HighWh = 0;
    int32_t NBefore = 0, NAfter = 0;
};

// The fewest full days a side needs in a stratum.
constexpr int32_t StratumDaysNeeded = 2;

// Unset when either side has fewer than StratumDaysNeeded days.
std::optional<StratumSaving> ComputeStratumSaving(const std::vector<double>& beforeWh,
                                                  const std::vector<double>& afterWh);

// t(0.975, df): the half-width of a 95 % interval in standard errors.
double TwoSided95(double df);
