#pragma once

#include "analysis/DemandBlocks.h"

#include <optional>
#include <string>
#include <vector>

// The demand by time of day: a bin of B minutes per block of the day (96 for 15 minutes),
// over the complete blocks that start in it; weekdays (Monday to Friday) and weekends apart.
struct ProfileBin {
    int32_t StartMinute = 0; // since midnight
    int32_t Blocks = 0;
    // Unset in a bin without blocks.
    std::optional<double> Mean, Minimum, Maximum;
};

struct DailyProfile {
    int32_t Minutes = 0;
    std::vector<ProfileBin> Weekday, Weekend;
};

DailyProfile ComputeDailyProfile(const BlockSeries& blocks);

// "09:30": a bin's start as the profile names it.
std::string BinStartText(int32_t startMinute);

// The block demands as a day × time-of-day grid: a row per day, a cell per bin.
struct HeatMap {
    int32_t Bins = 0;
    std::vector<TDateTime> Days; // each row's midnight
    // Row by row; NaN where the day has no complete block in the bin.
    std::vector<double> Cells;

    std::optional<double> Cell(size_t row, int32_t bin) const;
};

// Rows for the given days (midnights, in order), as the energy per day lists them.
HeatMap ComputeHeatMap(const BlockSeries& blocks, const std::vector<TDateTime>& days);
