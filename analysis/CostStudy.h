#pragma once

#include "analysis/DemandBlocks.h"
#include "analysis/SampledSeries.h"
#include "analysis/Tariff.h"

#include <optional>
#include <string>
#include <vector>

// A calendar month of the recording's own clock.
struct CalendarMonth {
    int32_t Year = 0, Month = 0; // Month 1-12
    // "2024-03"
    std::string Text() const;
    bool operator==(const CalendarMonth&) const = default;
};

// The energy of one period within one month, priced by its tiers in time order.
struct EnergyCharge {
    CalendarMonth Month;
    int32_t Period = 0;
    double EnergyWh = 0;
    double Cost = 0;
};

enum class DemandKind { TimeOfUse, Flat, Reactive };
// "tou", "flat", "reactive"
const char* DemandKindName(DemandKind kind);

// A month's highest block for one demand charge: in W (VA with kVA demand, var for reactive),
// at its block's start. A month recorded in part is charged in full on what was recorded;
// DaysRecorded are the days its power samples cover.
struct DemandCharge {
    CalendarMonth Month;
    DemandKind Kind = DemandKind::Flat;
    std::optional<int32_t> Period; // the time-of-use or flat period; unset for reactive
    TimedValue Demand;
    double Cost = 0;
    double DaysRecorded = 0;
    int32_t DaysInMonth = 0;
};

// Every component of one month.
struct CostMonth {
    CalendarMonth Month;
    double DaysRecorded = 0; // the days its finite power samples cover
    int32_t DaysInMonth = 0;
    double EnergyWh = 0, EnergyCost = 0;
    double DemandCost = 0; // time-of-use and flat, kW or kVA
    double ReactiveCost = 0;
    double FixedCost = 0; // prorated by the days recorded
};

struct CostDay {
    TDateTime Date = 0; // its midnight
    double EnergyCost = 0;
    std::vector<double> PeriodCosts; // of its energy, by energy period
};

// The demand charges with every block capped at the threshold (in the demand's unit).
struct PeakShaving {
    double ThresholdWatts = 0;
    double DemandCost = 0;         // over the recorded period, capped
    double TypicalMonthSaving = 0; // the typical month's demand charges less the capped ones
};

// What the recording's load costs under a tariff, and what a month and a year of it would.
struct CostStudy {
    std::string Tariff; // its title
    std::string Currency;
    bool DemandInKva = false;
    int32_t DemandMinutes = 0;
    double Days = 0; // the days the power samples cover
    // What the tariff charges at all; the texts leave out the charges it does not have.
    int32_t EnergyPeriods = 0, DemandPeriods = 0, FlatDemandPeriods = 0;
    bool ChargesReactive = false, ChargesFixed = false;

    std::vector<CostMonth> Months;
    std::vector<EnergyCharge> Energy;
    std::vector<DemandCharge> Demand;
    std::vector<CostDay> PerDay; // a row per calendar day of the power series

    double EnergyWh = 0;
    double EnergyCost = 0, DemandCost = 0, ReactiveCost = 0, FixedCost = 0, Total = 0;
    std::optional<double> AveragePrice; // Total per kWh, when energy was used
    // Energy cost per day covered × 30.4375 + the highest month's demand charges (kW or kVA,
    // and reactive) + the monthly fixed charge; the year is 12 × that. Unset without days.
    std::optional<double> TypicalMonth, Year;
    std::optional<PeakShaving> Shaving; // with a threshold and a demand charge
    std::vector<std::string> Reasons;   // what could not be charged, and why
};

// A period for a person: "all hours" when the tariff has one period of its kind (the simple
// tariff), else "period 2".
std::string PeriodText(int32_t period, int32_t periods);

// power: the survey's power series; demand: the blocks of the tariff's demand window of the
// power (of the apparent power with kVA demand; null when it was not recorded); reactive: of
// the reactive power (null without it); days: the days the power samples cover.
CostStudy ComputeCost(const Tariff& tariff, const SampledSeries& power, const BlockSeries* demand,
                      const BlockSeries* reactive, double days,
                      std::optional<double> thresholdWatts);

// Where ComputeCost charges a complete demand block that starts at this whole second: its
// month, its time-of-use demand period and its month's flat demand period (−1: none).
struct DemandSlot {
    CalendarMonth Month;
    int32_t TimeOfUse = -1, Flat = -1;
};
DemandSlot DemandSlotAt(const Tariff& tariff, int64_t seconds);
// What a month's highest block (W, or VA) costs under a demand period's tiers, as ComputeCost
// prices it.
double PricedDemand(const TariffTiers& tiers, double watts);
