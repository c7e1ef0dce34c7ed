#include "model/LParameter.h"

#include "model/Auxilary.h"
#include "model/ValueSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

LParameter::LParameter() {
    ++LiveInstances::ParameterCount;
}
LParameter::~LParameter() {
    --LiveInstances::ParameterCount;
}

void LParameter::SetData(int32_t rate, int32_t index, const TDateTime* times, const float* values,
                         int32_t count, float headerA, float headerB) {
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    auto ownValues = std::make_unique_for_overwrite<float[]>(n);
    std::copy_n(values, n, ownValues.get());
    std::unique_ptr<TDateTime[]> ownTimes;
    if (ParameterTableType(index) != ttHistoric) {
        ownTimes = std::make_unique_for_overwrite<TDateTime[]>(n);
        std::copy_n(times, n, ownTimes.get());
    }
    SetData(rate, index, std::move(ownTimes), std::move(ownValues), count, headerA, headerB);
}

void LParameter::SetData(int32_t rate, int32_t index, std::unique_ptr<TDateTime[]> times,
                         std::unique_ptr<float[]> values, int32_t count, float headerA,
                         float headerB) {
    const ParameterEntry& entry = CatalogueEntry(index);
    rate_ = rate;
    index_ = index;
    tableType_ = entry.tableType;
    quantity_ = entry.quantity;
    unit_ = entry.unit;
    channel_ = entry.channel;
    count_ = std::max(count, 0);
    headerA_ = headerA;
    headerB_ = headerB;
    values_ = std::move(values);
    times_ = tableType_ != ttHistoric ? std::move(times) : nullptr;
    summary_.reset();
    ComputeMinMax();
}

void LParameter::SetRecord(const Record& r, std::unique_ptr<float[]> values,
                           std::unique_ptr<TDateTime[]> times) {
    id_ = r.id;
    index_ = r.index;
    startTime_ = r.startTime;
    rate_ = r.rate;
    tableType_ = r.tableType;
    quantity_ = r.quantity;
    unit_ = r.unit;
    channel_ = r.channel;
    headerA_ = r.headerA;
    headerB_ = r.headerB;
    count_ = std::max(r.count, 0);
    values_ = std::move(values);
    times_ = tableType_ != ttHistoric ? std::move(times) : nullptr;
    summary_.reset();
    ComputeMinMax();
}

LParameter::Record LParameter::GetRecord() const {
    return {id_,   index_,   startTime_, rate_,    tableType_, quantity_,
            unit_, channel_, headerA_,   headerB_, count_};
}

const ValueSummary& LParameter::Summary() const {
    const std::lock_guard<std::mutex> lock(summaryMade_);
    if (!summary_)
        summary_ = std::make_unique<const ValueSummary>(values_.get(), count_);
    return *summary_;
}

bool LParameter::GetPoint(int32_t i, float& value, TDateTime& time) const {
    if (i < 0 || i >= count_)
        return false;
    value = values_[i];
    time = times_ ? times_[i] : startTime_ + IntervalsToDays(i, rate_);
    return true;
}

bool LParameter::GetValue(int32_t i, float& value) const {
    if (i < 0 || i >= count_)
        return false;
    value = values_[i];
    return true;
}

namespace {

// The rule: a value replaces the minimum unless it compares >= it, and replaces the maximum
// only if it compares greater. So a NaN becomes the minimum (until the next value replaces it)
// and never the maximum, and of values that compare equal (0 and -0) the first one stays.
void ScalarMinMax(const float* v, int32_t n, float& lo, float& hi) {
    lo = hi = v[0];
    for (int32_t i = 1; i < n; ++i) {
        if (!(v[i] >= lo))
            lo = v[i];
        if (v[i] > hi)
            hi = v[i];
    }
}

// The first value that compares equal to x: the one the rule above keeps.
float FirstEqual(const float* v, int32_t n, float x) {
    for (int32_t i = 0; i < n; ++i)
        if (v[i] == x)
            return v[i];
    return x;
}

// The extremes of the values that are numbers; NaN when none is.
void NumberMinMax(const float* v, int32_t n, float& lo, float& hi) {
    lo = hi = std::numeric_limits<float>::quiet_NaN();
    for (int32_t i = 0; i < n; ++i) {
        if (std::isnan(v[i]))
            continue;
        if (std::isnan(lo) || v[i] < lo)
            lo = v[i];
        if (std::isnan(hi) || v[i] > hi)
            hi = v[i];
    }
}

} // namespace

void LParameter::ComputeMinMax() {
    minimum_ = maximum_ = lowest_ = highest_ = 0;
    if (count_ == 0)
        return;
    const float* v = values_.get();
#if defined(__SSE2__)
    // Without NaNs the rule is an order-free minimum and maximum, which SSE does four lanes at
    // a time; only the sign of a zero result depends on order.
    // Four accumulators each, so that the loop is not bound by the latency of one chain.
    __m128 lo[4], hi[4], unordered = _mm_setzero_ps();
    for (int k = 0; k < 4; ++k)
        lo[k] = hi[k] = _mm_set1_ps(v[0]);
    int32_t i = 0;
    for (; i + 16 <= count_; i += 16) {
        for (int k = 0; k < 4; ++k) {
            const __m128 x = _mm_loadu_ps(v + i + 4 * k);
            lo[k] = _mm_min_ps(lo[k], x);
            hi[k] = _mm_max_ps(hi[k], x);
            unordered = _mm_or_ps(unordered, _mm_cmpunord_ps(x, x));
        }
    }
    for (; i + 4 <= count_; i += 4) {
        const __m128 x = _mm_loadu_ps(v + i);
        lo[0] = _mm_min_ps(lo[0], x);
        hi[0] = _mm_max_ps(hi[0], x);
        unordered = _mm_or_ps(unordered, _mm_cmpunord_ps(x, x));
    }
    const __m128 lo4 = _mm_min_ps(_mm_min_ps(lo[0], lo[1]), _mm_min_ps(lo[2], lo[3]));
    const __m128 hi4 = _mm_max_ps(_mm_max_ps(hi[0], hi[1]), _mm_max_ps(hi[2], hi[3]));
    alignas(16) float l[4], h[4];
    _mm_store_ps(l, lo4);
    _mm_store_ps(h, hi4);
    bool anyNaN = _mm_movemask_ps(unordered) != 0;
    float low = std::min({l[0], l[1], l[2], l[3]});
    float high = std::max({h[0], h[1], h[2], h[3]});
    for (; i < count_; ++i) {
        anyNaN |= v[i] != v[i];
        low = std::min(low, v[i]);
        high = std::max(high, v[i]);
    }
    if (!anyNaN) {
        minimum_ = lowest_ = low == 0 ? FirstEqual(v, count_, low) : low;
        maximum_ = highest_ = high == 0 ? FirstEqual(v, count_, high) : high;
        return;
    }
#endif
    ScalarMinMax(v, count_, minimum_, maximum_);
    NumberMinMax(v, count_, lowest_, highest_);
}
