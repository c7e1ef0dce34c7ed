#include "analysis/Survey.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);

// Samples a minute apart from start to end, valued by the sample's time.
std::vector<float> Minutes(TDateTime start, TDateTime end,
                           const std::function<float(TDateTime)>& value) {
    std::vector<float> values;
    for (TDateTime t = start; WholeSeconds(t) < WholeSeconds(end); t += 60 / SecsPerDay)
        values.push_back(value(t));
    return values;
}

bool Within(TDateTime t, TDateTime from, TDateTime minutes) {
    return WholeSeconds(t) >= WholeSeconds(from) &&
           WholeSeconds(t) < WholeSeconds(from + minutes / 1440);
}

TariffSchedule Every(int32_t period) {
    TariffSchedule s;
    for (auto& month : s)
        month.fill(period);
    return s;
}

// Weekdays from 8 to 20 h are period 1, the rest period 0.
TariffSchedule WeekdayDaytime() {
    TariffSchedule s = Every(0);
    for (auto& month : s)
        for (int h = 8; h < 20; ++h)
            month[static_cast<size_t>(h)] = 1;
    return s;
}

class CostStudyTest : public ::testing::Test {
protected:
    void Power(std::vector<float> values, TDateTime start = Monday) {
        AddHistoric(recording, RealPower, Watts, ThreePhase, std::move(values), start, 60);
    }
    const CostStudy& Run() {
        options.CostTariff = tariff;
        result = RunSurvey(recording, options);
        return *result.Power->Cost;
    }
    LParameterCollection recording;
    Tariff tariff;
    SurveyOptions options;
    SurveyResult result;
};

TEST_F(CostStudyTest, TwoPeriodsShareAConstantLoadByTheirHours) {
    Power(Minutes(Monday, Monday + 7, [](TDateTime) { return 1000.f; }));
    tariff.EnergyPeriods = {{{0.10, std::nullopt}}, {{0.30, std::nullopt}}};
    tariff.EnergyWeekday = WeekdayDaytime();
    tariff.EnergyWeekend = Every(0);
    const CostStudy& c = Run();
    // 5 weekdays × 12 h at the day price, 108 h at the night price.
    ASSERT_EQ(c.Energy.size(), 2u);
    EXPECT_EQ(c.Energy[0].Month.Text(), "2024-03");
    EXPECT_NEAR(c.Energy[0].EnergyWh, 108000, 1e-6);
    EXPECT_NEAR(c.Energy[1].EnergyWh, 60000, 1e-6);
    EXPECT_NEAR(c.Energy[0].Cost, 10.8, 1e-9);
    EXPECT_NEAR(c.Energy[1].Cost, 18, 1e-9);
    EXPECT_NEAR(c.Total, 28.8, 1e-9);
    EXPECT_NEAR(*c.AveragePrice, 28.8 / 168, 1e-12);
    ASSERT_EQ(c.PerDay.size(), 7u);
    EXPECT_NEAR(c.PerDay[0].EnergyCost, 12 * 0.3 + 12 * 0.1, 1e-9);
    EXPECT_EQ(c.PerDay[0].PeriodCosts.size(), 2u);
    EXPECT_NEAR(c.PerDay[0].PeriodCosts[1], 12 * 0.3, 1e-9);
    EXPECT_NEAR(c.PerDay[5].EnergyCost, 2.4, 1e-9); // Saturday
    EXPECT_NEAR(c.PerDay[5].PeriodCosts[0], 2.4, 1e-9);
    EXPECT_EQ(c.Days, 7);
    EXPECT_NEAR(*c.TypicalMonth, 28.8 / 7 * 30.4375, 1e-9);
    EXPECT_NEAR(*c.Year, 12 * *c.TypicalMonth, 1e-9);
    EXPECT_TRUE(c.Demand.empty());
    EXPECT_FALSE(c.Shaving);
}

TEST_F(CostStudyTest, ATierBoundaryCrossedMidMonthPricesEachDayInTimeOrder) {
    Power(Minutes(Monday, Monday + 7, [](TDateTime) { return 1000.f; }));
    tariff.EnergyPeriods = {{{0.10, 100}, {0.20, std::nullopt}}};
    const CostStudy& c = Run();
    EXPECT_NEAR(c.EnergyCost, 100 * 0.1 + 68 * 0.2, 1e-9);
    // 96 kWh in the first four days; Friday crosses 100 kWh after 4 hours.
    EXPECT_NEAR(c.PerDay[3].EnergyCost, 2.4, 1e-9);
    EXPECT_NEAR(c.PerDay[4].EnergyCost, 4 * 0.1 + 20 * 0.2, 1e-9);
    EXPECT_NEAR(c.PerDay[5].EnergyCost, 4.8, 1e-9);
}

TEST_F(CostStudyTest, DemandChargesPickTheRightBlocks) {
    // 1 kW, 5 kW on Monday 9:00-9:15 (day period), 8 kW on Saturday 10:00-10:15 (night
    // period); 2 kvar, 3 kvar on Tuesday 12:00-12:15.
    const TDateTime saturday = Monday + 5;
    Power(Minutes(Monday, Monday + 7, [&](TDateTime t) {
        return Within(t, Monday + 9 / 24.0, 15)      ? 5000.f
               : Within(t, saturday + 10 / 24.0, 15) ? 8000.f
                                                     : 1000.f;
    }));
    AddHistoric(recording, ReactivePower, Var, ThreePhase,
                Minutes(Monday, Monday + 7,
                        [](TDateTime t) { return Within(t, Monday + 1.5, 15) ? 3000.f : 2000.f; }),
                Monday, 60);
    tariff.DemandPeriods = {{{0, std::nullopt}}, {{20, std::nullopt}}};
    tariff.DemandWeekday = WeekdayDaytime();
    tariff.DemandWeekend = Every(0);
    tariff.FlatDemandPeriods = {{{10, 5}, {12, std::nullopt}}};
    tariff.ReactivePrice = 0.5;
    tariff.DemandWindowMinutes = 15;
    const CostStudy& c = Run();
    ASSERT_EQ(c.Demand.size(), 4u);
    const struct {
        DemandKind kind;
        std::optional<int32_t> period;
        double demand;
        TDateTime time;
        double cost;
    } expected[] = {
        {DemandKind::TimeOfUse, 0, 8000, saturday + 10 / 24.0, 0},
        {DemandKind::TimeOfUse, 1, 5000, Monday + 9 / 24.0, 100},
        {DemandKind::Flat, 0, 8000, saturday + 10 / 24.0, 5 * 10 + 3 * 12},
        {DemandKind::Reactive, std::nullopt, 3000, Monday + 1.5, 1.5},
    };
    for (size_t i = 0; i < c.Demand.size(); ++i) {
        SCOPED_TRACE(i);
        const DemandCharge& d = c.Demand[i];
        EXPECT_EQ(d.Kind, expected[i].kind);
        EXPECT_EQ(d.Period, expected[i].period);
        EXPECT_EQ(d.Demand.Value, expected[i].demand);
        EXPECT_EQ(d.Demand.Time, Second(expected[i].time));
        EXPECT_NEAR(d.Cost, expected[i].cost, 1e-9);
    }
    EXPECT_NEAR(c.DemandCost, 186, 1e-9);
    EXPECT_NEAR(c.ReactiveCost, 1.5, 1e-9);
    EXPECT_NEAR(*c.TypicalMonth, 187.5, 1e-9); // no energy price, no fixed charge

    // Capped at 4 kW: 80 for the day period, 40 flat; the reactive charge stays.
    options.ThresholdWatts = 4000;
    const CostStudy& shaved = Run();
    ASSERT_TRUE(shaved.Shaving);
    EXPECT_EQ(shaved.Shaving->ThresholdWatts, 4000);
    EXPECT_NEAR(shaved.Shaving->DemandCost, 120, 1e-9);
    EXPECT_NEAR(shaved.Shaving->TypicalMonthSaving, 66, 1e-9);

    // Per kVA: the apparent power's blocks, and none without it.
    tariff.DemandInKva = true;
    EXPECT_TRUE(Run().Demand.size() == 1 && Run().Demand[0].Kind == DemandKind::Reactive);
    EXPECT_EQ(Run().Reasons, std::vector<std::string>{"The tariff charges demand per kVA and the "
                                                      "recording has no apparent power: no "
                                                      "demand charge."});
    AddHistoric(recording, ApparentPower, VoltAmperes, ThreePhase,
                Minutes(Monday, Monday + 7,
                        [](TDateTime t) { return Within(t, Monday + 2.25, 15) ? 6000.f : 1500.f; }),
                Monday, 60);
    const CostStudy& kva = Run();
    ASSERT_EQ(kva.Demand.size(), 4u);
    EXPECT_EQ(kva.Demand[2].Demand.Value, 6000);
    EXPECT_EQ(kva.Demand[2].Demand.Time, Second(Monday + 2.25));
    EXPECT_NEAR(kva.Demand[2].Cost, 5 * 10 + 12, 1e-9);
}

TEST_F(CostStudyTest, MonthsRecordedInPartAreMarkedAndTheFixedChargeProrated) {
    // 2024-03-25 00:00 to 2024-04-02 12:00: 7 days of March, 2 dates of April.
    const TDateTime from = At(2024, 3, 25), to = At(2024, 4, 2, 12);
    Power(Minutes(from, to,
                  [&](TDateTime t) { return Within(t, At(2024, 4, 1, 3), 15) ? 9000.f : 2000.f; }),
          from);
    tariff.EnergyPeriods = {{{0.1, std::nullopt}}};
    tariff.FlatDemandPeriods = {{{10, std::nullopt}}};
    tariff.FixedCharge = 31;
    const CostStudy& c = Run();
    ASSERT_EQ(c.Months.size(), 2u);
    EXPECT_EQ(c.Months[0].DaysRecorded, 7);
    EXPECT_EQ(c.Months[0].DaysInMonth, 31);
    EXPECT_NEAR(c.Months[0].FixedCost, 7, 1e-12);
    EXPECT_EQ(c.Months[1].Month.Text(), "2024-04");
    EXPECT_EQ(c.Months[1].DaysRecorded, 1.5); // the days its samples cover, not its dates
    EXPECT_NEAR(c.Months[1].FixedCost, 31 * 1.5 / 30.0, 1e-12);
    EXPECT_NEAR(c.Months[0].EnergyWh, 7 * 24 * 2000, 1e-6);
    // Each month charged in full on its own highest block, marked with its days.
    ASSERT_EQ(c.Demand.size(), 2u);
    EXPECT_EQ(c.Demand[0].Demand.Value, 2000);
    EXPECT_EQ(c.Demand[1].Demand.Value, 9000);
    EXPECT_EQ(c.Demand[1].DaysRecorded, 1.5);
    EXPECT_EQ(c.Demand[1].DaysInMonth, 30);
    EXPECT_NEAR(c.Demand[1].Cost, 90, 1e-9);
    EXPECT_NEAR(c.FixedCost, 7 + 31 * 1.5 / 30.0, 1e-12);
    // A typical month: the energy per day, the highest month's demand, the whole fixed charge.
    EXPECT_NEAR(*c.TypicalMonth, c.EnergyCost / 8.5 * 30.4375 + 90 + 31, 1e-9);

    tariff.FixedUnit = FixedChargeUnit::PerDay;
    tariff.FixedCharge = 2;
    EXPECT_NEAR(Run().FixedCost, 17, 1e-12);
}

// A gap (samples not measured, the days between joined downloads) counts for no day: not in
// the typical month, the month's days recorded, the fixed charge nor the study's days.
TEST_F(CostStudyTest, AGapCountsForNoDay) {
    // Four weeks of 1 kW from Monday 2024-03-11 to 2024-04-07, the week from March 21 not
    // measured: 14 days of March and 7 of April covered.
    const TDateTime gap = At(2024, 3, 21);
    Power(Minutes(Monday, Monday + 28, [&](TDateTime t) {
        return WholeSeconds(t) >= WholeSeconds(gap) && WholeSeconds(t) < WholeSeconds(gap + 7)
                   ? NAN
                   : 1000.f;
    }));
    tariff = SimpleTariff(0.1, 0, 31);
    const CostStudy& c = Run();
    EXPECT_EQ(result.Power->Totals.Days, 21);
    EXPECT_EQ(c.Days, 21);
    ASSERT_EQ(c.Months.size(), 2u);
    EXPECT_EQ(c.Months[0].DaysRecorded, 14);
    EXPECT_EQ(c.Months[1].DaysRecorded, 7);
    EXPECT_NEAR(c.FixedCost, 31 * 14 / 31.0 + 31 * 7 / 30.0, 1e-9);
    // 2.40 a day covered: by hand 2.4 × 30.4375 + 31, not over the 28 days of the span.
    EXPECT_NEAR(*c.TypicalMonth, 2.4 * 30.4375 + 31, 1e-9);
    EXPECT_NEAR(*c.Year, 12 * (2.4 * 30.4375 + 31), 1e-9);
}

TEST_F(CostStudyTest, TheSimpleTariff) {
    Power(Minutes(Monday, Monday + 1, [](TDateTime) { return 2000.f; }));
    tariff = SimpleTariff(0.2, 15, 30);
    options.BlockMinutes = 30;
    const CostStudy& c = Run();
    EXPECT_EQ(c.Tariff, "Simple tariff");
    EXPECT_EQ(c.DemandMinutes, 30); // the survey's blocks
    EXPECT_NEAR(c.EnergyCost, 48 * 0.2, 1e-9);
    EXPECT_NEAR(c.DemandCost, 30, 1e-9);
    EXPECT_NEAR(c.FixedCost, 30 / 31.0, 1e-12);
}

} // namespace
