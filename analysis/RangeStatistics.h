#pragma once

#include "analysis/SourceStatistics.h"
#include "analysis/TimeRange.h"

#include <optional>
#include <vector>

class LParameterCollection;
class LParameterSourceGroup;

// The statistics of several sources over one range, as the Statistics window, vrotool stats
// and the workbook list them: a row per source, and the range the rows cover.
struct RangeStatistics {
    std::vector<SourceStatistics> Rows;
    // The first and last time of a point kept, over all rows; unset when no row kept one.
    std::optional<TDateTime> From, To;
};

// What the statistics of several sources ask: only the points in Range (when set), those in
// the Excluded ranges counting as not measured (the exclude notes), on Threads threads (0: one
// per processor when there are enough points to share).
struct StatisticsOptions {
    std::optional<TimeRange> Range;
    std::vector<TimeRange> Excluded;
    int Threads = 0;
};

// Every source of the group in its order (hidden ones too, Visible false), over the points its
// table or chart shows, or those of them in the time range.
RangeStatistics StatisticsOfGroup(const LParameterSourceGroup& group,
                                  const StatisticsOptions& options);
RangeStatistics StatisticsOfGroup(const LParameterSourceGroup& group,
                                  const std::optional<TimeRange>& times = std::nullopt,
                                  int threads = 0);
// Every parameter of the recording in its order, over all its points or those in the range.
RangeStatistics StatisticsOfRecording(const LParameterCollection& parameters,
                                      const StatisticsOptions& options);
RangeStatistics StatisticsOfRecording(const LParameterCollection& parameters,
                                      const std::optional<TimeRange>& times = std::nullopt,
                                      int threads = 0);
