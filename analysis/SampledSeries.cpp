#include "analysis/SampledSeries.h"

int64_t SampledSeries::Seconds(int32_t j) const {
    return WholeSeconds(Start + static_cast<double>(FirstIndex + j) * Rate / SecsPerDay);
}

double SampledSeries::SpanDays() const {
    if (Count <= 0)
        return 0;
    return static_cast<double>(Seconds(Count - 1) - Seconds(0) + Rate) / SecsPerDay;
}
