#include "analysis/Tariff.h"

#include <algorithm>

std::string Tariff::Title() const {
    if (Utility.empty())
        return Name;
    if (Name.empty())
        return Utility;
    return Name + " (" + Utility + ")";
}

double Tariff::MonthlyFixedCharge() const {
    switch (FixedUnit) {
    case FixedChargeUnit::PerDay:
        return FixedCharge * DaysPerMonth;
    case FixedChargeUnit::PerYear:
        return FixedCharge / 12;
    case FixedChargeUnit::PerMonth:
        break;
    }
    return FixedCharge;
}

Tariff SimpleTariff(double energyPerKwh, double demandPerKw, double fixedPerMonth) {
    Tariff t;
    t.Name = "Simple tariff";
    t.EnergyPeriods = {{{energyPerKwh, std::nullopt}}};
    if (demandPerKw != 0)
        t.FlatDemandPeriods = {{{demandPerKw, std::nullopt}}};
    t.FixedCharge = fixedPerMonth;
    return t;
}

double TieredCost(const TariffTiers& tiers, double amount) {
    if (tiers.empty())
        return 0;
    if (amount <= 0)
        return tiers.front().Price * amount;
    double cost = 0, below = 0;
    for (size_t i = 0; i < tiers.size(); ++i) {
        const bool last = i + 1 == tiers.size() || !tiers[i].Max;
        const double top = last ? amount : std::min(amount, *tiers[i].Max);
        if (top > below)
            cost += tiers[i].Price * (top - below);
        if (last || amount <= *tiers[i].Max)
            break;
        below = std::max(below, *tiers[i].Max);
    }
    return cost;
}
