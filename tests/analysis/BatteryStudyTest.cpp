#include "analysis/Survey.h"
#include "analysis/TariffReader.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);

// Four days a minute apart: 20 kW at night, about 50 kW from 8 to 18 h, 90 kW from 14:00 to
// 14:30; a minute of a gap holds no value.
std::vector<float> FourDays(const std::vector<std::pair<int, int>>& gaps = {}) {
    std::vector<float> values;
    for (int minute = 0; minute < 4 * 1440; ++minute) {
        const int m = minute % 1440;
        double w = 20000 + 3000 * std::sin(minute / 53.0);
        if (m >= 8 * 60 && m < 18 * 60)
            w += 30000 + 8000 * std::sin(minute / 17.0);
        if (m >= 14 * 60 && m < 14 * 60 + 30)
            w = 90000;
        values.push_back(static_cast<float>(w));
    }
    for (const auto& [from, to] : gaps)
        std::fill(values.begin() + from, values.begin() + to, NAN);
    return values;
}

struct Simulated {
    double PowerWatts = 0, EnergyWh = 0, DemandWatts = 0;
};

// The battery sample by sample, as a person would work it out: minutes from Monday 0:00.
Simulated Simulate(const std::vector<float>& load, double cap, double efficiency,
                   std::optional<double> limit, uint32_t hours) {
    Simulated s;
    double peak = 0;
    for (const float p : load)
        if (std::isfinite(p))
            peak = std::max(peak, static_cast<double>(p));
    const double charging = limit.value_or(std::max(peak - cap, 0.0));
    double deficit = 0;
    for (size_t k = 0; k < load.size(); ++k) {
        const double p = load[k];
        if (!std::isfinite(p))
            continue;
        if (p > cap) {
            deficit += (p - cap) / 60;
            s.PowerWatts = std::max(s.PowerWatts, p - cap);
        } else if (p < cap && (hours >> (k % 1440 / 60) & 1)) {
            deficit = std::max(0.0, deficit - efficiency * std::min(charging, cap - p) / 60);
        }
        s.EnergyWh = std::max(s.EnergyWh, deficit);
    }
    // Quarter hours of 15 finite samples, each the mean of min(P, cap).
    for (size_t k = 0; k + 15 <= load.size(); k += 15) {
        double sum = 0;
        int finite = 0;
        for (size_t j = k; j < k + 15; ++j)
            if (std::isfinite(load[j]))
                sum += std::min(static_cast<double>(load[j]), cap), ++finite;
        if (finite == 15)
            s.DemandWatts = std::max(s.DemandWatts, sum / 15);
    }
    return s;
}

class BatteryStudyTest : public ::testing::Test {
protected:
    const BatteryStudy& Run(const std::vector<float>& load, TDateTime start = Monday) {
        recording = std::make_unique<LParameterCollection>();
        AddHistoric(*recording, RealPower, Watts, ThreePhase, load, start, 60);
        options.Battery = battery;
        result = RunSurvey(*recording, options);
        return *result.Power->Battery;
    }
    std::unique_ptr<LParameterCollection> recording = std::make_unique<LParameterCollection>();
    BatteryOptions battery;
    SurveyOptions options;
    SurveyResult result;
};

TEST_F(BatteryStudyTest, EachCapAgreesWithAStepByStepSimulation) {
    const struct {
        const char* name;
        double efficiency;
        std::optional<double> limit;
        const char* hours;
        std::vector<std::pair<int, int>> gaps;
    } cases[] = {
        {"defaults", 0.9, std::nullopt, "0-24", {}},
        {"a lossy battery", 0.6, std::nullopt, "0-24", {}},
        {"charging at night only", 0.9, std::nullopt, "22-6", {}},
        {"a charging limit that leaves the battery empty by the next peak", 0.9, 200, "0-24", {}},
        // The night between Monday and Tuesday unrecorded: it neither charges nor ends a peak.
        {"a gap", 0.9, 3000, "0-24", {{17 * 60, 1440 + 9 * 60}}},
    };
    battery.CapsWatts = {95000, 40000, 85000, 55000, 70000};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        battery.Efficiency = c.efficiency;
        battery.ChargingLimitWatts = c.limit;
        battery.ChargingHours = *ParseChargingHours(c.hours);
        const std::vector<float> load = FourDays(c.gaps);
        const BatteryStudy& b = Run(load);
        ASSERT_EQ(b.Rows.size(), 5u);
        EXPECT_EQ(b.BlockMinutes, 15);
        for (size_t i = 0; i < b.Rows.size(); ++i) {
            const BatteryRow& r = b.Rows[i];
            SCOPED_TRACE(r.CapWatts);
            EXPECT_EQ(r.CapWatts, (std::vector<double>{95000, 85000, 70000, 55000, 40000}[i]));
            const Simulated s =
                Simulate(load, r.CapWatts, c.efficiency, c.limit, battery.ChargingHours);
            EXPECT_EQ(r.PowerWatts, s.PowerWatts);
            EXPECT_NEAR(r.EnergyWh, s.EnergyWh, 1e-9 * s.EnergyWh);
            ASSERT_TRUE(r.DemandWatts);
            EXPECT_NEAR(*r.DemandWatts, s.DemandWatts, 1e-9 * s.DemandWatts);
            EXPECT_EQ(r.ChargingWatts, c.limit.value_or(r.PowerWatts));
            EXPECT_FALSE(r.MonthSaving || r.Price || r.PaybackYears); // no tariff, no prices
        }
        // Above the peak no battery is needed and the blocks keep their own demand.
        EXPECT_EQ(b.Rows[0].EnergyWh, 0);
        EXPECT_EQ(b.Rows[0].PowerWatts, 0);
        EXPECT_EQ(*b.Rows[0].DemandWatts, HighestBlock(result.Power->Blocks)->Value);
    }
    // The small charging limit leaves the battery empty by the next peak: the deficit grows
    // from day to day, to far more than one afternoon's.
    battery.ChargingLimitWatts = 200;
    const double starved = Run(FourDays()).Rows[2].EnergyWh;
    battery.ChargingLimitWatts.reset();
    EXPECT_GT(starved, 2 * Run(FourDays()).Rows[2].EnergyWh);
}

TEST_F(BatteryStudyTest, TheSavingAndPaybackAreTheHandComputedOnes) {
    // 10 kW, but from 9:00 5 minutes at 40 kW and 10 at 25 kW: a block of 30 kW. A simple
    // tariff of 10 per kW of the month's highest block; the battery 300 per kWh, 100 per kW.
    std::vector<float> load(2 * 1440, 10000.f);
    std::fill(load.begin() + 9 * 60, load.begin() + 9 * 60 + 5, 40000.f);
    std::fill(load.begin() + 9 * 60 + 5, load.begin() + 9 * 60 + 15, 25000.f);
    options.CostTariff = SimpleTariff(0.1, 10, 0);
    options.ThresholdWatts = 25000;
    battery.CapsWatts = {20000, 30000, 50000};
    battery.PricePerKwh = 300;
    battery.PricePerKw = 100;
    const BatteryStudy& b = Run(load);
    EXPECT_EQ(b.DemandMinutes, 15);
    EXPECT_EQ(b.Currency, "$");
    const struct {
        double cap, power, energy, demand, month, price;
        std::optional<double> payback;
        bool shortest, threshold;
    } expected[] = {
        {50000, 0, 0, 30000, 0, 0, std::nullopt, false, false},
        // min(40, 30) for 5 minutes and 25 for 10: 26.67 kW, 3.33 kW less.
        {30000, 10000, 10 * 5 / 60.0, 80000 / 3.0, 10 * 10 / 3.0, 250 + 1000, 3.125, false, false},
        {25000, 15000, 15 * 5 / 60.0, 25000, 50, 375 + 1500, 3.125, false, true},
        {20000, 20000, (20 * 5 + 5 * 10) / 60.0, 20000, 100, 750 + 2000, 2750 / 1200.0, true,
         false},
    };
    ASSERT_EQ(b.Rows.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const BatteryRow& r = b.Rows[i];
        const auto& e = expected[i];
        SCOPED_TRACE(e.cap);
        EXPECT_EQ(r.CapWatts, e.cap);
        EXPECT_EQ(r.PowerWatts, e.power);
        EXPECT_NEAR(r.EnergyWh, e.energy * 1000, 1e-9);
        EXPECT_NEAR(*r.DemandWatts, e.demand, 1e-9);
        EXPECT_NEAR(*r.MonthSaving, e.month, 1e-9);
        EXPECT_NEAR(*r.YearSaving, 12 * e.month, 1e-9);
        EXPECT_NEAR(*r.Price, e.price, 1e-9);
        EXPECT_EQ(r.PaybackYears.has_value(), e.payback.has_value());
        if (e.payback) {
            EXPECT_NEAR(*r.PaybackYears, *e.payback, 1e-9);
        }
        EXPECT_EQ(r.ShortestPayback, e.shortest);
        EXPECT_EQ(r.Threshold, e.threshold);
    }
    EXPECT_EQ(b.Rows[0].MonthSaving, 0.0); // exactly: the blocks are the cost study's own
    // March alone was recorded.
    EXPECT_EQ(b.MonthsNotSeen, (std::vector<int32_t>{1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

// With every block level, min(P, C) averages to min(mean, C): the battery's saving is the cost
// study's peak shaving at a threshold of C, under a tariff of time-of-use and flat demand in
// tiers and a reactive charge, over two months.
TEST_F(BatteryStudyTest, OnLevelBlocksTheSavingIsTheCostStudysPeakShaving) {
    std::vector<float> load;
    for (int block = 0; block < 50 * 96; ++block)
        load.insert(load.end(), 15,
                    static_cast<float>(20000 + 15000 * std::sin(block / 7.3) +
                                       9000 * std::sin(block / 131.0)));
    AddHistoric(*recording, ReactivePower, Var, ThreePhase, std::vector<float>(load.size(), 4000),
                At(2024, 2, 1), 60);
    options.CostTariff = ReadTariffFile(VRO_TARIFF_EXAMPLE);
    battery.CapsWatts = {40000, 34000, 28000, 24000};
    AddHistoric(*recording, RealPower, Watts, ThreePhase, load, At(2024, 2, 1), 60);
    options.Battery = battery;
    for (const double cap : battery.CapsWatts) {
        SCOPED_TRACE(cap);
        options.ThresholdWatts = cap;
        const SurveyResult r = RunSurvey(*recording, options);
        const PeakShaving& shaving = *r.Power->Cost->Shaving;
        const BatteryRow& row =
            *std::find_if(r.Power->Battery->Rows.begin(), r.Power->Battery->Rows.end(),
                          [&](const BatteryRow& x) { return x.Threshold; });
        EXPECT_EQ(row.CapWatts, cap);
        EXPECT_GT(shaving.TypicalMonthSaving, 0);
        EXPECT_NEAR(*row.MonthSaving, shaving.TypicalMonthSaving, 1e-9);
    }
}

TEST_F(BatteryStudyTest, DefaultCapsRunFromTheHighestBlockToTheAverage) {
    options.ThresholdWatts = 61000;
    const BatteryStudy& b = Run(FourDays());
    ASSERT_EQ(b.Rows.size(), 21u);
    const double top = HighestBlock(result.Power->Blocks)->Value;
    const double average = *result.Power->Totals.AverageWatts;
    EXPECT_EQ(b.Rows.front().CapWatts, top);
    EXPECT_EQ(b.Rows.back().CapWatts, average);
    EXPECT_NEAR(b.Rows[1].CapWatts - b.Rows[2].CapWatts, (top - average) / 19, 1e-6);
    EXPECT_EQ(std::count_if(b.Rows.begin(), b.Rows.end(),
                            [](const BatteryRow& r) { return r.Threshold && r.CapWatts == 61000; }),
              1);
    EXPECT_EQ(b.Reasons, std::vector<std::string>{"Without a tariff the saving is not priced."});
}

TEST(ChargingHoursTest, TextsReadBackToTheirHours) {
    const struct {
        const char* text;
        const char* written; // nullptr: refused
    } cases[] = {
        {"0-24", "0-24"},           {"22-6", "22-6"},  {"0-6,22-24", "22-6"}, {" 7 ", "7-8"},
        {"1-3,12-14", "1-3,12-14"}, {"23", "23-24"},   {"", nullptr},         {"25", nullptr},
        {"3-3", nullptr},           {"24-3", nullptr}, {"a-b", nullptr},      {"1-2,", nullptr},
        {"-1-3", nullptr},          {"2-30", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto hours = ParseChargingHours(c.text);
        ASSERT_EQ(hours.has_value(), c.written != nullptr);
        if (c.written) {
            EXPECT_EQ(ChargingHoursText(*hours), c.written);
        }
    }
    EXPECT_EQ(*ParseChargingHours("22-6"), 0xC0003Fu);
}

} // namespace
