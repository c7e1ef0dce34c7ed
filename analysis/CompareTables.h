#pragma once

#include "analysis/Comparison.h"
#include "analysis/TextTable.h"

#include <string>
#include <vector>

// The comparison's tables: the Compare window shows, copies, exports and prints them, and
// the compare report and vrotool compare take them too.

// Figure, Before, After, Change, Change %: the period's ends, then a row per CompareFigures()
// (the peak's time after the peak), its unit in its title.
TextTable CompareSummaryTable(const Comparison& c);
// Saving, 95 % low, 95 % high, SE, df, Days before, Days after: a row per stratum (a day's
// energy), the year's, and the yearly cost saving with a tariff.
TextTable SavingTable(const Comparison& c);
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
