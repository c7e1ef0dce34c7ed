#include "analysis/CompareFigure.h"

#include "analysis/CompareSide.h"

namespace {

std::optional<double> Whole(int32_t n) {
    return static_cast<double>(n);
}

} // namespace

const std::vector<CompareFigure>& CompareFigures() {
    using S = const CompareSide&;
    static const std::vector<CompareFigure> figures = {
        {"days", "Days", "", 2, false, [](S s) { return std::optional<double>(s.Days); }},
        {"full_days", "Full days", "", 0, false, [](S s) { return Whole(s.FullDays); }},
        {"full_weekdays", "Full weekdays", "", 0, false, [](S s) { return Whole(s.FullWeekdays); }},
        {"full_weekend_days", "Full weekend days", "", 0, false,
         [](S s) { return Whole(s.FullWeekendDays); }},
        {"energy_per_day_wh", "Energy per full day", "WH", 2, false,
         [](S s) { return s.EnergyPerDayWh; }},
        {"weekday_energy_wh", "Energy per full weekday", "WH", 2, false,
         [](S s) { return s.WeekdayEnergyWh; }},
        {"weekend_energy_wh", "Energy per full weekend day", "WH", 2, false,
         [](S s) { return s.WeekendEnergyWh; }},
        {"peak_w", "Peak demand", "W", 2, false,
         [](S s) { return s.Peak ? std::optional<double>(s.Peak->Value) : std::nullopt; }},
        {"base_w", "Base load (5th percentile)", "W", 2, false, [](S s) { return s.BaseWatts; }},
        {"average_w", "Average demand", "W", 2, false, [](S s) { return s.AverageWatts; }},
        {"load_factor", "Load factor", "", 3, false, [](S s) { return s.LoadFactor; }},
        {"average_pf", "Average power factor", "", 3, false,
         [](S s) { return s.AveragePowerFactor; }},
        {"cost_per_day", "Energy cost per full day", "", 2, true, [](S s) { return s.CostPerDay; }},
        {"typical_month_cost", "Typical month", "", 2, true,
         [](S s) { return s.TypicalMonthCost; }},
    };
    return figures;
}
