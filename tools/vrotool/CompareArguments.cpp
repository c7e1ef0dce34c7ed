#include "tools/vrotool/CompareArguments.h"

#include "analysis/ExcludedRanges.h"
#include "database/RecordingFile.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/SurveyArguments.h"
#include "tools/vrotool/TimeArgument.h"

#include <limits>

namespace {

std::optional<TimeRange> RangeArgument(Arguments& args, const std::string& option) {
    const auto text = args.Value(option);
    if (!text)
        return std::nullopt;
    const size_t dots = text->find("..");
    if (dots == std::string::npos)
        throw UsageError("option " + option + " needs FROM..TO, not '" + *text + "'");
    const TimeRange range{ParseTimeArgument(option, text->substr(0, dots)),
                          ParseTimeArgument(option, text->substr(dots + 2))};
    if (range.FromSeconds() > range.ToSeconds())
        throw UsageError("option " + option + " ends before it starts: '" + *text + "'");
    return range;
}

// The ranges before and after the note: the recording from its first power sample (or its
// start) to the second before the note, and from the note's end to the last.
void SplitAtNote(CompareOptions& options, const LDatabase& db, int32_t number) {
    const std::vector<LNote>& notes = db.Notes();
    if (static_cast<size_t>(number) > notes.size())
        Raise("No note " + std::to_string(number) + ": " + options.BeforeFile + " has " +
              std::to_string(notes.size()) + " note" + (notes.size() == 1 ? "" : "s"));
    const LNote& note = notes[static_cast<size_t>(number - 1)];
    int64_t first = WholeSeconds(db.Header().StartTime), last = WholeSeconds(db.Header().EndTime);
    const SurveySeries series(db.Parameters(), std::nullopt);
    if (const auto& power = series.Power()) {
        first = power->Seconds(0);
        last = power->Seconds(power->Count - 1);
    }
    const int64_t start = WholeSeconds(note.Start), end = WholeSeconds(note.End);
    if (start <= first || end > last)
        Raise("Note " + std::to_string(number) + " (" + PlainDateTimeText(note.Start) +
              ") does not split the recording, which runs from " +
              PlainDateTimeText(SecondsToDays(first)) + " to " +
              PlainDateTimeText(SecondsToDays(last)));
    options.BeforeRange = TimeRange{SecondsToDays(first), SecondsToDays(start - 1)};
    options.AfterRange = TimeRange{SecondsToDays(end), SecondsToDays(last)};
}

} // namespace

CompareOptions CompareArguments(Arguments& args) {
    CompareOptions options;
    options.BeforeRange = RangeArgument(args, "--before-range");
    options.AfterRange = RangeArgument(args, "--after-range");
    options.BlockMinutes = BlockMinutesArgument(args).value_or(options.BlockMinutes);
    options.CostTariff = TariffArguments(args);
    return options;
}

std::optional<int32_t> SplitNoteArgument(Arguments& args) {
    const auto number = args.Integer("--split-at-note", 1, std::numeric_limits<int32_t>::max());
    return number ? std::optional<int32_t>(static_cast<int32_t>(*number)) : std::nullopt;
}

void SetCompareFiles(CompareOptions& options, const std::vector<std::string>& files,
                     std::optional<int32_t> splitNote) {
    if (splitNote && (options.BeforeRange || options.AfterRange))
        throw UsageError("give --split-at-note or the ranges, not both");
    if (splitNote && files.size() != 1)
        throw UsageError("--split-at-note splits one FILE");
    if (files.size() == 1 && !splitNote && !(options.BeforeRange && options.AfterRange))
        throw UsageError("one FILE needs both --before-range and --after-range, or "
                         "--split-at-note N");
    if (files.empty() || files.size() > 2)
        throw UsageError("give BEFORE and AFTER, or one FILE with two ranges");
    options.BeforeFile = files.front();
    options.AfterFile = files.back();
}

std::unique_ptr<OpenedComparison> OpenComparison(CompareOptions options,
                                                 std::optional<int32_t> splitNote) {
    auto opened = std::make_unique<OpenedComparison>();
    OpenDatabaseOrRecording(opened->Before, options.BeforeFile);
    if (options.AfterFile != options.BeforeFile) {
        opened->After = std::make_unique<LDatabase>();
        OpenDatabaseOrRecording(*opened->After, options.AfterFile);
    }
    const LDatabase& after = opened->After ? *opened->After : opened->Before;
    if (splitNote)
        SplitAtNote(options, opened->Before, *splitNote);
    options.BeforeExcluded = ExcludedRanges(opened->Before.Notes());
    options.AfterExcluded = ExcludedRanges(after.Notes());
    opened->Result = RunComparison(opened->Before.Parameters(), after.Parameters(), options);
    return opened;
}
