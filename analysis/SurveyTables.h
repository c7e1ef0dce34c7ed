#pragma once

#include "analysis/Survey.h"
#include "analysis/TextTable.h"

#include <vector>

// The survey's tables: the Survey window shows them, copies and exports them, and prints them;
// the report and the workbook take them too.

// Date, Day ("full" or "partial": a day the recording did not cover whole), Energy (WH),
// Peak (W), Peak time, Base (W), Coverage (%); a row per day.
TextTable EnergyDayTable(const std::vector<EnergyDay>& days);

// Channel, Nominal (V), Blocks, Within ±10 % (%), Within +10 % / −15 % (%), Highest (V),
// Highest time, Lowest (V), Lowest time, Verdict ("pass", "fail", or "no result" without a
// block); a row per voltage channel.
TextTable VoltageTable(const VoltageVariation& voltage);

// What a verdict reads as: "pass", "fail", or "no result" where nothing was measured.
const char* VerdictText(const std::optional<bool>& pass);
