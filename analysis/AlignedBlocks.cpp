#include "analysis/AlignedBlocks.h"

#include <algorithm>

AlignedBlocks AlignBlocks(const std::vector<const BlockSeries*>& series) {
    AlignedBlocks aligned;
    aligned.Means.resize(series.size());
    if (series.empty())
        return aligned;
    // Each series' blocks are in time order: advance the ones behind the latest head.
    size_t most = 0;
    for (const BlockSeries* s : series)
        most = std::max(most, s->Blocks.size());
    aligned.Starts.reserve(most);
    for (auto& means : aligned.Means)
        means.reserve(most);
    std::vector<size_t> at(series.size(), 0);
    while (true) {
        int64_t latest = 0;
        for (size_t i = 0; i < series.size(); ++i) {
            if (at[i] == series[i]->Blocks.size())
                return aligned;
            latest = i == 0 ? series[i]->Blocks[at[i]].Start
                            : std::max(latest, series[i]->Blocks[at[i]].Start);
        }
        bool together = true, complete = true;
        for (size_t i = 0; i < series.size(); ++i) {
            const DemandBlock& b = series[i]->Blocks[at[i]];
            together &= b.Start == latest;
            complete &= b.Complete;
        }
        if (together && complete) {
            aligned.Starts.push_back(latest);
            for (size_t i = 0; i < series.size(); ++i)
                aligned.Means[i].push_back(series[i]->Blocks[at[i]].Mean);
        }
        for (size_t i = 0; i < series.size(); ++i)
            if (together || series[i]->Blocks[at[i]].Start < latest)
                ++at[i];
    }
}
