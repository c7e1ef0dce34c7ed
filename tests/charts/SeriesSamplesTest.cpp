#include "charts/SeriesSamples.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "tests/tables/TablesTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The samples a chart draws are the source's view, cut to the points the parameter has; a
// Historic parameter's times are made once and shared.
TEST(SeriesSamplesTest, ViewsAreCutToThePointsAndHistoricTimesAreShared) {
    LDatabase db;
    ParseRecording(db, {HistoricV1, HistoricI1, EventVoltageMaxV1}, 10, 4);
    LParameterSourceGroup group(&db.Header());
    auto add = [&](int i) {
        return group.Add(std::make_unique<LParameterSource>(db.Parameters().Items(i)));
    };
    add(0)->SetSubset(2, 5);
    add(1)->SetSubset(7, 30); // beyond the 10 samples the parameter has
    add(0);
    add(2);
    const SeriesSamples samples(group);
    const LParameter& v1 = *db.Parameters().Items(0);

    const SampleSpan& a = samples.Samples(0);
    ASSERT_EQ(a.Values.size(), 4u);
    EXPECT_EQ(a.Values.data(), v1.Values() + 2);
    EXPECT_EQ(a.Times[0], v1.StartTime() + IntervalsToDays(2, v1.Rate()));
    EXPECT_EQ(a.ViewOffset, 0);
    EXPECT_EQ(samples.Samples(1).Values.size(), 3u);
    EXPECT_EQ(samples.Samples(2).Values.size(), 10u);
    EXPECT_EQ(samples.Samples(2).Times.data() + 2, a.Times.data());

    const LParameter& event = *db.Parameters().Items(2);
    EXPECT_EQ(samples.Samples(3).Times.data(), event.Times());
    EXPECT_EQ(samples.Samples(3).Values.size(), 4u);
}

TEST(SeriesSamplesTest, ADamagedRangeBeforeTheFirstPointKeepsTheViewIndices) {
    LDatabase db;
    ParseRecording(db, {HistoricV1}, 10);
    LParameterSource source(db.Parameters().Items(0));
    source.SubsetActive = true;
    source.First = -3;
    source.Last = 4;
    EXPECT_EQ(SeriesSamples::ParameterRange(source), std::make_pair(0, 5));
    LParameterSourceGroup group(&db.Header());
    group.Add(std::make_unique<LParameterSource>(source));
    EXPECT_EQ(SeriesSamples(group).Samples(0).ViewOffset, 3);
}

} // namespace
