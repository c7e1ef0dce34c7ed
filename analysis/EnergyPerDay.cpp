#include "analysis/EnergyPerDay.h"

#include <algorithm>
#include <cmath>

std::vector<EnergyDay> ComputeEnergyDays(const SampledSeries& power, const BlockSeries& blocks) {
    std::vector<EnergyDay> days;
    const double hoursPerSample = power.Rate / 3600.0;
    int64_t current = 0;
    double sum = 0;
    auto close = [&] {
        EnergyDay& d = days.back();
        d.EnergyWh = sum * hoursPerSample;
        // A first or last day the recording reaches only in part is partial, however well its
        // own samples are filled.
        d.Coverage = std::min(1.0, CoveredDays(d.Finite, power.Rate));
    };
    const SampledSeries::SecondsWalk seconds(power);
    for (int32_t j = 0; j < power.Count; ++j) {
        const int64_t day = DayOfSecond(seconds(j));
        if (days.empty() || day != current) {
            if (!days.empty())
                close();
            current = day;
            sum = 0;
            days.push_back({});
            days.back().Date = static_cast<double>(day);
        }
        EnergyDay& d = days.back();
        ++d.Samples;
        const float v = power.Values[j];
        if (std::isfinite(v)) {
            ++d.Finite;
            sum += v;
        }
    }
    if (!days.empty())
        close();
    std::erase_if(days, [](const EnergyDay& d) { return d.Finite == 0; });

    // Blocks and days are both in time order: one walk gives each day its blocks.
    size_t k = 0;
    for (const DemandBlock& b : blocks.Blocks) {
        if (!b.Complete)
            continue;
        const auto day = static_cast<double>(DayOfSecond(b.Start));
        while (k < days.size() && days[k].Date < day)
            ++k;
        if (k == days.size())
            break;
        if (days[k].Date != day)
            continue;
        EnergyDay& d = days[k];
        if (!d.Peak || b.Mean > d.Peak->Value)
            d.Peak = TimedValue{b.Mean, b.StartTime()};
        if (!d.BaseWatts || b.Mean < *d.BaseWatts)
            d.BaseWatts = b.Mean;
    }
    return days;
}

EnergyTotals ComputeEnergyTotals(const SampledSeries& power, const BlockSeries& blocks) {
    EnergyTotals t;
    double sum = 0;
    int64_t finite = 0;
    for (int32_t j = 0; j < power.Count; ++j)
        if (std::isfinite(power.Values[j])) {
            sum += power.Values[j];
            ++finite;
        }
    t.EnergyWh = sum * power.Rate / 3600.0;
    t.Days = CoveredDays(finite, power.Rate);
    t.Peak = HighestBlock(blocks);
    if (const auto base = LowestBlock(blocks))
        t.BaseWatts = base->Value;
    double demand = 0;
    for (const DemandBlock& b : blocks.Blocks)
        if (b.Complete)
            demand += b.Mean;
    if (blocks.Complete > 0)
        t.AverageWatts = demand / blocks.Complete;
    if (t.AverageWatts && t.Peak && t.Peak->Value > 0)
        t.LoadFactor = *t.AverageWatts / t.Peak->Value;
    return t;
}
