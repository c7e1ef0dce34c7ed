#include "analysis/SurveyText.h"

#include "analysis/SurveyTables.h"

#include <algorithm>

namespace {

// Characters, not bytes, so that "±" and "Ø" take one column.
size_t Columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

class Lines {
public:
    explicit Lines(const TextStyle& style) : style_(style) {}

    void Line(const std::string& text = {}, int indent = 0) { out_.push_back({indent, text, {}}); }
    // A figure; without a value, a line of its own.
    void Figure(const std::string& label, const std::string& value, int indent = 2) {
        if (value.empty())
            return Line(label, indent);
        out_.push_back({indent, label, value});
    }
    std::string Value(const std::optional<double>& value, const char* unit, int decimals = 2) {
        return value ? style_.Scaled(*value, unit, decimals) : "-";
    }
    std::string Timed(const std::optional<TimedValue>& value, const char* unit,
                      const char* at = "at") {
        if (!value)
            return "-";
        return style_.Scaled(value->Value, unit) + " " + at + " " + style_.Time(value->Time);
    }
    void Reasons(const std::vector<std::string>& reasons) {
        for (const std::string& r : reasons)
            Line("- " + r, 2);
    }
    const TextStyle& Style() const { return style_; }
    std::vector<SummaryLine> Take() { return std::move(out_); }

private:
    const TextStyle& style_;
    std::vector<SummaryLine> out_;
};

std::string Percent(const std::optional<double>& share, const TextStyle& style) {
    return share ? style.Number(*share * 100) + " %" : "-";
}

void LoadStudyLines(Lines& out, const PowerSurvey& p) {
    const LoadStudy& s = p.Load;
    out.Line(std::string("Load study: ") + (s.Valid ? "valid" : "not valid"));
    out.Reasons(s.Reasons);
    out.Figure("Peak demand", out.Timed(s.Peak, "W", "in the block from"));
    out.Figure("Design load (125 %)", out.Value(s.DesignWatts, "W"));
    for (const PhasePeak& phase : s.Phases)
        out.Figure("Peak current " + phase.ChannelLabel,
                   out.Timed(phase.Peak, "A", "in the block from"));
    if (s.HighestPhase)
        out.Figure("Highest phase",
                   *s.HighestPhase + ", design current (125 %) " + out.Value(s.DesignAmps, "A"));
    else
        out.Figure("Highest phase", "- (no phase currents)");
    if (s.RatingAmps) {
        std::string rating = out.Value(s.RatingAmps, "A");
        if (s.HeadroomAmps)
            rating += ", headroom " + out.Value(s.HeadroomAmps, "A") + ": " +
                      (*s.Adequate ? "adequate" : "not adequate");
        out.Figure("Service rating", rating);
    }
}

void TotalsLines(Lines& out, const PowerSurvey& p) {
    const EnergyTotals& t = p.Totals;
    out.Line("Totals");
    out.Figure("Energy", out.Value(t.EnergyWh, "WH"));
    out.Figure("Peak demand", out.Timed(t.Peak, "W", "in the block from"));
    out.Figure("Base load", out.Value(t.BaseWatts, "W"));
    out.Figure("Average demand", out.Value(t.AverageWatts, "W"));
    out.Figure("Load factor", t.LoadFactor ? out.Style().Number(*t.LoadFactor, 3) : "-");
    out.Figure("Days", out.Style().Number(t.Days));
    if (p.RefusedThreshold)
        out.Reasons({ThresholdRefusalText(*p.RefusedThreshold, out.Style())});
    const LoadDuration& d = p.Duration;
    if (d.ThresholdWatts) {
        out.Figure("Above " + out.Value(d.ThresholdWatts, "W"),
                   out.Value(d.HoursAbove, "h") + ", " + out.Value(d.EnergyAboveWh, "WH"));
    }
}

void VoltageLines(Lines& out, const VoltageVariation& v) {
    std::string head = std::string("Voltage test: ") + VerdictText(v.Pass) + ", ";
    head += v.Valid ? "valid" : "not valid";
    head += ", nominal " + out.Value(v.NominalVolts, "V", 0);
    if (v.NominalGuessed)
        head += " (guessed from the median)";
    out.Line(head);
    out.Reasons(v.Reasons);
    for (const VoltageChannel& c : v.Channels) {
        const TextStyle& style = out.Style();
        std::string line = c.ChannelLabel + ": " + VerdictText(c.Pass) + ", " +
                           style.Whole(c.Blocks.Complete) + " blocks of 10 min";
        if (c.NominalVolts && c.NominalVolts != v.NominalVolts)
            line += ", nominal " + out.Value(c.NominalVolts, "V", 0);
        out.Line(line, 2);
        out.Figure("within ±10 %", Percent(c.Within10, style), 4);
        out.Figure("within +10/-15 %", Percent(c.Within10To15, style), 4);
        out.Figure("highest", out.Timed(c.Maximum, "V", "in the block from"), 4);
        out.Figure("lowest", out.Timed(c.Minimum, "V", "in the block from"), 4);
    }
}

} // namespace

std::string ThresholdRefusalText(const ThresholdRefusal& refusal, const TextStyle& style) {
    return "The threshold " + style.Scaled(refusal.ThresholdWatts, "W") +
           " is below the base load " + style.Scaled(refusal.BaseWatts, "W") +
           ": not taken, the load is above it all the time.";
}

const char* const ImpossibleValuesText =
    "The recording holds values no recorder can produce; the figures take them as they are:";

std::string SummaryLinesText(const std::vector<SummaryLine>& lines) {
    std::string out;
    for (const SummaryLine& line : lines) {
        std::string text = std::string(static_cast<size_t>(std::max(0, line.Indent)), ' ');
        text += line.Label;
        if (line.Value) {
            text.append(Columns(text) < 23 ? 23 - Columns(text) : 0, ' ');
            text += " " + *line.Value;
        }
        out += text + "\n";
    }
    return out;
}

std::vector<SummaryLine> SurveySummaryLines(const SurveyResult& survey, const TextStyle& style) {
    Lines out(style);
    if (survey.From && survey.To)
        out.Line("Survey of " + style.Time(*survey.From) + " to " + style.Time(*survey.To));
    else
        out.Line("Survey: the recording has no samples to survey.");
    if (!survey.Impossible.empty()) {
        out.Line(ImpossibleValuesText);
        out.Reasons(ImpossibleValueLines(survey.Impossible, style.Numbers));
    }
    if (const auto& p = survey.Power) {
        out.Line("Power: " + p->Source + ", blocks of " + style.Whole(p->Blocks.Minutes) +
                 " min: " + style.Whole(p->Blocks.Complete) + " complete, " +
                 style.Whole(p->Blocks.Partial) + " partial");
        out.Line();
        LoadStudyLines(out, *p);
        out.Line();
        TotalsLines(out, *p);
    } else {
        out.Line(NoPowerText);
    }
    out.Line();
    if (survey.Voltage)
        VoltageLines(out, *survey.Voltage);
    else
        out.Line(NoVoltageText);
    return out.Take();
}

std::string SurveySummaryText(const SurveyResult& survey, const TextStyle& style) {
    return SummaryLinesText(SurveySummaryLines(survey, style));
}
