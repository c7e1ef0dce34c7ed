#pragma once

#include "analysis/DemandBlocks.h"

#include <cstdint>
#include <vector>

// The starts at which every one of some block series has a complete block, in time order,
// with those blocks' means: Means[i][k] is series i's at Starts[k].
struct AlignedBlocks {
    std::vector<int64_t> Starts;
    std::vector<std::vector<double>> Means;

    size_t Count() const { return Starts.size(); }
};

AlignedBlocks AlignBlocks(const std::vector<const BlockSeries*>& series);
