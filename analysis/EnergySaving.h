#pragma once

#include "analysis/StratumSaving.h"

#include <optional>
#include <string>
#include <vector>

struct CompareSide;

// The energy saved from before to after, per stratum and over a year, and whether it stands
// out of the day-to-day scatter. The yearly saving is 365 / 7 × (5 d_weekday + 2 d_weekend)
// with SE = 365 / 7 × √(25 SE_weekday² + 4 SE_weekend²) and the smaller of the strata's
// degrees of freedom; with one stratum, that stratum alone over its days of a year (261
// weekdays, 104 weekend days). It is significant when its 95 % interval excludes 0. A
// negative saving is an increase.
struct EnergySaving {
    std::optional<StratumSaving> Weekday, Weekend;
    // Unset without a stratum.
    std::optional<double> YearlyWh, YearlySeWh, YearlyDf, YearlyLowWh, YearlyHighWh;
    std::optional<bool> Significant;
    // Strata left out and why, a yearly saving of one stratum, days with gaps left out.
    std::vector<std::string> Reasons;
    // With a tariff: the yearly saving × the before side's energy price per kWh + 12 × the
    // fall of the highest month's demand charges. An estimate; its interval is that of the
    // energy saved, priced alike.
    std::optional<double> YearlyCost, YearlyCostLow, YearlyCostHigh;
};

constexpr double WeekdaysPerYear = 261, WeekendDaysPerYear = 104;

EnergySaving ComputeEnergySaving(const CompareSide& before, const CompareSide& after);

// "The saving is larger than day-to-day scatter (95 %)" when the yearly interval excludes 0
// ("The increase is …" for a negative saving), "The difference is within day-to-day scatter"
// otherwise, "no result" without a stratum.
std::string SavingVerdictText(const EnergySaving& saving);
