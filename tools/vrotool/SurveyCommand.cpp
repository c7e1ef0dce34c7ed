// vrotool survey: the load study, energy, profile, load duration, voltage test, cost, power
// factor correction and unbalance of a recording, or a row of each of several.
#include "analysis/CapacityText.h"
#include "analysis/ExcludedRanges.h"
#include "analysis/NotesText.h"
#include "analysis/Survey.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "analysis/SurveyText.h"
#include "analysis/TariffReader.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CapacityOutput.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/CommandNotes.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/JsonWriter.h"
#include "tools/vrotool/SurveyArguments.h"
#include "tools/vrotool/SurveyRows.h"
#include "tools/vrotool/TextStyleOption.h"

#include <charconv>
#include <cmath>

namespace {

// A number as written whatever the language: a point before the decimals.
std::optional<double> ReadNumber(std::string_view text) {
    double value = 0;
    const char* first = text.data() + (!text.empty() && text.front() == '+');
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !std::isfinite(value))
        return std::nullopt;
    return value;
}

// A number option; what says which numbers it takes ("of at least 0").
std::optional<double> Number(Arguments& args, const std::string& option, const char* what,
                             bool (*takes)(double)) {
    const auto text = args.Value(option);
    if (!text)
        return std::nullopt;
    const auto value = ReadNumber(*text);
    if (!value || !takes(*value))
        throw UsageError("option " + option + " needs a number " + what + ", not '" + *text + "'");
    return value;
}

void OptionalDouble(JsonWriter& j, const std::optional<double>& value) {
    value ? j.Double(*value) : j.Null();
}
void OptionalIso(JsonWriter& j, const std::optional<TimedValue>& value) {
    value ? j.String(FormatIso8601(value->Time)) : j.Null();
}
std::optional<double> ValueOf(const std::optional<TimedValue>& value) {
    return value ? std::optional<double>(value->Value) : std::nullopt;
}
void Strings(JsonWriter& j, const std::vector<std::string>& texts) {
    j.BeginArray();
    for (const std::string& t : texts)
        j.String(t);
    j.EndArray();
}

void WriteLoadStudy(JsonWriter& j, const LoadStudy& s) {
    j.BeginObject();
    j.Key("valid"), j.Bool(s.Valid);
    j.Key("reasons"), Strings(j, s.Reasons);
    j.Key("peak_w"), OptionalDouble(j, ValueOf(s.Peak));
    j.Key("peak_time"), s.Peak ? j.Double(s.Peak->Time) : j.Null();
    j.Key("peak_time_iso"), OptionalIso(j, s.Peak);
    j.Key("design_w"), OptionalDouble(j, s.DesignWatts);
    j.Key("phases");
    j.BeginArray();
    for (const PhasePeak& p : s.Phases) {
        j.BeginObject();
        j.Key("channel_label"), j.String(p.ChannelLabel);
        j.Key("peak_a"), OptionalDouble(j, ValueOf(p.Peak));
        j.Key("peak_time_iso"), OptionalIso(j, p.Peak);
        j.EndObject();
    }
    j.EndArray();
    j.Key("highest_phase"), s.HighestPhase ? j.String(*s.HighestPhase) : j.Null();
    j.Key("design_a"), OptionalDouble(j, s.DesignAmps);
    j.Key("rating_a"), OptionalDouble(j, s.RatingAmps);
    j.Key("headroom_a"), OptionalDouble(j, s.HeadroomAmps);
    j.Key("adequate"), s.Adequate ? j.Bool(*s.Adequate) : j.Null();
    j.EndObject();
}

void WriteTotals(JsonWriter& j, const EnergyTotals& t) {
    j.BeginObject();
    j.Key("energy_wh"), j.Double(t.EnergyWh);
    j.Key("peak_w"), OptionalDouble(j, ValueOf(t.Peak));
    j.Key("base_w"), OptionalDouble(j, t.BaseWatts);
    j.Key("average_w"), OptionalDouble(j, t.AverageWatts);
    j.Key("load_factor"), OptionalDouble(j, t.LoadFactor);
    j.Key("days"), j.Double(t.Days);
    j.EndObject();
}

void WriteDays(JsonWriter& j, const std::vector<EnergyDay>& days) {
    j.BeginArray();
    for (const EnergyDay& d : days) {
        j.BeginObject();
        j.Key("date"), j.String(FormatIso8601(d.Date).substr(0, 10));
        j.Key("energy_wh"), j.Double(d.EnergyWh);
        j.Key("peak_w"), OptionalDouble(j, ValueOf(d.Peak));
        j.Key("peak_time_iso"), OptionalIso(j, d.Peak);
        j.Key("base_w"), OptionalDouble(j, d.BaseWatts);
        j.Key("coverage"), j.Double(d.Coverage);
        j.EndObject();
    }
    j.EndArray();
}

void WriteBins(JsonWriter& j, const std::vector<ProfileBin>& bins) {
    j.BeginArray();
    for (const ProfileBin& b : bins) {
        j.BeginObject();
        j.Key("start"), j.String(BinStartText(b.StartMinute));
        j.Key("mean"), OptionalDouble(j, b.Mean);
        j.Key("minimum"), OptionalDouble(j, b.Minimum);
        j.Key("maximum"), OptionalDouble(j, b.Maximum);
        j.EndObject();
    }
    j.EndArray();
}

void WriteDuration(JsonWriter& j, const LoadDuration& d) {
    j.BeginObject();
    j.Key("percent");
    j.BeginArray();
    for (const int p : DurationPercents())
        j.Int(p);
    j.EndArray();
    j.Key("w");
    j.BeginArray();
    for (const auto& w : d.Watts)
        OptionalDouble(j, w);
    j.EndArray();
    j.Key("threshold_w"), OptionalDouble(j, d.ThresholdWatts);
    j.Key("hours_above"), OptionalDouble(j, d.HoursAbove);
    j.Key("energy_above_wh"), OptionalDouble(j, d.EnergyAboveWh);
    j.EndObject();
}

void WriteVoltage(JsonWriter& j, const VoltageVariation& v) {
    j.BeginObject();
    j.Key("nominal_v"), OptionalDouble(j, v.NominalVolts);
    j.Key("nominal_guessed"), j.Bool(v.NominalGuessed);
    j.Key("valid"), j.Bool(v.Valid);
    j.Key("pass"), v.Pass ? j.Bool(*v.Pass) : j.Null();
    j.Key("reasons"), Strings(j, v.Reasons);
    j.Key("channels");
    j.BeginArray();
    for (const VoltageChannel& c : v.Channels) {
        j.BeginObject();
        j.Key("channel_label"), j.String(c.ChannelLabel);
        j.Key("nominal_v"), OptionalDouble(j, c.NominalVolts);
        j.Key("blocks"), j.Int(c.Blocks.Complete);
        j.Key("within_10"), OptionalDouble(j, c.Within10);
        j.Key("within_10_15"), OptionalDouble(j, c.Within10To15);
        j.Key("maximum"), OptionalDouble(j, ValueOf(c.Maximum));
        j.Key("maximum_time_iso"), OptionalIso(j, c.Maximum);
        j.Key("minimum"), OptionalDouble(j, ValueOf(c.Minimum));
        j.Key("minimum_time_iso"), OptionalIso(j, c.Minimum);
        j.Key("pass"), c.Pass ? j.Bool(*c.Pass) : j.Null();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void WriteCost(JsonWriter& j, const CostStudy& c) {
    j.BeginObject();
    j.Key("tariff"), j.String(c.Tariff);
    j.Key("currency"), j.String(c.Currency);
    j.Key("days"), j.Double(c.Days);
    j.Key("energy");
    j.BeginArray();
    for (const EnergyCharge& e : c.Energy) {
        j.BeginObject();
        j.Key("month"), j.String(e.Month.Text());
        j.Key("period"), j.Int(e.Period);
        j.Key("kwh"), j.Double(e.EnergyWh / 1000);
        j.Key("cost"), j.Double(e.Cost);
        j.EndObject();
    }
    j.EndArray();
    j.Key("demand");
    j.BeginArray();
    for (const DemandCharge& d : c.Demand) {
        j.BeginObject();
        j.Key("month"), j.String(d.Month.Text());
        j.Key("kind"), j.String(DemandKindName(d.Kind));
        j.Key("period"), d.Period ? j.Int(*d.Period) : j.Null();
        j.Key("demand"), j.Double(d.Demand.Value);
        j.Key("time_iso"), j.String(FormatIso8601(d.Demand.Time));
        j.Key("cost"), j.Double(d.Cost);
        j.Key("days_recorded"), j.Double(d.DaysRecorded);
        j.Key("days_in_month"), j.Int(d.DaysInMonth);
        j.EndObject();
    }
    j.EndArray();
    j.Key("fixed"), j.Double(c.FixedCost);
    j.Key("total"), j.Double(c.Total);
    j.Key("average_price"), OptionalDouble(j, c.AveragePrice);
    j.Key("per_day");
    j.BeginArray();
    for (const CostDay& d : c.PerDay) {
        j.BeginObject();
        j.Key("date"), j.String(FormatIso8601(d.Date).substr(0, 10));
        j.Key("cost"), j.Double(d.EnergyCost);
        j.EndObject();
    }
    j.EndArray();
    j.Key("typical_month"), OptionalDouble(j, c.TypicalMonth);
    j.Key("year"), OptionalDouble(j, c.Year);
    j.Key("shaving");
    if (c.Shaving) {
        j.BeginObject();
        j.Key("threshold_w"), j.Double(c.Shaving->ThresholdWatts);
        j.Key("typical_month_saving"), j.Double(c.Shaving->TypicalMonthSaving);
        j.EndObject();
    } else {
        j.Null();
    }
    j.EndObject();
}

void WritePowerFactor(JsonWriter& j, const PowerFactorCorrection& pf, const CorrectionSaving& c) {
    j.BeginObject();
    j.Key("target"), j.Double(pf.Target);
    j.Key("average"), OptionalDouble(j, pf.Average);
    j.Key("below_target"), OptionalDouble(j, pf.BelowTarget);
    j.Key("lowest"), OptionalDouble(j, ValueOf(pf.Lowest));
    j.Key("lowest_time_iso"), OptionalIso(j, pf.Lowest);
    j.Key("qc_at_peak_var"), OptionalDouble(j, pf.QcAtPeakVar);
    j.Key("qc_max_var"), OptionalDouble(j, ValueOf(pf.QcMax));
    j.Key("qc_max_time_iso"), OptionalIso(j, pf.QcMax);
    j.Key("qc_95_var"), OptionalDouble(j, pf.Qc95Var);
    j.Key("qc_light_var"), OptionalDouble(j, pf.QcLightVar);
    j.Key("step_var"), j.Double(pf.StepVar);
    j.Key("bank_var"), OptionalDouble(j, pf.BankVar);
    j.Key("fixed_var"), OptionalDouble(j, pf.FixedVar);
    j.Key("switched_steps"), pf.SwitchedSteps ? j.Int(*pf.SwitchedSteps) : j.Null();
    j.Key("peak_va_before"), OptionalDouble(j, pf.PeakVaBefore);
    j.Key("peak_va_after"), OptionalDouble(j, pf.PeakVaAfter);
    j.Key("current_fall"), OptionalDouble(j, pf.CurrentFall);
    j.Key("reasons"), Strings(j, pf.Reasons);
    j.Key("pays");
    c.Verdict == CorrectionVerdict::Undecided ? j.Null()
                                              : j.Bool(c.Verdict == CorrectionVerdict::Yes);
    j.Key("pays_reason"), c.Reason.empty() ? j.Null() : j.String(c.Reason);
    j.Key("yearly_saving"), OptionalDouble(j, c.YearlySaving);
    j.Key("bank_price"), OptionalDouble(j, c.BankPrice);
    j.Key("payback_years"), OptionalDouble(j, c.PaybackYears);
    j.EndObject();
}

void WriteUnbalanceFigures(JsonWriter& j, const UnbalanceFigures& f, bool voltage) {
    j.BeginObject();
    j.Key("channels"), Strings(j, f.Channels);
    j.Key("blocks"), j.Int(f.Blocks);
    if (!voltage)
        j.Key("light_blocks"), j.Int(f.LightBlocks);
    j.Key("max"), OptionalDouble(j, ValueOf(f.Max));
    j.Key("max_time_iso"), OptionalIso(j, f.Max);
    j.Key("p95"), OptionalDouble(j, f.P95);
    j.Key("mean"), OptionalDouble(j, f.Mean);
    if (voltage) {
        j.Key("within_2"), OptionalDouble(j, f.Within2);
        j.Key("pass"), f.Pass ? j.Bool(*f.Pass) : j.Null();
    } else {
        j.Key("most_deviating"), f.MostDeviating ? j.String(*f.MostDeviating) : j.Null();
    }
    j.EndObject();
}

void WriteUnbalance(JsonWriter& j, const UnbalanceStudy& u) {
    j.BeginObject();
    j.Key("voltage"), u.Voltage ? WriteUnbalanceFigures(j, *u.Voltage, true) : j.Null();
    j.Key("current"), u.Current ? WriteUnbalanceFigures(j, *u.Current, false) : j.Null();
    j.Key("reasons"), Strings(j, u.Reasons);
    j.EndObject();
}

void WriteBattery(JsonWriter& j, const BatteryStudy& b) {
    const BatteryOptions& o = b.Options;
    j.BeginObject();
    j.Key("efficiency"), j.Double(o.Efficiency);
    j.Key("charging_limit_w"), OptionalDouble(j, o.ChargingLimitWatts);
    j.Key("charging_hours"), j.String(ChargingHoursText(o.ChargingHours));
    j.Key("price_per_kwh"), OptionalDouble(j, o.PricePerKwh);
    j.Key("price_per_kw"), OptionalDouble(j, o.PricePerKw);
    j.Key("caps_w");
    if (o.CapsWatts.empty()) {
        j.Null();
    } else {
        j.BeginArray();
        for (const double cap : o.CapsWatts)
            j.Double(cap);
        j.EndArray();
    }
    j.Key("block_minutes"), j.Int(b.BlockMinutes);
    j.Key("demand_minutes"), b.DemandMinutes > 0 ? j.Int(b.DemandMinutes) : j.Null();
    j.Key("currency"), j.String(b.Currency);
    j.Key("months_not_seen");
    j.BeginArray();
    for (const int32_t m : b.MonthsNotSeen)
        j.Int(m);
    j.EndArray();
    j.Key("reasons"), Strings(j, b.Reasons);
    j.Key("rows");
    j.BeginArray();
    for (const BatteryRow& r : b.Rows) {
        j.BeginObject();
        j.Key("cap_w"), j.Double(r.CapWatts);
        j.Key("power_w"), j.Double(r.PowerWatts);
        j.Key("energy_wh"), j.Double(r.EnergyWh);
        j.Key("charging_w"), j.Double(r.ChargingWatts);
        j.Key("demand_w"), OptionalDouble(j, r.DemandWatts);
        j.Key("month_saving"), OptionalDouble(j, r.MonthSaving);
        j.Key("year_saving"), OptionalDouble(j, r.YearSaving);
        j.Key("price"), OptionalDouble(j, r.Price);
        j.Key("payback_years"), OptionalDouble(j, r.PaybackYears);
        j.Key("shortest_payback"), j.Bool(r.ShortestPayback);
        j.Key("threshold"), j.Bool(r.Threshold);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void WriteJson(JsonWriter& j, const SurveyResult& s, const std::vector<LNote>& notes) {
    const PowerSurvey* p = s.Power ? &*s.Power : nullptr;
    j.BeginObject();
    j.Key("block_minutes"), j.Int(s.Options.BlockMinutes);
    j.Key("power_source"), p ? j.String(p->Source) : j.Null();
    j.Key("blocks");
    j.BeginObject();
    j.Key("complete"), j.Int(p ? p->Blocks.Complete : 0);
    j.Key("partial"), j.Int(p ? p->Blocks.Partial : 0);
    j.EndObject();
    j.Key("load_study"), p ? WriteLoadStudy(j, p->Load) : j.Null();
    j.Key("totals"), p ? WriteTotals(j, p->Totals) : j.Null();
    j.Key("days"), p ? WriteDays(j, p->Days) : j.Null();
    j.Key("profile");
    if (p) {
        j.BeginObject();
        j.Key("weekday"), WriteBins(j, p->Profile.Weekday);
        j.Key("weekend"), WriteBins(j, p->Profile.Weekend);
        j.EndObject();
    } else {
        j.Null();
    }
    j.Key("duration"), p ? WriteDuration(j, p->Duration) : j.Null();
    j.Key("voltage"), s.Voltage ? WriteVoltage(j, *s.Voltage) : j.Null();
    j.Key("cost"), p && p->Cost ? WriteCost(j, *p->Cost) : j.Null();
    j.Key("power_factor"), p && p->PowerFactor.Blocks > 0
                               ? WritePowerFactor(j, p->PowerFactor, p->Correction)
                               : j.Null();
    j.Key("unbalance"), WriteUnbalance(j, s.Unbalance);
    j.Key("battery"), p && p->Battery ? WriteBattery(j, *p->Battery) : j.Null();
    j.Key("capacity"), WriteCapacityJson(j, s);
    j.Key("notes"), WriteNotesJson(j, notes);
    j.Key("excluded_samples"), j.Int(s.ExcludedSamples);
    j.EndObject();
}

} // namespace

std::optional<Tariff> TariffArguments(Arguments& args) {
    const auto file = args.Value("--tariff");
    const auto atLeastZero = [](double v) { return v >= 0; };
    const auto energy = Number(args, "--energy-rate", "of at least 0", atLeastZero);
    const auto demand = Number(args, "--demand-rate", "of at least 0", atLeastZero);
    const auto fixed = Number(args, "--fixed-monthly", "of at least 0", atLeastZero);
    const bool simple = energy || demand || fixed;
    if (file && simple)
        throw UsageError("give --tariff or the rates --energy-rate, --demand-rate and "
                         "--fixed-monthly, not both");
    if (simple)
        return SimpleTariff(energy.value_or(0), demand.value_or(0), fixed.value_or(0));
    if (!file)
        return std::nullopt;
    try {
        return ReadTariffFile(*file);
    } catch (const VroError& e) {
        throw ValueError(e.what());
    }
}

std::optional<int32_t> BlockMinutesArgument(Arguments& args) {
    const auto minutes = args.Integer("--block-minutes", 1, 1440);
    if (minutes && !IsDemandInterval(static_cast<int32_t>(*minutes)))
        throw UsageError("option --block-minutes takes 5, 10, 15, 30 or 60, not " +
                         std::to_string(*minutes));
    return minutes ? std::optional<int32_t>(static_cast<int32_t>(*minutes)) : std::nullopt;
}

std::optional<BatteryOptions> BatteryArguments(Arguments& args) {
    const bool asked = args.Flag("--battery");
    const auto atLeastZero = [](double v) { return v >= 0; };
    const auto efficiency = Number(args, "--battery-efficiency", "above 0 up to 1",
                                   [](double v) { return v > 0 && v <= 1; });
    const auto limitKw =
        Number(args, "--battery-charge-limit", "of kW above 0", [](double v) { return v > 0; });
    const auto hours = args.Value("--battery-charge-hours");
    const auto kwhPrice = Number(args, "--battery-kwh-price", "of at least 0", atLeastZero);
    const auto kwPrice = Number(args, "--battery-kw-price", "of at least 0", atLeastZero);
    const auto caps = args.Value("--battery-caps");
    if (!asked && !efficiency && !limitKw && !hours && !kwhPrice && !kwPrice && !caps)
        return std::nullopt;

    BatteryOptions o;
    o.Efficiency = efficiency.value_or(o.Efficiency);
    if (limitKw)
        o.ChargingLimitWatts = *limitKw * 1000;
    if (hours) {
        const auto mask = ParseChargingHours(*hours);
        if (!mask)
            throw UsageError("option --battery-charge-hours needs hours from 0 to 24 as "
                             "FROM-TO[,FROM-TO...], not '" +
                             *hours + "'");
        o.ChargingHours = *mask;
    }
    o.PricePerKwh = kwhPrice;
    o.PricePerKw = kwPrice;
    const std::string capsText = caps.value_or("");
    for (std::string_view rest = capsText; caps;) {
        const size_t comma = rest.find(',');
        const auto kw = ReadNumber(rest.substr(0, comma));
        if (!kw || *kw <= 0)
            throw UsageError("option --battery-caps needs caps of kW above 0 as KW[,KW...], not '" +
                             *caps + "'");
        o.CapsWatts.push_back(*kw * 1000);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return o;
}

SurveyOptions SurveyArguments(Arguments& args) {
    SurveyOptions options;
    options.BlockMinutes = BlockMinutesArgument(args).value_or(options.BlockMinutes);
    options.RatingAmps =
        Number(args, "--rating-amps", "of at least 0", [](double v) { return v >= 0; });
    options.NominalVolts =
        Number(args, "--nominal-volts", "above 0", [](double v) { return v > 0; });
    const auto kilowatts =
        Number(args, "--threshold-kw", "of at least 0", [](double v) { return v >= 0; });
    const auto watts =
        Number(args, "--threshold-watts", "of at least 0", [](double v) { return v >= 0; });
    if (kilowatts && watts)
        throw UsageError("give --threshold-kw or --threshold-watts, not both");
    options.ThresholdWatts = kilowatts ? std::optional<double>(*kilowatts * 1000) : watts;
    options.CostTariff = TariffArguments(args);
    if (const auto pf = Number(args, "--target-pf", "from 0.80 to 1.00",
                               [](double v) { return v >= LowestTargetPowerFactor && v <= 1; }))
        options.TargetPowerFactor = *pf;
    if (const auto step =
            Number(args, "--bank-step", "of kvar above 0", [](double v) { return v > 0; }))
        options.BankStepVar = *step * 1000;
    options.BankPricePerKvar =
        Number(args, "--bank-price", "of at least 0", [](double v) { return v >= 0; });
    return options;
}

int SurveyCommand(Arguments& args) {
    SurveyOptions options = SurveyArguments(args);
    options.Battery = BatteryArguments(args);
    options.Capacity = CapacityArguments(args);
    const bool json = args.Flag("--json");
    const bool csv = args.Flag("--csv");
    const auto localeName = args.Value("--locale");
    const auto output = args.Value("--output", "-o");
    const std::vector<std::string> files = args.Positionals();
    args.Finish();
    if (files.empty())
        throw UsageError("give at least one FILE");
    if (json && csv)
        throw UsageError("give --json or --csv, not both");
    if (files.size() > 1 && !json && !csv)
        throw UsageError("several files need --csv or --json");
    // The rows have no column for it.
    if ((csv || files.size() > 1) && !options.Capacity.Loads.empty())
        throw UsageError("--new-load needs one FILE, without --csv");
    if (files.size() > 1 && options.Battery)
        throw UsageError("option --battery takes one FILE");
    if (csv && options.Battery) {
        LDatabase db;
        OpenDatabaseOrRecording(db, files.front());
        const SurveyResult survey = RunSurvey(db.Parameters(), options);
        if (!survey.Power)
            Raise(NoPowerText);
        WriteOutput(BatteryTable(*survey.Power->Battery).Csv(), output);
        return 0;
    }
    if (csv || files.size() > 1) {
        const SurveyRows rows = SurveyFiles(files, options);
        WriteOutput(csv ? rows.Csv() : rows.JsonLines(), output);
        return rows.Failed() ? 1 : 0;
    }

    LDatabase db;
    OpenDatabaseOrRecording(db, files.front());
    const SurveyResult survey = RunSurvey(db.Parameters(), WithExcludeNotes(options, db));
    const std::vector<LNote> notes = NotesIn(db.Notes(), options.Range);
    const TextStyle style = TextStyleOption(localeName);
    if (survey.Power && survey.Power->RefusedThreshold)
        Raise(ThresholdRefusalText(*survey.Power->RefusedThreshold, style));
    if (json)
        WriteOutput(JsonText([&](JsonWriter& j) { WriteJson(j, survey, notes); }), output);
    else {
        std::string text = SurveySummaryText(survey, style) + "\n" + CostText(survey, style) +
                           "\n" + PowerFactorText(survey, style) + "\n" +
                           UnbalanceText(survey, style);
        if (options.Battery)
            text += "\n" + BatteryText(survey, style);
        if (survey.Capacity)
            text += "\n" + CapacityText(survey, style);
        if (const std::string notesText = NotesText(notes, survey.ExcludedSamples, style);
            !notesText.empty())
            text += "\n" + notesText;
        WriteOutput(text, output);
    }
    return 0;
}
