#include "analysis/CapacityTables.h"

#include "analysis/DailyProfile.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

TextCell Amps(const std::optional<double>& value) {
    return value ? TextCell::Of(*value, 2, "A") : TextCell{};
}

TextCell Figure(const std::optional<double>& value, const char* unit) {
    return value ? TextCell::Of(*value, 2, unit) : TextCell{};
}

std::string LoadFactorText(const CapacityLoad& c) {
    return c.Load.Name + " (" + NumberFormat::Plain().Fixed(c.Load.Amps) + " A × " +
           NumberFormat::Plain().Fixed(c.Factor) + ")";
}

} // namespace

TextTable CapacityTable(const CapacityStudy& s) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Figure"), C::Texts("Phase"), C::Figures("Value"), C::Texts("Time")};
    table.Columns[2].SuffixColumn = "Unit";
    table.Columns[2].Scaled = true;
    const auto row = [&](std::string figure, std::string phase, TextCell value,
                         TextCell time = {}) {
        table.Rows.push_back({TextCell::Of(std::move(figure)), TextCell::Of(std::move(phase)),
                              std::move(value), std::move(time)});
    };
    for (const CapacityPhase& p : s.Phases) {
        row("Highest block current", p.ChannelLabel, p.Peak ? Amps(p.Peak->Value) : TextCell{},
            p.Peak ? TextCell::At(p.Peak->Time) : TextCell{});
        row("Existing design current (× 1.25)", p.ChannelLabel, Amps(p.ExistingAmps));
        for (const CapacityLoad& c : s.Loads)
            if (!c.Load.Managed &&
                std::find(c.Phases.begin(), c.Phases.end(), p.ChannelLabel) != c.Phases.end())
                row("+ " + LoadFactorText(c), p.ChannelLabel, Amps(c.PhaseAmps));
        row("Design current", p.ChannelLabel, Amps(p.DesignAmps));
        row("Headroom", p.ChannelLabel, Amps(p.HeadroomAmps));
    }
    row("Service rating", "", Amps(s.RatingAmps));
    row("Verdict", s.TightestPhase.value_or(""), TextCell::Of(CapacityVerdictText(s.Verdict)));
    if (s.ShortfallAmps)
        row("Shortfall", "", Amps(s.ShortfallAmps));
    else
        row("Headroom on the tightest phase", s.TightestPhase.value_or(""), Amps(s.HeadroomAmps));
    if (s.SetPointAmps)
        row("Set point of the managed loads", "", Amps(s.SetPointAmps));

    const KvaForm& k = s.Kva;
    row("Highest block of apparent power", "",
        Figure(k.Peak ? k.Peak->Value : std::optional<double>(), "VA"),
        k.Peak ? TextCell::At(k.Peak->Time) : TextCell{});
    row("Existing design (× 1.25)", "", Figure(k.ExistingVa, "VA"));
    for (const CapacityLoad& c : s.Loads)
        row("+ " + LoadFactorText(c) + " at " +
                (c.Volts ? NumberFormat::Plain().Fixed(*c.Volts, 0) + " V" : std::string("- V")),
            "", Figure(c.DesignVa, "VA"));
    row("Design apparent power", "", Figure(k.DesignVa, "VA"));
    row("Service apparent power", "", Figure(k.ServiceVa, "VA"));
    row("Headroom of apparent power", "", Figure(k.HeadroomVa, "VA"));

    const ContinuousCheck& cc = s.Continuous;
    row("Largest 3-hour mean current", cc.Phase.value_or(""),
        cc.ThreeHourAmps ? Amps(cc.ThreeHourAmps->Value) : TextCell{},
        cc.ThreeHourAmps ? TextCell::At(cc.ThreeHourAmps->Time) : TextCell{});
    row("+ continuous new loads (× 1)", cc.Phase.value_or(""), Amps(cc.NewAmps));
    row("Continuous current", cc.Phase.value_or(""), Amps(cc.TotalAmps));
    row("Continuous limit (80 % of the rating)", "", Amps(cc.LimitAmps));

    for (const ManagedNights& n : s.Nights) {
        const auto kwh = [](const std::optional<double>& wh) {
            return wh ? TextCell::Of(*wh / 1000, 2, "kWh") : TextCell{};
        };
        row(n.Name + ": nights", "", TextCell::Of(static_cast<double>(n.Nights.size()), 0));
        row(n.Name + ": least per night", "", kwh(n.LeastWh));
        row(n.Name + ": median per night", "", kwh(n.MedianWh));
        row(n.Name + ": mean per night", "", kwh(n.MeanWh));
        if (n.NightsShort)
            row(n.Name + ": nights short of the need", "",
                TextCell::Of(static_cast<double>(*n.NightsShort), 0));
    }
    return table;
}

TextTable NewLoadsTable(const CapacityStudy& s) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Load"),
                     C::Figures("Rating", "A"),
                     C::Texts("Connection"),
                     C::Texts("Continuous"),
                     C::Texts("Managed"),
                     C::Figures("Factor"),
                     C::Figures("Per phase", "A")};
    const auto yes = [](bool on) { return TextCell::Of(on ? "Yes" : "No"); };
    for (const CapacityLoad& c : s.Loads)
        table.Rows.push_back({TextCell::Of(c.Load.Name), TextCell::Of(c.Load.Amps),
                              TextCell::Of(ConnectionText(c.Load.Connection)),
                              yes(c.Load.Continuous), yes(c.Load.Managed), TextCell::Of(c.Factor),
                              TextCell::Of(c.PhaseAmps)});
    return table;
}

TextTable HeadroomTable(const CapacityStudy& s) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Hour"),
                     C::Figures("Weekday highest", "A"),
                     C::Texts("Weekday phase"),
                     C::Figures("Weekday headroom", "A"),
                     C::Figures("Weekend highest", "A"),
                     C::Texts("Weekend phase"),
                     C::Figures("Weekend headroom", "A")};
    const auto cell = [](const std::optional<double>& v) {
        return v ? TextCell::Of(*v) : TextCell{};
    };
    for (size_t h = 0; h < s.Weekday.size() && h < s.Weekend.size(); ++h) {
        const HeadroomHour& d = s.Weekday[h];
        const HeadroomHour& e = s.Weekend[h];
        table.Rows.push_back({TextCell::Of(BinStartText(d.Hour * 60)), cell(d.HighestAmps),
                              TextCell::Of(d.Phase), cell(d.HeadroomAmps), cell(e.HighestAmps),
                              TextCell::Of(e.Phase), cell(e.HeadroomAmps)});
    }
    return table;
}

TextTable NightEnergyTable(const CapacityStudy& s) {
    TextTable table;
    table.Columns = {TextColumn::Texts("Night")};
    std::map<TDateTime, std::vector<TextCell>> rows;
    for (size_t i = 0; i < s.Nights.size(); ++i) {
        table.Columns.push_back(TextColumn::Figures(s.Nights[i].Name, "kWh"));
        for (const NightEnergy& n : s.Nights[i].Nights) {
            auto& cells = rows[n.Night];
            cells.resize(s.Nights.size());
            cells[i] = TextCell::Of(n.Wh / 1000);
        }
    }
    for (const auto& [night, cells] : rows) {
        std::vector<TextCell>& row = table.Rows.emplace_back();
        row.push_back(TextCell::OfDay(night));
        row.insert(row.end(), cells.begin(), cells.end());
    }
    return table;
}
