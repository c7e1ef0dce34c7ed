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

std::optional<double> ValueAtOrBefore(const LParameterSource& source, TDateTime time) {
    const SeriesRange range = SourceSeries(source);
    const std::optional<int32_t> i = PointAtOrBefore(range, time);
    float value = 0;
    if (!i || !range.Parameter->GetValue(*i, value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

CursorReadout ReadCursors(const std::vector<const LParameterSource*>& sources,
                          std::optional<TDateTime> a, std::optional<TDateTime> b) {
    CursorReadout out;
    out.A = a;
    out.B = b;
    if (a && b)
        out.DeltaSeconds = WholeSeconds(*b) - WholeSeconds(*a);
    std::optional<TimeRange> between;
    if (a && b)
        between = TimeRange{std::min(*a, *b), std::max(*a, *b)};
    out.Rows.resize(sources.size());
    // The statistics between the cursors cost a step per block and the two part blocks at
    // the ends, once the parameter's summary is made: the rows are shared between the
    // processors, which make the summaries the first time.
    ParallelLoop(static_cast<int>(sources.size()), between ? 0 : 1, [&](int i) {
        const LParameterSource& source = *sources[static_cast<size_t>(i)];
        CursorRow& row = out.Rows[static_cast<size_t>(i)];
        row.Parameter = source.Parameter;
        if (!source.Parameter)
            return;
        if (a)
            row.AtA = ValueAtOrBefore(source, *a);
        if (b)
            row.AtB = ValueAtOrBefore(source, *b);
        if (row.AtA && row.AtB)
            row.Difference = *row.AtB - *row.AtA;
        if (between) {
            const SourceStatistics s = ComputeStatistics(source, between);
            row.Minimum = s.Minimum;
            row.Mean = s.Mean;
            row.Maximum = s.Maximum;
        }
    });
    return out;
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
    const auto figure = [](const std::optional<double>& v) {
        return v ? TextCell::Of(*v) : TextCell{};
    };
    for (size_t i = 0; i < readout.Rows.size(); ++i) {
        const CursorRow& r = readout.Rows[i];
        table.Rows.push_back({TextCell::Of(i < titles.size() ? titles[i] : std::string()),
                              figure(r.AtA), figure(r.AtB), figure(r.Difference), figure(r.Minimum),
                              figure(r.Mean), figure(r.Maximum)});
    }
    return table;
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
