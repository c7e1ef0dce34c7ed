#pragma once

#include "analysis/DemandBlocks.h"
#include "analysis/SampledSeries.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

// The supply voltage test: the 10-minute means of every RMS voltage channel against the
// nominal voltage Un; a channel passes when at least 95 % of them lie within Un ± 10 % and
// all within Un + 10 % / − 15 %. A channel without a complete block has no verdict.
struct VoltageChannel {
    std::string ChannelLabel;
    std::optional<double> NominalVolts; // as given, or guessed from the channel's median
    bool NominalGuessed = false;
    BlockSeries Blocks;                         // of 10 minutes
    std::optional<double> Within10;             // share of complete blocks within Un ± 10 %
    std::optional<double> Within10To15;         // share within Un + 10 % / − 15 %
    std::optional<TimedValue> Maximum, Minimum; // the highest and lowest block means
    // Unset without a complete block: nothing was measured, so there is no verdict.
    std::optional<bool> Pass;
};

struct VoltageVariation {
    // The test's verdict, which every output shows: fail when a channel fails, pass when every
    // channel passes, unset (no result) otherwise, as where no 10-minute block was measured.
    std::optional<bool> Pass;
    // As given, else the first channel's guess.
    std::optional<double> NominalVolts;
    bool NominalGuessed = false;
    // Valid over at least 7 days; otherwise the figures stand, marked not valid.
    bool Valid = false;
    std::vector<std::string> Reasons;
    std::vector<VoltageChannel> Channels;
};

constexpr int32_t VoltageBlockMinutes = 10;
constexpr double VoltageTestDays = 7;

// 100, 110, 115, 120, 127, 200, 208, 220, 230, 240, 277, 347, 380, 400, 415, 440, 480, 600, 690.
std::span<const double> NominalVoltages();
// The nominal voltage nearest the value (the lower of two as near).
double GuessNominal(double volts);
// The median sample of the finite values (the lower of the middle two); unset without any.
std::optional<double> MedianSample(const SampledSeries& series);

VoltageVariation ComputeVoltageVariation(const std::vector<SampledSeries>& channels,
                                         std::optional<double> nominalVolts);
