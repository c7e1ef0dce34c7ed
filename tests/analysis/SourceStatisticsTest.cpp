#include "analysis/SourceStatistics.h"
#include "analysis/RangeStatistics.h"
#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tests/support/JoinedSeries.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace code;

const TDateTime Start = At(2024, 3, 11, 8);

TDateTime Sample(int k, int rate = 60) {
    return SecondsToDays(WholeSeconds(Start) + int64_t{k} * rate);
}

TEST(SourceStatisticsTest, DefinitionsOverTheValues) {
    struct Case {
        const char* what;
        std::vector<float> values;
        int64_t count, invalid;
        double minimum;
        int minimumAt;
        double maximum;
        int maximumAt;
        double mean, stdDev, first, last;
    } cases[] = {
        {"population std dev", {2, 4, 4, 4, 5, 5, 7, 9}, 8, 0, 2, 0, 9, 7, 5, 2, 2, 9},
        {"NaN and infinities skipped and counted",
         {NAN, 3, INFINITY, 1, -INFINITY, 2, NAN},
         3,
         4,
         1,
         3,
         3,
         1,
         2,
         std::sqrt(2.0 / 3),
         3,
         2},
        {"first of equal extremes",
         {5, 1, 9, 1, 9, 5},
         6,
         0,
         1,
         1,
         9,
         2,
         5,
         std::sqrt(64.0 / 6),
         5,
         5},
        // A large offset loses nothing: the deviations are summed near the mean.
        {"stable",
         {100000, 100002, 100000, 100002},
         4,
         0,
         100000,
         0,
         100002,
         1,
         100001,
         1,
         100000,
         100002},
    };
    for (const Case& c : cases) {
        LParameterCollection recording;
        const LParameter* p = AddHistoric(recording, Rms, Volts, VAN, c.values, Start, 60);
        const SourceStatistics s = ComputeStatistics(*p);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(s.Count, c.count);
        EXPECT_EQ(s.Invalid, c.invalid);
        EXPECT_EQ(s.Expected, c.count + c.invalid);
        EXPECT_DOUBLE_EQ(*s.Coverage, static_cast<double>(c.count) / (c.count + c.invalid));
        EXPECT_EQ(*s.Minimum, c.minimum);
        EXPECT_EQ(s.MinimumTime, Sample(c.minimumAt));
        EXPECT_EQ(*s.Maximum, c.maximum);
        EXPECT_EQ(s.MaximumTime, Sample(c.maximumAt));
        EXPECT_DOUBLE_EQ(*s.Mean, c.mean);
        EXPECT_NEAR(*s.StdDev, c.stdDev, 1e-12);
        EXPECT_EQ(*s.First, c.first);
        EXPECT_EQ(*s.Last, c.last);
        EXPECT_FALSE(s.Integral);
        EXPECT_FALSE(s.LoadFactor);
        EXPECT_EQ(*s.From, Sample(0));
        EXPECT_EQ(*s.To, Sample(static_cast<int>(c.values.size()) - 1));
    }
}

TEST(SourceStatisticsTest, LongSeriesMatchOneValueAtATime) {
    // Across many blocks, with NaNs and a new extreme in a late block.
    std::vector<float> values(5000);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = i % 97 == 13 ? NAN : static_cast<float>(230 + std::sin(i * 0.01) * 5);
    values[4321] = 300;
    values[1234] = 100;
    LParameterCollection recording;
    const SourceStatistics s =
        ComputeStatistics(*AddHistoric(recording, Rms, Volts, VAN, values, Start, 1));
    double n = 0, mean = 0, m2 = 0;
    for (const float v : values)
        if (std::isfinite(v)) {
            const double d = v - mean;
            mean += d / ++n;
            m2 += d * (v - mean);
        }
    EXPECT_EQ(s.Count, static_cast<int64_t>(n));
    EXPECT_NEAR(*s.Mean, mean, 1e-9);
    EXPECT_NEAR(*s.StdDev, std::sqrt(m2 / n), 1e-9);
    EXPECT_EQ(*s.Maximum, 300);
    EXPECT_EQ(s.MaximumTime, Sample(4321, 1));
    EXPECT_EQ(*s.Minimum, 100);
    EXPECT_EQ(s.MinimumTime, Sample(1234, 1));
}

TEST(SourceStatisticsTest, IntegralsAndLoadFactor) {
    struct Case {
        uint8_t quantity, unit, channel;
        std::vector<float> values;
        int rate;
        std::optional<double> integral;
        const char* unitText;
        std::optional<double> loadFactor;
    } cases[] = {
        // A constant 1 000 W for one hour at 15 s: 240 samples.
        {RealPower, Watts, ThreePhase, std::vector<float>(240, 1000), 15, 1000, "WH", 1},
        {RealPower, Watts, PhaseA, {100, 300, 200, 400}, 3600, 1000, "WH", 250.0 / 400},
        {RealPower, Watts, PhaseA, {-100, -300}, 3600, -400, "WH", std::nullopt},
        {ReactivePower, Var, PhaseB, {10, 20}, 1800, 15, "VARH", std::nullopt},
        {ApparentPower, VoltAmperes, ThreePhase, {10, NAN, 20}, 1800, 15, "VAH", std::nullopt},
        {Rms, Amperes, IA, {10, 20}, 1800, std::nullopt, "", std::nullopt},
    };
    for (const Case& c : cases) {
        LParameterCollection recording;
        const SourceStatistics s = ComputeStatistics(
            *AddHistoric(recording, c.quantity, c.unit, c.channel, c.values, Start, c.rate));
        SCOPED_TRACE(c.unitText);
        EXPECT_EQ(s.Integral, c.integral);
        EXPECT_EQ(s.IntegralUnit, c.unitText);
        EXPECT_EQ(s.LoadFactor, c.loadFactor);
    }
    // Energy points of the other types are summed as they are.
    LParameterCollection recording;
    const SourceStatistics energy = ComputeStatistics(
        *AddStamped(recording, ttIntervalCumulative, Energy, WattHours, ThreePhase, {100, 250, NAN},
                    {At(2024, 3, 11), At(2024, 3, 11, 0, 15), At(2024, 3, 11, 0, 30)}));
    EXPECT_EQ(energy.Integral, 350);
    EXPECT_EQ(energy.IntegralUnit, "WH");
    EXPECT_FALSE(energy.LoadFactor);
}

TEST(SourceStatisticsTest, RangesOfTimesSubsetsAndNextSources) {
    LParameterCollection recording;
    // Event points: the range keeps those from 09:00 to 10:00, both included.
    const LParameter* events = AddStamped(recording, ttEvent, 5, Volts, VAN, {240, 250, 245, 260},
                                          {At(2024, 3, 11, 8, 59, 59), At(2024, 3, 11, 9),
                                           At(2024, 3, 11, 10), At(2024, 3, 11, 10, 0, 1)});
    SourceStatistics s =
        ComputeStatistics(*events, TimeRange{At(2024, 3, 11, 9), At(2024, 3, 11, 10)});
    EXPECT_EQ(s.Count, 2);
    EXPECT_EQ(*s.Maximum, 250);
    EXPECT_EQ(*s.From, Second(At(2024, 3, 11, 9)));
    EXPECT_EQ(*s.To, Second(At(2024, 3, 11, 10)));
    s = ComputeStatistics(*events, TimeRange{At(2024, 3, 12), At(2024, 3, 13)});
    EXPECT_EQ(s.Count, 0);
    EXPECT_FALSE(s.Coverage);
    EXPECT_FALSE(s.Minimum);
    EXPECT_FALSE(s.From);

    // A table's subset is the range; a time range narrows it further.
    LParameter* v = AddHistoric(recording, Rms, Volts, VAN, {1, 2, 3, 4, 5, 6, 7, 8}, Start, 60);
    LParameterSource source(v);
    source.SetSubset(2, 5);
    source.Selected = false;
    s = ComputeStatistics(source);
    EXPECT_EQ(s.Count, 4);
    EXPECT_EQ(*s.Mean, 4.5);
    EXPECT_FALSE(s.Visible);
    s = ComputeStatistics(source, TimeRange{Sample(4), Sample(100)});
    EXPECT_EQ(s.Count, 2);
    EXPECT_EQ(*s.First, 5);

    // A cumulative total with its interval twin: the twin's points, the total's name.
    LParameter* total = AddStamped(recording, ttCumulative, Energy, WattHours, ThreePhase, {1000},
                                   {At(2024, 3, 11)});
    LParameter* twin = AddStamped(recording, ttIntervalCumulative, Energy, WattHours, ThreePhase,
                                  {400, 600}, {At(2024, 3, 11), At(2024, 3, 11, 0, 15)});
    LParameterSource cumulative(total);
    cumulative.Next = std::make_unique<LParameterSource>(twin);
    s = ComputeStatistics(cumulative);
    EXPECT_EQ(s.Parameter, total);
    EXPECT_EQ(s.Count, 2);
    EXPECT_EQ(s.Integral, 1000);
}

TEST(SourceStatisticsTest, GroupsInParallelMatchOneByOne) {
    GeneratorOptions o;
    o.historicPoints = 3000;
    o.eventPoints = 50;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    const LParameterSourceGroup& group = db.AllSources();
    group.Items(1)->Selected = false;
    const LParameter& first = *group.Items(0)->Parameter;
    const TimeRange range{first.StartTime() + 0.3, first.StartTime() + 1.2};
    const RangeStatistics all = StatisticsOfGroup(group, range, 2);
    ASSERT_EQ(all.Rows.size(), static_cast<size_t>(group.Count()));
    TDateTime from = 1e9, to = -1e9;
    for (int i = 0; i < group.Count(); ++i) {
        const SourceStatistics one = ComputeStatistics(*group.Items(i), range);
        EXPECT_EQ(all.Rows[i].Parameter, group.Items(i)->Parameter);
        EXPECT_EQ(all.Rows[i].Visible, i != 1);
        EXPECT_EQ(all.Rows[i].Count, one.Count);
        EXPECT_EQ(all.Rows[i].Mean, one.Mean);
        from = std::min(from, one.From.value_or(from));
        to = std::max(to, one.To.value_or(to));
    }
    EXPECT_EQ(*all.From, from);
    EXPECT_EQ(*all.To, to);
    const RangeStatistics recording = StatisticsOfRecording(db.Parameters());
    EXPECT_EQ(recording.Rows.size(), static_cast<size_t>(db.Parameters().Count()));
    EXPECT_EQ(recording.Rows[0].Count, 3000);
}

// Joined recordings with a gap of 37 minutes: its NaN samples are counted as invalid, and
// the coverage is what was recorded of the whole span. A year's last sample is found.
TEST(SourceStatisticsTest, AJoinedRecordingCountsItsGapAsNotCovered) {
    GeneratorOptions o;
    o.entries = {6, 122};
    o.historicPoints = 120;
    o.start = CalendarTime{2026, 3, 2, 0, 0, 0};
    LDatabase db;
    JoinSeries(db, GenerateSeries(o, 2, 37));
    const SourceStatistics s = ComputeStatistics(*db.Parameters().Items(0));
    EXPECT_EQ(s.Count, 240);
    EXPECT_EQ(s.Invalid, 37);
    EXPECT_DOUBLE_EQ(*s.Coverage, 240 / 277.0);
    EXPECT_EQ(*s.Last, db.Parameters().Items(0)->Values()[276]);
    EXPECT_EQ(ComputeStatistics(*db.Parameters().Items(1)).Count, 16);

    JoinedYear(db);
    const LParameter& year = *db.Parameters().Items(0);
    ASSERT_EQ(year.Count(), 525600);
    const SourceStatistics y = ComputeStatistics(year);
    EXPECT_EQ(y.Count, 525600);
    EXPECT_EQ(*y.Last, year.Values()[525599]);
    EXPECT_NEAR(*y.To, At(2025, 12, 31, 23, 59), 1e-3 / SecsPerDay);
}

} // namespace
