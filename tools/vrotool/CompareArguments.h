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

// The sides' files: BEFORE AFTER, or one FILE with both ranges. Raises UsageError otherwise.
void SetCompareFiles(CompareOptions& options, const std::vector<std::string>& files);

// Both sides opened (one database where both are ranges of one file) and compared.
struct OpenedComparison {
    LDatabase Before;
    std::unique_ptr<LDatabase> After;
    Comparison Result;
};
// Raises the file's or the comparison's message.
std::unique_ptr<OpenedComparison> OpenComparison(const CompareOptions& options);
