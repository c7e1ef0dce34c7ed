#include "tests/analysis/AnalysisTestSupport.h"

#include "analysis/TimeRange.h"
#include "model/LParameter.h"

#include <stdexcept>

int Entry(LTableType type, uint8_t quantity, uint8_t unit, uint8_t channel) {
    for (int i = 0; i < ParameterTableSize; ++i) {
        const ParameterEntry& e = CatalogueEntry(i);
        if (e.tableType == type && e.quantity == quantity && e.unit == unit && e.channel == channel)
            return i;
    }
    throw std::invalid_argument("no such catalogue entry");
}

namespace {

LParameter* Add(LParameterCollection& recording, int entry, const std::vector<float>& values,
                const std::vector<TDateTime>& times, TDateTime start, int32_t rate) {
    auto p = std::make_unique<LParameter>();
    p->SetData(rate, entry, times.data(), values.data(), static_cast<int32_t>(values.size()), 0, 0);
    p->SetStartTime(start);
    p->SetId(recording.NewId());
    return recording.Add(std::move(p));
}

} // namespace

LParameter* AddHistoric(LParameterCollection& recording, uint8_t quantity, uint8_t unit,
                        uint8_t channel, std::vector<float> values, TDateTime start, int32_t rate) {
    return Add(recording, Entry(ttHistoric, quantity, unit, channel), values, {}, start, rate);
}

LParameter* AddStamped(LParameterCollection& recording, LTableType type, uint8_t quantity,
                       uint8_t unit, uint8_t channel, std::vector<float> values,
                       std::vector<TDateTime> times) {
    const TDateTime start = times.empty() ? 0 : times.front();
    return Add(recording, Entry(type, quantity, unit, channel), values, times, start, 60);
}

TDateTime At(int year, int month, int day, int hour, int minute, double second) {
    TDateTime date = 0;
    if (!TryEncodeDate(year, month, day, date))
        throw std::invalid_argument("no such date");
    return date + (hour * 3600 + minute * 60 + second) / SecsPerDay;
}

TDateTime Second(TDateTime time) {
    return SecondsToDays(WholeSeconds(time));
}
