#pragma once

#include "analysis/TextTable.h"
#include "model/DateTime.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LParameter;
class LParameterSource;

// What two cursors on a chart read off its series. A cursor stands at a time; the value of a
// series at a cursor is that of its last point at or before the cursor (a Historic sample, an
// event), none before the first. Between the cursors (both ends included, whichever is the
// earlier) each series gives its minimum, mean and maximum as the statistics do.
struct CursorRow {
    const LParameter* Parameter = nullptr;
    std::optional<double> AtA, AtB;
    std::optional<double> Difference; // AtB - AtA
    std::optional<double> Minimum, Mean, Maximum;
};

struct CursorReadout {
    std::optional<TDateTime> A, B;
    // B - A in whole seconds, when both are set.
    std::optional<int64_t> DeltaSeconds;
    std::vector<CursorRow> Rows; // one per source given, in their order
};

// The value of the source at the time: its last point at or before it; none when that value
// is not finite or there is no such point.
std::optional<double> ValueAtOrBefore(const LParameterSource& source, TDateTime time);

CursorReadout ReadCursors(const std::vector<const LParameterSource*>& sources,
                          std::optional<TDateTime> a, std::optional<TDateTime> b);

// Where a cursor put at the time goes: the nearest sample time of the first Historic source
// with samples among the sources given, else the time at its whole second.
TDateTime SnapCursor(const std::vector<const LParameterSource*>& sources, TDateTime time);

// The readout as a table: Parameter (the titles given, one per row), At A, At B, B − A,
// Minimum, Mean, Maximum.
TextTable CursorReadoutTable(const CursorReadout& readout, const std::vector<std::string>& titles);

// A span of seconds as "2 d 03:04:05" ("03:04:05" under a day), negative with a minus sign.
std::string DurationText(int64_t seconds);
