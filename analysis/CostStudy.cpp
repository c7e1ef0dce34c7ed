#include "analysis/CostStudy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

std::string CalendarMonth::Text() const {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d", Year, Month);
    return text;
}

const char* DemandKindName(DemandKind kind) {
    switch (kind) {
    case DemandKind::TimeOfUse:
        return "tou";
    case DemandKind::Reactive:
        return "reactive";
    case DemandKind::Flat:
        break;
    }
    return "flat";
}

namespace {

// The month, hour of day and weekend of a whole second.
struct Clock {
    CalendarMonth Month;
    int32_t Hour = 0;
    bool Weekend = false;
    int64_t Day = 0;
};

// Days change seldom against the samples or blocks that ask: the date is decoded once a day.
class ClockReader {
public:
    Clock At(int64_t seconds) {
        const int64_t day = DayOfSecond(seconds);
        if (!known_ || day != clock_.Day) {
            const DateTimeParts p = DecodeDateTime(static_cast<double>(day));
            clock_.Month = {p.year, p.month};
            clock_.Weekend = IsWeekend(day);
            clock_.Day = day;
            known_ = true;
        }
        clock_.Hour = static_cast<int32_t>((seconds - day * 86400) / 3600);
        return clock_;
    }

private:
    Clock clock_;
    bool known_ = false;
};

// The period of the clock's hour, or -1 when the schedule names none of the periods.
int32_t Scheduled(const TariffSchedule& weekday, const TariffSchedule& weekend, const Clock& c,
                  size_t periods) {
    const int32_t p =
        (c.Weekend ? weekend
                   : weekday)[static_cast<size_t>(c.Month.Month - 1)][static_cast<size_t>(c.Hour)];
    return p >= 0 && static_cast<size_t>(p) < periods ? p : -1;
}

int32_t Key(const CalendarMonth& m) {
    return m.Year * 12 + m.Month - 1;
}

// The highest block of a month for one charge, and the same with blocks capped.
struct Highest {
    std::optional<TimedValue> Block;
    double Capped = 0;
    void Take(const DemandBlock& b, double cap) {
        const double capped = std::min(b.Mean, cap);
        Capped = Block ? std::max(Capped, capped) : capped;
        if (!Block || b.Mean > Block->Value)
            Block = TimedValue{b.Mean, b.StartTime()};
    }
};

struct MonthWork {
    CostMonth Totals;
    int64_t Finite = 0; // power samples
    std::vector<double> EnergyWh, EnergyCost;
    std::vector<bool> Used;
    std::vector<Highest> TimeOfUse;
    Highest Flat, Reactive;
    double CappedDemandCost = 0;
};

double DemandPrice(const TariffTiers& tiers, double watts) {
    return TieredCost(tiers, std::max(watts, 0.0) / 1000);
}

} // namespace

std::string PeriodText(int32_t period, int32_t periods) {
    return periods == 1 ? "all hours" : "period " + std::to_string(period);
}

CostStudy ComputeCost(const Tariff& tariff, const SampledSeries& power, const BlockSeries* demand,
                      const BlockSeries* reactive, double days,
                      std::optional<double> thresholdWatts) {
    CostStudy study;
    study.Tariff = tariff.Title();
    study.Currency = tariff.Currency;
    study.DemandInKva = tariff.DemandInKva;
    study.Days = days;
    study.EnergyPeriods = static_cast<int32_t>(tariff.EnergyPeriods.size());
    study.DemandPeriods = static_cast<int32_t>(tariff.DemandPeriods.size());
    study.FlatDemandPeriods = static_cast<int32_t>(tariff.FlatDemandPeriods.size());
    study.ChargesReactive = tariff.ReactivePrice != 0;
    study.ChargesFixed = tariff.FixedCharge != 0;
    const size_t energyPeriods = tariff.EnergyPeriods.size();
    std::map<int32_t, MonthWork> months;
    auto monthOf = [&](const CalendarMonth& m) -> MonthWork& {
        MonthWork& w = months[Key(m)];
        if (w.Used.empty()) {
            w.Totals.Month = m;
            w.Totals.DaysInMonth = DaysInMonth(m.Year, m.Month);
            w.EnergyWh.assign(energyPeriods, 0);
            w.EnergyCost.assign(energyPeriods, 0);
            w.Used.assign(energyPeriods + 1, false); // one more, so that it is never empty
            w.TimeOfUse.resize(tariff.DemandPeriods.size());
        }
        return w;
    };

    // Energy: the samples of each hour go to the hour's period at once; tiers are priced on
    // the month's energy of the period so far, so a day's cost is what its energy cost.
    ClockReader clock;
    const double hoursPerSample = power.Rate / 3600.0;
    const SampledSeries::SecondsWalk seconds(power);
    int64_t hourStart = 0, hourEnd = 0;
    MonthWork* month = nullptr;
    int32_t period = -1;
    double sum = 0;
    auto flush = [&] {
        const double wh = sum * hoursPerSample;
        sum = 0;
        month->Totals.EnergyWh += wh;
        if (period < 0)
            return;
        const auto p = static_cast<size_t>(period);
        const TariffTiers& tiers = tariff.EnergyPeriods[p];
        const double before = month->EnergyWh[p];
        const double cost =
            TieredCost(tiers, (before + wh) / 1000) - TieredCost(tiers, before / 1000);
        month->EnergyWh[p] = before + wh;
        month->EnergyCost[p] += cost;
        month->Used[p] = true;
        month->Totals.EnergyCost += cost;
        study.PerDay.back().EnergyCost += cost;
        study.PerDay.back().PeriodCosts[p] += cost;
    };
    for (int32_t j = 0; j < power.Count; ++j) {
        const int64_t s = seconds(j);
        if (!month || s >= hourEnd || s < hourStart) {
            if (month)
                flush();
            const Clock c = clock.At(s);
            hourStart = c.Day * 86400 + int64_t{c.Hour} * 3600;
            hourEnd = hourStart + 3600;
            if (study.PerDay.empty() || study.PerDay.back().Date != static_cast<double>(c.Day)) {
                study.PerDay.push_back(
                    {static_cast<double>(c.Day), 0, std::vector<double>(energyPeriods)});
                month = &monthOf(c.Month);
            }
            period = Scheduled(tariff.EnergyWeekday, tariff.EnergyWeekend, c, energyPeriods);
        }
        const float v = power.Values[j];
        if (std::isfinite(v)) {
            sum += v;
            ++month->Finite;
        }
    }
    if (month)
        flush();
    for (auto& entry : months)
        entry.second.Totals.DaysRecorded = CoveredDays(entry.second.Finite, power.Rate);

    // Demand: each month's highest complete block, per time-of-use period and overall.
    const double cap = thresholdWatts.value_or(INFINITY);
    if (tariff.ChargesDemand()) {
        if (!demand) {
            study.Reasons.push_back(
                "The tariff charges demand per kVA and the recording has no apparent power: no "
                "demand charge.");
        } else if (!demand->Refusal.empty()) {
            study.Reasons.push_back(demand->Refusal + " No demand charge.");
        } else {
            study.DemandMinutes = demand->Minutes;
            for (const DemandBlock& b : demand->Blocks) {
                if (!b.Complete)
                    continue;
                const Clock c = clock.At(b.Start);
                MonthWork& w = monthOf(c.Month);
                const int32_t p = Scheduled(tariff.DemandWeekday, tariff.DemandWeekend, c,
                                            tariff.DemandPeriods.size());
                if (p >= 0)
                    w.TimeOfUse[static_cast<size_t>(p)].Take(b, cap);
                w.Flat.Take(b, cap);
            }
        }
    }
    if (tariff.ReactivePrice != 0) {
        if (!reactive)
            study.Reasons.push_back("The tariff charges reactive demand and the recording has no "
                                    "reactive power: no reactive charge.");
        else if (!reactive->Refusal.empty())
            study.Reasons.push_back(reactive->Refusal + " No reactive charge.");
        else
            for (const DemandBlock& b : reactive->Blocks)
                if (b.Complete)
                    monthOf(clock.At(b.Start).Month).Reactive.Take(b, INFINITY);
    }

    double highest = 0, highestCapped = 0;
    bool charged = false;
    for (auto& entry : months) {
        MonthWork& w = entry.second;
        CostMonth& m = w.Totals;
        for (size_t p = 0; p < energyPeriods; ++p)
            if (w.Used[p])
                study.Energy.push_back(
                    {m.Month, static_cast<int32_t>(p), w.EnergyWh[p], w.EnergyCost[p]});
        auto charge = [&](DemandKind kind, std::optional<int32_t> index, const Highest& h,
                          double cost, double capped) {
            study.Demand.push_back(
                {m.Month, kind, index, *h.Block, cost, m.DaysRecorded, m.DaysInMonth});
            (kind == DemandKind::Reactive ? m.ReactiveCost : m.DemandCost) += cost;
            w.CappedDemandCost += capped;
        };
        for (size_t p = 0; p < w.TimeOfUse.size(); ++p) {
            const Highest& h = w.TimeOfUse[p];
            if (h.Block)
                charge(DemandKind::TimeOfUse, static_cast<int32_t>(p), h,
                       DemandPrice(tariff.DemandPeriods[p], h.Block->Value),
                       DemandPrice(tariff.DemandPeriods[p], h.Capped));
        }
        const int32_t flat = tariff.FlatDemandMonths[static_cast<size_t>(m.Month.Month - 1)];
        if (w.Flat.Block && flat >= 0 &&
            static_cast<size_t>(flat) < tariff.FlatDemandPeriods.size()) {
            const TariffTiers& tiers = tariff.FlatDemandPeriods[static_cast<size_t>(flat)];
            charge(DemandKind::Flat, flat, w.Flat, DemandPrice(tiers, w.Flat.Block->Value),
                   DemandPrice(tiers, w.Flat.Capped));
        }
        if (w.Reactive.Block)
            charge(DemandKind::Reactive, std::nullopt, w.Reactive,
                   tariff.ReactivePrice * std::max(w.Reactive.Block->Value, 0.0) / 1000, 0);

        const double share = m.DaysRecorded / m.DaysInMonth;
        m.FixedCost = tariff.FixedUnit == FixedChargeUnit::PerDay
                          ? tariff.FixedCharge * m.DaysRecorded
                          : tariff.MonthlyFixedCharge() * share;

        study.EnergyWh += m.EnergyWh;
        study.EnergyCost += m.EnergyCost;
        study.DemandCost += m.DemandCost;
        study.ReactiveCost += m.ReactiveCost;
        study.FixedCost += m.FixedCost;
        const double charges = m.DemandCost + m.ReactiveCost;
        highest = charged ? std::max(highest, charges) : charges;
        highestCapped = charged ? std::max(highestCapped, w.CappedDemandCost + m.ReactiveCost)
                                : w.CappedDemandCost + m.ReactiveCost;
        charged = true;
        study.Months.push_back(m);
    }
    study.Total = study.EnergyCost + study.DemandCost + study.ReactiveCost + study.FixedCost;
    if (study.EnergyWh > 0)
        study.AveragePrice = study.Total / (study.EnergyWh / 1000);
    if (days > 0) {
        study.TypicalMonth =
            study.EnergyCost / days * DaysPerMonth + highest + tariff.MonthlyFixedCharge();
        study.Year = 12 * *study.TypicalMonth;
    }
    if (thresholdWatts && tariff.ChargesDemand() && demand && demand->Refusal.empty()) {
        PeakShaving& s = study.Shaving.emplace();
        s.ThresholdWatts = *thresholdWatts;
        for (const auto& entry : months)
            s.DemandCost += entry.second.CappedDemandCost;
        s.TypicalMonthSaving = highest - highestCapped;
    }
    return study;
}

DemandSlot DemandSlotAt(const Tariff& tariff, int64_t seconds) {
    ClockReader clock;
    const Clock c = clock.At(seconds);
    DemandSlot slot;
    slot.Month = c.Month;
    slot.TimeOfUse =
        Scheduled(tariff.DemandWeekday, tariff.DemandWeekend, c, tariff.DemandPeriods.size());
    const int32_t flat = tariff.FlatDemandMonths[static_cast<size_t>(c.Month.Month - 1)];
    if (flat >= 0 && static_cast<size_t>(flat) < tariff.FlatDemandPeriods.size())
        slot.Flat = flat;
    return slot;
}

double PricedDemand(const TariffTiers& tiers, double watts) {
    return DemandPrice(tiers, watts);
}
