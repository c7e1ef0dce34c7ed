#include "analysis/SurveyFindingsText.h"

#include "analysis/SurveyTables.h"

namespace {

// Lines laid out as the survey's summary lays them: "  Label                value".
class Section {
public:
    explicit Section(const TextStyle& style) : style_(style) {}

    void Line(const std::string& text) { out_.push_back({0, text, {}}); }
    void Figure(const std::string& label, const std::string& value, int indent = 2) {
        out_.push_back({indent, label, value});
    }
    void Reasons(const std::vector<std::string>& reasons) {
        for (const std::string& r : reasons)
            out_.push_back({2, "- " + r, {}});
    }
    void Note(const std::string& text) { out_.push_back({2, text, {}}); }
    std::string Number(double value, const char* unit, int decimals = 2) const {
        return style_.Scaled(value, unit, decimals);
    }
    std::string Number(const std::optional<double>& value, const char* unit,
                       int decimals = 2) const {
        return value ? Number(*value, unit, decimals) : "-";
    }
    std::string Percent(const std::optional<double>& share) const {
        return share ? style_.Number(*share * 100) + " %" : "-";
    }
    std::string Timed(const std::optional<TimedValue>& value, const char* unit,
                      int decimals = 2) const {
        if (!value)
            return "-";
        return style_.Scaled(value->Value, unit, decimals) + " in the block from " +
               style_.Time(value->Time);
    }
    const TextStyle& Style() const { return style_; }
    std::vector<SummaryLine> Take() { return std::move(out_); }

private:
    const TextStyle& style_;
    std::vector<SummaryLine> out_;
};

void CostMonthLines(Section& out, const CostStudy& c, const CostMonth& m) {
    const TextStyle& style = out.Style();
    const std::string money = c.Currency;
    out.Figure("Month " + m.Month.Text(), "recorded " + style.Number(m.DaysRecorded) + " of " +
                                              style.Whole(m.DaysInMonth) + " days");
    for (const EnergyCharge& e : c.Energy)
        if (e.Month == m.Month)
            out.Figure("energy, " + PeriodText(e.Period, c.EnergyPeriods),
                       out.Number(e.EnergyWh, "Wh") + ", " + out.Number(e.Cost, money.c_str()), 4);
    const char* unit = c.DemandInKva ? "VA" : "W";
    for (const DemandCharge& d : c.Demand) {
        if (!(d.Month == m.Month))
            continue;
        std::string label = d.Kind == DemandKind::TimeOfUse ? "demand"
                            : d.Kind == DemandKind::Flat    ? "flat demand"
                                                            : "reactive demand";
        if (d.Period && d.Kind == DemandKind::TimeOfUse)
            label += ", " + PeriodText(*d.Period, c.DemandPeriods);
        out.Figure(label,
                   out.Timed(d.Demand, d.Kind == DemandKind::Reactive ? "var" : unit) + ", " +
                       out.Number(d.Cost, money.c_str()),
                   4);
    }
    if (c.ChargesFixed)
        out.Figure("fixed charge", out.Number(m.FixedCost, money.c_str()), 4);
}

} // namespace

std::string CorrectionText(const CorrectionSaving& c, const TextStyle& style) {
    std::string text = CorrectionVerdictText(c.Verdict);
    if (c.Verdict != CorrectionVerdict::Yes)
        return text + ": " + c.Reason;
    text += ", " + style.Number(*c.YearlySaving) + " " + c.Currency + " a year";
    if (c.BankPrice)
        text += "; the bank's " + style.Number(*c.BankPrice) + " " + c.Currency +
                (c.PaybackYears ? " paid back in " + style.Number(*c.PaybackYears, 1) + " years"
                                : std::string());
    return text;
}

std::string EstimateText(double days, const TextStyle& style) {
    return "estimate from " + style.Number(days) + " days";
}

std::string TariffErrorText(const std::string& reason) {
    return "The tariff could not be read: " + reason;
}

std::vector<SummaryLine> CostLines(const SurveyResult& survey, const TextStyle& style,
                                   bool months) {
    Section out(style);
    const CostStudy* c = survey.Power && survey.Power->Cost ? &*survey.Power->Cost : nullptr;
    if (!c) {
        if (!survey.Options.TariffError.empty()) {
            out.Line("Cost: no tariff.");
            out.Reasons({TariffErrorText(survey.Options.TariffError)});
        } else {
            out.Line(survey.Options.CostTariff ? "Cost: no power series to charge."
                                               : "Cost: no tariff given.");
        }
        return out.Take();
    }
    const char* money = c->Currency.c_str();
    out.Line("Cost: " + c->Tariff + ", in " + c->Currency);
    out.Reasons(c->Reasons);
    // Only the charges the tariff has: a zero would read as a charge that cost nothing.
    if (c->EnergyPeriods > 0)
        out.Figure("Energy",
                   out.Number(c->EnergyCost, money) + " for " + out.Number(c->EnergyWh, "Wh"));
    if (c->DemandPeriods + c->FlatDemandPeriods > 0)
        out.Figure(c->DemandInKva ? "Demand (kVA)" : "Demand", out.Number(c->DemandCost, money));
    if (c->ChargesReactive)
        out.Figure("Reactive demand", out.Number(c->ReactiveCost, money));
    if (c->ChargesFixed)
        out.Figure("Fixed charge", out.Number(c->FixedCost, money));
    out.Figure("Total", out.Number(c->Total, money));
    out.Figure("Average price",
               c->AveragePrice ? out.Number(*c->AveragePrice, money, 4) + " per kWh" : "-");
    const std::string estimate = " (" + EstimateText(c->Days, style) + ")";
    out.Figure("Typical month",
               c->TypicalMonth ? out.Number(c->TypicalMonth, money) + estimate : "-");
    out.Figure("Year", c->Year ? out.Number(c->Year, money) + estimate : "-");
    if (const auto& s = c->Shaving)
        out.Figure("Peak shaving",
                   "at " + out.Number(s->ThresholdWatts, c->DemandInKva ? "VA" : "W") +
                       ": demand charges " + out.Number(s->DemandCost, money) + " instead of " +
                       out.Number(c->DemandCost, money) + ", " +
                       out.Number(s->TypicalMonthSaving, money) + " less a typical month");
    if (c->Shaving)
        out.Note(PeakShavingCaveat);
    if (months)
        for (const CostMonth& m : c->Months)
            CostMonthLines(out, *c, m);
    return out.Take();
}

std::vector<SummaryLine> PowerFactorLines(const SurveyResult& survey, const TextStyle& style) {
    Section out(style);
    if (!survey.Power) {
        out.Line("Power factor: no power series.");
        return out.Take();
    }
    const PowerFactorCorrection& pf = survey.Power->PowerFactor;
    out.Line("Power factor: target " + style.Number(pf.Target) + ", " + style.Whole(pf.Blocks) +
             " blocks of " + style.Whole(survey.Power->Blocks.Minutes) + " min");
    out.Reasons(pf.Reasons);
    if (pf.Blocks == 0)
        return out.Take();
    out.Figure("Average", pf.Average ? style.Number(*pf.Average, 3) : "-");
    out.Figure("Blocks below target", out.Percent(pf.BelowTarget));
    out.Figure("Lowest", out.Timed(pf.Lowest, "", 3));
    out.Figure("Qc at the peak", out.Number(pf.QcAtPeakVar, "var"));
    // No block needs a bank: the block the largest Qc came first in says nothing.
    out.Figure("Largest Qc", pf.QcMax && pf.QcMax->Value <= 0 ? NoCorrectionNeededText
                                                              : out.Timed(pf.QcMax, "var"));
    out.Figure("Qc at 95 %", out.Number(pf.Qc95Var, "var"));
    out.Figure("Light-load Qc", out.Number(pf.QcLightVar, "var"));
    out.Figure("Bank", out.Number(pf.BankVar, "var") + ": " + out.Number(pf.FixedVar, "var") +
                           " fixed, " + style.Whole(pf.SwitchedSteps.value_or(0)) +
                           " switched steps of " + out.Number(pf.StepVar, "var"));
    out.Figure("At the peak", out.Number(pf.PeakVaBefore, "VA") + " before, " +
                                  out.Number(pf.PeakVaAfter, "VA") + " after: current " +
                                  out.Percent(pf.CurrentFall) + " lower");
    out.Figure("Pays on the tariff", CorrectionText(survey.Power->Correction, style));
    return out.Take();
}

std::vector<SummaryLine> UnbalanceLines(const SurveyResult& survey, const TextStyle& style) {
    Section out(style);
    const UnbalanceStudy& u = survey.Unbalance;
    out.Line("Unbalance (NEMA, from the RMS magnitudes)");
    out.Reasons(u.Reasons);
    auto figures = [&](const char* what, const UnbalanceFigures& f, std::string head) {
        std::string channels;
        for (const std::string& c : f.Channels)
            channels += (channels.empty() ? "" : ", ") + c;
        out.Figure(std::string(what) + " " + channels,
                   head + style.Whole(f.Blocks) + " blocks of " + style.Whole(f.Minutes) + " min");
        out.Figure("largest", out.Timed(f.Max, "%"), 4);
        out.Figure("95 %", out.Number(f.P95, "%"), 4);
        out.Figure("mean", out.Number(f.Mean, "%"), 4);
    };
    if (const auto& v = u.Voltage) {
        figures("Voltage", *v, v->Pass ? std::string(*v->Pass ? "pass, " : "fail, ") : "");
        out.Figure("within 2 %", out.Percent(v->Within2), 4);
    }
    if (const auto& c = u.Current) {
        figures("Current", *c, "");
        out.Figure("light-load blocks", style.Whole(c->LightBlocks) + " left out", 4);
        out.Figure("deviating most often", MostDeviatingText(*c, style), 4);
    }
    return out.Take();
}

std::string CostText(const SurveyResult& survey, const TextStyle& style) {
    return SummaryLinesText(CostLines(survey, style));
}

std::string PowerFactorText(const SurveyResult& survey, const TextStyle& style) {
    return SummaryLinesText(PowerFactorLines(survey, style));
}

std::string UnbalanceText(const SurveyResult& survey, const TextStyle& style) {
    return SummaryLinesText(UnbalanceLines(survey, style));
}

std::vector<SummaryLine> SummaryPageLines(const SurveyResult& survey, const TextStyle& style) {
    std::vector<SummaryLine> lines = SurveySummaryLines(survey, style);
    for (auto&& section : {CostLines(survey, style, false), PowerFactorLines(survey, style),
                           UnbalanceLines(survey, style)}) {
        lines.emplace_back();
        lines.insert(lines.end(), section.begin(), section.end());
    }
    return lines;
}

std::vector<SummaryLine> BatteryLines(const SurveyResult& survey, const TextStyle& style) {
    Section out(style);
    const BatteryStudy* b =
        survey.Power && survey.Power->Battery ? &*survey.Power->Battery : nullptr;
    if (!b) {
        if (survey.Options.Battery)
            out.Line("Battery: no power series.");
        return out.Take();
    }
    const BatteryOptions& o = b->Options;
    const char* money = b->Currency.c_str();
    out.Line("Battery: what would hold the load to each cap");
    out.Reasons(b->Reasons);
    out.Figure("Round-trip efficiency", out.Percent(o.Efficiency));
    out.Figure("Charging", "at up to " +
                               (o.ChargingLimitWatts ? out.Number(*o.ChargingLimitWatts, "W")
                                                     : std::string("the battery's power")) +
                               (o.ChargingHours == AllChargingHours
                                    ? std::string(", at any hour")
                                    : ", from " + ChargingHoursText(o.ChargingHours) + " h"));
    if (o.PricePerKwh || o.PricePerKw)
        out.Figure("Prices", out.Number(o.PricePerKwh.value_or(0), money) + " per kWh, " +
                                 out.Number(o.PricePerKw.value_or(0), money) + " per kW");
    if (!b->MonthsNotSeen.empty() && b->MonthsNotSeen.size() < 12) {
        std::string months;
        for (const int32_t m : b->MonthsNotSeen)
            months += (months.empty() ? "" : ", ") + std::string(MonthName(m));
        out.Figure("Not recorded", months);
        if (b->DemandMinutes > 0)
            out.Note("A typical month's saving is estimated from the months recorded.");
    }
    const auto row = [&](const BatteryRow& r) {
        std::string text = "at " + out.Number(r.CapWatts, "W") + ": " +
                           out.Number(r.PowerWatts, "W") + ", " + out.Number(r.EnergyWh, "Wh");
        if (r.MonthSaving)
            text += ", saving " + out.Number(*r.MonthSaving, money) + " a month";
        if (r.Price)
            text += ", price " + out.Number(*r.Price, money);
        if (r.PaybackYears)
            text += ", payback " + style.Number(*r.PaybackYears) + " years";
        return text;
    };
    for (const BatteryRow& r : b->Rows) {
        if (r.ShortestPayback)
            out.Figure("Shortest payback", row(r));
        if (r.Threshold)
            out.Figure("Threshold", row(r));
    }
    out.Note(PeakShavingCaveat);
    return out.Take();
}

std::vector<std::string> BatteryNotes(const BatteryStudy& battery) {
    std::vector<std::string> notes = battery.Reasons;
    if (!battery.MonthsNotSeen.empty() && battery.MonthsNotSeen.size() < 12) {
        std::string months;
        for (const int32_t m : battery.MonthsNotSeen)
            months += (months.empty() ? "" : ", ") + std::string(MonthName(m));
        notes.push_back("Not recorded: " + months +
                        (battery.DemandMinutes > 0
                             ? "; a typical month's saving is estimated from the months recorded."
                             : "."));
    }
    notes.emplace_back(PeakShavingCaveat);
    return notes;
}

std::string BatteryText(const SurveyResult& survey, const TextStyle& style) {
    std::string text = SummaryLinesText(BatteryLines(survey, style));
    if (survey.Power && survey.Power->Battery && !survey.Power->Battery->Rows.empty())
        text += "\n" + BatteryTable(*survey.Power->Battery).AlignedText(style);
    return text;
}
