#include "analysis/UnbalanceStudy.h"

#include "analysis/AlignedBlocks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

const char* const NegativeSequenceText =
    "The supply standards' 2 % is defined on the negative-sequence ratio, which needs phase "
    "angles the recorder does not keep; this is the NEMA figure from the RMS magnitudes.";

namespace {

// The three series of these labels, when all three are there.
std::vector<const BlockSeries*> Phases(const std::vector<const BlockSeries*>& all,
                                       std::initializer_list<const char*> labels) {
    std::vector<const BlockSeries*> found;
    for (const char* label : labels)
        for (const BlockSeries* s : all)
            if (s->Label == label) {
                found.push_back(s);
                break;
            }
    return found.size() == 3 ? found : std::vector<const BlockSeries*>{};
}

// The figures of the blocks' unbalance; keep says which blocks count.
template <class Keep>
UnbalanceFigures Figures(const std::vector<const BlockSeries*>& phases, const AlignedBlocks& blocks,
                         Keep keep) {
    UnbalanceFigures f;
    for (const BlockSeries* s : phases)
        f.Channels.push_back(s->Label);
    f.Minutes = phases.front()->Minutes;
    std::vector<double> unbalance;
    unbalance.reserve(blocks.Count());
    f.Series.reserve(blocks.Count());
    int32_t deviates[3] = {}, within = 0;
    for (size_t k = 0; k < blocks.Count(); ++k) {
        const double x[3] = {blocks.Means[0][k], blocks.Means[1][k], blocks.Means[2][k]};
        const double mean = (x[0] + x[1] + x[2]) / 3;
        if (!keep(mean))
            continue;
        int most = 0;
        for (int i = 1; i < 3; ++i)
            if (std::fabs(x[i] - mean) > std::fabs(x[most] - mean))
                most = i;
        ++deviates[most];
        const double u = 100 * std::fabs(x[most] - mean) / mean;
        unbalance.push_back(u);
        f.Series.push_back({u, SecondsToDays(blocks.Starts[k])});
        within += u <= VoltageUnbalanceLimit;
        if (!f.Max || u > f.Max->Value)
            f.Max = TimedValue{u, SecondsToDays(blocks.Starts[k])};
    }
    f.Blocks = static_cast<int32_t>(unbalance.size());
    if (unbalance.empty())
        return f;
    double sum = 0;
    for (const double u : unbalance)
        sum += u;
    f.Mean = sum / static_cast<double>(unbalance.size());
    f.MostDeviating = f.Channels[static_cast<size_t>(
        std::max_element(std::begin(deviates), std::end(deviates)) - std::begin(deviates))];
    f.DeviatingBlocks.assign(std::begin(deviates), std::end(deviates));
    const auto p95 =
        unbalance.begin() + std::lround(0.95 * static_cast<double>(unbalance.size() - 1));
    std::nth_element(unbalance.begin(), p95, unbalance.end());
    f.P95 = *p95;
    f.Within2 = static_cast<double>(within) / static_cast<double>(unbalance.size());
    return f;
}

} // namespace

UnbalanceStudy ComputeUnbalance(const std::vector<const BlockSeries*>& voltages,
                                const std::vector<const BlockSeries*>& currents) {
    UnbalanceStudy study;
    auto phases = Phases(voltages, {"VAB", "VBC", "VCA"});
    study.LineToLine = !phases.empty();
    if (phases.empty())
        phases = Phases(voltages, {"VAN", "VBN", "VCN"});
    if (phases.empty()) {
        study.Reasons.push_back("The recording has neither VAB, VBC and VCA nor VAN, VBN and VCN: "
                                "no voltage unbalance.");
    } else {
        UnbalanceFigures& v = study.Voltage.emplace(
            Figures(phases, AlignBlocks(phases), [](double mean) { return mean > 0; }));
        v.MostDeviating.reset();
        if (v.Within2)
            v.Pass = *v.Within2 >= VoltageUnbalanceShare;
        study.Reasons.push_back(NegativeSequenceText);
    }

    phases = Phases(currents, {"IA", "IB", "IC"});
    if (phases.empty())
        phases = Phases(currents, {"I1", "I2", "I3"});
    if (phases.empty()) {
        study.Reasons.push_back(
            "The recording has neither IA, IB and IC nor I1, I2 and I3: no current unbalance.");
        return study;
    }
    // The light-load limit needs the highest block mean first.
    double highest = 0;
    const AlignedBlocks all = AlignBlocks(phases);
    for (size_t k = 0; k < all.Count(); ++k)
        highest = std::max(highest, (all.Means[0][k] + all.Means[1][k] + all.Means[2][k]) / 3);
    const double light = LightLoadShare * highest;
    UnbalanceFigures& c = study.Current.emplace(
        Figures(phases, all, [&](double mean) { return mean > 0 && mean >= light; }));
    c.Within2.reset();
    c.LightBlocks = static_cast<int32_t>(all.Count()) - c.Blocks;
    if (c.LightBlocks > 0) {
        char text[160];
        std::snprintf(text, sizeof text,
                      c.LightBlocks == 1
                          ? "%d block of light load (below 10 %% of the highest mean current) "
                            "was left out of the current unbalance."
                          : "%d blocks of light load (below 10 %% of the highest mean current) "
                            "were left out of the current unbalance.",
                      c.LightBlocks);
        study.Reasons.push_back(text);
    }
    return study;
}

namespace {

// The channel that deviated most in the most blocks (the first of equal ones), and of the
// others the one that did in the most.
std::pair<size_t, size_t> Leaders(const UnbalanceFigures& f) {
    const std::vector<int32_t>& n = f.DeviatingBlocks;
    const auto first = static_cast<size_t>(std::max_element(n.begin(), n.end()) - n.begin());
    size_t second = first == 0 ? 1 : 0;
    for (size_t i = 0; i < n.size(); ++i)
        if (i != first && n[i] > n[second])
            second = i;
    return {first, second};
}

} // namespace

std::optional<std::string> CloseRunnerUp(const UnbalanceFigures& f) {
    if (f.DeviatingBlocks.size() < 2 || f.DeviatingBlocks.size() != f.Channels.size())
        return std::nullopt;
    const auto [first, second] = Leaders(f);
    const double lead = f.DeviatingBlocks[first], next = f.DeviatingBlocks[second];
    if (lead <= 0 || next < 0.95 * lead)
        return std::nullopt;
    return f.Channels[second];
}

std::string MostDeviatingText(const UnbalanceFigures& f, const TextStyle& style) {
    if (!f.MostDeviating)
        return "-";
    if (!CloseRunnerUp(f))
        return *f.MostDeviating;
    const auto [first, second] = Leaders(f);
    return f.Channels[first] + " in " + style.Whole(f.DeviatingBlocks[first]) + " blocks, " +
           f.Channels[second] + " in " + style.Whole(f.DeviatingBlocks[second]);
}
