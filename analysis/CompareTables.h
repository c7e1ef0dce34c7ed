#pragma once

#include "analysis/Comparison.h"
#include "analysis/TextTable.h"

#include <string>
#include <vector>

// The comparison's tables: the Compare window shows, copies, exports and prints them, and
// the compare report and vrotool compare take them too.

// How a table gives its powers and energies: in the base unit in the row's title, as files and
// the grids take them, or for a person to read (the pictures and the report), each figure in
// its scaled unit after it ("444.74 kWh").
enum class CompareUnits { InTitles, ForPeople };

// Figure, Before, After, Change, Change %: the period's ends, then a row per CompareFigures()
// (the peak's time after the peak).
TextTable CompareSummaryTable(const Comparison& c, CompareUnits units = CompareUnits::InTitles);
// Saving, 95 % low, 95 % high, SE, df, Days before, Days after: a row per stratum (a day's
// energy), the year's, and the yearly cost saving with a tariff.
TextTable SavingTable(const Comparison& c, CompareUnits units = CompareUnits::InTitles);
// The verdict, the reasons, and the limits of the comparison.
std::vector<std::string> CompareNotes(const Comparison& c);
// The Summary page as text: both tables (TAB-separated) and the notes.
std::string CompareSummaryText(const Comparison& c, const TextStyle& style);

// Time of day, the weekday and weekend mean of each side (W): a row per bin.
TextTable CompareProfileTable(const Comparison& c);
// Side, Date, Day ("weekday" or "weekend"), Energy (WH): a row per full day of each side.
TextTable CompareEnergyTable(const Comparison& c);
// Share of time (%) from 0 to 100, the demand each side reaches or exceeds then (W).
TextTable CompareDurationTable(const Comparison& c);
