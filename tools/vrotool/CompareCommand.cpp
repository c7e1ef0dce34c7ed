// vrotool compare: two recordings, or two ranges of one, before and after a change: the
// figures of each, their change, and the energy saved with its 95 % interval.
#include "analysis/CompareFigure.h"
#include "analysis/CompareTables.h"
#include "analysis/Comparison.h"
#include "analysis/ExcludedRanges.h"
#include "analysis/NotesText.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/CommandNotes.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/CompareArguments.h"
#include "tools/vrotool/JsonWriter.h"
#include "tools/vrotool/TextStyleOption.h"

#include <memory>

namespace {

void OptionalDouble(JsonWriter& j, const std::optional<double>& value) {
    value ? j.Double(*value) : j.Null();
}

void WriteSide(JsonWriter& j, const CompareSide& s, const std::vector<LNote>& notes) {
    j.BeginObject();
    j.Key("file"), j.String(s.File);
    j.Key("from_iso"), s.Survey.From ? j.String(FormatIso8601(*s.Survey.From)) : j.Null();
    j.Key("to_iso"), s.Survey.To ? j.String(FormatIso8601(*s.Survey.To)) : j.Null();
    for (const CompareFigure& f : CompareFigures()) {
        const std::optional<double> value = f.Value(s);
        j.Key(f.Key);
        if (f.Decimals == 0 && value)
            j.Int(static_cast<int64_t>(*value));
        else
            OptionalDouble(j, value);
        if (std::string(f.Key) == "peak_w")
            j.Key("peak_time_iso"), s.Peak ? j.String(FormatIso8601(s.Peak->Time)) : j.Null();
    }
    j.Key("notes"), WriteNotesJson(j, notes);
    j.Key("excluded_samples"), j.Int(s.Survey.ExcludedSamples);
    j.EndObject();
}

void WriteStratum(JsonWriter& j, const std::optional<StratumSaving>& s) {
    if (!s)
        return j.Null();
    j.BeginObject();
    j.Key("d_wh"), j.Double(s->DWh);
    j.Key("se_wh"), j.Double(s->SeWh);
    j.Key("df"), j.Double(s->Df);
    j.Key("low_wh"), j.Double(s->LowWh);
    j.Key("high_wh"), j.Double(s->HighWh);
    j.Key("n_before"), j.Int(s->NBefore);
    j.Key("n_after"), j.Int(s->NAfter);
    j.EndObject();
}

// Each side's notes that touch its range.
struct SideNotes {
    std::vector<LNote> Before, After;
};

void WriteJson(JsonWriter& j, const Comparison& c, const SideNotes& notes) {
    j.BeginObject();
    j.Key("before"), WriteSide(j, c.Before, notes.Before);
    j.Key("after"), WriteSide(j, c.After, notes.After);
    j.Key("change");
    j.BeginObject();
    const auto& figures = CompareFigures();
    for (size_t i = 0; i < figures.size(); ++i) {
        j.Key(figures[i].Key);
        j.BeginObject();
        j.Key("difference"), OptionalDouble(j, c.Changes[i].Difference);
        j.Key("percent"), OptionalDouble(j, c.Changes[i].Percent);
        j.EndObject();
    }
    j.EndObject();
    const EnergySaving& s = c.Saving;
    j.Key("saving");
    j.BeginObject();
    j.Key("weekday"), WriteStratum(j, s.Weekday);
    j.Key("weekend"), WriteStratum(j, s.Weekend);
    j.Key("yearly_wh"), OptionalDouble(j, s.YearlyWh);
    j.Key("yearly_low_wh"), OptionalDouble(j, s.YearlyLowWh);
    j.Key("yearly_high_wh"), OptionalDouble(j, s.YearlyHighWh);
    j.Key("significant"), s.Significant ? j.Bool(*s.Significant) : j.Null();
    j.Key("reasons");
    j.BeginArray();
    for (const std::string& reason : s.Reasons)
        j.String(reason);
    j.EndArray();
    j.Key("yearly_cost"), OptionalDouble(j, s.YearlyCost);
    j.Key("yearly_cost_low"), OptionalDouble(j, s.YearlyCostLow);
    j.Key("yearly_cost_high"), OptionalDouble(j, s.YearlyCostHigh);
    j.EndObject();
    j.EndObject();
}

} // namespace

int CompareCommand(Arguments& args) {
    CompareOptions options = CompareArguments(args);
    const auto splitNote = SplitNoteArgument(args);
    const bool json = args.Flag("--json");
    const auto localeName = args.Value("--locale");
    const auto output = args.Value("--output", "-o");
    const std::vector<std::string> files = args.Positionals();
    args.Finish();
    SetCompareFiles(options, files, splitNote);
    const TextStyle style = TextStyleOption(localeName);

    const std::unique_ptr<OpenedComparison> opened = OpenComparison(options, splitNote);
    const Comparison& c = opened->Result;
    const LDatabase& after = opened->After ? *opened->After : opened->Before;
    const SideNotes notes{NotesIn(opened->Before.Notes(), c.Before.Range),
                          NotesIn(after.Notes(), c.After.Range)};
    if (json) {
        WriteOutput(JsonText([&](JsonWriter& j) { WriteJson(j, c, notes); }), output);
        return 0;
    }
    std::string text = CompareSummaryText(c, style);
    const std::string before =
        NotesText(notes.Before, c.Before.Survey.ExcludedSamples, style, "Notes before");
    const std::string afterText =
        NotesText(notes.After, c.After.Survey.ExcludedSamples, style, "Notes after");
    for (const std::string* lines : {&before, &afterText})
        if (!lines->empty())
            text += "\n" + *lines;
    WriteOutput(text, output);
    return 0;
}
