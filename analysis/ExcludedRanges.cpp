#include "analysis/ExcludedRanges.h"

#include <algorithm>
#include <limits>

namespace {

// The runs [first, end) of [0, count) whose seconds (ascending with the index) lie in a
// range, merged.
template <class Seconds>
std::vector<std::pair<int32_t, int32_t>>
Runs(int32_t first, int32_t end, const std::vector<TimeRange>& excluded, Seconds seconds) {
    // The first index from first whose second is at least s (beyond s, with after).
    const auto from = [&](int64_t s, bool after) {
        int32_t lo = first, hi = end;
        while (lo < hi) {
            const int32_t mid = lo + (hi - lo) / 2;
            const int64_t t = seconds(mid);
            if (after ? t <= s : t < s)
                lo = mid + 1;
            else
                hi = mid;
        }
        return lo;
    };
    std::vector<std::pair<int32_t, int32_t>> runs;
    for (const TimeRange& r : excluded) {
        const int32_t a = from(r.FromSeconds(), false);
        const int32_t b = from(r.ToSeconds(), true);
        if (a < b)
            runs.emplace_back(a, b);
    }
    std::sort(runs.begin(), runs.end());
    std::vector<std::pair<int32_t, int32_t>> merged;
    for (const auto& run : runs) {
        if (!merged.empty() && run.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, run.second);
        else
            merged.push_back(run);
    }
    return merged;
}

} // namespace

std::vector<TimeRange> ExcludedRanges(const std::vector<LNote>& notes) {
    std::vector<TimeRange> ranges;
    for (const LNote& note : notes)
        if (note.Kind == LNoteKind::Exclude)
            ranges.push_back({note.Start, note.End});
    return ranges;
}

std::vector<LNote> NotesIn(const std::vector<LNote>& notes, const std::optional<TimeRange>& range) {
    std::vector<LNote> in;
    for (const LNote& note : notes)
        if (!range || (WholeSeconds(note.End) >= range->FromSeconds() &&
                       WholeSeconds(note.Start) <= range->ToSeconds()))
            in.push_back(note);
    return in;
}

std::vector<std::pair<int32_t, int32_t>> ExcludedPoints(const SeriesRange& points,
                                                        const std::vector<TimeRange>& excluded) {
    if (excluded.empty() || points.Empty())
        return {};
    return Runs(points.First, points.End, excluded,
                [&](int32_t i) { return PointSeconds(*points.Parameter, i); });
}

int64_t SetAside(SampledSeries& series, const std::vector<TimeRange>& excluded,
                 std::vector<float>& storage) {
    if (excluded.empty() || series.Count <= 0)
        return 0;
    const auto runs = Runs(0, series.Count, excluded, [&](int32_t j) { return series.Seconds(j); });
    if (runs.empty())
        return 0;
    if (series.Values != storage.data())
        storage.assign(series.Values, series.Values + series.Count);
    int64_t count = 0;
    for (const auto& [first, end] : runs) {
        std::fill(storage.begin() + first, storage.begin() + end,
                  std::numeric_limits<float>::quiet_NaN());
        count += end - first;
    }
    series.Values = storage.data();
    return count;
}
