#include "analysis/SurveyTables.h"

#include <algorithm>
#include <cmath>

namespace {

TextCell Optional(const std::optional<double>& value, int decimals = 2) {
    return value ? TextCell::Of(*value, decimals) : TextCell{};
}

TextCell Share(const std::optional<double>& share) {
    return share ? TextCell::Of(*share * 100) : TextCell{};
}

TextCell ValueOf(const std::optional<TimedValue>& value) {
    return value ? TextCell::Of(value->Value) : TextCell{};
}

TextCell TimeOf(const std::optional<TimedValue>& value) {
    return value ? TextCell::At(value->Time) : TextCell{};
}

} // namespace

const char* VerdictText(const std::optional<bool>& pass) {
    return !pass ? "no result" : *pass ? "pass" : "fail";
}

TextTable EnergyDayTable(const std::vector<EnergyDay>& days, const CostStudy* cost) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Date"),
                     C::Texts("Day"),
                     C::ScaledFigures("Energy", "WH"),
                     C::ScaledFigures("Peak", "W"),
                     C::Texts("Peak time"),
                     C::ScaledFigures("Base", "W"),
                     C::Shares("Coverage")};
    if (cost)
        table.Columns.push_back(C::Figures("Energy cost", cost->Currency));
    auto costDay = cost ? cost->PerDay.begin() : std::vector<CostDay>::const_iterator();
    for (const EnergyDay& day : days) {
        auto& row = table.Rows.emplace_back(std::vector<TextCell>{
            TextCell::OfDay(day.Date), TextCell::Of(day.Full() ? "full" : "partial"),
            TextCell::Of(day.EnergyWh), ValueOf(day.Peak), TimeOf(day.Peak),
            Optional(day.BaseWatts), TextCell::Of(day.Coverage * 100)});
        if (!cost)
            continue;
        // Both in date order; the cost has a row for every day with a sample.
        while (costDay != cost->PerDay.end() && costDay->Date < day.Date - 0.5)
            ++costDay;
        const bool same =
            costDay != cost->PerDay.end() && std::fabs(costDay->Date - day.Date) < 0.5;
        row.push_back(same ? TextCell::Of(costDay->EnergyCost) : TextCell{});
    }
    return table;
}

TextTable EnergyMonthTable(const std::vector<EnergyDay>& days, const CostStudy* cost) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Month"),
                     C::Figures("Days"),
                     C::Figures("Full days"),
                     C::ScaledFigures("Energy", "WH"),
                     C::ScaledFigures("Peak", "W"),
                     C::Texts("Peak time")};
    if (cost)
        table.Columns.push_back(C::Figures("Energy cost", cost->Currency));
    struct Month {
        CalendarMonth Of;
        double Days = 0, EnergyWh = 0;
        int32_t Full = 0;
        std::optional<TimedValue> Peak;
    };
    std::vector<Month> months;
    for (const EnergyDay& day : days) {
        const DateTimeParts date = DecodeDateTime(day.Date);
        const CalendarMonth of{date.year, date.month};
        if (months.empty() || !(months.back().Of == of))
            months.push_back({of, 0, 0, 0, std::nullopt});
        Month& m = months.back();
        m.Days += day.Coverage;
        m.EnergyWh += day.EnergyWh;
        m.Full += day.Full();
        if (day.Peak && (!m.Peak || day.Peak->Value > m.Peak->Value))
            m.Peak = day.Peak;
    }
    for (const Month& m : months) {
        auto& row = table.Rows.emplace_back(std::vector<TextCell>{
            TextCell::Of(m.Of.Text()), TextCell::Of(m.Days), TextCell::Of(m.Full, 0),
            TextCell::Of(m.EnergyWh), ValueOf(m.Peak), TimeOf(m.Peak)});
        if (!cost)
            continue;
        TextCell money;
        for (const CostMonth& c : cost->Months)
            if (c.Month == m.Of)
                money = TextCell::Of(c.EnergyCost);
        row.push_back(money);
    }
    return table;
}

namespace {

const char* ChargeName(DemandKind kind) {
    return kind == DemandKind::TimeOfUse ? "demand"
           : kind == DemandKind::Flat    ? "flat demand"
                                         : "reactive demand";
}

// "all hours" for a tariff of one period of the kind, else the period's number.
TextCell PeriodCell(int32_t period, int32_t periods) {
    return TextCell::Of(periods == 1 ? PeriodText(period, periods) : std::to_string(period));
}

} // namespace

TextTable CostTable(const CostStudy& cost) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Month"),
                     C::Texts("Charge"),
                     C::Texts("Period"),
                     C::Figures("Amount"),
                     C::Texts("Time"),
                     C::Figures("Days recorded"),
                     C::Figures("Days in month"),
                     C::Figures("Cost", cost.Currency)};
    table.Columns[3].SuffixColumn = "Unit";
    table.Columns[3].Scaled = true;
    const std::string demandUnit = cost.DemandInKva ? "VA" : "W";
    const auto row = [&](const std::string& month, const std::string& charge, TextCell period,
                         TextCell amount, TextCell time, TextCell recorded, TextCell days,
                         TextCell money) {
        table.Rows.push_back({TextCell::Of(month), TextCell::Of(charge), std::move(period),
                              std::move(amount), std::move(time), std::move(recorded),
                              std::move(days), std::move(money)});
    };
    for (const CostMonth& m : cost.Months) {
        const std::string month = m.Month.Text();
        const TextCell recorded = TextCell::Of(m.DaysRecorded);
        const TextCell days = TextCell::Of(m.DaysInMonth, 0);
        for (const EnergyCharge& e : cost.Energy)
            if (e.Month == m.Month)
                row(month, "energy", PeriodCell(e.Period, cost.EnergyPeriods),
                    TextCell::Of(e.EnergyWh / 1000, 2, "kWh"), {}, recorded, days,
                    TextCell::Of(e.Cost));
        for (const DemandCharge& d : cost.Demand)
            if (d.Month == m.Month)
                row(month, ChargeName(d.Kind),
                    d.Period
                        ? PeriodCell(*d.Period, d.Kind == DemandKind::Flat ? cost.FlatDemandPeriods
                                                                           : cost.DemandPeriods)
                        : TextCell{},
                    TextCell::Of(d.Demand.Value, 2,
                                 d.Kind == DemandKind::Reactive ? "var" : demandUnit),
                    TextCell::At(d.Demand.Time), recorded, days, TextCell::Of(d.Cost));
        if (cost.ChargesFixed)
            row(month, "fixed charge", {}, {}, {}, recorded, days, TextCell::Of(m.FixedCost));
        row(month, "month total", {}, {}, {}, recorded, days,
            TextCell::Of(m.EnergyCost + m.DemandCost + m.ReactiveCost + m.FixedCost));
    }
    // Only the charges the tariff has.
    if (cost.EnergyPeriods > 0)
        row("all", "energy", {}, TextCell::Of(cost.EnergyWh / 1000, 2, "kWh"), {}, {}, {},
            TextCell::Of(cost.EnergyCost));
    if (cost.DemandPeriods + cost.FlatDemandPeriods > 0)
        row("all", "demand", {}, {}, {}, {}, {}, TextCell::Of(cost.DemandCost));
    if (cost.ChargesReactive)
        row("all", "reactive demand", {}, {}, {}, {}, {}, TextCell::Of(cost.ReactiveCost));
    if (cost.ChargesFixed)
        row("all", "fixed charge", {}, {}, {}, {}, {}, TextCell::Of(cost.FixedCost));
    row("all", "total", {}, {}, {}, {}, {}, TextCell::Of(cost.Total));
    if (cost.AveragePrice)
        row("all", "average price", {},
            TextCell::Of(*cost.AveragePrice, 4, cost.Currency + " per kWh"), {}, {}, {}, {});
    const TextCell estimated = TextCell::Of(cost.Days);
    if (cost.TypicalMonth)
        row("typical month", "estimate", {}, {}, {}, estimated, {},
            TextCell::Of(*cost.TypicalMonth));
    if (cost.Year)
        row("year", "estimate", {}, {}, {}, estimated, {}, TextCell::Of(*cost.Year));
    if (const auto& s = cost.Shaving) {
        row("peak shaving", "demand charges capped", {},
            TextCell::Of(s->ThresholdWatts, 2, demandUnit), {}, {}, {},
            TextCell::Of(s->DemandCost));
        row("peak shaving", "saving a typical month", {}, {}, {}, estimated, {},
            TextCell::Of(s->TypicalMonthSaving));
    }
    return table;
}

TextTable PowerFactorTable(const PowerFactorCorrection& pf, const CorrectionSaving* correction) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Figure"), C::Figures("Value"), C::Texts("Time")};
    table.Columns[1].SuffixColumn = "Unit";
    table.Columns[1].Scaled = true;
    const auto row = [&](const char* figure, TextCell value, TextCell time = {}) {
        table.Rows.push_back({TextCell::Of(figure), std::move(value), std::move(time)});
    };
    const auto figure = [](const std::optional<double>& value, const char* unit, int decimals = 2) {
        return value ? TextCell::Of(*value, decimals, unit) : TextCell{};
    };
    const auto share = [](const std::optional<double>& value) {
        return value ? TextCell::Of(*value * 100, 2, "%") : TextCell{};
    };
    const auto timed = [&](const char* name, const std::optional<TimedValue>& value,
                           const char* unit, int decimals) {
        row(name, value ? TextCell::Of(value->Value, decimals, unit) : TextCell{}, TimeOf(value));
    };
    row("Target", TextCell::Of(pf.Target, 2, "PF"));
    row("Blocks", TextCell::Of(pf.Blocks, 0, "blocks"));
    row("Average", figure(pf.Average, "PF", 3));
    row("Blocks below target", share(pf.BelowTarget));
    timed("Lowest", pf.Lowest, "PF", 3);
    row("Qc at the peak", figure(pf.QcAtPeakVar, "var"));
    if (pf.QcMax && pf.QcMax->Value <= 0)
        row("Largest Qc", TextCell::Of(NoCorrectionNeededText));
    else
        timed("Largest Qc", pf.QcMax, "var", 2);
    row("Qc at 95 %", figure(pf.Qc95Var, "var"));
    row("Light-load Qc", figure(pf.QcLightVar, "var"));
    row("Bank", figure(pf.BankVar, "var"));
    row("Fixed part", figure(pf.FixedVar, "var"));
    row("Switched steps",
        pf.SwitchedSteps ? TextCell::Of(*pf.SwitchedSteps, 0, "steps") : TextCell{});
    row("Step", TextCell::Of(pf.StepVar, 2, "var"));
    row("Apparent power at the peak, before", figure(pf.PeakVaBefore, "VA"));
    row("Apparent power at the peak, after", figure(pf.PeakVaAfter, "VA"));
    row("Current fall at the peak", share(pf.CurrentFall));
    if (correction) {
        const CorrectionSaving& c = *correction;
        row("Pays on the tariff", TextCell::Of(CorrectionVerdictText(c.Verdict)));
        row("Yearly saving", figure(c.YearlySaving, c.Currency.c_str()));
        row("Bank price", figure(c.BankPrice, c.Currency.c_str()));
        row("Payback", figure(c.PaybackYears, "years", 1));
    }
    return table;
}

std::vector<std::string> PowerFactorNotes(const PowerSurvey& power) {
    std::vector<std::string> notes = power.PowerFactor.Reasons;
    const std::string& why = power.Correction.Reason;
    if (!why.empty() && std::find(notes.begin(), notes.end(), why) == notes.end())
        notes.push_back(why);
    return notes;
}

TextTable UnbalanceTable(const UnbalanceStudy& unbalance) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::Texts("Quantity"),
                     C::Texts("Channels"),
                     C::Figures("Block minutes"),
                     C::Figures("Blocks"),
                     C::Figures("Light-load blocks"),
                     C::Figures("Largest", "%"),
                     C::Texts("Largest time"),
                     C::Figures("95 %", "%"),
                     C::Figures("Mean", "%"),
                     C::Shares("Within 2 %"),
                     C::Texts("Verdict"),
                     C::Texts("Deviating most")};
    const auto add = [&](const char* quantity, const UnbalanceFigures& f, bool voltage) {
        std::string channels;
        for (const std::string& c : f.Channels)
            channels += (channels.empty() ? "" : ", ") + c;
        table.Rows.push_back(
            {TextCell::Of(quantity), TextCell::Of(channels), TextCell::Of(f.Minutes, 0),
             TextCell::Of(f.Blocks, 0), voltage ? TextCell{} : TextCell::Of(f.LightBlocks, 0),
             ValueOf(f.Max), TimeOf(f.Max), Optional(f.P95), Optional(f.Mean), Share(f.Within2),
             voltage ? TextCell::Of(VerdictText(f.Pass)) : TextCell{},
             f.MostDeviating
                 ? TextCell::Of(*f.MostDeviating +
                                (CloseRunnerUp(f) ? ", " + *CloseRunnerUp(f) : std::string()))
                 : TextCell{}});
    };
    if (unbalance.Voltage)
        add("Voltage", *unbalance.Voltage, true);
    if (unbalance.Current)
        add("Current", *unbalance.Current, false);
    return table;
}

TextTable VoltageTable(const VoltageVariation& voltage) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {
        C::Texts("Channel"),       C::Figures("Nominal", "V"),        C::Figures("Blocks"),
        C::Shares("Within ±10 %"), C::Shares("Within +10 % / −15 %"), C::Figures("Highest", "V"),
        C::Texts("Highest time"),  C::Figures("Lowest", "V"),         C::Texts("Lowest time"),
        C::Texts("Verdict")};
    table.Columns[1].SuffixColumn = "Nominal source";
    for (const VoltageChannel& c : voltage.Channels) {
        TextCell nominal = Optional(c.NominalVolts, 0);
        if (c.NominalVolts && c.NominalGuessed)
            nominal.text = "(guessed)";
        table.Rows.push_back(
            {TextCell::Of(c.ChannelLabel), nominal, TextCell::Of(c.Blocks.Complete, 0),
             Share(c.Within10), Share(c.Within10To15), ValueOf(c.Maximum), TimeOf(c.Maximum),
             ValueOf(c.Minimum), TimeOf(c.Minimum), TextCell::Of(VerdictText(c.Pass))});
    }
    return table;
}

TextTable BatteryTable(const BatteryStudy& battery) {
    TextTable table;
    using C = TextColumn;
    table.Columns = {C::ScaledFigures("Cap", "W"),
                     C::ScaledFigures("Battery power", "W"),
                     C::ScaledFigures("Battery energy", "WH"),
                     C::ScaledFigures("Demand after shaving", "W"),
                     C::Figures("Saving a month", battery.Currency),
                     C::Figures("Saving a year", battery.Currency),
                     C::Figures("Price", battery.Currency),
                     C::Figures("Payback", "years"),
                     C::Texts("Mark")};
    for (const BatteryRow& r : battery.Rows) {
        std::string mark = r.ShortestPayback ? "shortest payback" : "";
        if (r.Threshold)
            mark += mark.empty() ? "threshold" : ", threshold";
        table.Rows.push_back({TextCell::Of(r.CapWatts), TextCell::Of(r.PowerWatts),
                              TextCell::Of(r.EnergyWh), Optional(r.DemandWatts),
                              Optional(r.MonthSaving), Optional(r.YearSaving), Optional(r.Price),
                              Optional(r.PaybackYears), TextCell::Of(mark)});
    }
    return table;
}
