#include "tools/vrotool/CapacityOutput.h"

#include "analysis/DailyProfile.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/JsonWriter.h"

#include <charconv>
#include <cmath>

namespace {

std::optional<double> Above0(Arguments& args, const std::string& option) {
    const auto text = args.Value(option);
    if (!text)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (text->empty() || error != std::errc() || end != text->data() + text->size() ||
        !std::isfinite(value) || value <= 0)
        throw UsageError("option " + option + " needs a number above 0, not '" + *text + "'");
    return value;
}

void Optional(JsonWriter& j, const std::optional<double>& value) {
    value ? j.Double(*value) : j.Null();
}
void Kwh(JsonWriter& j, const std::optional<double>& wh) {
    wh ? j.Double(*wh / 1000) : j.Null();
}
void Timed(JsonWriter& j, const char* value, const char* time,
           const std::optional<TimedValue>& timed) {
    j.Key(value), timed ? j.Double(timed->Value) : j.Null();
    j.Key(time), timed ? j.String(FormatIso8601(timed->Time)) : j.Null();
}
void Strings(JsonWriter& j, const std::vector<std::string>& texts) {
    j.BeginArray();
    for (const std::string& t : texts)
        j.String(t);
    j.EndArray();
}

void WriteInputs(JsonWriter& j, const CapacityInputs& in, const CapacityStudy& s) {
    j.BeginObject();
    j.Key("service"), j.String(ServiceWiringName(s.Wiring));
    j.Key("rating_a"), Optional(j, s.RatingAmps);
    j.Key("nominal_v"), Optional(j, s.Volts);
    j.Key("nominal_guessed"), j.Bool(s.VoltsGuessed);
    j.Key("line_to_line"), j.Bool(s.LineToLine);
    j.Key("charging_window"), j.String(ChargingWindowText(in.WindowFrom, in.WindowTo));
    j.Key("smallest_a"), j.Double(in.SmallestAmps);
    j.Key("night_need_kwh"), Kwh(j, in.NightNeedWh);
    j.Key("loads");
    j.BeginArray();
    for (const CapacityLoad& c : s.Loads) {
        j.BeginObject();
        j.Key("name"), j.String(c.Load.Name);
        j.Key("amps"), j.Double(c.Load.Amps);
        j.Key("connection"), j.String(ConnectionText(c.Load.Connection));
        j.Key("continuous"), j.Bool(c.Load.Continuous);
        j.Key("managed"), j.Bool(c.Load.Managed);
        j.Key("factor"), j.Double(c.Factor);
        j.Key("phases"), Strings(j, c.Phases);
        j.Key("phase_a"), j.Double(c.PhaseAmps);
        j.Key("volts"), Optional(j, c.Volts);
        j.Key("design_va"), Optional(j, c.DesignVa);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
}

void WriteHours(JsonWriter& j, const std::vector<HeadroomHour>& hours) {
    j.BeginArray();
    for (const HeadroomHour& h : hours) {
        j.BeginObject();
        j.Key("hour"), j.String(BinStartText(h.Hour * 60));
        j.Key("highest_a"), Optional(j, h.HighestAmps);
        j.Key("phase"), h.HighestAmps ? j.String(h.Phase) : j.Null();
        j.Key("headroom_a"), Optional(j, h.HeadroomAmps);
        j.EndObject();
    }
    j.EndArray();
}

} // namespace

CapacityInputs CapacityArguments(Arguments& args) {
    CapacityInputs in;
    for (const std::string& given : args.Values("--new-load")) {
        try {
            in.Loads.push_back(ParseNewLoad(given));
        } catch (const VroError& e) {
            throw UsageError(std::string("option --new-load: ") + e.what());
        }
    }
    const auto window = args.Value("--charging-window");
    const auto smallest = Above0(args, "--smallest-amps");
    const auto need = Above0(args, "--night-need-kwh");
    if (in.Loads.empty() && (window || smallest || need))
        throw UsageError("--charging-window, --smallest-amps and --night-need-kwh need --new-load");
    if (window) {
        try {
            ParseChargingWindow(*window, in.WindowFrom, in.WindowTo);
        } catch (const VroError& e) {
            throw UsageError(std::string("option --charging-window: ") + e.what());
        }
    }
    in.SmallestAmps = smallest.value_or(in.SmallestAmps);
    if (need)
        in.NightNeedWh = *need * 1000;
    return in;
}

void WriteCapacityJson(JsonWriter& j, const SurveyResult& survey) {
    if (!survey.Capacity)
        return j.Null();
    const CapacityStudy& s = *survey.Capacity;
    j.BeginObject();
    j.Key("inputs"), WriteInputs(j, survey.Options.Capacity, s);
    j.Key("verdict");
    s.Verdict == CapacityVerdict::NotDecided ? j.Null() : j.Bool(s.Verdict != CapacityVerdict::No);
    j.Key("verdict_text"), j.String(CapacityVerdictText(s.Verdict));
    j.Key("reasons"), Strings(j, s.Reasons);
    j.Key("phases");
    j.BeginArray();
    for (const CapacityPhase& p : s.Phases) {
        j.BeginObject();
        j.Key("channel_label"), j.String(p.ChannelLabel);
        Timed(j, "peak_a", "peak_time_iso", p.Peak);
        j.Key("existing_a"), Optional(j, p.ExistingAmps);
        j.Key("new_a"), j.Double(p.NewAmps);
        j.Key("design_a"), Optional(j, p.DesignAmps);
        j.Key("headroom_a"), Optional(j, p.HeadroomAmps);
        j.EndObject();
    }
    j.EndArray();
    j.Key("tightest_phase"), s.TightestPhase ? j.String(*s.TightestPhase) : j.Null();
    j.Key("design_a"), Optional(j, s.DesignAmps);
    j.Key("headroom_a"), Optional(j, s.HeadroomAmps);
    j.Key("shortfall_a"), Optional(j, s.ShortfallAmps);
    j.Key("set_point_a"), Optional(j, s.SetPointAmps);

    j.Key("kva");
    j.BeginObject();
    Timed(j, "peak_va", "peak_time_iso", s.Kva.Peak);
    j.Key("existing_va"), Optional(j, s.Kva.ExistingVa);
    j.Key("new_va"), Optional(j, s.Kva.NewVa);
    j.Key("design_va"), Optional(j, s.Kva.DesignVa);
    j.Key("service_va"), Optional(j, s.Kva.ServiceVa);
    j.Key("headroom_va"), Optional(j, s.Kva.HeadroomVa);
    j.Key("fits"), s.Kva.Fits ? j.Bool(*s.Kva.Fits) : j.Null();
    j.EndObject();

    j.Key("nights");
    j.BeginArray();
    for (const ManagedNights& n : s.Nights) {
        j.BeginObject();
        j.Key("load"), j.String(n.Name);
        j.Key("nights"), j.Int(static_cast<int64_t>(n.Nights.size()));
        j.Key("least_kwh"), Kwh(j, n.LeastWh);
        j.Key("median_kwh"), Kwh(j, n.MedianWh);
        j.Key("mean_kwh"), Kwh(j, n.MeanWh);
        j.Key("nights_short"), n.NightsShort ? j.Int(*n.NightsShort) : j.Null();
        j.Key("per_night");
        j.BeginArray();
        for (const NightEnergy& e : n.Nights) {
            j.BeginObject();
            j.Key("date"), j.String(FormatIso8601(e.Night).substr(0, 10));
            j.Key("kwh"), j.Double(e.Wh / 1000);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();

    const ContinuousCheck& c = s.Continuous;
    j.Key("continuous");
    j.BeginObject();
    j.Key("phase"), c.Phase ? j.String(*c.Phase) : j.Null();
    Timed(j, "three_hour_a", "from_iso", c.ThreeHourAmps);
    j.Key("new_a"), j.Double(c.NewAmps);
    j.Key("total_a"), Optional(j, c.TotalAmps);
    j.Key("limit_a"), Optional(j, c.LimitAmps);
    j.Key("pass"), c.Pass ? j.Bool(*c.Pass) : j.Null();
    j.EndObject();

    j.Key("headroom");
    j.BeginObject();
    j.Key("weekday"), WriteHours(j, s.Weekday);
    j.Key("weekend"), WriteHours(j, s.Weekend);
    j.EndObject();
    j.EndObject();
}
