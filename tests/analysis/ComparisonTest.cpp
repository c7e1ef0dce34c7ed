#include "analysis/Comparison.h"
#include "analysis/CompareFigure.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tools/RecordingGenerator.h"

#include <boost/math/distributions/students_t.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

namespace {

// 6 000 W (200 V and 10 A on each phase at PF 1) times a day's scale: a full day holds
// 144 000 WH times it.
constexpr double DayWh = 144000;

// Weekday scales whose mean is 1 (variance 0.008 / 9), and the after side's: 0.1 lower with
// half the scatter (variance 0.002 / 9), so that the weekday saving is 14 400 WH, SE² =
// 144 000² × (0.008 + 0.002) / 90 = 480² × 10 and df = 9 × 5² / (4² + 1²) = 225 / 17.
const std::vector<double> BeforeWeekdays = {1.00, 1.04, 0.96, 1.02, 0.98,
                                            1.00, 1.04, 0.96, 1.02, 0.98};
const std::vector<double> AfterWeekdays = {0.90, 0.92, 0.88, 0.91, 0.89,
                                           0.90, 0.92, 0.88, 0.91, 0.89};
// Weekend days alike on both sides: no saving, variance 0.0008 / 3, df 6.
const std::vector<double> WeekendDays = {0.50, 0.52, 0.48, 0.50};

const TDateTime BeforeMonday = At(2024, 3, 4), AfterMonday = At(2024, 4, 1);

// The scale of each day from a Monday on, weekdays and weekend days each in turn; optionally
// a lost hour (NaN) at a time.
std::function<double(double)> Pattern(TDateTime monday, std::vector<double> weekdays,
                                      std::vector<double> weekend,
                                      std::optional<TDateTime> lost = std::nullopt) {
    return [=](double t) -> double {
        if (lost && t >= *lost && t < *lost + 1 / 24.0)
            return NAN;
        const auto day = static_cast<int64_t>(std::floor(t - monday + 1e-9));
        const int64_t week = day / 7, weekday = day % 7;
        if (weekday < 5)
            return weekdays[static_cast<size_t>(week * 5 + weekday) % weekdays.size()];
        return weekend[static_cast<size_t>(week * 2 + weekday - 5) % weekend.size()];
    };
}

class ComparisonTest : public ::testing::Test {
protected:
    // days of 5-minute samples from start's midnight, of the entries (3Ø real power).
    const LParameterCollection& Recording(TDateTime start, int days,
                                          std::function<double(double)> scale,
                                          std::vector<int> entries = {22}) {
        GeneratorOptions o;
        o.entries = std::move(entries);
        o.rate = 5;
        o.historicPoints = days * 288;
        const DateTimeParts p = DecodeDateTime(start);
        o.start = CalendarTime{p.year, p.month, p.day, 0, 0, 0};
        SteadyLoad load;
        load.volts = {200, 200, 200};
        load.scale = std::move(scale);
        o.steady = load;
        auto& db = *databases.emplace_back(std::make_unique<LDatabase>());
        db.New();
        db.Parse(GenerateRecordingBytes(o));
        return db.Parameters();
    }
    const LParameterCollection& Before() {
        return Recording(BeforeMonday, 14, Pattern(BeforeMonday, BeforeWeekdays, WeekendDays));
    }
    std::vector<std::unique_ptr<LDatabase>> databases;
    CompareOptions options;
};

size_t FigureIndex(const std::string& key) {
    const auto& figures = CompareFigures();
    for (size_t i = 0; i < figures.size(); ++i)
        if (figures[i].Key == key)
            return i;
    return figures.size();
}

TEST_F(ComparisonTest, AKnownWeekdaySavingWithItsIntervalByHand) {
    options.CostTariff = SimpleTariff(0.2, 0, 0);
    const LParameterCollection& before = Before();
    const LParameterCollection& after =
        Recording(AfterMonday, 14, Pattern(AfterMonday, AfterWeekdays, WeekendDays));
    const Comparison c = RunComparison(before, after, options);
    EXPECT_EQ(c.Before.FullDays, 14);
    EXPECT_EQ(c.After.FullWeekdays, 10);
    EXPECT_EQ(c.After.FullWeekendDays, 4);
    EXPECT_NEAR(*c.Before.WeekdayEnergyWh, DayWh, 1e-6);
    EXPECT_NEAR(*c.Before.BaseWatts, 2880, 1e-3); // the 5th percentile: a weekend day's 0.48
    const FigureChange& weekday = c.Changes[FigureIndex("weekday_energy_wh")];
    EXPECT_NEAR(*weekday.Difference, -14400, 1e-6);
    EXPECT_NEAR(*weekday.Percent, -10, 1e-9);

    const double t = [](double df) {
        return boost::math::quantile(boost::math::students_t_distribution<double>(df), 0.975);
    }(225 / 17.0);
    const StratumSaving& wd = *c.Saving.Weekday;
    EXPECT_NEAR(wd.DWh, 14400, 1e-6);
    EXPECT_NEAR(wd.SeWh, 480 * std::sqrt(10.0), 1e-6);
    EXPECT_NEAR(wd.Df, 225 / 17.0, 1e-9);
    EXPECT_NEAR(wd.LowWh, 14400 - t * 480 * std::sqrt(10.0), 1e-5);
    EXPECT_NEAR(wd.HighWh, 14400 + t * 480 * std::sqrt(10.0), 1e-5);
    EXPECT_EQ(wd.NBefore, 10);
    const StratumSaving& we = *c.Saving.Weekend;
    EXPECT_NEAR(we.DWh, 0, 1e-6);
    EXPECT_NEAR(we.Df, 6, 1e-9);
    EXPECT_NEAR(we.SeWh * we.SeWh, DayWh * DayWh * 0.0008 / 3 / 2, 1e-3);

    // The year: 365 / 7 × 5 weekdays' saving, SE from both strata, the weekend's 6 degrees.
    const double weeks = 365 / 7.0;
    const double se = weeks * std::sqrt(25 * wd.SeWh * wd.SeWh + 4 * we.SeWh * we.SeWh);
    const double t6 = boost::math::quantile(boost::math::students_t_distribution<double>(6), 0.975);
    EXPECT_NEAR(*c.Saving.YearlyWh, weeks * 5 * 14400, 1e-3);
    EXPECT_NEAR(*c.Saving.YearlySeWh, se, 1e-6);
    EXPECT_EQ(*c.Saving.YearlyDf, we.Df);
    EXPECT_NEAR(*c.Saving.YearlyLowWh, *c.Saving.YearlyWh - t6 * se, 1e-6);
    EXPECT_TRUE(*c.Saving.Significant);
    EXPECT_EQ(SavingVerdictText(c.Saving), "The saving is larger than day-to-day scatter (95 %)");
    EXPECT_TRUE(c.Saving.Reasons.empty());
    // 0.2 a kWh and no demand charge.
    EXPECT_NEAR(*c.Saving.YearlyCost, *c.Saving.YearlyWh / 1000 * 0.2, 1e-6);
    EXPECT_NEAR(*c.Before.CostPerDay, *c.Before.EnergyPerDayWh / 1000 * 0.2, 1e-9);

    // Swapped, the saving is an increase of the same size.
    const Comparison swapped = RunComparison(after, before, options);
    EXPECT_NEAR(*swapped.Saving.YearlyWh, -*c.Saving.YearlyWh, 1e-3);
    EXPECT_EQ(SavingVerdictText(swapped.Saving),
              "The increase is larger than day-to-day scatter (95 %)");
}

TEST_F(ComparisonTest, NoDifferenceButScatterIsNotSignificant) {
    const std::vector<double> reversed(BeforeWeekdays.rbegin(), BeforeWeekdays.rend());
    const Comparison c = RunComparison(
        Before(), Recording(AfterMonday, 14, Pattern(AfterMonday, reversed, WeekendDays)), options);
    EXPECT_NEAR(c.Saving.Weekday->DWh, 0, 1e-6);
    EXPECT_GT(c.Saving.Weekday->SeWh, 0);
    EXPECT_FALSE(*c.Saving.Significant);
    EXPECT_EQ(SavingVerdictText(c.Saving), "The difference is within day-to-day scatter");
}

TEST_F(ComparisonTest, DaysWithGapsAndShortStrataAreLeftOutAndSaid) {
    struct Case {
        const char* what;
        std::optional<TDateTime> lost;
        std::optional<TimeRange> range;
        int32_t weekdays, weekendDays, gapDays;
        bool weekend;
        std::vector<std::string> reasons;
    } cases[] = {
        {"an hour lost on a Wednesday",
         AfterMonday + 2 + 3 / 24.0,
         std::nullopt,
         9,
         4,
         1,
         true,
         {"1 day with gaps left out after"}},
        {"Monday to Saturday",
         std::nullopt,
         TimeRange{AfterMonday, AfterMonday + 6 - 300 / SecsPerDay},
         5,
         1,
         0,
         false,
         {"only one full weekend day after",
          "the yearly saving is the weekdays' alone, over 261 a year"}},
        {"Monday to Friday noon",
         std::nullopt,
         TimeRange{AfterMonday, AfterMonday + 4.5},
         4,
         0,
         0,
         false,
         {"no full weekend day after",
          "the yearly saving is the weekdays' alone, over 261 a year"}},
    };
    const LParameterCollection& before = Before();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        options.AfterRange = k.range;
        const Comparison c = RunComparison(
            before,
            Recording(AfterMonday, 14, Pattern(AfterMonday, AfterWeekdays, WeekendDays, k.lost)),
            options);
        EXPECT_EQ(c.After.FullWeekdays, k.weekdays);
        EXPECT_EQ(c.After.FullWeekendDays, k.weekendDays);
        EXPECT_EQ(c.After.GapDays, k.gapDays);
        EXPECT_EQ(c.Saving.Weekday->NAfter, k.weekdays);
        EXPECT_EQ(c.Saving.Weekend.has_value(), k.weekend);
        EXPECT_EQ(c.Saving.Reasons, k.reasons);
        if (!k.weekend) {
            EXPECT_NEAR(*c.Saving.YearlyWh, 261 * c.Saving.Weekday->DWh, 1e-6);
        }
    }
}

TEST_F(ComparisonTest, TwoRangesOfOneFileAreTwoFilesCutFromIt) {
    // Six weeks: the before pattern in the first two, the after pattern in the last two.
    const auto six = [](double t) {
        return t < AfterMonday ? Pattern(BeforeMonday, BeforeWeekdays, WeekendDays)(t)
                               : Pattern(AfterMonday, AfterWeekdays, WeekendDays)(t);
    };
    const LParameterCollection& whole = Recording(BeforeMonday, 42, six);
    CompareOptions ranges;
    ranges.BeforeRange = TimeRange{BeforeMonday, BeforeMonday + 14 - 300 / SecsPerDay};
    ranges.AfterRange = TimeRange{AfterMonday, AfterMonday + 14 - 300 / SecsPerDay};
    const Comparison one = RunComparison(whole, whole, ranges);
    const Comparison two =
        RunComparison(Recording(BeforeMonday, 14, six), Recording(AfterMonday, 14, six), options);
    for (size_t i = 0; i < CompareFigures().size(); ++i) {
        SCOPED_TRACE(CompareFigures()[i].Key);
        EXPECT_EQ(one.Changes[i].Before, two.Changes[i].Before);
        EXPECT_EQ(one.Changes[i].After, two.Changes[i].After);
    }
    EXPECT_EQ(one.Before.Survey.From, two.Before.Survey.From);
    EXPECT_EQ(one.After.Survey.To, two.After.Survey.To);
    EXPECT_EQ(one.Saving.YearlyWh, two.Saving.YearlyWh);
    EXPECT_EQ(one.Saving.YearlyLowWh, two.Saving.YearlyLowWh);
    EXPECT_NEAR(*one.Saving.YearlyWh, 365 / 7.0 * 5 * 14400, 1e-3);
}

TEST_F(ComparisonTest, SidesThatCannotBeComparedAreRefused) {
    const auto flat = [](double) { return 1.0; };
    struct Case {
        const char* what;
        std::vector<int> entries;
        std::optional<TimeRange> range;
        std::string message;
    } cases[] = {
        {"no power", {6}, std::nullopt, std::string("After: ") + NoPowerText},
        {"a range before the recording",
         {22},
         TimeRange{At(2024, 1, 1), At(2024, 1, 2)},
         "After: The range 2024-01-01 00:00:00 to 2024-01-02 00:00:00 lies outside the "
         "recording (2024-04-01 00:00:00 to 2024-04-02 23:55:00)."},
        {"half a day",
         {22},
         TimeRange{AfterMonday, AfterMonday + 0.5},
         "After: The range holds no full day: every sample period of a day from 00:00:00 to "
         "24:00 must hold a power sample."},
    };
    const LParameterCollection& before = Before();
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        options.AfterRange = k.range;
        const LParameterCollection& after = Recording(AfterMonday, 2, flat, k.entries);
        try {
            RunComparison(before, after, options);
            ADD_FAILURE() << "not refused";
        } catch (const VroError& e) {
            EXPECT_EQ(e.what(), k.message);
        }
    }
}

} // namespace
