#include "analysis/LoadDuration.h"

#include <algorithm>
#include <cmath>
#include <functional>

const std::vector<int>& DurationPercents() {
    static const std::vector<int> percents = {0, 1, 5, 10, 25, 50, 75, 90, 95, 99, 100};
    return percents;
}

LoadDuration ComputeLoadDuration(const BlockSeries& blocks, std::optional<double> thresholdWatts) {
    LoadDuration d;
    d.Sorted.reserve(static_cast<size_t>(blocks.Complete));
    for (const DemandBlock& b : blocks.Blocks)
        if (b.Complete)
            d.Sorted.push_back(b.Mean);
    std::sort(d.Sorted.begin(), d.Sorted.end(), std::greater<>());
    const size_t n = d.Sorted.size();
    for (const int p : DurationPercents()) {
        if (n == 0) {
            d.Watts.emplace_back();
            continue;
        }
        const auto i = static_cast<size_t>(std::lround(p / 100.0 * static_cast<double>(n - 1)));
        d.Watts.emplace_back(d.Sorted[std::min(i, n - 1)]);
    }
    d.ThresholdWatts = thresholdWatts;
    if (thresholdWatts && n > 0) {
        const double hoursPerBlock = blocks.Minutes / 60.0;
        int64_t above = 0;
        double energy = 0;
        for (const double w : d.Sorted) {
            if (!(w > *thresholdWatts))
                break;
            ++above;
            energy += (w - *thresholdWatts) * hoursPerBlock;
        }
        d.HoursAbove = static_cast<double>(above) * hoursPerBlock;
        d.EnergyAboveWh = energy;
    }
    return d;
}
