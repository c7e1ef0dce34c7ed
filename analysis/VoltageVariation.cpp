#include "analysis/VoltageVariation.h"

#include "model/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double Nominals[] = {100, 110, 115, 120, 127, 200, 208, 220, 230, 240,
                               277, 347, 380, 400, 415, 440, 480, 600, 690};

VoltageChannel TestChannel(const SampledSeries& series, std::optional<double> nominal) {
    VoltageChannel c;
    c.ChannelLabel = series.Label;
    c.Blocks = ComputeBlocks(series, VoltageBlockMinutes);
    if (!c.Blocks.Refusal.empty())
        c.Blocks.Refusal = "The recording interval (" + std::to_string(series.Rate) +
                           " s) is longer than the 10-minute voltage block.";
    c.NominalVolts = nominal;
    if (!nominal) {
        if (const auto median = MedianSample(series)) {
            c.NominalVolts = GuessNominal(*median);
            c.NominalGuessed = true;
        }
    }
    c.Maximum = HighestBlock(c.Blocks);
    c.Minimum = LowestBlock(c.Blocks);
    if (!c.NominalVolts || c.Blocks.Complete == 0)
        return c;
    const double un = *c.NominalVolts;
    int32_t within10 = 0, within10To15 = 0;
    for (const DemandBlock& b : c.Blocks.Blocks) {
        if (!b.Complete)
            continue;
        // Whole-number factors, so that a mean exactly at a limit counts as within it.
        const bool belowHigh = b.Mean * 10 <= 11 * un;
        within10 += belowHigh && b.Mean * 10 >= 9 * un;
        within10To15 += belowHigh && b.Mean * 20 >= 17 * un;
    }
    c.Within10 = static_cast<double>(within10) / c.Blocks.Complete;
    c.Within10To15 = static_cast<double>(within10To15) / c.Blocks.Complete;
    c.Pass = *c.Within10 >= 0.95 && within10To15 == c.Blocks.Complete;
    return c;
}

} // namespace

std::span<const double> NominalVoltages() {
    return Nominals;
}

double GuessNominal(double volts) {
    double best = Nominals[0];
    for (const double un : Nominals)
        if (std::fabs(volts - un) < std::fabs(volts - best))
            best = un;
    return best;
}

std::optional<double> MedianSample(const SampledSeries& series) {
    std::vector<float> finite;
    finite.reserve(static_cast<size_t>(std::max(series.Count, 0)));
    for (int32_t j = 0; j < series.Count; ++j)
        if (std::isfinite(series.Values[j]))
            finite.push_back(series.Values[j]);
    if (finite.empty())
        return std::nullopt;
    const auto middle = finite.begin() + static_cast<std::ptrdiff_t>((finite.size() - 1) / 2);
    std::nth_element(finite.begin(), middle, finite.end());
    return *middle;
}

VoltageVariation ComputeVoltageVariation(const std::vector<SampledSeries>& channels,
                                         std::optional<double> nominalVolts) {
    VoltageVariation v;
    for (const SampledSeries& series : channels)
        v.Channels.push_back(TestChannel(series, nominalVolts));
    v.NominalVolts = nominalVolts;
    if (!nominalVolts && !v.Channels.empty()) {
        v.NominalVolts = v.Channels.front().NominalVolts;
        v.NominalGuessed = v.Channels.front().NominalGuessed;
    }
    bool anyFail = false, allPass = !v.Channels.empty();
    for (const VoltageChannel& c : v.Channels) {
        anyFail = anyFail || c.Pass == false;
        allPass = allPass && c.Pass == true;
    }
    if (anyFail || allPass)
        v.Pass = !anyFail;
    const double days = channels.empty() ? 0 : channels.front().SpanDays();
    v.Valid = !channels.empty() && days >= VoltageTestDays;
    for (const VoltageChannel& c : v.Channels)
        if (!c.Blocks.Refusal.empty()) {
            v.Reasons.push_back(c.Blocks.Refusal);
            v.Valid = false;
            break;
        }
    if (!channels.empty() && days < VoltageTestDays) {
        v.Reasons.push_back("The recording covers " + NumberFormat::Plain().Fixed(days, 2) +
                            " days, less than 7 days.");
    }
    return v;
}
