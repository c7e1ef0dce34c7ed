#pragma once

#include "analysis/Tariff.h"
#include "analysis/TimeRange.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a comparison of two recordings (or two ranges of one) asks: the files as the user
// named them, each side's range (the whole recording when unset), the ranges of each side
// whose samples count as not measured (its exclude notes), the block minutes of both and the
// tariff both are priced by.
struct CompareOptions {
    std::string BeforeFile, AfterFile;
    std::optional<TimeRange> BeforeRange, AfterRange;
    std::vector<TimeRange> BeforeExcluded, AfterExcluded;
    int32_t BlockMinutes = 15; // 5, 10, 15, 30 or 60
    std::optional<Tariff> CostTariff;
};
