#include "analysis/CursorReadout.h"

#include "analysis/ParallelLoop.h"
#include "analysis/SeriesRange.h"
#include "analysis/SourceStatistics.h"
#include "analysis/TimeRange.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::optional<double> FiniteValue(const SeriesRange& range, std::optional<int32_t> i) {
    float value = 0;
    if (!i || !range.Parameter->GetValue(*i, value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool SameRange(const SeriesRange& x, const SeriesRange& y) {
    return x.Parameter == y.Parameter && x.First == y.First && x.End == y.End;
}

bool SameRange(const std::optional<SeriesRange>& x, const std::optional<SeriesRange>& y) {
    return x.has_value() == y.has_value() && (!x || SameRange(*x, *y));
}

} // namespace

std::optional<double> ValueAtOrBefore(const LParameterSource& source, TDateTime time) {
    const SeriesRange range = SourceSeries(source);
    return FiniteValue(range, PointAtOrBefore(range, time));
}

CursorReadout ReadCursors(const std::vector<const LParameterSource*>& sources,
                          std::optional<TDateTime> a, std::optional<TDateTime> b) {
    CursorReadout out;
    MoveCursors(out, sources, a, b);
    return out;
}

std::vector<bool> MoveCursors(CursorReadout& readout,
                              const std::vector<const LParameterSource*>& sources,
                              std::optional<TDateTime> a, std::optional<TDateTime> b) {
    readout.A = a;
    readout.B = b;
    readout.DeltaSeconds.reset();
    if (a && b)
        readout.DeltaSeconds = WholeSeconds(*b) - WholeSeconds(*a);
    std::optional<TimeRange> between;
    if (a && b)
        between = TimeRange{std::min(*a, *b), std::max(*a, *b)};
    const bool fresh = readout.Sources != sources;
    if (fresh) {
        readout.Sources = sources;
        readout.Rows.assign(sources.size(), CursorRow{});
        for (size_t i = 0; i < sources.size(); ++i)
            readout.Rows[i].Shown.First = -1; // read from nothing yet
    }
    std::vector<char> changed(sources.size(), 0);
    // A row costs a few binary searches when its points stay, and else a step per block of the
    // summary and the two part blocks at the ends. Rows read afresh are shared between the
    // processors, which make the summaries the first time; a move's rows are read on the
    // caller's thread: a thread started at every step of a drag costs more than it saves,
    // waiting for a processor while the window paints.
    ParallelLoop(static_cast<int>(sources.size()), fresh && between ? 0 : 1, [&](int i) {
        const LParameterSource& source = *sources[static_cast<size_t>(i)];
        CursorRow& row = readout.Rows[static_cast<size_t>(i)];
        row.Parameter = source.Parameter;
        if (!source.Parameter)
            return;
        const SeriesRange shown = SourceSeries(source);
        const std::optional<int32_t> atA = a ? PointAtOrBefore(shown, *a) : std::nullopt;
        const std::optional<int32_t> atB = b ? PointAtOrBefore(shown, *b) : std::nullopt;
        std::optional<SeriesRange> inside;
        if (between)
            inside = Narrow(shown, *between);
        const bool same = SameRange(shown, row.Shown);
        if (same && atA == row.PointA && atB == row.PointB && SameRange(inside, row.Between))
            return;
        changed[static_cast<size_t>(i)] = 1;
        if (!same || atA != row.PointA)
            row.AtA = FiniteValue(shown, atA);
        if (!same || atB != row.PointB)
            row.AtB = FiniteValue(shown, atB);
        row.Difference.reset();
        if (row.AtA && row.AtB)
            row.Difference = *row.AtB - *row.AtA;
        if (!same || !SameRange(inside, row.Between)) {
            row.Minimum = row.Mean = row.Maximum = std::nullopt;
            if (inside) {
                const SourceStatistics s = ComputeStatistics(*inside);
                row.Minimum = s.Minimum;
                row.Mean = s.Mean;
                row.Maximum = s.Maximum;
            }
        }
        row.Shown = shown;
        row.PointA = atA;
        row.PointB = atB;
        row.Between = inside;
    });
    return {changed.begin(), changed.end()};
}

TDateTime SnapCursor(const std::vector<const LParameterSource*>& sources, TDateTime time) {
    for (const LParameterSource* source : sources) {
        if (!source->Parameter || source->Parameter->TableType() != ttHistoric)
            continue;
        const SeriesRange range = SourceSeries(*source);
        if (const std::optional<int32_t> i = NearestPoint(range, time))
            return PointTime(*range.Parameter, *i);
    }
    return SecondsToDays(WholeSeconds(time));
}

TextTable CursorReadoutTable(const CursorReadout& readout, const std::vector<std::string>& titles) {
    TextTable table;
    table.Missing.clear();
    using C = TextColumn;
    table.Columns = {C::Texts("Parameter"),    C::Figures("At A"),    C::Figures("At B"),
                     C::Figures("B \u2212 A"), C::Figures("Minimum"), C::Figures("Mean"),
                     C::Figures("Maximum")};
    for (size_t i = 0; i < readout.Rows.size(); ++i)
        table.Rows.push_back(
            CursorReadoutCells(readout.Rows[i], i < titles.size() ? titles[i] : std::string()));
    return table;
}

std::vector<TextCell> CursorReadoutCells(const CursorRow& r, const std::string& title) {
    const auto figure = [](const std::optional<double>& v) {
        return v ? TextCell::Of(*v) : TextCell{};
    };
    return {TextCell::Of(title), figure(r.AtA),  figure(r.AtB),    figure(r.Difference),
            figure(r.Minimum),   figure(r.Mean), figure(r.Maximum)};
}

std::string DurationText(int64_t seconds) {
    const bool negative = seconds < 0;
    const uint64_t s =
        negative ? 0 - static_cast<uint64_t>(seconds) : static_cast<uint64_t>(seconds);
    const uint64_t days = s / 86400, rest = s % 86400;
    char text[48];
    if (days > 0)
        std::snprintf(text, sizeof text, "%s%llu d %02llu:%02llu:%02llu", negative ? "-" : "",
                      static_cast<unsigned long long>(days),
                      static_cast<unsigned long long>(rest / 3600),
                      static_cast<unsigned long long>(rest / 60 % 60),
                      static_cast<unsigned long long>(rest % 60));
    else
        std::snprintf(text, sizeof text, "%s%02llu:%02llu:%02llu", negative ? "-" : "",
                      static_cast<unsigned long long>(rest / 3600),
                      static_cast<unsigned long long>(rest / 60 % 60),
                      static_cast<unsigned long long>(rest % 60));
    return text;
}
