#include "analysis/Survey.h"
#include "analysis/CompareSide.h"
#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tests/support/JoinedSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);

// count samples at rate seconds from start, valued by the sample's time.
std::vector<float> Load(int count, int rate, TDateTime start,
                        const std::function<float(TDateTime)>& value) {
    std::vector<float> values;
    for (int k = 0; k < count; ++k)
        values.push_back(value(start + k * rate / SecsPerDay));
    return values;
}

bool Within(TDateTime t, TDateTime from, TDateTime to) {
    return WholeSeconds(t) >= WholeSeconds(from) && WholeSeconds(t) < WholeSeconds(to);
}

class SurveyTest : public ::testing::Test {
protected:
    LParameter* Power(std::vector<float> values, TDateTime start = Monday, int rate = 60,
                      uint8_t channel = ThreePhase) {
        return AddHistoric(recording, RealPower, Watts, channel, std::move(values), start, rate);
    }
    SurveyResult Run() { return RunSurvey(recording, options); }
    LParameterCollection recording;
    SurveyOptions options;
};

TEST_F(SurveyTest, AConstantLoadWithOneStep) {
    // 1 000 W for two days, 1 500 W from 10:15 to 10:30 on the first.
    const TDateTime stepFrom = Monday + 10.25 / 24, stepTo = Monday + 10.5 / 24;
    const auto step = [&](TDateTime t) { return Within(t, stepFrom, stepTo) ? 1500.f : 1000.f; };
    Power(Load(2880, 60, Monday, step));
    AddHistoric(recording, Rms, Amperes, IA, std::vector<float>(2880, 10), Monday, 60);
    AddHistoric(recording, Rms, Amperes, IB,
                Load(2880, 60, Monday,
                     [&](TDateTime t) { return Within(t, stepFrom, stepTo) ? 30.f : 20.f; }),
                Monday, 60);
    AddHistoric(recording, Rms, Amperes, IN, std::vector<float>(2880, 99), Monday, 60);
    options.RatingAmps = 40;
    SurveyResult r = Run();
    ASSERT_TRUE(r.Power);
    EXPECT_EQ(r.Power->Source, "3Ø");
    EXPECT_EQ(r.Power->Blocks.Complete, 192);
    const LoadStudy& s = r.Power->Load;
    EXPECT_EQ(s.Peak->Value, 1500);
    EXPECT_EQ(s.Peak->Time, Second(stepFrom));
    EXPECT_EQ(*s.DesignWatts, 1875);
    ASSERT_EQ(s.Phases.size(), 2u); // IA and IB; the neutral is left out
    EXPECT_EQ(s.Phases[0].ChannelLabel, "IA");
    EXPECT_EQ(s.Phases[1].Peak->Value, 30);
    EXPECT_EQ(*s.HighestPhase, "IB");
    EXPECT_EQ(*s.DesignAmps, 37.5);
    EXPECT_EQ(*s.HeadroomAmps, 2.5);
    EXPECT_TRUE(*s.Adequate);
    EXPECT_FALSE(s.Valid);
    EXPECT_EQ(s.Reasons,
              std::vector<std::string>{"The recording covers 2.00 days, less than 30 days."});

    options.RatingAmps = 30;
    EXPECT_FALSE(*Run().Power->Load.Adequate);
    options.RatingAmps.reset();
    r = Run();
    EXPECT_FALSE(r.Power->Load.RatingAmps || r.Power->Load.HeadroomAmps || r.Power->Load.Adequate);

    // A NaN in the step's block leaves that block out, and its peak with it.
    LParameter* power = recording.Items(0);
    std::vector<float> values(power->Values(), power->Values() + power->Count());
    values[10 * 60 + 20] = NAN;
    power->SetData(60, power->Index(), nullptr, values.data(), power->Count(), 0, 0);
    r = Run();
    EXPECT_EQ(r.Power->Load.Peak->Value, 1000);
    EXPECT_EQ(r.Power->Load.Peak->Time, Monday);
    EXPECT_EQ(r.Power->Blocks.Partial, 1);
    EXPECT_EQ(r.Power->Load.Reasons.back(), "1 block was incomplete and left out (191 complete).");
}

TEST_F(SurveyTest, TheLoadStudyNeedsThirtyDaysOfFifteenMinuteBlocks) {
    struct Case {
        const char* what;
        int rate, samples, minutes, nanAt;
        bool valid;
        std::vector<std::string> reasons;
    } cases[] = {
        {"30 days", 900, 2880, 15, -1, true, {}},
        {"one block broken",
         900,
         2880,
         15,
         7,
         false,
         {"The recording covers 29.99 days, less than 30 days.",
          "1 block was incomplete and left out (2879 complete)."}},
        {"30-minute blocks",
         900,
         2880,
         30,
         -1,
         false,
         {"The demand interval is 30 min, not 15 min."}},
        {"1 800 s samples",
         1800,
         1440,
         15,
         -1,
         false,
         {"The recording interval (1800 s) is longer than the demand interval (15 min)."}},
        {"29 days",
         900,
         2784,
         15,
         -1,
         false,
         {"The recording covers 29.00 days, less than 30 days."}},
    };
    for (const Case& c : cases) {
        LParameterCollection one;
        std::vector<float> values(static_cast<size_t>(c.samples), 1000);
        if (c.nanAt >= 0)
            values[static_cast<size_t>(c.nanAt)] = NAN;
        AddHistoric(one, RealPower, Watts, ThreePhase, values, Monday, c.rate);
        options.BlockMinutes = c.minutes;
        const SurveyResult r = RunSurvey(one, options);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(r.Power->Load.Valid, c.valid);
        EXPECT_EQ(r.Power->Load.Reasons, c.reasons);
    }
}

TEST_F(SurveyTest, EnergyPerDayAndTotals) {
    // Monday 12:00 to Wednesday 12:00 at 1 000 W, 2 000 W on Tuesday from 10:00 to 11:00, one
    // sample lost on Tuesday at 03:00.
    const TDateTime start = Monday + 0.5, tuesday = Monday + 1;
    std::vector<float> values = Load(2880, 60, start, [&](TDateTime t) {
        return Within(t, tuesday + 10 / 24.0, tuesday + 11 / 24.0) ? 2000.f : 1000.f;
    });
    values[(12 + 3) * 60] = NAN;
    Power(values, start);
    const SurveyResult r = Run();
    const auto& days = r.Power->Days;
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[0].Date, Monday);
    EXPECT_DOUBLE_EQ(days[0].EnergyWh, 12000);
    EXPECT_EQ(days[0].Peak->Time, Second(start));
    // Monday and Wednesday were recorded for half a day each, however complete.
    EXPECT_EQ(days[0].Coverage, 0.5);
    EXPECT_FALSE(days[0].Full());
    EXPECT_DOUBLE_EQ(days[1].EnergyWh, 25000 - 1000 / 60.0);
    EXPECT_EQ(days[1].Peak->Value, 2000);
    EXPECT_EQ(days[1].Peak->Time, Second(tuesday + 10 / 24.0));
    EXPECT_EQ(*days[1].BaseWatts, 1000);
    EXPECT_DOUBLE_EQ(days[1].Coverage, 1439 / 1440.0);
    EXPECT_FALSE(days[1].Full());
    EXPECT_EQ(days[2].Coverage, 0.5);
    EXPECT_EQ(days[2].Samples, 720);

    const EnergyTotals& t = r.Power->Totals;
    EXPECT_DOUBLE_EQ(t.EnergyWh, 49000 - 1000 / 60.0);
    EXPECT_EQ(t.Peak->Value, 2000);
    EXPECT_EQ(*t.BaseWatts, 1000);
    EXPECT_DOUBLE_EQ(*t.AverageWatts, (4 * 2000 + 187 * 1000) / 191.0);
    EXPECT_DOUBLE_EQ(*t.LoadFactor, *t.AverageWatts / 2000);
    EXPECT_DOUBLE_EQ(t.Days, 2879 / 1440.0); // the samples measured, not the span

    // The heat map: a row per day, the block demand per cell, missing blocks empty.
    const HeatMap& map = r.Power->Heat;
    EXPECT_EQ(map.Bins, 96);
    ASSERT_EQ(map.Days.size(), 3u);
    EXPECT_EQ(map.Cell(1, 40), 2000);
    EXPECT_FALSE(map.Cell(1, 12)); // the lost sample's block
    EXPECT_FALSE(map.Cell(0, 0));  // before the recording
    EXPECT_EQ(map.Cell(2, 47), 1000);
    EXPECT_FALSE(map.Cell(2, 48)); // after it
    // No weekend in it: every weekend bin is empty.
    for (const ProfileBin& bin : r.Power->Profile.Weekend)
        EXPECT_TRUE(bin.Blocks == 0 && !bin.Mean && !bin.Minimum && !bin.Maximum);
}

TEST_F(SurveyTest, AWeekSplitsIntoWeekdaysAndWeekend) {
    // Weekdays 1 000 W + 10 W per hour of the day and 100 W more on Wednesday; weekends 500 W.
    Power(Load(7 * 288, 300, Monday,
               [](TDateTime t) {
                   const double day = std::floor(t + 1e-9);
                   if (IsWeekend(static_cast<int64_t>(day)))
                       return 500.f;
                   return static_cast<float>(1000 + 10 * std::floor((t - day) * 24 + 1e-9) +
                                             (day == Monday + 2 ? 100 : 0));
               }),
          Monday, 300);
    const DailyProfile p = Run().Power->Profile;
    ASSERT_EQ(p.Weekday.size(), 96u);
    ASSERT_EQ(p.Weekend.size(), 96u);
    const ProfileBin& ten = p.Weekday[40];
    EXPECT_EQ(ten.StartMinute, 600);
    EXPECT_EQ(ten.Blocks, 5);
    EXPECT_DOUBLE_EQ(*ten.Mean, 1120);
    EXPECT_EQ(*ten.Minimum, 1100);
    EXPECT_EQ(*ten.Maximum, 1200);
    EXPECT_EQ(p.Weekend[40].Blocks, 2);
    EXPECT_EQ(*p.Weekend[40].Mean, 500);
    EXPECT_EQ(BinStartText(p.Weekday[95].StartMinute), "23:45");
}

TEST_F(SurveyTest, LoadDurationAndTheEnergyAboveAThreshold) {
    // Nine blocks of 100 to 900 W, out of order.
    Power({300, 900, 100, 700, 500, 200, 800, 400, 600}, Monday, 900);
    options.ThresholdWatts = 650;
    LoadDuration d = Run().Power->Duration;
    EXPECT_EQ(d.Sorted, (std::vector<double>{900, 800, 700, 600, 500, 400, 300, 200, 100}));
    // Index round(p / 100 × 8) for p = 0, 1, 5, 10, 25, 50, 75, 90, 95, 99, 100.
    const std::vector<std::optional<double>> expected = {900, 900, 900, 800, 700, 500,
                                                         300, 200, 100, 100, 100};
    EXPECT_EQ(d.Watts, expected);
    EXPECT_EQ(*d.HoursAbove, 0.75);
    EXPECT_EQ(*d.EnergyAboveWh, (50 + 150 + 250) * 0.25);
    options.ThresholdWatts.reset();
    d = Run().Power->Duration;
    EXPECT_FALSE(d.ThresholdWatts || d.HoursAbove || d.EnergyAboveWh);
}

TEST_F(SurveyTest, WithoutThreePhasePowerThePhasesAreSummed) {
    std::vector<float> b(120, 200);
    b[50] = NAN;
    Power(std::vector<float>(120, 100), Monday, 60, PhaseA);
    Power(b, Monday, 60, PhaseB);
    EXPECT_FALSE(Run().Power) << "two phases are not a power series";
    Power(std::vector<float>(120, 300), Monday, 60, PhaseC);
    SurveyResult r = Run();
    ASSERT_TRUE(r.Power);
    EXPECT_EQ(r.Power->Source, "ØA+ØB+ØC");
    EXPECT_EQ(r.Power->Load.Peak->Value, 600);
    EXPECT_EQ(r.Power->Blocks.Partial, 1); // the block of the NaN
    EXPECT_DOUBLE_EQ(r.Power->Totals.EnergyWh, 119 * 600 / 60.0);

    Power(std::vector<float>(120, 42), Monday, 60, ThreePhase);
    r = Run();
    EXPECT_EQ(r.Power->Source, "3Ø");
    EXPECT_EQ(r.Power->Load.Peak->Value, 42);

    // A time range keeps only its samples.
    options.Range = TimeRange{Monday + 1 / 24.0, Monday + 1};
    r = Run();
    EXPECT_EQ(r.Power->Blocks.Complete, 4);
    EXPECT_EQ(*r.From, Second(Monday + 1 / 24.0));
}

TEST_F(SurveyTest, NoPowerAndNoVoltage) {
    AddHistoric(recording, Rms, Amperes, IA, std::vector<float>(100, 10), Monday, 60);
    const SurveyResult r = Run();
    EXPECT_FALSE(r.Power);
    EXPECT_FALSE(r.Voltage);
    EXPECT_FALSE(r.From);
}

// A day of 3Ø power and currents, then a gap of a day, ten hours and seven minutes, then
// another day: the gap's blocks are partial and its day has no row.
TEST(JoinedSurveyTest, AGapsBlocksArePartialAndItsDaysLeftOut) {
    GeneratorOptions o;
    o.entries = {13, 14, 15, 22};
    o.historicPoints = 1440;
    o.start = CalendarTime{2026, 3, 2, 0, 0, 0};
    GeneratedRecording before = GenerateRecording(o);
    o.start = CalendarTime{2026, 3, 4, 10, 7, 0};
    GeneratedRecording after = GenerateRecording(o);
    LDatabase db;
    JoinSeries(db, {before, after});
    ASSERT_EQ(db.Parameters().Items(3)->Count(), 2880 + 607 + 1440);

    const SurveyResult r = RunSurvey(db.Parameters(), SurveyOptions{});
    ASSERT_TRUE(r.Power);
    // 96 blocks on the first day, 95 from 10:15 to 10:00 the day after; 136 in the gap and
    // the two from 10:00 on either day partial.
    EXPECT_EQ(r.Power->Blocks.Complete, 96 + 95);
    EXPECT_EQ(r.Power->Blocks.Partial, 138);
    EXPECT_EQ(r.Power->Blocks.Blocks[96 + 136].Finite, 8);
    EXPECT_EQ(r.Power->Load.Reasons.back(),
              "138 blocks were incomplete and left out (191 complete).");
    EXPECT_EQ(r.Power->Load.Phases.size(), 3u);
    const std::vector<EnergyDay>& days = r.Power->Days;
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[0].Date, At(2026, 3, 2));
    EXPECT_EQ(days[1].Date, At(2026, 3, 4));
    EXPECT_DOUBLE_EQ(days[1].Coverage, 833 / 1440.0);
    EXPECT_DOUBLE_EQ(days[2].Coverage, 607 / 1440.0); // to 10:06
    EXPECT_EQ(r.Power->Heat.Days.size(), 3u);
    EXPECT_EQ(*r.From, At(2026, 3, 2));
    EXPECT_EQ(*r.To, At(2026, 3, 5, 10, 6));

    // Two days measured, not the three and a half the downloads span: the typical month, the
    // days and a comparison's side count those two.
    EXPECT_EQ(r.Power->Totals.Days, 2);
    const Tariff tariff = SimpleTariff(0.1, 0, 0);
    SurveyOptions priced;
    priced.CostTariff = tariff;
    const SurveyResult cost = RunSurvey(db.Parameters(), priced);
    const double perDay = cost.Power->Totals.EnergyWh / 1000 * 0.1 / 2;
    EXPECT_NEAR(*cost.Power->Cost->TypicalMonth, perDay * 30.4375, 1e-9);
    const CompareSide side = SurveySide(db.Parameters(), "Before", "", std::nullopt, 15, tariff);
    EXPECT_EQ(side.Days, 2);
    EXPECT_NEAR(*side.TypicalMonthCost, perDay * 30.4375, 1e-9);
}

// 525 600 one-minute samples of 89 parameters: a year of 15-minute blocks, every day.
TEST(JoinedSurveyTest, AYearOfOneMinuteSamples) {
    LDatabase db;
    JoinedYear(db);
    const SurveyResult r = RunSurvey(db.Parameters(), SurveyOptions{});
    ASSERT_TRUE(r.Power);
    EXPECT_EQ(r.Power->Blocks.Complete, 365 * 96);
    EXPECT_EQ(r.Power->Blocks.Partial, 0);
    EXPECT_EQ(r.Power->Days.size(), 365u);
    EXPECT_TRUE(r.Power->Load.Valid);
    ASSERT_TRUE(r.Voltage);
    EXPECT_EQ(r.Voltage->Channels[0].Blocks.Complete, 365 * 144);
}

} // namespace
