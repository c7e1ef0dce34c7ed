#pragma once

#include "analysis/Survey.h"
#include "analysis/TextTable.h"

#include <vector>

// The survey's tables: the Survey window shows them, copies and exports them, and prints them;
// the report and the workbook take them too.

// Date, Day ("full" or "partial": a day the recording did not cover whole), Energy (WH),
// Peak (W), Peak time, Base (W), Coverage (%), and with a cost the Energy cost (in its
// currency); a row per day.
TextTable EnergyDayTable(const std::vector<EnergyDay>& days, const CostStudy* cost = nullptr);

// The days by calendar month: Month ("2024-03"), Days (the days the power samples cover),
// Full days, Energy (WH), Peak (W), Peak time, and with a cost the Energy cost; a row per month
// with a day, as a year's days are read on paper.
TextTable EnergyMonthTable(const std::vector<EnergyDay>& days, const CostStudy* cost = nullptr);

// What the load cost: Month, Charge, Period, Amount (kWh, W, VA or var, in a column of its
// own), Time (a demand's block), Days recorded, Days in month, Cost (in the currency). Per
// month a row per energy period, per demand charge, the fixed charge and the month's total;
// then the recorded period's ("all") energy, demand, reactive demand, fixed charge, total and
// average price (per kWh), the typical month and year (Days recorded: the days they are
// estimated from), and with a threshold the peak shaving's capped demand charges and saving.
TextTable CostTable(const CostStudy& cost);

// Figure, Value (its unit in a column of its own), Time: the target, blocks, average, share
// below the target, lowest PF, the Qc figures, the bank with its fixed part and steps, the
// apparent power and current at the peak, and with correction whether the bank pays on the
// tariff, its yearly saving, price and payback.
TextTable PowerFactorTable(const PowerFactorCorrection& pf,
                           const CorrectionSaving* correction = nullptr);

// What the power factor's page and section say above their table: the study's reasons, then
// why its bank does not pay or is not decided, when that is not among them.
std::vector<std::string> PowerFactorNotes(const PowerSurvey& power);

// Quantity ("Voltage", "Current"), Channels, Block minutes, Blocks, Light-load blocks,
// Largest (%), Largest time, 95 % (%), Mean (%), Within 2 % (%), Verdict (voltage: "pass",
// "fail" or "no result"), Deviating most (current); a row for each that was computed.
TextTable UnbalanceTable(const UnbalanceStudy& unbalance);

// Channel, Nominal (V), Blocks, Within ±10 % (%), Within +10 % / −15 % (%), Highest (V),
// Highest time, Lowest (V), Lowest time, Verdict ("pass", "fail", or "no result" without a
// block); a row per voltage channel.
TextTable VoltageTable(const VoltageVariation& voltage);

// Cap, Battery power, Battery energy, Demand after shaving (the highest block's), Saving a
// month, Saving a year, Price, Payback (years), Mark ("shortest payback", "threshold"); a row
// per cap, the highest first.
TextTable BatteryTable(const BatteryStudy& battery);

// What a verdict reads as: "pass", "fail", or "no result" where nothing was measured.
const char* VerdictText(const std::optional<bool>& pass);
