#include "analysis/EnergySaving.h"

#include "analysis/CompareSide.h"

#include <algorithm>
#include <cmath>

namespace {

// Why a stratum is left out: "no full weekend day after", "only one full weekday before".
void StratumReasons(const char* stratum, const CompareSide& before, const CompareSide& after,
                    bool weekend, std::vector<std::string>& reasons) {
    for (const auto& [side, name] : {std::pair{&before, "before"}, std::pair{&after, "after"}}) {
        const size_t n = (weekend ? side->WeekendEnergiesWh : side->WeekdayEnergiesWh).size();
        if (n == 0)
            reasons.push_back(std::string("no full ") + stratum + " " + name);
        else if (n < StratumDaysNeeded)
            reasons.push_back(std::string("only one full ") + stratum + " " + name);
    }
}

std::string DayCount(int32_t n) {
    return std::to_string(n) + (n == 1 ? " day" : " days");
}

} // namespace

EnergySaving ComputeEnergySaving(const CompareSide& before, const CompareSide& after) {
    EnergySaving s;
    s.Weekday = ComputeStratumSaving(before.WeekdayEnergiesWh, after.WeekdayEnergiesWh);
    s.Weekend = ComputeStratumSaving(before.WeekendEnergiesWh, after.WeekendEnergiesWh);
    if (!s.Weekday)
        StratumReasons("weekday", before, after, false, s.Reasons);
    if (!s.Weekend)
        StratumReasons("weekend day", before, after, true, s.Reasons);

    constexpr double weeks = 365.0 / 7;
    if (s.Weekday && s.Weekend) {
        s.YearlyWh = weeks * (5 * s.Weekday->DWh + 2 * s.Weekend->DWh);
        s.YearlySeWh = weeks * std::sqrt(25 * s.Weekday->SeWh * s.Weekday->SeWh +
                                         4 * s.Weekend->SeWh * s.Weekend->SeWh);
        s.YearlyDf = std::min(s.Weekday->Df, s.Weekend->Df);
    } else if (s.Weekday || s.Weekend) {
        const StratumSaving& one = s.Weekday ? *s.Weekday : *s.Weekend;
        const double days = s.Weekday ? WeekdaysPerYear : WeekendDaysPerYear;
        s.YearlyWh = days * one.DWh;
        s.YearlySeWh = days * one.SeWh;
        s.YearlyDf = one.Df;
        s.Reasons.push_back(s.Weekday
                                ? "the yearly saving is the weekdays' alone, over 261 a year"
                                : "the yearly saving is the weekend days' alone, over 104 a year");
    }
    if (s.YearlyWh) {
        const double half = TwoSided95(*s.YearlyDf) * *s.YearlySeWh;
        s.YearlyLowWh = *s.YearlyWh - half;
        s.YearlyHighWh = *s.YearlyWh + half;
        s.Significant = *s.YearlyLowWh > 0 || *s.YearlyHighWh < 0;
        if (before.EnergyPrice && before.HighestDemandCharges && after.HighestDemandCharges) {
            const auto cost = [&](double wh) {
                return wh / 1000 * *before.EnergyPrice +
                       12 * (*before.HighestDemandCharges - *after.HighestDemandCharges);
            };
            s.YearlyCost = cost(*s.YearlyWh);
            // A price per kWh below 0 (a feed-in tariff) turns the interval round.
            s.YearlyCostLow = std::min(cost(*s.YearlyLowWh), cost(*s.YearlyHighWh));
            s.YearlyCostHigh = std::max(cost(*s.YearlyLowWh), cost(*s.YearlyHighWh));
        }
    }
    for (const auto& [side, name] : {std::pair{&before, "before"}, std::pair{&after, "after"}})
        if (side->GapDays > 0)
            s.Reasons.push_back(DayCount(side->GapDays) + " with gaps left out " + name);
    return s;
}

std::string SavingVerdictText(const EnergySaving& saving) {
    if (!saving.Significant)
        return "no result";
    if (!*saving.Significant)
        return "The difference is within day-to-day scatter";
    return *saving.YearlyWh < 0 ? "The increase is larger than day-to-day scatter (95 %)"
                                : "The saving is larger than day-to-day scatter (95 %)";
}
