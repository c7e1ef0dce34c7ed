#pragma once

#include "analysis/TimeRange.h"

#include <cstdint>
#include <optional>

class LParameter;
class LParameterSource;

// The points of one parameter an analysis runs over: parameter indices First to End
// (excluded). Historic sample k lies at the parameter's start + k × rate / 86 400 days; the
// other types carry a time per point, in time order as the instrument records them.
struct SeriesRange {
    const LParameter* Parameter = nullptr;
    int32_t First = 0;
    int32_t End = 0;

    int32_t Count() const { return End > First ? End - First : 0; }
    bool Empty() const { return Count() == 0; }
};

// Every point of the parameter.
SeriesRange WholeSeries(const LParameter& parameter);
// The points a table or chart shows of the source: a Historic source's subset (sample indices
// First to Last), the view of the other types, cut to the points the parameter has. A source
// with a next source (an interval twin) stands for its next source's points.
SeriesRange SourceSeries(const LParameterSource& source);

// The whole second of parameter index i.
int64_t PointSeconds(const LParameter& parameter, int32_t i);
// The same as a time, at that whole second.
TDateTime PointTime(const LParameter& parameter, int32_t i);

// The points of the range whose times lie in the time range, both ends included. A binary
// search over the points' whole seconds: linear in nothing.
SeriesRange Narrow(const SeriesRange& range, const TimeRange& times);

// The last point at or before the time, and the point nearest to it (the earlier of two as
// near); none in an empty range, or none before the time.
std::optional<int32_t> PointAtOrBefore(const SeriesRange& range, TDateTime time);
std::optional<int32_t> NearestPoint(const SeriesRange& range, TDateTime time);
