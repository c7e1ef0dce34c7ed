#include "model/LParameter.h"

#include "shell/Auxilary.h"

#include <algorithm>

LParameter::LParameter() { ++LiveInstances::ParameterCount; }
LParameter::~LParameter() { --LiveInstances::ParameterCount; }

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
    ComputeMinMax();
}

LParameter::Record LParameter::GetRecord() const {
    return {id_,       index_,   startTime_, rate_,    tableType_, quantity_,
            unit_,     channel_, headerA_,   headerB_, count_};
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

void LParameter::ComputeMinMax() {
    minimum_ = maximum_ = 0;
    if (count_ == 0)
        return;
    // Written with these exact comparisons on purpose: a NaN replaces the minimum (and is in
    // turn replaced by the next value) but never becomes the maximum.
    float lo = values_[0];
    float hi = values_[0];
    const float* v = values_.get();
    for (int32_t i = 1; i < count_; ++i) {
        if (!(v[i] >= lo))
            lo = v[i];
        if (v[i] > hi)
            hi = v[i];
    }
    minimum_ = lo;
    maximum_ = hi;
}
