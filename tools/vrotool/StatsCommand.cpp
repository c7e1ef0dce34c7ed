// vrotool stats: the statistics of a recording's parameters, or of a table's or chart's
// sources, over their range or a given time range.
#include "analysis/ExcludedRanges.h"
#include "analysis/RangeStatistics.h"
#include "analysis/StatisticsText.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/CommandNotes.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/FindItem.h"
#include "tools/vrotool/JsonWriter.h"
#include "tools/vrotool/TextStyleOption.h"
#include "tools/vrotool/TimeArgument.h"

#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

constexpr long long MaxInt = std::numeric_limits<int32_t>::max();

// Every figure as a double that reads back exactly; the recorded values among them (minimum,
// maximum, first, last) read back as the very floats recorded.
void OptionalDouble(JsonWriter& j, const std::optional<double>& value) {
    value ? j.Double(*value) : j.Null();
}
void OptionalTime(JsonWriter& j, const char* key, bool present, TDateTime time) {
    j.Key(key);
    present ? j.Double(time) : j.Null();
    j.Key(std::string(key) + "_iso");
    present ? j.String(FormatIso8601(time)) : j.Null();
}

void WriteRowJson(JsonWriter& j, const SourceStatistics& s) {
    const LParameter* p = s.Parameter;
    j.BeginObject();
    j.Key("id"), p ? j.Int(p->Id()) : j.Null();
    j.Key("name"), j.String(p ? p->Name() : "");
    j.Key("channel_label"), j.String(p ? p->ChannelLabel() : "");
    j.Key("unit_symbol"), j.String(p ? p->ShortUnit() : "");
    j.Key("table_type"), p ? j.Int(p->TableType()) : j.Null();
    j.Key("visible"), j.Bool(s.Visible);
    j.Key("count"), j.Int(s.Count);
    j.Key("invalid"), j.Int(s.Invalid);
    j.Key("expected"), j.Int(s.Expected);
    j.Key("coverage"), OptionalDouble(j, s.Coverage);
    j.Key("minimum"), OptionalDouble(j, s.Minimum);
    OptionalTime(j, "minimum_time", s.Minimum.has_value(), s.MinimumTime);
    j.Key("maximum"), OptionalDouble(j, s.Maximum);
    OptionalTime(j, "maximum_time", s.Maximum.has_value(), s.MaximumTime);
    j.Key("mean"), OptionalDouble(j, s.Mean);
    j.Key("std_dev"), OptionalDouble(j, s.StdDev);
    j.Key("first"), OptionalDouble(j, s.First);
    j.Key("last"), OptionalDouble(j, s.Last);
    j.Key("integral"), OptionalDouble(j, s.Integral);
    j.Key("integral_unit");
    s.Integral ? j.String(s.IntegralUnit) : j.Null();
    j.Key("load_factor"), OptionalDouble(j, s.LoadFactor);
    j.Key("excluded_samples"), j.Int(s.Excluded);
    j.EndObject();
}

void WriteJson(JsonWriter& j, const RangeStatistics& stats, const std::vector<LNote>& notes) {
    j.BeginObject();
    j.Key("range");
    j.BeginObject();
    j.Key("from"), stats.From ? j.Double(*stats.From) : j.Null();
    j.Key("to"), stats.To ? j.Double(*stats.To) : j.Null();
    j.Key("from_iso"), stats.From ? j.String(FormatIso8601(*stats.From)) : j.Null();
    j.Key("to_iso"), stats.To ? j.String(FormatIso8601(*stats.To)) : j.Null();
    j.EndObject();
    j.Key("parameters");
    j.BeginArray();
    for (const SourceStatistics& row : stats.Rows)
        WriteRowJson(j, row);
    j.EndArray();
    j.Key("notes"), WriteNotesJson(j, notes);
    j.EndObject();
}

} // namespace

int StatsCommand(Arguments& args) {
    const auto index = args.Integer("--index", 0, MaxInt);
    const auto caption = args.Value("--caption");
    const bool chart = args.Flag("--chart");
    const auto fromText = args.Value("--from");
    const auto toText = args.Value("--to");
    const bool json = args.Flag("--json");
    const bool csv = args.Flag("--csv");
    const auto localeName = args.Value("--locale");
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile();
    if (index && caption)
        throw UsageError("give --index N or --caption TEXT, not both");
    if (chart && !index && !caption)
        throw UsageError("--chart needs --index N or --caption TEXT");
    if (json && csv)
        throw UsageError("give --json or --csv, not both");
    const TextStyle style = TextStyleOption(localeName);
    std::optional<TimeRange> range;
    if (fromText || toText) {
        // An open end reaches past every time a recording can hold.
        range = TimeRange{fromText ? ParseTimeArgument("--from", *fromText) : -1e7,
                          toText ? ParseTimeArgument("--to", *toText) : 1e7};
        if (fromText && toText && range->FromSeconds() > range->ToSeconds())
            Raise("The range starts at " + *fromText + ", after its end at " + *toText);
    }

    LDatabase db;
    OpenDatabaseOrRecording(db, file);
    StatisticsOptions options;
    options.Range = range;
    options.Excluded = ExcludedRanges(db.Notes());
    RangeStatistics stats;
    if (index || caption) {
        const LParameterSourceGroup& group =
            chart ? FindItem(db.Charts(), "chart", index, caption).Sources
                  : FindItem(db.Tables(), "table", index, caption).Sources;
        stats = StatisticsOfGroup(group, options);
    } else {
        stats = StatisticsOfRecording(db.Parameters(), options);
    }

    if (json)
        WriteOutput(
            JsonText([&](JsonWriter& j) { WriteJson(j, stats, NotesIn(db.Notes(), range)); }),
            output);
    else
        WriteOutput(
            StatisticsTable(stats.Rows).Text(style, csv ? CellFormat::Csv : CellFormat::Tab),
            output);
    return 0;
}
