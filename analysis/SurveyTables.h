#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"

#include <string>
#include <vector>

// The survey's tables as rows of cell texts, in the style's number and time formats: the
// Survey window shows them, copies and exports them, and prints them.

// Date, Energy (WH), Peak (W), Peak time, Base (W), Coverage; a row per day.
std::vector<std::string> EnergyDayHeader();
std::vector<std::string> EnergyDayCells(const EnergyDay& day, const TextStyle& style);

// Channel, Nominal (V), Blocks, Within ±10 %, Within +10 % / −15 %, Highest (V), Highest
// time, Lowest (V), Lowest time, Verdict; a row per voltage channel.
std::vector<std::string> VoltageHeader();
std::vector<std::string> VoltageCells(const VoltageChannel& channel, const TextStyle& style);

// Whether a column of these tables holds numbers (aligned to the right).
bool IsEnergyDayNumberColumn(size_t column);
bool IsVoltageNumberColumn(size_t column);

// The header and every row, joined as the format says.
std::string EnergyDaysText(const std::vector<EnergyDay>& days, const TextStyle& style,
                           CellFormat format);
std::string VoltageText(const VoltageVariation& voltage, const TextStyle& style, CellFormat format);
