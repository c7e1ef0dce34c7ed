#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One step of a tiered price: the price per kWh (energy) or per kW (demand) up to Max, the
// tier's upper limit in kWh per calendar month or in kW; the last tier has no limit.
struct TariffTier {
    double Price = 0;
    std::optional<double> Max;
};

// A period's tiers, lowest first.
using TariffTiers = std::vector<TariffTier>;

// The period of every hour of the day (0-23) in every month (0-11).
using TariffSchedule = std::array<std::array<int32_t, 24>, 12>;

enum class FixedChargeUnit { PerMonth, PerDay, PerYear };

// What a utility charges: energy by time-of-use period and tier, demand by time-of-use period
// and by month (flat), per kW or kVA of the highest block of the demand window, reactive
// demand per kvar, and a fixed charge. Read from a rate file (ReadTariff) or made of three
// rates (SimpleTariff).
struct Tariff {
    std::string Name, Utility;
    std::string Currency = "$";

    std::vector<TariffTiers> EnergyPeriods;
    TariffSchedule EnergyWeekday{}, EnergyWeekend{};

    std::vector<TariffTiers> DemandPeriods; // time-of-use demand
    TariffSchedule DemandWeekday{}, DemandWeekend{};
    std::vector<TariffTiers> FlatDemandPeriods;
    std::array<int32_t, 12> FlatDemandMonths{};
    bool DemandInKva = false;
    // The demand window in minutes; unset: the survey's blocks.
    std::optional<int32_t> DemandWindowMinutes;

    double FixedCharge = 0;
    FixedChargeUnit FixedUnit = FixedChargeUnit::PerMonth;
    double ReactivePrice = 0; // per kvar of the month's highest reactive demand

    // "Name (Utility)", or the name alone.
    std::string Title() const;
    bool ChargesDemand() const { return !DemandPeriods.empty() || !FlatDemandPeriods.empty(); }
    // The fixed charge of a whole month (a day's × 30.4375, a year's / 12).
    double MonthlyFixedCharge() const;
};

// Days in an average month of the Gregorian calendar.
constexpr double DaysPerMonth = 30.4375;

// Energy at a rate per kWh, demand at a rate per kW of the month's highest block, a fixed
// charge per month.
Tariff SimpleTariff(double energyPerKwh, double demandPerKw, double fixedPerMonth);

// What the tiers charge for an amount counted from 0 (kWh in a month, or kW): each tier's
// price for the part of it that lies in the tier. Below 0 the first tier's price holds, so
// that the cost of amounts from a to b is TieredCost(b) − TieredCost(a) whichever way the
// energy flows.
double TieredCost(const TariffTiers& tiers, double amount);
