#pragma once

#include "analysis/CostStudy.h"
#include "analysis/DemandBlocks.h"
#include "analysis/SampledSeries.h"
#include "analysis/Tariff.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr double DefaultBatteryEfficiency = 0.90;
constexpr int32_t DefaultBatteryCaps = 20;
// Bit h set: charging is allowed from h:00 to h+1:00 of the recording's clock.
constexpr uint32_t AllChargingHours = (1u << 24) - 1;

// What the battery study is asked: the battery and the caps it is to hold the load to.
struct BatteryOptions {
    double Efficiency = DefaultBatteryEfficiency; // round trip, above 0 up to 1
    // The largest charging power; unset: the battery's power (of each cap).
    std::optional<double> ChargingLimitWatts;
    uint32_t ChargingHours = AllChargingHours;
    // What a battery costs per kWh of energy and per kW of power; either may be unset.
    std::optional<double> PricePerKwh, PricePerKw;
    // Empty: DefaultBatteryCaps caps evenly spaced from the highest block's demand down to the
    // average demand.
    std::vector<double> CapsWatts;

    bool operator==(const BatteryOptions&) const = default;
};

// "22-6", "0-24", "1-3,12-14": the runs of hours of a mask, each from its first hour to the
// hour after its last, a run over midnight written as one ("22-6"); "" for none.
std::string ChargingHoursText(uint32_t hours);
// Reads that text back (and single hours, "7", and "24" for midnight's end); unset for
// anything else, or for no hour at all.
std::optional<uint32_t> ParseChargingHours(const std::string& text);

// One cap C. Over the finite power samples P in time order (a sample without a value is left
// out: it ends nothing and charges nothing), the battery gives P − C when P > C and, within
// the charging hours, takes min(limit, C − P) when P < C, storing efficiency × that; its
// deficit starts at 0 (full) and moves by those energies, never below 0.
struct BatteryRow {
    double CapWatts = 0;
    double PowerWatts = 0;    // the largest P − C; 0 when the load never exceeds the cap
    double EnergyWh = 0;      // the largest deficit
    double ChargingWatts = 0; // the charging limit used
    // The highest complete block of the survey's blocks, each the mean of min(P, C).
    std::optional<double> DemandWatts;
    // The tariff's demand charges recomputed on blocks of min(P, C), as the cost study charges
    // them: its typical month's charges less the capped ones, and 12 × that.
    std::optional<double> MonthSaving, YearSaving;
    // With a price: EnergyWh / 1000 × per kWh + PowerWatts / 1000 × per kW; the payback is the
    // price over the yearly saving, when that is above 0.
    std::optional<double> Price, PaybackYears;
    bool ShortestPayback = false; // the first row of the shortest payback
    bool Threshold = false;       // the cap is the survey's peak-shaving threshold
};

struct BatteryStudy {
    BatteryOptions Options;
    int32_t BlockMinutes = 0;  // of DemandWatts
    int32_t DemandMinutes = 0; // of the tariff's demand charges, with a saving
    std::string Currency;      // of the saving and the price (the tariff's; "" without one)
    // A row per cap, the highest cap first; with a threshold above 0, its row among them.
    std::vector<BatteryRow> Rows;
    // The calendar months (1-12) without a finite power sample: a typical month's saving is
    // estimated from the others.
    std::vector<int32_t> MonthsNotSeen;
    std::vector<std::string> Reasons; // why there is no saving or no row
};

// The survey's figures the study rests on.
struct BatteryLoad {
    const SampledSeries& Power;
    const BlockSeries& Blocks; // the survey's blocks of the power
    std::optional<double> AverageWatts;
    std::optional<double> ThresholdWatts;
    // With a tariff: its cost study and the blocks of its demand window of the power (null
    // when it charges demand per kVA, or none).
    const Tariff* CostTariff = nullptr;
    const CostStudy* Cost = nullptr;
    const BlockSeries* Demand = nullptr;
};

// The caps are simulated side by side, a few to a pass over the samples, on up to threads
// threads (0: one per processor).
BatteryStudy ComputeBattery(const BatteryOptions& options, const BatteryLoad& load,
                            int threads = 0);

// "January" … "December".
const char* MonthName(int32_t month);
