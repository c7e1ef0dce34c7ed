#include "tools/vrotool/CompareArguments.h"

#include "database/RecordingFile.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/SurveyArguments.h"
#include "tools/vrotool/TimeArgument.h"

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

} // namespace

CompareOptions CompareArguments(Arguments& args) {
    CompareOptions options;
    options.BeforeRange = RangeArgument(args, "--before-range");
    options.AfterRange = RangeArgument(args, "--after-range");
    options.BlockMinutes = BlockMinutesArgument(args).value_or(options.BlockMinutes);
    options.CostTariff = TariffArguments(args);
    return options;
}

void SetCompareFiles(CompareOptions& options, const std::vector<std::string>& files) {
    if (files.size() == 1 && !(options.BeforeRange && options.AfterRange))
        throw UsageError("one FILE needs both --before-range and --after-range");
    if (files.empty() || files.size() > 2)
        throw UsageError("give BEFORE and AFTER, or one FILE with two ranges");
    options.BeforeFile = files.front();
    options.AfterFile = files.back();
}

std::unique_ptr<OpenedComparison> OpenComparison(const CompareOptions& options) {
    auto opened = std::make_unique<OpenedComparison>();
    OpenDatabaseOrRecording(opened->Before, options.BeforeFile);
    if (options.AfterFile != options.BeforeFile) {
        opened->After = std::make_unique<LDatabase>();
        OpenDatabaseOrRecording(*opened->After, options.AfterFile);
    }
    const LDatabase& after = opened->After ? *opened->After : opened->Before;
    opened->Result = RunComparison(opened->Before.Parameters(), after.Parameters(), options);
    return opened;
}
