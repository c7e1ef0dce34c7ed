#include "analysis/SeriesRange.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace code;

TEST(TimeRangeTest, WholeSecondsAndWeekdays) {
    EXPECT_EQ(WholeSeconds(At(2024, 3, 11, 9, 30, 0.4)), WholeSeconds(At(2024, 3, 11, 9, 30)));
    EXPECT_EQ(WholeSeconds(At(2024, 3, 11, 9, 30, 0.6)), WholeSeconds(At(2024, 3, 11, 9, 30, 1)));
    EXPECT_EQ(WholeSeconds(NAN), 0);
    EXPECT_EQ(PlainDateTimeText(At(2024, 3, 11, 9, 30, 0.6)), "2024-03-11 09:30:01");
    EXPECT_TRUE(IsWeekend(0)); // 1899-12-30, a Saturday
    for (int day = 9; day <= 17; ++day)
        EXPECT_EQ(IsWeekend(static_cast<int64_t>(At(2024, 3, day))), day % 7 == 2 || day % 7 == 3)
            << day;
    EXPECT_EQ(DayOfSecond(WholeSeconds(At(2024, 3, 11, 23, 59, 59))),
              static_cast<int64_t>(At(2024, 3, 11)));
}

class SeriesRangeTest : public ::testing::Test {
protected:
    // Ten samples a minute apart from 10:00:00.
    LParameter* Historic() {
        return AddHistoric(recording, Rms, Volts, VAN, std::vector<float>(10, 230),
                           At(2024, 3, 11, 10), 60);
    }
    LParameterCollection recording;
};

TEST_F(SeriesRangeTest, NarrowKeepsBothEndsAtWholeSeconds) {
    const LParameter* p = Historic();
    const LParameter* e = AddStamped(recording, ttEvent, 5, Volts, VAN, {1, 2, 3, 4},
                                     {At(2024, 3, 11, 10), At(2024, 3, 11, 10, 0, 30),
                                      At(2024, 3, 11, 10, 1, 0.4), At(2024, 3, 11, 10, 2)});
    struct Case {
        const LParameter* parameter;
        double from, to; // seconds after 10:00
        int32_t first, end;
    } cases[] = {
        {p, 120, 300, 2, 6}, {p, 120.6, 299.4, 3, 5}, {p, 120.4, 300.4, 2, 6},
        {p, -600, -1, 0, 0}, {p, 541, 900, 10, 10},   {p, -1, 1e6, 0, 10},
        {e, 30, 60, 1, 3},   {e, 0.6, 59.4, 1, 2},    {e, 121, 200, 4, 4},
    };
    for (const Case& c : cases) {
        const TimeRange range{At(2024, 3, 11, 10, 0, c.from), At(2024, 3, 11, 10, 0, c.to)};
        const SeriesRange kept = Narrow(WholeSeries(*c.parameter), range);
        EXPECT_EQ(kept.First, c.first) << c.from << ".." << c.to;
        EXPECT_EQ(kept.Count(), c.end - c.first) << c.from << ".." << c.to;
    }
}

TEST_F(SeriesRangeTest, PointAtOrBeforeAndNearest) {
    const SeriesRange all = WholeSeries(*Historic());
    struct Case {
        double at;               // seconds after 10:00
        int atOrBefore, nearest; // -1: none
    } cases[] = {{-5, -1, 0}, {0, 0, 0},    {29, 0, 0},  {30, 0, 0},
                 {31, 0, 1},  {59.6, 1, 1}, {125, 2, 2}, {1000, 9, 9}};
    for (const Case& c : cases) {
        const TDateTime t = At(2024, 3, 11, 10, 0, c.at);
        EXPECT_EQ(PointAtOrBefore(all, t).value_or(-1), c.atOrBefore) << c.at;
        EXPECT_EQ(NearestPoint(all, t).value_or(-1), c.nearest) << c.at;
    }
    EXPECT_FALSE(NearestPoint(Narrow(all, {0, 1}), 0));
}

TEST_F(SeriesRangeTest, SourceSeriesIsTheSubsetCutToThePointsOrTheNextSource) {
    LParameter* p = Historic();
    LParameterSource s(p);
    s.SetSubset(3, 6);
    SeriesRange r = SourceSeries(s);
    EXPECT_EQ(r.First, 3);
    EXPECT_EQ(r.Count(), 4);
    s.SetSubset(8, 20); // beyond the samples the parameter has
    EXPECT_EQ(SourceSeries(s).Count(), 2);

    LParameter* twin = AddStamped(recording, ttIntervalCumulative, Energy, WattHours, ThreePhase,
                                  {5, 6, 7}, {At(2024, 3, 11), At(2024, 3, 12), At(2024, 3, 13)});
    s.Next = std::make_unique<LParameterSource>(twin);
    r = SourceSeries(s);
    EXPECT_EQ(r.Parameter, twin);
    EXPECT_EQ(r.Count(), 3);
    EXPECT_EQ(PointTime(*twin, 1), At(2024, 3, 12));
}

} // namespace
