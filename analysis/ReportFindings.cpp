#include "analysis/ReportFindings.h"

#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "analysis/TimeRange.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

std::string Percent(double share, const TextStyle& style) {
    return style.Number(share * 100) + " %";
}

std::string Money(double value, const std::string& currency, const TextStyle& style) {
    return style.Number(value) + " " + currency;
}

std::string Lowered(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text;
}

Finding ServiceFinding(const PowerSurvey& p, const TextStyle& style) {
    const LoadStudy& s = p.Load;
    Finding f{"Can the service take more load?", VerdictUndecided, {}, {}, {}};
    const std::string rule =
        "at 125 % of the highest " + style.Whole(p.Blocks.Minutes) + "-minute demand";
    if (s.Peak)
        f.Figures = "Peak demand " + style.Scaled(s.Peak->Value, "W") + " in the block from " +
                    style.Time(s.Peak->Time);
    if (s.DesignAmps && s.HighestPhase)
        f.Figures += (f.Figures.empty() ? "" : "; ") + std::string("design current ") +
                     style.Number(*s.DesignAmps) + " A on " + *s.HighestPhase;
    if (!s.Valid) {
        const double days = p.Totals.Days;
        f.Answer = days < 30 ? "the recording covers " + style.Number(days) +
                                   " days of the 30 the rule asks"
                             : (s.Reasons.empty() ? std::string("the load study is not valid")
                                                  : Lowered(s.Reasons.front()));
        f.Reason = "The load study takes the highest 15-minute demand over at least 30 days.";
    } else if (!s.DesignAmps) {
        f.Answer = "no phase currents were recorded";
        f.Reason = "The headroom is the rating less 125 % of the highest phase current.";
    } else if (!s.HeadroomAmps || !s.RatingAmps) {
        f.Answer = "no service rating was given";
        f.Reason = "The headroom is the rating less 125 % of the highest phase current.";
    } else if (*s.Adequate) {
        f.Verdict = VerdictYes;
        f.Answer = style.Number(*s.HeadroomAmps) + " A of " + style.Number(*s.RatingAmps) +
                   " A left " + rule;
        f.Reason = "The design current stays within the service rating.";
    } else {
        f.Verdict = VerdictNo;
        f.Answer = style.Number(-*s.HeadroomAmps) + " A over the " + style.Number(*s.RatingAmps) +
                   " A rating " + rule;
        f.Reason = "The design current exceeds the service rating.";
    }
    return f;
}

// The new loads as the capacity study weighs them: "Yes", "Yes, with load management", "No"
// with the shortfall, or not decided with the study's first reason.
Finding CapacityFinding(const CapacityStudy& s, const TextStyle& style) {
    Finding f{"Can the service take the new loads?", VerdictUndecided, {}, {}, {}};
    const auto amps = [&](double value) { return style.Number(value) + " A"; };
    std::string loads;
    for (const CapacityLoad& c : s.Loads)
        loads += (loads.empty() ? "" : ", ") + c.Load.Name + " " + amps(c.Load.Amps) + " on " +
                 ConnectionText(c.Load.Connection) + (c.Load.Managed ? " (managed)" : "");
    f.Figures = "New loads: " + loads;
    if (s.DesignAmps && s.TightestPhase && s.RatingAmps)
        f.Figures += "; design current " + amps(*s.DesignAmps) + " on " + *s.TightestPhase +
                     " of the " + amps(*s.RatingAmps) + " rating";
    f.Reason = "125 % of each phase's highest 15-minute current over at least 30 days, plus the "
               "new loads (continuous ones at 125 %), against the service rating.";
    switch (s.Verdict) {
    case CapacityVerdict::NotDecided:
        f.Answer =
            s.Reasons.empty() ? std::string("the study is not valid") : Lowered(s.Reasons.front());
        break;
    case CapacityVerdict::Yes:
        f.Verdict = VerdictYes;
        f.Answer = amps(s.HeadroomAmps.value_or(0)) + " of headroom on the tightest phase";
        break;
    case CapacityVerdict::YesWithLoadManagement:
        f.Verdict = CapacityVerdictText(s.Verdict);
        f.Answer = "the managed loads set to at most " + amps(s.SetPointAmps.value_or(0)) + ", " +
                   amps(s.HeadroomAmps.value_or(0)) + " of headroom on the tightest phase";
        break;
    case CapacityVerdict::No:
        f.Verdict = VerdictNo;
        f.Answer = amps(s.ShortfallAmps.value_or(0)) + " short: a larger service, or fewer or "
                                                       "managed loads";
        break;
    }
    return f;
}

std::optional<double> MeanOfFullDays(const std::vector<EnergyDay>& days, bool weekend) {
    double sum = 0;
    int n = 0;
    for (const EnergyDay& day : days)
        if (day.Full() && IsWeekend(static_cast<int64_t>(day.Date)) == weekend) {
            sum += day.EnergyWh;
            ++n;
        }
    return n > 0 ? std::optional<double>(sum / n) : std::nullopt;
}

Finding EnergyFinding(const PowerSurvey& p, const TextStyle& style) {
    const EnergyTotals& t = p.Totals;
    Finding f{"Where does the energy go?", {}, {}, {}, {}};
    f.Answer = style.Scaled(t.EnergyWh, "Wh") + " over " + style.Number(t.Days) + " days";
    const auto weekday = MeanOfFullDays(p.Days, false);
    const auto weekend = MeanOfFullDays(p.Days, true);
    if (weekday)
        f.Answer += ", " + style.Scaled(*weekday, "Wh") + " a full weekday";
    if (weekend)
        f.Answer += ", " + style.Scaled(*weekend, "Wh") + " a full weekend day";
    if (t.Peak)
        f.Figures = "Peak demand " + style.Scaled(t.Peak->Value, "W") + " in the block from " +
                    style.Time(t.Peak->Time);
    if (t.BaseWatts) {
        f.Figures += "; base load " + style.Scaled(*t.BaseWatts, "W");
        if (t.AverageWatts && *t.AverageWatts > 0)
            f.Figures += ", " + Percent(*t.BaseWatts / *t.AverageWatts, style) +
                         " of the average demand of " + style.Scaled(*t.AverageWatts, "W");
    }
    if (t.LoadFactor)
        f.Figures += "; load factor " + style.Number(*t.LoadFactor, 3);
    f.Reason = "The base load is what runs at night and at weekends; full days are whole "
               "calendar days with every sample.";
    return f;
}

Finding CostFinding(const CostStudy& c, const TextStyle& style) {
    Finding f{"What does it cost?", {}, {}, {}, {}};
    if (c.TypicalMonth && c.Year)
        f.Answer = Money(*c.TypicalMonth, c.Currency, style) + " a typical month, " +
                   Money(*c.Year, c.Currency, style) + " a year";
    else
        f.Answer = "the recording has no day to estimate from";
    if (c.Total > 0)
        f.Figures = "Demand charges " + Percent((c.DemandCost + c.ReactiveCost) / c.Total, style) +
                    " of the " + Money(c.Total, c.Currency, style) + " of the recorded period";
    if (c.Shaving)
        f.Figures += std::string(f.Figures.empty() ? "" : "; ") + "shaving the peak to " +
                     style.Scaled(c.Shaving->ThresholdWatts, c.DemandInKva ? "VA" : "W") +
                     " saves " + Money(c.Shaving->TypicalMonthSaving, c.Currency, style) +
                     " a typical month";
    f.Reason = "Tariff " + c.Tariff + ", " + EstimateText(c.Days, style) + ".";
    if (c.Shaving)
        f.Reason += std::string(" ") + PeakShavingCaveat;
    return f;
}

// The cap of shortest payback where the battery is priced, else the threshold's row; the
// figures say which was taken.
Finding BatteryFinding(const BatteryStudy& b, const TextStyle& style) {
    Finding f{"What battery would hold the peak?", {}, {}, {}, PeakShavingCaveat};
    const BatteryRow* shortest = nullptr;
    const BatteryRow* threshold = nullptr;
    for (const BatteryRow& r : b.Rows) {
        if (r.ShortestPayback)
            shortest = &r;
        if (r.Threshold)
            threshold = &r;
    }
    const BatteryRow* r = shortest ? shortest : threshold;
    if (!r) {
        f.Answer = !b.Reasons.empty() ? Lowered(b.Reasons.front())
                   : b.Options.PricePerKwh || b.Options.PricePerKw
                       ? "no cap pays back: the tariff's demand charges give no saving"
                       : "give the battery's prices or a peak-shaving threshold";
        if (!b.Rows.empty())
            f.Figures = style.Whole(static_cast<int64_t>(b.Rows.size())) + " caps from " +
                        style.Scaled(b.Rows.front().CapWatts, "W") + " to " +
                        style.Scaled(b.Rows.back().CapWatts, "W") + " need " +
                        style.Scaled(b.Rows.front().EnergyWh, "Wh") + " to " +
                        style.Scaled(b.Rows.back().EnergyWh, "Wh");
        return f;
    }
    f.Answer = "a battery of " + style.Scaled(r->PowerWatts, "W") + " and " +
               style.Scaled(r->EnergyWh, "Wh") + " holds the demand to " +
               style.Scaled(r->CapWatts, "W");
    if (r->YearSaving)
        f.Answer += ", saving " + Money(*r->YearSaving, b.Currency, style) + " a year";
    if (r->Price && r->PaybackYears)
        f.Answer += " and paying back its " + Money(*r->Price, b.Currency, style) + " in " +
                    style.Number(*r->PaybackYears, 1) + " years";
    f.Figures = shortest ? "The cap of the shortest payback of " +
                               style.Whole(static_cast<int64_t>(b.Rows.size())) + " caps"
                         : std::string("The peak-shaving threshold's cap, without battery prices");
    if (r->DemandWatts)
        f.Figures += "; demand after shaving " + style.Scaled(*r->DemandWatts, "W");
    if (r->MonthSaving && !b.MonthsNotSeen.empty() && b.MonthsNotSeen.size() < 12)
        f.Figures += "; a typical month estimated from the months recorded";
    return f;
}

Finding VoltageFinding(const VoltageVariation& v, const TextStyle& style) {
    Finding f{"Is the voltage within limits?", VerdictUndecided, {}, {}, {}};
    if (v.Pass)
        f.Verdict = *v.Pass ? VerdictYes : VerdictNo;
    for (const VoltageChannel& c : v.Channels) {
        std::string text = c.ChannelLabel + " " + VerdictText(c.Pass);
        if (c.Within10)
            text += ", " + Percent(*c.Within10, style) + " within ±10 %";
        if (c.Minimum && c.Maximum)
            text += ", " + style.Number(c.Minimum->Value, 1) + " V to " +
                    style.Number(c.Maximum->Value, 1) + " V";
        f.Answer += (f.Answer.empty() ? "" : "; ") + text;
    }
    if (f.Answer.empty())
        f.Answer = "no voltage channel was recorded";
    f.Figures = "Nominal " + (v.NominalVolts ? style.Number(*v.NominalVolts, 0) + " V" : "-") +
                (v.NominalGuessed ? " (guessed from the median)" : "") +
                "; lowest and highest 10-minute means";
    f.Reason = v.Valid ? "A channel passes when 95 % of its 10-minute means lie within ±10 % and "
                         "all within +10 % / −15 %."
                       : (v.Reasons.empty() ? std::string("The voltage test is not valid.")
                                            : v.Reasons.front());
    return f;
}

Finding BalanceFinding(const UnbalanceStudy& u, const TextStyle& style) {
    Finding f{"Is the supply balanced?", VerdictUndecided, {}, {}, {}};
    if (const auto& v = u.Voltage) {
        if (v->Pass)
            f.Verdict = *v->Pass ? VerdictYes : VerdictNo;
        f.Answer = "voltage " + std::string(VerdictText(v->Pass));
        if (v->Within2)
            f.Answer += ", " + Percent(*v->Within2, style) + " of the blocks within 2 %";
        if (v->Max)
            f.Answer += ", at most " + style.Number(v->Max->Value) + " %";
    } else {
        f.Answer = "the voltage unbalance was not measured";
    }
    if (const auto& c = u.Current) {
        if (c->P95)
            f.Figures = "Current unbalance " + style.Number(*c->P95) + " % at 95 %";
        if (c->MostDeviating)
            f.Figures += (f.Figures.empty() ? "" : ", ") + MostDeviatingText(*c, style) +
                         " deviating most often";
    }
    f.Reason = u.Voltage ? "NEMA unbalance of the RMS magnitudes; it passes when 95 % of the "
                           "10-minute blocks lie within 2 %."
                         : (u.Reasons.empty() ? std::string() : u.Reasons.front());
    return f;
}

// "a 15 kvar bank (0 kvar fixed, 3 switched steps of 5 kvar)", in whole kvar where the step
// is.
std::string BankText(const PowerFactorCorrection& pf, const TextStyle& style) {
    const int decimals = std::fmod(pf.StepVar, 1000) == 0 ? 0 : 2;
    return "a " + style.Scaled(pf.BankVar.value_or(0), "var", decimals) + " bank (" +
           style.Scaled(pf.FixedVar.value_or(0), "var", decimals) + " fixed, " +
           style.Whole(pf.SwitchedSteps.value_or(0)) + " switched steps of " +
           style.Scaled(pf.StepVar, "var", decimals) + ")";
}

Finding PowerFactorFinding(const PowerSurvey& p, const TextStyle& style) {
    const PowerFactorCorrection& pf = p.PowerFactor;
    const CorrectionSaving& c = p.Correction;
    Finding f{"Would power factor correction pay?", CorrectionVerdictText(c.Verdict), {}, {}, {}};
    if (pf.Blocks == 0 || !pf.Average) {
        f.Verdict = VerdictUndecided;
        f.Answer = pf.Reasons.empty() ? std::string("no reactive power was recorded")
                                      : Lowered(pf.Reasons.front());
        return f;
    }
    f.Figures = "Average power factor " + style.Number(*pf.Average, 3) + " against the target " +
                style.Number(pf.Target);
    if (pf.BelowTarget)
        f.Figures += ", " + Percent(*pf.BelowTarget, style) + " of the blocks below it";
    const bool bank = pf.BankVar && *pf.BankVar > 0;
    if (c.Verdict == CorrectionVerdict::Yes) {
        f.Answer = BankText(pf, style) + " saves " + Money(*c.YearlySaving, c.Currency, style) +
                   " a year on the tariff";
        if (c.PaybackYears)
            f.Answer += ", paying back its " + Money(*c.BankPrice, c.Currency, style) + " in " +
                        style.Number(*c.PaybackYears, 1) + " years";
    } else {
        f.Answer = Lowered(c.Reason);
    }
    // What the bank takes off the peak, whatever the bill makes of it.
    if (bank && pf.CurrentFall) {
        const std::string fall = " the peak current by " + Percent(*pf.CurrentFall, style);
        f.Figures += c.Verdict == CorrectionVerdict::Yes
                         ? "; it lowers" + fall
                         : "; " + BankText(pf, style) + " would lower" + fall;
    }
    f.Reason = "The bank corrects 95 % of the blocks to the target; have the harmonics checked "
               "first.";
    return f;
}

void AddRemarks(std::vector<Finding>& findings, const std::string& remarks) {
    if (remarks.find_first_not_of(" \t\r\n") != std::string::npos)
        findings.push_back({"Remarks", {}, remarks, {}, {}});
}

std::optional<TDateTime> PlainTime(std::string_view text) {
    int parts[6];
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int& part : parts) {
        const auto [next, error] = std::from_chars(at, end, part);
        if (error != std::errc())
            return std::nullopt;
        at = next == end ? next : next + 1;
    }
    TDateTime date = 0, time = 0;
    if (!TryEncodeDate(parts[0], parts[1], parts[2], date) ||
        !TryEncodeTime(parts[3], parts[4], parts[5], 0, time))
        return std::nullopt;
    return date + time;
}

} // namespace

std::vector<Finding> SurveyFindings(const SurveyResult& survey, const TextStyle& style,
                                    const std::string& remarks) {
    std::vector<Finding> findings;
    if (!survey.Impossible.empty()) {
        std::string lines;
        for (const std::string& line : ImpossibleValueLines(survey.Impossible, style.Numbers))
            lines += (lines.empty() ? "" : "; ") + line;
        findings.push_back({"Can the recording be taken at face value?",
                            VerdictNo,
                            "It holds values no recorder can produce; the figures take them as "
                            "they are.",
                            lines,
                            {}});
    }
    if (const auto& p = survey.Power) {
        findings.push_back(ServiceFinding(*p, style));
        findings.push_back(EnergyFinding(*p, style));
        if (p->Cost)
            findings.push_back(CostFinding(*p->Cost, style));
        if (p->Battery)
            findings.push_back(BatteryFinding(*p->Battery, style));
    }
    if (survey.Capacity)
        findings.push_back(CapacityFinding(*survey.Capacity, style));
    if (survey.Voltage)
        findings.push_back(VoltageFinding(*survey.Voltage, style));
    if (survey.Unbalance.Voltage || survey.Unbalance.Current)
        findings.push_back(BalanceFinding(survey.Unbalance, style));
    if (survey.Power)
        findings.push_back(PowerFactorFinding(*survey.Power, style));
    AddRemarks(findings, remarks);
    return findings;
}

std::vector<Finding> CompareFindings(const Comparison& comparison, const TextStyle& style,
                                     const std::string& remarks) {
    std::vector<Finding> findings;
    const EnergySaving& s = comparison.Saving;
    Finding saving{"Did the change save energy?", VerdictUndecided, {}, {}, {}};
    if (s.YearlyWh && s.YearlyLowWh && s.YearlyHighWh) {
        // Within the scatter nothing is decided; beyond it, a negative saving is an increase.
        if (s.Significant && *s.Significant)
            saving.Verdict = *s.YearlyWh > 0 ? VerdictYes : VerdictNo;
        saving.Answer = style.Scaled(*s.YearlyWh, "Wh") + " a year, 95 % interval " +
                        style.Scaled(*s.YearlyLowWh, "Wh") + " to " +
                        style.Scaled(*s.YearlyHighWh, "Wh");
        if (s.YearlyCost) {
            const std::string currency = comparison.Before.Power().Cost
                                             ? comparison.Before.Power().Cost->Currency
                                             : std::string("$");
            saving.Answer += ", about " + Money(*s.YearlyCost, currency, style) + " a year";
            if (s.YearlyCostLow && s.YearlyCostHigh)
                saving.Answer += " (" + Money(*s.YearlyCostLow, currency, style) + " to " +
                                 Money(*s.YearlyCostHigh, currency, style) + ")";
        }
    } else {
        saving.Answer = s.Reasons.empty() ? std::string("no stratum has full days on both sides")
                                          : Lowered(s.Reasons.front());
    }
    saving.Reason = SavingVerdictText(s) + ".";
    findings.push_back(std::move(saving));

    const CompareSide& b = comparison.Before;
    const CompareSide& a = comparison.After;
    Finding energy{"What changed?", {}, {}, {}, {}};
    if (b.EnergyPerDayWh && a.EnergyPerDayWh)
        energy.Answer = style.Scaled(*b.EnergyPerDayWh, "Wh") + " a full day before, " +
                        style.Scaled(*a.EnergyPerDayWh, "Wh") + " after";
    if (b.Peak && a.Peak)
        energy.Figures = "Peak demand " + style.Scaled(b.Peak->Value, "W") + " before, " +
                         style.Scaled(a.Peak->Value, "W") + " after";
    if (b.BaseWatts && a.BaseWatts)
        energy.Figures += "; base load " + style.Scaled(*b.BaseWatts, "W") + " before, " +
                          style.Scaled(*a.BaseWatts, "W") + " after";
    energy.Reason = std::string(NotNormalisedText);
    findings.push_back(std::move(energy));
    AddRemarks(findings, remarks);
    return findings;
}

std::vector<std::string> JoinedDownloads(const std::string& comments, const TextStyle& style) {
    static constexpr std::string_view mark = "Joined from: ";
    std::vector<std::string> downloads;
    const size_t at = comments.rfind(mark);
    if (at == std::string::npos)
        return downloads;
    std::string_view list(comments);
    list = list.substr(at + mark.size());
    list = list.substr(0, list.find('\n'));
    std::optional<TDateTime> lastEnd;
    while (!list.empty()) {
        const size_t cut = list.find("; ");
        const std::string_view item = list.substr(0, cut);
        list = cut == std::string_view::npos ? std::string_view() : list.substr(cut + 2);
        const size_t open = item.rfind(" (");
        const size_t to = item.rfind(" to ");
        if (open == std::string_view::npos || to == std::string_view::npos || to < open) {
            downloads.emplace_back(item);
            continue;
        }
        const auto from = PlainTime(item.substr(open + 2, to - open - 2));
        const auto end = PlainTime(item.substr(to + 4));
        std::string text(item.substr(0, open));
        if (from && end)
            text += ", " + style.Time(*from) + " to " + style.Time(*end);
        if (from && lastEnd)
            text += ", " + style.Number(*from - *lastEnd) + " days after the one before";
        lastEnd = end;
        downloads.push_back(std::move(text));
    }
    return downloads;
}
