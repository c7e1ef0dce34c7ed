#include "model/LParameterSource.h"

#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"

#include <algorithm>

LParameterSource::LParameterSource() {
    ++LiveInstances::ParameterSourceCount;
}

LParameterSource::LParameterSource(LParameter* parameter)
    : Parameter(parameter), HasData(parameter && parameter->Count() > 0) {
    ++LiveInstances::ParameterSourceCount;
}

LParameterSource::LParameterSource(const LParameterSource& other)
    : Selected(other.Selected), Parameter(other.Parameter), HasData(other.HasData),
      SubsetActive(other.SubsetActive), First(other.First), Last(other.Last) {
    ++LiveInstances::ParameterSourceCount;
}

LParameterSource::~LParameterSource() {
    // A damaged file can chain millions of sources; unlink them one by one instead of letting
    // each destructor recurse into the next.
    std::unique_ptr<LParameterSource> next = std::move(Next);
    while (next)
        next = std::move(next->Next);
    --LiveInstances::ParameterSourceCount;
}

void LParameterSource::SetSubset(int32_t from, int32_t to) {
    if (to < from)
        ShowErrorAndRaise("LParameterSource::SetSubset", "Invalid index");
    const LTableType type = Parameter->TableType();
    if (type == ttHistoric) {
        // Sample indices as given; the parameter itself refuses points it does not have.
        First = from;
        Last = to;
        HasData = true;
    } else if (type <= ttIntervalCumulative) {
        const int32_t n = Parameter->Count();
        const TDateTime* times = Parameter->Times();
        const TDateTime start = Parameter->StartTime();
        const int32_t rate = Parameter->Rate();
        First = Last = -1;
        for (int32_t i = 0; i < n; ++i)
            if (DaysToIntervals(times[i] - start, rate) >= from) {
                First = i;
                break;
            }
        for (int32_t i = n - 1; i >= 0; --i)
            if (DaysToIntervals(times[i] - start, rate) <= to) {
                Last = i;
                break;
            }
        HasData = First != -1 && Last != -1;
    }
    SubsetActive = from != 0 || to != Parameter->Count();
}

int32_t LParameterSource::GetCount() const {
    if (!HasData)
        return 0;
    // Points out of time order can leave the range inverted; that view is empty.
    return SubsetActive ? std::max(Last - First + 1, 0) : Parameter->Count();
}

int32_t LParameterSource::ParameterIndex(int32_t i) const {
    return SubsetActive ? First + i : i;
}

bool LParameterSource::GetPoint(int32_t i, float& value, TDateTime& time) const {
    if (!HasData || i < 0 || i >= GetCount())
        return false;
    return Parameter->GetPoint(ParameterIndex(i), value, time);
}

bool LParameterSource::GetValue(int32_t i, float& value) const {
    if (!HasData || i < 0 || i >= GetCount())
        return false;
    return Parameter->GetValue(ParameterIndex(i), value);
}

bool LParameterSource::GetFirst(float& value, TDateTime& time) const {
    return HasData && GetPoint(0, value, time);
}

bool LParameterSource::GetLast(float& value, TDateTime& time) const {
    return HasData && GetPoint(GetCount() - 1, value, time);
}

std::string LParameterSource::Label() const {
    return Parameter ? Parameter->Name() + " - " + Parameter->ChannelLabel() : std::string();
}
