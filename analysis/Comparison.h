#pragma once

#include "analysis/CompareOptions.h"
#include "analysis/CompareSide.h"
#include "analysis/EnergySaving.h"
#include "analysis/FigureChange.h"

#include <vector>

class LParameterCollection;

// Before and after: two recordings, or two ranges of one, surveyed alike and compared figure
// by figure, with the energy saved and how sure it is. Weather and production are not
// normalised; days with gaps are left out of the daily statistics.
struct Comparison {
    CompareOptions Options;
    CompareSide Before, After;
    // One per CompareFigures(), in its order.
    std::vector<FigureChange> Changes;
    EnergySaving Saving;
};

// The sides may be one recording (with two ranges). Raises the side's reason when one has no
// power series, a range lies outside its recording or holds no full day.
Comparison RunComparison(const LParameterCollection& before, const LParameterCollection& after,
                         const CompareOptions& options);

// The limits the Summary and the help state.
extern const char* const NotNormalisedText;
extern const char* const GapDaysLeftOutText;
