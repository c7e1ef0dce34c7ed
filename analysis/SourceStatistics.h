#pragma once

#include "analysis/SeriesRange.h"
#include "analysis/TimeRange.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LParameter;
class LParameterSource;

// What one source holds over a range. Values that are not finite are skipped and counted as
// invalid; every figure of the finite values is unset when there are none.
struct SourceStatistics {
    // The parameter the row is named after; a source with a next source is computed over the
    // next source's points but named after its own parameter.
    const LParameter* Parameter = nullptr;
    bool Visible = true;

    int64_t Count = 0;              // finite values
    int64_t Invalid = 0;            // values that are not finite
    int64_t Expected = 0;           // Count + Invalid
    int64_t Excluded = 0;           // of Invalid, the points set aside by excluded ranges
    std::optional<double> Coverage; // Count / Expected

    // The extremes, each at the time of its first occurrence.
    std::optional<double> Minimum, Maximum;
    TDateTime MinimumTime = 0, MaximumTime = 0;
    std::optional<double> Mean;        // double sum / count
    std::optional<double> StdDev;      // population
    std::optional<double> First, Last; // the first and last finite value

    // Historic W, VAR, VA: Σ value × rate / 3 600 in WH, VARH, VAH; WH points of the other
    // types: their sum in WH. Unset (and the unit empty) otherwise.
    std::optional<double> Integral;
    std::string IntegralUnit;
    // Historic W: Mean / Maximum when the maximum is above 0.
    std::optional<double> LoadFactor;

    // The times of the first and last point kept, finite or not.
    std::optional<TDateTime> From, To;
};

// The statistics of the points, named after their parameter: whole blocks of the parameter's
// summary (made first if it has none) and the two part blocks at the ends, so that a long
// range costs a step per block. The points in the excluded ranges count as not measured
// (NaN): the blocks they lie in are read again from a copy with them set aside.
SourceStatistics ComputeStatistics(const SeriesRange& points,
                                   const std::vector<TimeRange>& excluded = {});
// Of every point of the parameter, or of those in the time range.
SourceStatistics ComputeStatistics(const LParameter& parameter,
                                   const std::optional<TimeRange>& times = std::nullopt);
// Of the points the source's table or chart shows (SourceSeries), or of those in the time
// range; named after the source's own parameter, visible as the source is selected.
SourceStatistics ComputeStatistics(const LParameterSource& source,
                                   const std::optional<TimeRange>& times = std::nullopt);

// The unit an integral of the parameter's values is in ("WH", "VARH", "VAH"), or empty when
// its values have none.
std::string IntegralUnit(const LParameter& parameter);
