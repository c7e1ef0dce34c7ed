#pragma once

#include "analysis/DemandBlocks.h"
#include "analysis/TextStyle.h"

#include <optional>
#include <string>
#include <vector>

// The unbalance of three phases from their RMS magnitudes, as NEMA defines it: per block of
// all three, 100 × max |Xi − X̄| / X̄ % with X̄ their mean. The 95 % value is the sorted value
// (lowest first) at index round(0.95 (n − 1)).
struct UnbalanceFigures {
    std::vector<std::string> Channels; // the three, in phase order
    int32_t Minutes = 0;               // of the blocks
    int32_t Blocks = 0;                // those kept
    std::optional<TimedValue> Max;
    std::optional<double> P95, Mean;
    // Voltage: the share of blocks at most 2 %, passing when at least 0.95.
    std::optional<double> Within2;
    std::optional<bool> Pass;
    // Current: the blocks left out because their mean current was below 10 % of the highest
    // block mean, and the phase that deviates most from the mean in the most blocks.
    int32_t LightBlocks = 0;
    std::optional<std::string> MostDeviating;
    // In how many blocks each channel deviated most, in the order of Channels.
    std::vector<int32_t> DeviatingBlocks;
    // For the chart: the unbalance of every block kept, at its start.
    std::vector<TimedValue> Series;
};

struct UnbalanceStudy {
    // Voltage: VAB, VBC, VCA when all three were recorded, else VAN, VBN, VCN, in blocks of
    // 10 minutes. Current: IA, IB, IC (else I1, I2, I3) in the survey's blocks. Unset with
    // fewer than three phases; Reasons says why.
    std::optional<UnbalanceFigures> Voltage, Current;
    bool LineToLine = false;
    std::vector<std::string> Reasons;
};

constexpr double VoltageUnbalanceLimit = 2;    // %
constexpr double VoltageUnbalanceShare = 0.95; // of the blocks within the limit
constexpr double LightLoadShare = 0.10;        // of the highest block mean current

// voltages: the 10-minute blocks of every RMS voltage channel; currents: the survey's blocks of
// its phase currents. Each found by its channel label.
UnbalanceStudy ComputeUnbalance(const std::vector<const BlockSeries*>& voltages,
                                const std::vector<const BlockSeries*>& currents);

extern const char* const NegativeSequenceText;

// The channel that deviates most often in few more blocks than another (within 5 % of its
// count): that one; unset when the lead is clear.
std::optional<std::string> CloseRunnerUp(const UnbalanceFigures& figures);
// "IC", or with a close runner-up "IC in 412 blocks, IB in 398"; "-" without blocks.
std::string MostDeviatingText(const UnbalanceFigures& figures, const TextStyle& style);
