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

// A column of figures; for a person, a power or energy in its scaled unit after it.
TextColumn FigureColumn(std::string title, CompareUnits units) {
    TextColumn column = TextColumn::Figures(std::move(title));
    if (units == CompareUnits::ForPeople) {
        column.Scaled = true;
        column.SuffixColumn = "Unit";
    }
    return column;
}

// A row's title and its figures' unit: in the title, or after each figure for a person.
std::string RowTitle(const std::string& title, const std::string& unit, CompareUnits units) {
    return units == CompareUnits::ForPeople ? title : Titled(title, unit);
}

TextCell WithUnit(TextCell cell, const std::string& unit, CompareUnits units) {
    if (units == CompareUnits::ForPeople && cell.kind == TextCell::Number)
        cell.text = unit;
    return cell;
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

TextTable CompareSummaryTable(const Comparison& c, CompareUnits units) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Figure"), FigureColumn("Before", units),
                     FigureColumn("After", units), FigureColumn("Change", units),
                     C::Shares("Change %")};
    table.Rows.push_back({TextCell::Of("From"), TimeOf(c.Before.Survey.From),
                          TimeOf(c.After.Survey.From), TextCell{}, TextCell{}});
    table.Rows.push_back({TextCell::Of("To"), TimeOf(c.Before.Survey.To), TimeOf(c.After.Survey.To),
                          TextCell{}, TextCell{}});
    const std::string currency = c.Options.CostTariff ? c.Options.CostTariff->Currency : "";
    const auto& figures = CompareFigures();
    for (size_t i = 0; i < figures.size(); ++i) {
        const CompareFigure& f = figures[i];
        const FigureChange& change = c.Changes[i];
        const std::string title =
            f.Cost ? Titled(f.Title, currency) : RowTitle(f.Title, f.Unit, units);
        const auto figure = [&](const std::optional<double>& value) {
            return WithUnit(Optional(value, f.Decimals), f.Cost ? "" : f.Unit, units);
        };
        table.Rows.push_back({TextCell::Of(title), figure(change.Before), figure(change.After),
                              figure(change.Difference), Optional(change.Percent)});
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

TextTable SavingTable(const Comparison& c, CompareUnits units) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Saving of"),           FigureColumn("Saving", units),
                     FigureColumn("95 % low", units), FigureColumn("95 % high", units),
                     FigureColumn("SE", units),       C::Figures("df"),
                     C::Figures("Days before"),       C::Figures("Days after")};
    const EnergySaving& s = c.Saving;
    const auto wh = [&](const std::optional<double>& value) {
        return WithUnit(Optional(value), "WH", units);
    };
    const auto stratum = [&](const char* title, const std::optional<StratumSaving>& st) {
        table.Rows.push_back({TextCell::Of(RowTitle(title, "WH", units))});
        if (st)
            table.Rows.back().insert(table.Rows.back().end(),
                                     {wh(st->DWh), wh(st->LowWh), wh(st->HighWh), wh(st->SeWh),
                                      TextCell::Of(st->Df), TextCell::Of(st->NBefore, 0),
                                      TextCell::Of(st->NAfter, 0)});
        table.Rows.back().resize(table.Columns.size());
    };
    stratum("A full weekday", s.Weekday);
    stratum("A full weekend day", s.Weekend);
    table.Rows.push_back({TextCell::Of(RowTitle("A year", "WH", units)), wh(s.YearlyWh),
                          wh(s.YearlyLowWh), wh(s.YearlyHighWh), wh(s.YearlySeWh),
                          Optional(s.YearlyDf), TextCell{}, TextCell{}});
    if (c.Options.CostTariff) {
        table.Rows.push_back(
            {TextCell::Of("A year's cost, an estimate (" + c.Options.CostTariff->Currency + ")"),
             Optional(s.YearlyCost), Optional(s.YearlyCostLow), Optional(s.YearlyCostHigh)});
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
