#include "analysis/CapacityText.h"

#include "analysis/DailyProfile.h"

namespace {

class Lines {
public:
    explicit Lines(const TextStyle& style) : style_(style) {}

    void Line(const std::string& text) { out_.push_back({0, text, {}}); }
    // A figure; without a value, a heading of those below it.
    void Figure(const std::string& label, const std::string& value, int indent = 2) {
        out_.push_back({indent, label, value.empty() ? std::nullopt : std::optional(value)});
    }
    void Reasons(const std::vector<std::string>& reasons) {
        for (const std::string& r : reasons)
            out_.push_back({2, "- " + r, {}});
    }
    std::string Number(const std::optional<double>& value, const char* unit) const {
        return value ? style_.Scaled(*value, unit) : "-";
    }
    std::string Timed(const std::optional<TimedValue>& value, const char* unit,
                      const char* at = "in the block from") const {
        return value ? style_.Scaled(value->Value, unit) + " " + at + " " + style_.Time(value->Time)
                     : "-";
    }
    std::vector<SummaryLine> Take() { return std::move(out_); }

private:
    const TextStyle& style_;
    std::vector<SummaryLine> out_;
};

std::string VerdictLine(const CapacityStudy& s, const Lines& out) {
    std::string line = std::string("Capacity for the new loads: ") + CapacityVerdictText(s.Verdict);
    if (s.Verdict == CapacityVerdict::No && s.ShortfallAmps)
        line += ", " + out.Number(s.ShortfallAmps, "A") + " short";
    else if (s.Verdict != CapacityVerdict::NotDecided && s.HeadroomAmps && s.TightestPhase)
        line += ", " + out.Number(s.HeadroomAmps, "A") + " headroom on " + *s.TightestPhase;
    return line;
}

} // namespace

std::string ServiceText(const CapacityStudy& s, const TextStyle& style) {
    std::string text = ServiceWiringName(s.Wiring);
    text +=
        ", " + (s.RatingAmps ? style.Number(*s.RatingAmps) + " A" : std::string("rating not set"));
    text += ", " + (s.Volts ? style.Number(*s.Volts, 0) + " V" : std::string("- V"));
    text += s.LineToLine ? " line to line" : " line to neutral";
    if (s.Volts && s.VoltsGuessed)
        text += " (guessed)";
    return text;
}

std::vector<SummaryLine> CapacityLines(const SurveyResult& survey, const TextStyle& style) {
    if (!survey.Capacity)
        return {};
    const CapacityStudy& s = *survey.Capacity;
    const CapacityInputs& in = survey.Options.Capacity;
    Lines out(style);
    out.Line(VerdictLine(s, out));
    out.Reasons(s.Reasons);
    out.Figure("Service", ServiceText(s, style));
    for (const CapacityLoad& c : s.Loads) {
        std::string text = out.Number(c.Load.Amps, "A") + " on " +
                           ConnectionText(c.Load.Connection) +
                           (c.Load.Continuous ? ", continuous" : ", noncontinuous");
        if (c.Load.Managed)
            text += ", managed";
        else if (!c.Phases.empty())
            text += ": " + out.Number(c.PhaseAmps, "A") + " a phase";
        out.Figure("New load " + c.Load.Name, text);
    }
    for (const CapacityPhase& p : s.Phases) {
        out.Figure("Phase " + p.ChannelLabel, "");
        out.Figure("highest block", out.Timed(p.Peak, "A"), 4);
        out.Figure("existing (125 %)", out.Number(p.ExistingAmps, "A"), 4);
        out.Figure("new loads", out.Number(p.NewAmps, "A"), 4);
        out.Figure("design current", out.Number(p.DesignAmps, "A"), 4);
        out.Figure("headroom", out.Number(p.HeadroomAmps, "A"), 4);
    }
    if (s.SetPointAmps)
        out.Figure("Set point", out.Number(s.SetPointAmps, "A") + " for the managed loads (" +
                                    out.Number(in.SmallestAmps, "A") + " at least)");
    const KvaForm& k = s.Kva;
    out.Figure("kVA form", "");
    out.Figure("highest block", out.Timed(k.Peak, "VA"), 4);
    out.Figure("existing (125 %)", out.Number(k.ExistingVa, "VA"), 4);
    out.Figure("new loads", out.Number(k.NewVa, "VA"), 4);
    out.Figure("design",
               out.Number(k.DesignVa, "VA") + " of " + out.Number(k.ServiceVa, "VA") +
                   (k.Fits ? *k.Fits ? ": fits" : ": does not fit" : ""),
               4);
    const ContinuousCheck& cc = s.Continuous;
    std::string check =
        cc.Phase ? *cc.Phase + ": " + out.Timed(cc.ThreeHourAmps, "A", "over 3 hours from") +
                       " + " + out.Number(cc.NewAmps, "A") + " = " + out.Number(cc.TotalAmps, "A")
                 : std::string("-");
    if (cc.LimitAmps)
        check += ", limit " + out.Number(cc.LimitAmps, "A") + " (80 %)";
    if (cc.Pass)
        check += *cc.Pass ? ": pass" : ": fail";
    out.Figure("Continuous check", check);
    for (const ManagedNights& n : s.Nights) {
        std::string text;
        if (n.Nights.empty()) {
            text = "no charging window recorded whole";
        } else {
            text = "least " + out.Number(*n.LeastWh, "Wh") + ", median " +
                   out.Number(*n.MedianWh, "Wh") + ", mean " + out.Number(*n.MeanWh, "Wh") +
                   " over " + style.Whole(static_cast<int64_t>(n.Nights.size())) + " nights";
            if (n.NightsShort && in.NightNeedWh)
                text += "; " + style.Whole(*n.NightsShort) + " short of " +
                        out.Number(*in.NightNeedWh, "Wh");
        }
        out.Figure(n.Name + " per night",
                   ChargingWindowText(in.WindowFrom, in.WindowTo) + ": " + text);
    }
    out.Figure("Headroom by hour", "weekdays / weekend, tightest phase");
    for (size_t h = 0; h < s.Weekday.size(); ++h) {
        const auto hour = [&](const HeadroomHour& x) {
            if (!x.HighestAmps)
                return std::string("-");
            return (x.HeadroomAmps ? out.Number(x.HeadroomAmps, "A")
                                   : out.Number(x.HighestAmps, "A") + " highest") +
                   " (" + x.Phase + ")";
        };
        out.Figure(BinStartText(s.Weekday[h].Hour * 60),
                   hour(s.Weekday[h]) + " / " + hour(s.Weekend[h]), 4);
    }
    return out.Take();
}

std::string CapacityText(const SurveyResult& survey, const TextStyle& style) {
    return SummaryLinesText(CapacityLines(survey, style));
}
