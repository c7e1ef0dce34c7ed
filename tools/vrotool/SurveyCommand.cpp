// vrotool survey: the load study, energy, profile, load duration and voltage test of a
// recording.
#include "analysis/Survey.h"
#include "analysis/SurveyText.h"
#include "database/LDatabase.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/JsonWriter.h"
#include "tools/vrotool/SurveyArguments.h"

#include <charconv>
#include <cmath>

namespace {

// A number option; what says which numbers it takes ("of at least 0").
std::optional<double> Number(Arguments& args, const std::string& option, const char* what,
                             bool (*takes)(double)) {
    const auto text = args.Value(option);
    if (!text)
        return std::nullopt;
    // Read as written whatever the language: a point before the decimals.
    double value = 0;
    const char* first = text->data() + (!text->empty() && text->front() == '+');
    const auto [end, error] = std::from_chars(first, text->data() + text->size(), value);
    if (text->empty() || error != std::errc() || end != text->data() + text->size() ||
        !std::isfinite(value) || !takes(value))
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

void WriteJson(JsonWriter& j, const SurveyResult& s) {
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
    j.EndObject();
}

} // namespace

SurveyOptions SurveyArguments(Arguments& args) {
    SurveyOptions options;
    if (const auto minutes = args.Integer("--block-minutes", 1, 1440)) {
        if (!IsDemandInterval(static_cast<int32_t>(*minutes)))
            throw UsageError("option --block-minutes takes 5, 10, 15, 30 or 60, not " +
                             std::to_string(*minutes));
        options.BlockMinutes = static_cast<int32_t>(*minutes);
    }
    options.RatingAmps =
        Number(args, "--rating-amps", "of at least 0", [](double v) { return v >= 0; });
    options.NominalVolts =
        Number(args, "--nominal-volts", "above 0", [](double v) { return v > 0; });
    options.ThresholdWatts =
        Number(args, "--threshold-watts", "in watts", [](double) { return true; });
    return options;
}

int SurveyCommand(Arguments& args) {
    const SurveyOptions options = SurveyArguments(args);
    const bool json = args.Flag("--json");
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile();

    LDatabase db;
    OpenDatabaseOrRecording(db, file);
    const SurveyResult survey = RunSurvey(db.Parameters(), options);
    if (json)
        WriteOutput(JsonText([&](JsonWriter& j) { WriteJson(j, survey); }), output);
    else
        WriteOutput(SurveySummaryText(survey), output);
    return 0;
}
