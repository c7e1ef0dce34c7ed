#include "analysis/StatisticsText.h"

#include "model/LParameter.h"

namespace {

std::string Optional(const std::optional<double>& value, const TextStyle& style, int decimals = 2) {
    return value ? style.Number(*value, decimals) : std::string();
}

} // namespace

const std::vector<std::string>& StatisticsHeader() {
    static const std::vector<std::string> header = {
        "Parameter", "Channel",         "Unit",       "Count",           "Coverage",
        "Minimum",   "Time of minimum", "Maximum",    "Time of maximum", "Mean",
        "Std dev",   "Integral",        "Load factor"};
    return header;
}

bool IsStatisticsNumberColumn(size_t column) {
    // Parameter, channel and unit come first; the extremes' times follow their values.
    return column >= 3 && column != 6 && column != 8;
}

std::vector<std::string> StatisticsCells(const SourceStatistics& row, const TextStyle& style) {
    std::vector<std::string> cells;
    cells.reserve(StatisticsHeader().size());
    const LParameter* p = row.Parameter;
    cells.push_back(p ? p->Name() : std::string());
    cells.push_back(p ? p->ChannelLabel() : std::string());
    cells.push_back(p ? p->ShortUnit() : std::string());
    cells.push_back(style.Whole(row.Count));
    cells.push_back(row.Coverage ? style.Number(*row.Coverage * 100) + " %" : std::string());
    cells.push_back(Optional(row.Minimum, style));
    cells.push_back(row.Minimum ? style.Time(row.MinimumTime) : std::string());
    cells.push_back(Optional(row.Maximum, style));
    cells.push_back(row.Maximum ? style.Time(row.MaximumTime) : std::string());
    cells.push_back(Optional(row.Mean, style));
    cells.push_back(Optional(row.StdDev, style));
    cells.push_back(row.Integral ? style.Number(*row.Integral) + " " + row.IntegralUnit
                                 : std::string());
    cells.push_back(Optional(row.LoadFactor, style, 3));
    return cells;
}

std::string StatisticsText(const std::vector<SourceStatistics>& rows, const TextStyle& style,
                           CellFormat format) {
    std::string text;
    AppendRow(text, StatisticsHeader(), format);
    for (const SourceStatistics& row : rows)
        AppendRow(text, StatisticsCells(row, style), format);
    return text;
}
