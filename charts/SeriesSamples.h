#pragma once

#include "model/DateTime.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

class LParameterSource;
class LParameterSourceGroup;
class ValueSummary;

// The arrays a chart draws one source from, straight from the recording: the times and
// recorded values of the source's view, cut to the points its parameter has, and the summary
// of the parameter's values.
struct SampleSpan {
    std::span<const double> Times;
    std::span<const float> Values;
    // The view index of the spans' first element.
    int32_t ViewOffset = 0;
    const ValueSummary* Summary = nullptr; // none without values
    // The index of the spans' first element in the summary's values.
    size_t SummaryOffset = 0;
};

// The samples of every source of a group, in group order. A Historic parameter stores no
// times: they are made here once per time base (start and rate) and shared by its sources.
// The parameters' summaries are made here, those not made before on the processors side by
// side. Valid while the group's parameters live and the group is unchanged.
class SeriesSamples {
public:
    SeriesSamples() = default;
    explicit SeriesSamples(const LParameterSourceGroup& group);

    const SampleSpan& Samples(int32_t i) const { return spans_.at(static_cast<size_t>(i)); }
    int32_t Count() const { return static_cast<int32_t>(spans_.size()); }

    // The parameter indices [first, end) of the source's view that the parameter has.
    static std::pair<int32_t, int32_t> ParameterRange(const LParameterSource& source);

private:
    using TimeBase = std::pair<TDateTime, int32_t>; // start, seconds per sample
    std::map<TimeBase, std::vector<double>> historicTimes_;
    std::vector<SampleSpan> spans_;
};
