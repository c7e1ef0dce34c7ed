#include "analysis/RangeStatistics.h"

#include "analysis/ParallelLoop.h"
#include "model/LParameterCollection.h"
#include "model/LParameterSourceGroup.h"

#include <algorithm>

namespace {

// Below this many points a second thread costs more than it saves.
constexpr int64_t ParallelPoints = int64_t{1} << 20;

// The rows of the ranges, row i named by name(i, row).
template <class Name>
RangeStatistics Compute(const std::vector<SeriesRange>& ranges, const StatisticsOptions& options,
                        Name name) {
    int threads = options.Threads;
    int64_t points = 0;
    for (const SeriesRange& r : ranges)
        points += r.Count();
    RangeStatistics result;
    result.Rows.resize(ranges.size());
    if (threads == 0 && points < ParallelPoints)
        threads = 1;
    ParallelLoop(static_cast<int>(ranges.size()), threads, [&](int i) {
        SourceStatistics& row = result.Rows[static_cast<size_t>(i)];
        row = ComputeStatistics(ranges[static_cast<size_t>(i)], options.Excluded);
        name(i, row);
    });
    for (const SourceStatistics& row : result.Rows) {
        if (row.From)
            result.From = result.From ? std::min(*result.From, *row.From) : *row.From;
        if (row.To)
            result.To = result.To ? std::max(*result.To, *row.To) : *row.To;
    }
    return result;
}

SeriesRange Kept(const SeriesRange& range, const std::optional<TimeRange>& times) {
    return times ? Narrow(range, *times) : range;
}

} // namespace

RangeStatistics StatisticsOfGroup(const LParameterSourceGroup& group,
                                  const StatisticsOptions& options) {
    std::vector<SeriesRange> ranges;
    for (const auto& source : group)
        ranges.push_back(Kept(SourceSeries(*source), options.Range));
    return Compute(ranges, options, [&](int i, SourceStatistics& row) {
        row.Parameter = group.Items(i)->Parameter;
        row.Visible = group.Items(i)->Selected;
    });
}

RangeStatistics StatisticsOfGroup(const LParameterSourceGroup& group,
                                  const std::optional<TimeRange>& times, int threads) {
    return StatisticsOfGroup(group, StatisticsOptions{times, {}, threads});
}

RangeStatistics StatisticsOfRecording(const LParameterCollection& parameters,
                                      const StatisticsOptions& options) {
    std::vector<SeriesRange> ranges;
    for (const auto& p : parameters)
        ranges.push_back(Kept(WholeSeries(*p), options.Range));
    return Compute(ranges, options, [](int, SourceStatistics&) {});
}

RangeStatistics StatisticsOfRecording(const LParameterCollection& parameters,
                                      const std::optional<TimeRange>& times, int threads) {
    return StatisticsOfRecording(parameters, StatisticsOptions{times, {}, threads});
}
