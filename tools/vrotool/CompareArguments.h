#pragma once

#include "analysis/CompareOptions.h"
#include "analysis/Comparison.h"
#include "database/LDatabase.h"

#include <memory>
#include <string>
#include <vector>

class Arguments;

// The comparison's options as vrotool compare and vrotool report --compare take them:
// --before-range FROM..TO, --after-range FROM..TO (ISO date-times of the recording's clock,
// both ends included), --block-minutes and the tariff's options. Raises UsageError for a
// value it does not take.
CompareOptions CompareArguments(Arguments& args);

// --split-at-note N: the one FILE split at its N-th note (from 1, as vrotool notes lists
// them); UsageError for a number below 1.
std::optional<int32_t> SplitNoteArgument(Arguments& args);

// The sides' files: BEFORE AFTER, or one FILE with both ranges or a note to split at. Raises
// UsageError otherwise.
void SetCompareFiles(CompareOptions& options, const std::vector<std::string>& files,
                     std::optional<int32_t> splitNote = std::nullopt);

// Both sides opened (one database where both are ranges of one file) and compared.
struct OpenedComparison {
    LDatabase Before;
    std::unique_ptr<LDatabase> After;
    Comparison Result;
};
// Each side's exclude notes count as not measured. With a note to split at, the side before
// runs from the recording's first sample to the second before the note starts, the side after
// from its end to the last sample. Raises the file's or the comparison's message, or why the
// note does not split the recording.
std::unique_ptr<OpenedComparison> OpenComparison(CompareOptions options,
                                                 std::optional<int32_t> splitNote = std::nullopt);
