#pragma once

#include "analysis/Survey.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One side of a comparison: a recording over a range, the survey of that range and the
// figures compared. A full day is a calendar day from 00:00:00 to 24:00 whose every sample
// period holds a finite power sample (EnergyDay::Full), so the partial first and last days
// are left out, and so is every day with a gap.
struct CompareSide {
    std::string File;
    std::optional<TimeRange> Range;
    SurveyResult Survey; // its Power is always set

    double Days = 0; // the days the power samples cover
    int32_t FullDays = 0, FullWeekdays = 0, FullWeekendDays = 0;
    // Calendar days between the first and the last that are not full.
    int32_t GapDays = 0;
    // The energy of each full day, in order.
    std::vector<EnergyDay> FullDayList;
    std::vector<double> WeekdayEnergiesWh, WeekendEnergiesWh;
    // The mean energy of the full days, all of them and apart by stratum.
    std::optional<double> EnergyPerDayWh, WeekdayEnergyWh, WeekendEnergyWh;
    std::optional<TimedValue> Peak;
    // The 5th percentile of the complete block demands: sorted ascending, index
    // round(0.05 (n − 1)).
    std::optional<double> BaseWatts;
    std::optional<double> AverageWatts, LoadFactor;
    // Σ P̄ / Σ √(P̄² + Q̄²) over the blocks, when reactive power was recorded.
    std::optional<double> AveragePowerFactor;
    // With a tariff: the mean energy cost of the full days, the typical month, the energy
    // cost per kWh and the highest month's demand charges (kW or kVA, and reactive).
    std::optional<double> CostPerDay, TypicalMonthCost, EnergyPrice, HighestDemandCharges;

    const PowerSurvey& Power() const { return *Survey.Power; }
};

// The side's survey and figures, the samples in the excluded ranges counting as not measured.
// Raises, naming the side ("Before" or "After") and its file, when the recording has no power
// series, when the range lies outside it or when the range holds no full day.
CompareSide SurveySide(const LParameterCollection& parameters, const std::string& name,
                       const std::string& file, const std::optional<TimeRange>& range,
                       int32_t blockMinutes, const std::optional<Tariff>& tariff,
                       const std::vector<TimeRange>& excluded = {});
