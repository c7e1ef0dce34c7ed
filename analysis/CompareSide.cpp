#include "analysis/CompareSide.h"

#include "model/ErrorReport.h"

#include <algorithm>
#include <cmath>

namespace {

std::optional<double> Mean(const std::vector<double>& values) {
    if (values.empty())
        return std::nullopt;
    double sum = 0;
    for (double v : values)
        sum += v;
    return sum / static_cast<double>(values.size());
}

std::optional<double> BasePercentile(const std::vector<double>& highestFirst) {
    const size_t n = highestFirst.size();
    if (n == 0)
        return std::nullopt;
    const auto k = static_cast<size_t>(std::round(0.05 * static_cast<double>(n - 1)));
    return highestFirst[n - 1 - k];
}

void Refuse(const std::string& name, const std::string& file, const std::string& reason) {
    Raise(name + (file.empty() ? std::string() : " (" + file + ")") + ": " + reason);
}

void TakeCost(CompareSide& side) {
    const CostStudy& cost = *side.Power().Cost;
    side.TypicalMonthCost = cost.TypicalMonth;
    if (cost.EnergyWh > 0)
        side.EnergyPrice = cost.EnergyCost / (cost.EnergyWh / 1000);
    double highest = 0;
    for (const CostMonth& m : cost.Months)
        highest = std::max(highest, m.DemandCost + m.ReactiveCost);
    side.HighestDemandCharges = highest;
    std::vector<double> perDay;
    size_t k = 0;
    for (const EnergyDay& day : side.FullDayList) {
        while (k < cost.PerDay.size() && cost.PerDay[k].Date < day.Date)
            ++k;
        if (k < cost.PerDay.size() && cost.PerDay[k].Date == day.Date)
            perDay.push_back(cost.PerDay[k].EnergyCost);
    }
    side.CostPerDay = Mean(perDay);
}

} // namespace

CompareSide SurveySide(const LParameterCollection& parameters, const std::string& name,
                       const std::string& file, const std::optional<TimeRange>& range,
                       int32_t blockMinutes, const std::optional<Tariff>& tariff,
                       const std::vector<TimeRange>& excluded) {
    {
        const SurveySeries whole(parameters, std::nullopt);
        const auto& power = whole.Power();
        if (!power)
            Refuse(name, file, NoPowerText);
        const int64_t first = power->Seconds(0), last = power->Seconds(power->Count - 1);
        if (range && (range->ToSeconds() < first || range->FromSeconds() > last))
            Refuse(name, file,
                   "The range " + PlainDateTimeText(range->From) + " to " +
                       PlainDateTimeText(range->To) + " lies outside the recording (" +
                       PlainDateTimeText(SecondsToDays(first)) + " to " +
                       PlainDateTimeText(SecondsToDays(last)) + ").");
    }
    CompareSide side;
    side.File = file;
    side.Range = range;
    SurveyOptions options;
    options.BlockMinutes = blockMinutes;
    options.Range = range;
    options.CostTariff = tariff;
    options.Excluded = excluded;
    side.Survey = RunSurvey(parameters, options);
    if (!side.Survey.Power)
        Refuse(name, file, NoPowerText);
    const PowerSurvey& power = side.Power();

    for (const EnergyDay& day : power.Days) {
        if (!day.Full())
            continue;
        side.FullDayList.push_back(day);
        const bool weekend = IsWeekend(static_cast<int64_t>(day.Date));
        (weekend ? side.WeekendEnergiesWh : side.WeekdayEnergiesWh).push_back(day.EnergyWh);
    }
    if (side.FullDayList.empty())
        Refuse(name, file,
               "The range holds no full day: every sample period of a day from 00:00:00 to "
               "24:00 must hold a power sample.");
    side.FullWeekdays = static_cast<int32_t>(side.WeekdayEnergiesWh.size());
    side.FullWeekendDays = static_cast<int32_t>(side.WeekendEnergiesWh.size());
    side.FullDays = side.FullWeekdays + side.FullWeekendDays;
    std::vector<double> all;
    for (const EnergyDay& day : side.FullDayList)
        all.push_back(day.EnergyWh);
    side.EnergyPerDayWh = Mean(all);
    side.WeekdayEnergyWh = Mean(side.WeekdayEnergiesWh);
    side.WeekendEnergyWh = Mean(side.WeekendEnergiesWh);

    // The days with a gap: every calendar day strictly between the first and the last that
    // is not full, days without any sample included.
    const auto firstDay = static_cast<int64_t>(power.Days.front().Date);
    const auto lastDay = static_cast<int64_t>(power.Days.back().Date);
    int32_t innerFull = 0;
    for (const EnergyDay& day : side.FullDayList)
        innerFull +=
            day.Date > static_cast<double>(firstDay) && day.Date < static_cast<double>(lastDay);
    side.GapDays = static_cast<int32_t>(std::max<int64_t>(0, lastDay - firstDay - 1)) - innerFull;

    side.Days = power.Totals.Days;
    side.Peak = power.Totals.Peak;
    side.BaseWatts = BasePercentile(power.Duration.Sorted);
    side.AverageWatts = power.Totals.AverageWatts;
    side.LoadFactor = power.Totals.LoadFactor;
    side.AveragePowerFactor = power.PowerFactor.Average;
    if (power.Cost)
        TakeCost(side);
    return side;
}
