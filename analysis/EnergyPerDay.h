#pragma once

#include "analysis/DemandBlocks.h"
#include "analysis/SampledSeries.h"

#include <optional>
#include <vector>

// The energy of one calendar day of the recording's own clock.
struct EnergyDay {
    TDateTime Date = 0;              // its midnight
    double EnergyWh = 0;             // Σ P × rate / 3 600 over the day's finite power samples
    std::optional<TimedValue> Peak;  // the highest complete block starting that day
    std::optional<double> BaseWatts; // the lowest complete block starting that day
    int32_t Samples = 0;             // of that day, finite or not
    int32_t Finite = 0;
    // The share of the calendar day that was measured: Finite × rate / 86 400.
    double Coverage = 0;

    // Every sample period of the day holds a finite sample.
    bool Full() const { return Coverage >= 1; }
};

struct EnergyTotals {
    double EnergyWh = 0; // Σ P × rate / 3 600 over every finite power sample
    std::optional<TimedValue> Peak;
    std::optional<double> BaseWatts;
    std::optional<double> AverageWatts; // the mean of the complete blocks
    std::optional<double> LoadFactor;   // AverageWatts / Peak, when the peak is above 0
    // The days the power samples cover: finite samples × rate / 86 400, so that a gap (days
    // between joined downloads, samples not measured) counts for nothing.
    double Days = 0;
};

// A row per calendar day the power series has a finite sample in, in order: a day within a
// gap between joined recordings has none.
std::vector<EnergyDay> ComputeEnergyDays(const SampledSeries& power, const BlockSeries& blocks);
EnergyTotals ComputeEnergyTotals(const SampledSeries& power, const BlockSeries& blocks);
