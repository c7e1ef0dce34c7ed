#include "analysis/SeriesRange.h"

#include "model/LParameter.h"
#include "model/LParameterSource.h"

#include <algorithm>

SeriesRange WholeSeries(const LParameter& parameter) {
    return {&parameter, 0, parameter.Count()};
}

SeriesRange SourceSeries(const LParameterSource& source) {
    const LParameterSource& shown = source.Next ? *source.Next : source;
    if (!shown.Parameter || !shown.HasData)
        return {shown.Parameter, 0, 0};
    const int64_t count = shown.Parameter->Count();
    const int64_t first = shown.SubsetActive ? shown.First : 0;
    const int64_t end = first + shown.GetCount();
    return {shown.Parameter, static_cast<int32_t>(std::clamp<int64_t>(first, 0, count)),
            static_cast<int32_t>(std::clamp<int64_t>(end, 0, count))};
}

int64_t PointSeconds(const LParameter& p, int32_t i) {
    if (const TDateTime* times = p.Times())
        return WholeSeconds(times[i]);
    return WholeSeconds(p.StartTime() + static_cast<double>(i) * p.Rate() / SecsPerDay);
}

TDateTime PointTime(const LParameter& parameter, int32_t i) {
    return SecondsToDays(PointSeconds(parameter, i));
}

namespace {

// The first index of [first, end) whose second is at least (or, with after, beyond) the
// given one; the points are in time order.
int32_t FirstFrom(const LParameter& p, int32_t first, int32_t end, int64_t seconds, bool after) {
    while (first < end) {
        const int32_t mid = first + (end - first) / 2;
        const int64_t s = PointSeconds(p, mid);
        if (after ? s <= seconds : s < seconds)
            first = mid + 1;
        else
            end = mid;
    }
    return first;
}

} // namespace

SeriesRange Narrow(const SeriesRange& range, const TimeRange& times) {
    if (range.Empty())
        return {range.Parameter, range.First, range.First};
    const LParameter& p = *range.Parameter;
    const int32_t first = FirstFrom(p, range.First, range.End, times.FromSeconds(), false);
    const int32_t end = FirstFrom(p, first, range.End, times.ToSeconds(), true);
    return {range.Parameter, first, std::max(first, end)};
}

std::optional<int32_t> PointAtOrBefore(const SeriesRange& range, TDateTime time) {
    if (range.Empty())
        return std::nullopt;
    const int32_t after =
        FirstFrom(*range.Parameter, range.First, range.End, WholeSeconds(time), true);
    if (after == range.First)
        return std::nullopt;
    return after - 1;
}

std::optional<int32_t> NearestPoint(const SeriesRange& range, TDateTime time) {
    if (range.Empty())
        return std::nullopt;
    const LParameter& p = *range.Parameter;
    const int64_t seconds = WholeSeconds(time);
    const int32_t next = FirstFrom(p, range.First, range.End, seconds, false);
    if (next == range.First)
        return next;
    if (next == range.End)
        return next - 1;
    return seconds - PointSeconds(p, next - 1) <= PointSeconds(p, next) - seconds ? next - 1 : next;
}
