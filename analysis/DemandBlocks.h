#pragma once

#include "analysis/SampledSeries.h"
#include "analysis/TimeRange.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A figure with the time it belongs to (a block's start, a sample's time).
struct TimedValue {
    double Value = 0;
    TDateTime Time = 0;
};

// One block of a series, B minutes long and aligned to the clock.
struct DemandBlock {
    int64_t Start = 0;   // whole seconds
    int32_t Samples = 0; // samples in the block, finite or not
    int32_t Finite = 0;
    double Mean = 0; // of the finite samples; 0 without any
    bool Complete = false;

    TDateTime StartTime() const { return SecondsToDays(Start); }
};

// A series cut into blocks of B minutes. T0 is the first sample's whole second rounded down
// to a multiple of B minutes since its midnight; the sample at t seconds lies in block
// ⌊(t − T0) / (60 B)⌋. A block is complete when it holds 60 B / rate finite samples, and its
// demand is their mean; the others (at the ends, around invalid samples) are partial. A rate
// longer than B minutes gives no blocks, and Refusal says why.
struct BlockSeries {
    std::string Label;
    int32_t Minutes = 0;
    std::string Refusal;
    // Every block that holds a sample, in time order, complete or not.
    std::vector<DemandBlock> Blocks;
    int32_t Complete = 0;
    int32_t Partial = 0;
};

BlockSeries ComputeBlocks(const SampledSeries& series, int32_t minutes);

// "The recording interval (%d s) is longer than the demand interval (%d min)."
std::string IntervalTooLongText(int32_t rateSeconds, int32_t minutes);

// The highest and lowest demand of the complete blocks, at the first block that has it.
std::optional<TimedValue> HighestBlock(const BlockSeries& blocks);
std::optional<TimedValue> LowestBlock(const BlockSeries& blocks);
