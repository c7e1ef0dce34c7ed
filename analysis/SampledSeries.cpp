#include "analysis/SampledSeries.h"

#include <cmath>

int64_t SampledSeries::Seconds(int32_t j) const {
    return WholeSeconds(Start + static_cast<double>(FirstIndex + j) * Rate / SecsPerDay);
}

double SampledSeries::SpanDays() const {
    if (Count <= 0)
        return 0;
    return static_cast<double>(Seconds(Count - 1) - Seconds(0) + Rate) / SecsPerDay;
}

double CoveredDays(int64_t finiteSamples, int32_t rate) {
    return static_cast<double>(finiteSamples) * rate / SecsPerDay;
}

SampledSeries::SecondsWalk::SecondsWalk(const SampledSeries& series) : series_(series) {
    if (series.Count <= 0)
        return;
    first_ = series.Seconds(0);
    const double exact =
        (series.Start + static_cast<double>(series.FirstIndex) * series.Rate / SecsPerDay) *
        SecsPerDay;
    // Day numbers carry a few microseconds of error at most; a millisecond clear of the
    // half second leaves every sample rounding the same way. The last one also checks that
    // no sample lies beyond the dates a time can hold.
    stepwise_ = std::fabs(exact - std::floor(exact) - 0.5) > 1e-3 &&
                series.Seconds(series.Count - 1) ==
                    first_ + static_cast<int64_t>(series.Count - 1) * series.Rate;
}
