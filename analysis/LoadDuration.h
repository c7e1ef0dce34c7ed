#pragma once

#include "analysis/DemandBlocks.h"

#include <optional>
#include <vector>

// The load duration curve: the complete blocks' demands from highest to lowest, and the share
// of time the load stays above a level.
struct LoadDuration {
    std::vector<double> Sorted; // highest first
    // At p % of time, for each p of DurationPercents(): Sorted[round(p / 100 × (n − 1))];
    // unset without blocks.
    std::vector<std::optional<double>> Watts;
    // With a threshold: the hours above it (blocks above × B / 60) and the energy above it
    // (Σ (demand − threshold) × B / 60 over those blocks, in WH).
    std::optional<double> ThresholdWatts, HoursAbove, EnergyAboveWh;
};

// 0, 1, 5, 10, 25, 50, 75, 90, 95, 99, 100.
const std::vector<int>& DurationPercents();

LoadDuration ComputeLoadDuration(const BlockSeries& blocks, std::optional<double> thresholdWatts);
