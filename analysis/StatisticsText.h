#pragma once

#include "analysis/SourceStatistics.h"
#include "analysis/TextStyle.h"

#include <string>
#include <vector>

// The Statistics window's columns and their texts, for its grid, its copy and export, and
// vrotool stats: parameter, channel, unit, count, coverage, minimum and its time, maximum and
// its time, mean, std dev, integral with its unit, load factor. A figure that does not apply
// has an empty cell.
const std::vector<std::string>& StatisticsHeader();
// The columns of figures (count to load factor, but not the times of the extremes).
bool IsStatisticsNumberColumn(size_t column);
std::vector<std::string> StatisticsCells(const SourceStatistics& row, const TextStyle& style);

// The header row, then a row per statistics row, as a table copies (TAB) or exports (CSV).
std::string StatisticsText(const std::vector<SourceStatistics>& rows, const TextStyle& style,
                           CellFormat format = CellFormat::Tab);
