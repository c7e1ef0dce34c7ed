#pragma once

#include "tests/tables/TablesTestSupport.h"
#include "windows/charts/TChartForm.h"

#include <initializer_list>
#include <memory>

// A window on a new chart of the database's parameters at these positions, made as the
// Create chart command makes it.
std::unique_ptr<TChartForm> NewChart(LDatabase& db, std::initializer_list<int> parameters);

// The position in the chart of the first source with a parameter of the unit, or -1.
int SeriesOfUnit(const TChartForm& form, uint8_t unit);
