#include "analysis/DemandBlocks.h"

#include <cmath>
#include <cstdio>

std::string IntervalTooLongText(int32_t rateSeconds, int32_t minutes) {
    char text[128];
    std::snprintf(text, sizeof text,
                  "The recording interval (%d s) is longer than the demand interval (%d min).",
                  rateSeconds, minutes);
    return text;
}

BlockSeries ComputeBlocks(const SampledSeries& series, int32_t minutes) {
    BlockSeries result;
    result.Label = series.Label;
    result.Minutes = minutes;
    const int64_t length = int64_t{60} * minutes;
    if (series.Rate > length) {
        result.Refusal = IntervalTooLongText(series.Rate, minutes);
        return result;
    }
    if (series.Count <= 0 || series.Rate <= 0 || length <= 0)
        return result;
    const int64_t needed = length / series.Rate;
    const int64_t first = series.Seconds(0);
    const int64_t midnight = DayOfSecond(first) * 86400;
    const int64_t t0 = midnight + (first - midnight) / length * length;

    int64_t current = -1;
    double sum = 0;
    auto close = [&] {
        DemandBlock& b = result.Blocks.back();
        b.Mean = b.Finite > 0 ? sum / b.Finite : 0;
        b.Complete = b.Finite >= needed;
        ++(b.Complete ? result.Complete : result.Partial);
    };
    const SampledSeries::SecondsWalk seconds(series);
    for (int32_t j = 0; j < series.Count; ++j) {
        const int64_t offset = seconds(j) - t0;
        const int64_t block = offset >= 0 ? offset / length : -1;
        if (block != current || result.Blocks.empty()) {
            if (!result.Blocks.empty())
                close();
            current = block;
            sum = 0;
            result.Blocks.push_back({t0 + block * length, 0, 0, 0, false});
        }
        DemandBlock& b = result.Blocks.back();
        ++b.Samples;
        const float v = series.Values[j];
        if (std::isfinite(v)) {
            ++b.Finite;
            sum += v;
        }
    }
    close();
    return result;
}

namespace {

template <class Better> std::optional<TimedValue> Extreme(const BlockSeries& s, Better better) {
    std::optional<TimedValue> result;
    for (const DemandBlock& b : s.Blocks)
        if (b.Complete && (!result || better(b.Mean, result->Value)))
            result = TimedValue{b.Mean, b.StartTime()};
    return result;
}

} // namespace

std::optional<TimedValue> HighestBlock(const BlockSeries& blocks) {
    return Extreme(blocks, [](double a, double b) { return a > b; });
}

std::optional<TimedValue> LowestBlock(const BlockSeries& blocks) {
    return Extreme(blocks, [](double a, double b) { return a < b; });
}
