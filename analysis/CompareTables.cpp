#include "analysis/CompareTables.h"

#include "analysis/CompareFigure.h"

#include <cmath>

namespace {

TextCell Optional(const std::optional<double>& value, int decimals = 2) {
    return value ? TextCell::Of(*value, decimals) : TextCell{};
}

std::string Titled(const std::string& title, const std::string& unit) {
    return unit.empty() ? title : title + " (" + unit + ")";
}

TextCell TimeOf(const std::optional<TDateTime>& time) {
    return time ? TextCell::At(*time) : TextCell{};
}

// The demand reached at p % of a side's time: Sorted[round(p / 100 × (n − 1))].
std::optional<double> DurationAt(const std::vector<double>& sorted, int percent) {
    if (sorted.empty())
        return std::nullopt;
    const auto i =
        static_cast<size_t>(std::round(percent / 100.0 * static_cast<double>(sorted.size() - 1)));
    return sorted[i];
}

} // namespace

TextTable CompareSummaryTable(const Comparison& c) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Figure"), C::Figures("Before"), C::Figures("After"),
                     C::Figures("Change"), C::Shares("Change %")};
    table.Rows.push_back({TextCell::Of("From"), TimeOf(c.Before.Survey.From),
                          TimeOf(c.After.Survey.From), TextCell{}, TextCell{}});
    table.Rows.push_back({TextCell::Of("To"), TimeOf(c.Before.Survey.To), TimeOf(c.After.Survey.To),
                          TextCell{}, TextCell{}});
    const std::string currency = c.Options.CostTariff ? c.Options.CostTariff->Currency : "";
    const auto& figures = CompareFigures();
    for (size_t i = 0; i < figures.size(); ++i) {
        const CompareFigure& f = figures[i];
        const FigureChange& change = c.Changes[i];
        table.Rows.push_back({TextCell::Of(Titled(f.Title, f.Cost ? currency : f.Unit)),
                              Optional(change.Before, f.Decimals),
                              Optional(change.After, f.Decimals),
                              Optional(change.Difference, f.Decimals), Optional(change.Percent)});
        if (std::string(f.Key) == "peak_w") {
            const auto time = [](const CompareSide& s) {
                return s.Peak ? TextCell::At(s.Peak->Time) : TextCell{};
            };
            table.Rows.push_back(
                {TextCell::Of("Peak time"), time(c.Before), time(c.After), TextCell{}, TextCell{}});
        }
    }
    return table;
}

TextTable SavingTable(const Comparison& c) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Saving of"),     C::Figures("Saving"),    C::Figures("95 % low"),
                     C::Figures("95 % high"),   C::Figures("SE"),        C::Figures("df"),
                     C::Figures("Days before"), C::Figures("Days after")};
    const EnergySaving& s = c.Saving;
    const auto stratum = [&](const char* title, const std::optional<StratumSaving>& st) {
        if (!st) {
            table.Rows.push_back({TextCell::Of(title)});
            table.Rows.back().resize(table.Columns.size());
            return;
        }
        table.Rows.push_back({TextCell::Of(title), TextCell::Of(st->DWh), TextCell::Of(st->LowWh),
                              TextCell::Of(st->HighWh), TextCell::Of(st->SeWh),
                              TextCell::Of(st->Df), TextCell::Of(st->NBefore, 0),
                              TextCell::Of(st->NAfter, 0)});
    };
    stratum("A full weekday (WH)", s.Weekday);
    stratum("A full weekend day (WH)", s.Weekend);
    table.Rows.push_back({TextCell::Of("A year (WH)"), Optional(s.YearlyWh),
                          Optional(s.YearlyLowWh), Optional(s.YearlyHighWh), Optional(s.YearlySeWh),
                          Optional(s.YearlyDf), TextCell{}, TextCell{}});
    if (c.Options.CostTariff) {
        table.Rows.push_back(
            {TextCell::Of("A year's cost, an estimate (" + c.Options.CostTariff->Currency + ")"),
             Optional(s.YearlyCost)});
        table.Rows.back().resize(table.Columns.size());
    }
    return table;
}

std::vector<std::string> CompareNotes(const Comparison& c) {
    const EnergySaving& s = c.Saving;
    std::vector<std::string> notes;
    notes.push_back(s.Significant ? SavingVerdictText(s)
                                  : "No saving can be judged: no stratum has 2 full days on "
                                    "each side.");
    if (s.YearlyWh && *s.YearlyWh < 0)
        notes.push_back("The saving is negative: the energy use increased.");
    for (const std::string& reason : s.Reasons)
        notes.push_back("• " + reason);
    notes.push_back(NotNormalisedText);
    notes.push_back(GapDaysLeftOutText);
    return notes;
}

std::string CompareSummaryText(const Comparison& c, const TextStyle& style) {
    std::string text = CompareSummaryTable(c).Text(style, CellFormat::Tab) + "\r\n" +
                       SavingTable(c).Text(style, CellFormat::Tab) + "\r\n";
    for (const std::string& line : CompareNotes(c))
        text += line + "\r\n";
    return text;
}

TextTable CompareProfileTable(const Comparison& c) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Time of day"), C::ScaledFigures("Before weekday", "W"),
                     C::ScaledFigures("After weekday", "W"),
                     C::ScaledFigures("Before weekend", "W"),
                     C::ScaledFigures("After weekend", "W")};
    const DailyProfile& b = c.Before.Power().Profile;
    const DailyProfile& a = c.After.Power().Profile;
    const auto mean = [](const std::vector<ProfileBin>& bins, size_t i) {
        return i < bins.size() ? Optional(bins[i].Mean) : TextCell{};
    };
    for (size_t i = 0; i < b.Weekday.size(); ++i)
        table.Rows.push_back({TextCell::Of(BinStartText(b.Weekday[i].StartMinute)),
                              mean(b.Weekday, i), mean(a.Weekday, i), mean(b.Weekend, i),
                              mean(a.Weekend, i)});
    return table;
}

TextTable CompareEnergyTable(const Comparison& c) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Side"), C::Texts("Date"), C::Texts("Day"),
                     C::ScaledFigures("Energy", "WH")};
    for (const auto& [side, name] : {std::pair{&c.Before, "before"}, std::pair{&c.After, "after"}})
        for (const EnergyDay& day : side->FullDayList)
            table.Rows.push_back(
                {TextCell::Of(name), TextCell::OfDay(day.Date),
                 TextCell::Of(IsWeekend(static_cast<int64_t>(day.Date)) ? "weekend" : "weekday"),
                 TextCell::Of(day.EnergyWh)});
    return table;
}

TextTable CompareDurationTable(const Comparison& c) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Figures("Share of time", "%"), C::Figures("Before", "W"),
                     C::Figures("After", "W")};
    for (int p = 0; p <= 100; ++p)
        table.Rows.push_back({TextCell::Of(p, 0),
                              Optional(DurationAt(c.Before.Power().Duration.Sorted, p)),
                              Optional(DurationAt(c.After.Power().Duration.Sorted, p))});
    return table;
}
