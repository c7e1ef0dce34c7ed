#pragma once

#include "analysis/SourceStatistics.h"
#include "analysis/TextTable.h"

#include <vector>

// The Statistics window's table, for its grid, its copy and export, the workbook and vrotool
// stats: parameter, channel, unit, count, coverage (%), minimum and its time, maximum and its
// time, mean, std dev, integral with its own unit, load factor; a row per statistics row. A
// figure that does not apply has an empty cell.
TextTable StatisticsTable(const std::vector<SourceStatistics>& rows);
