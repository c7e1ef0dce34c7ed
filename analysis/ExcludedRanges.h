#pragma once

#include "analysis/SampledSeries.h"
#include "analysis/SeriesRange.h"
#include "analysis/TimeRange.h"
#include "model/LNote.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// The studies leave out the samples of an exclude note's range exactly as if they had not
// been measured (NaN): whoever runs a study hands it the ranges, and the study sets those
// samples aside where it reads them, so that it stays a function of what it is given.

// The ranges of the exclude notes, in the notes' order.
std::vector<TimeRange> ExcludedRanges(const std::vector<LNote>& notes);

// The notes that touch the range (every one without a range), in their order.
std::vector<LNote> NotesIn(const std::vector<LNote>& notes, const std::optional<TimeRange>& range);

// The points of the range whose whole seconds lie in one of the excluded ranges, as runs of
// indices [first, end), in order, none touching the next.
std::vector<std::pair<int32_t, int32_t>> ExcludedPoints(const SeriesRange& points,
                                                        const std::vector<TimeRange>& excluded);

// Sets the series' samples in the excluded ranges to NaN: when there are any, its values
// are copied into storage first and the series points there. Returns how many it set aside.
int64_t SetAside(SampledSeries& series, const std::vector<TimeRange>& excluded,
                 std::vector<float>& storage);
