#include "analysis/Comparison.h"

#include "analysis/CompareFigure.h"

const char* const NotNormalisedText = "Weather and production are not normalised: compare "
                                      "periods of like weather and operation.";
const char* const GapDaysLeftOutText = "Days with gaps are left out of the daily statistics.";

Comparison RunComparison(const LParameterCollection& before, const LParameterCollection& after,
                         const CompareOptions& options) {
    Comparison c;
    c.Options = options;
    c.Before = SurveySide(before, "Before", options.BeforeFile, options.BeforeRange,
                          options.BlockMinutes, options.CostTariff, options.BeforeExcluded);
    c.After = SurveySide(after, "After", options.AfterFile, options.AfterRange,
                         options.BlockMinutes, options.CostTariff, options.AfterExcluded);
    for (const CompareFigure& f : CompareFigures())
        c.Changes.push_back(ChangeOf(f.Value(c.Before), f.Value(c.After)));
    c.Saving = ComputeEnergySaving(c.Before, c.After);
    return c;
}
