#pragma once

#include "analysis/TimeRange.h"

#include <cstdint>
#include <string>

// A Historic series as the survey reads it: Count values, Values[j] being sample
// FirstIndex + j of a time base whose sample k lies at Start + k × Rate / 86 400 days.
// Points into values it does not own.
struct SampledSeries {
    std::string Label; // the channel's label: "3Ø", "IA", "VAN", or "ØA+ØB+ØC" for a sum
    const float* Values = nullptr;
    int32_t Count = 0;
    TDateTime Start = 0;
    int32_t FirstIndex = 0;
    int32_t Rate = 0; // seconds, above 0

    // The whole second of value j.
    int64_t Seconds(int32_t j) const;
    // Every value's whole second, Seconds(j) for j from 0 to Count − 1 in turn, without
    // rounding each: Seconds(0) + j × Rate when the first sample lies clear of a half second
    // (then no sample rounds the other way), else Seconds(j) itself.
    class SecondsWalk {
    public:
        explicit SecondsWalk(const SampledSeries& series);
        int64_t operator()(int32_t j) const {
            return stepwise_ ? first_ + static_cast<int64_t>(j) * series_.Rate : series_.Seconds(j);
        }

    private:
        const SampledSeries& series_;
        int64_t first_ = 0;
        bool stepwise_ = false;
    };
    // (last sample's time − first's + rate) / 86 400: the days the samples cover.
    double SpanDays() const;
};

// The days that many finite samples of rate seconds cover: finite × rate / 86 400. The
// figures per day (typical month, fixed charge, days of a month or a study) are taken over
// these, never over the span, which counts a gap as measured.
double CoveredDays(int64_t finiteSamples, int32_t rate);
