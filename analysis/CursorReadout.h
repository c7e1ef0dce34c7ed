#pragma once

#include "analysis/SeriesRange.h"
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
    // What the figures were read from: the source's points, the points at A and at B, and
    // those between the cursors (when both are set).
    SeriesRange Shown;
    std::optional<int32_t> PointA, PointB;
    std::optional<SeriesRange> Between;
};

struct CursorReadout {
    std::optional<TDateTime> A, B;
    // B - A in whole seconds, when both are set.
    std::optional<int64_t> DeltaSeconds;
    std::vector<CursorRow> Rows; // one per source given, in their order
    std::vector<const LParameterSource*> Sources;
};

// The value of the source at the time: its last point at or before it; none when that value
// is not finite or there is no such point.
std::optional<double> ValueAtOrBefore(const LParameterSource& source, TDateTime time);

CursorReadout ReadCursors(const std::vector<const LParameterSource*>& sources,
                          std::optional<TDateTime> a, std::optional<TDateTime> b);

// The readout brought to the cursors a and b: a row whose points at the cursors and between
// them are the ones it was read from keeps its figures, the others are read again (the
// statistics from the summaries' blocks). Rows of other sources than the readout's start
// afresh. The values themselves are taken as unchanged. Returns, per row, whether it was read
// again.
std::vector<bool> MoveCursors(CursorReadout& readout,
                              const std::vector<const LParameterSource*>& sources,
                              std::optional<TDateTime> a, std::optional<TDateTime> b);

// Where a cursor put at the time goes: the nearest sample time of the first Historic source
// with samples among the sources given, else the time at its whole second.
TDateTime SnapCursor(const std::vector<const LParameterSource*>& sources, TDateTime time);

// The readout as a table: Parameter (the titles given, one per row), At A, At B, B − A,
// Minimum, Mean, Maximum.
TextTable CursorReadoutTable(const CursorReadout& readout, const std::vector<std::string>& titles);
// One row of that table.
std::vector<TextCell> CursorReadoutCells(const CursorRow& row, const std::string& title);

// A span of seconds as "2 d 03:04:05" ("03:04:05" under a day), negative with a minus sign.
std::string DurationText(int64_t seconds);
