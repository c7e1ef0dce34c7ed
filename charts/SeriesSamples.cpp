#include "charts/SeriesSamples.h"

#include "analysis/ParallelLoop.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "model/LParameterSourceGroup.h"
#include "model/ValueSummary.h"

#include <algorithm>
#include <thread>

std::pair<int32_t, int32_t> SeriesSamples::ParameterRange(const LParameterSource& source) {
    const LParameter* parameter = source.Parameter;
    if (!parameter || !source.HasData)
        return {0, 0};
    // A Historic subset is not clipped to the points the parameter has; a damaged file may
    // hold any range at all.
    const int64_t first = source.SubsetActive ? source.First : 0;
    const int64_t end = first + source.GetCount();
    const int64_t from = std::clamp<int64_t>(first, 0, parameter->Count());
    const int64_t to = std::clamp<int64_t>(end, from, parameter->Count());
    return {static_cast<int32_t>(from), static_cast<int32_t>(to)};
}

SeriesSamples::SeriesSamples(const LParameterSourceGroup& group) {
    // First the length every Historic time base needs, so that no array moves once spans
    // point into it.
    std::map<TimeBase, int32_t> needed;
    std::vector<const LParameter*> summarised;
    for (const auto& source : group) {
        const LParameter* parameter = source->Parameter;
        if (parameter && parameter->TableType() == ttHistoric) {
            int32_t& n = needed[{parameter->StartTime(), parameter->Rate()}];
            n = std::max(n, ParameterRange(*source).second);
        }
        if (parameter)
            summarised.push_back(parameter);
    }
    std::sort(summarised.begin(), summarised.end());
    summarised.erase(std::unique(summarised.begin(), summarised.end()), summarised.end());
    ParallelLoop(static_cast<int>(summarised.size()),
                 static_cast<int>(std::thread::hardware_concurrency()),
                 [&](int i) { summarised[static_cast<size_t>(i)]->Summary(); });
    for (const auto& [base, n] : needed) {
        std::vector<double>& times = historicTimes_[base];
        times.resize(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i)
            times[static_cast<size_t>(i)] = base.first + IntervalsToDays(i, base.second);
    }
    spans_.reserve(static_cast<size_t>(group.Count()));
    for (const auto& source : group) {
        SampleSpan span;
        const LParameter* parameter = source->Parameter;
        const auto [from, to] = ParameterRange(*source);
        if (parameter && to > from) {
            const auto n = static_cast<size_t>(to - from);
            const double* times =
                parameter->TableType() == ttHistoric
                    ? historicTimes_.at({parameter->StartTime(), parameter->Rate()}).data()
                    : parameter->Times();
            span.Times = std::span<const double>(times + from, n);
            span.Values = std::span<const float>(parameter->Values() + from, n);
            span.ViewOffset = from - (source->SubsetActive ? source->First : 0);
            span.Summary = &parameter->Summary();
            span.SummaryOffset = static_cast<size_t>(from);
        }
        spans_.push_back(span);
    }
}
