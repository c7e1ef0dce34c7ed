#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/LParameterCollection.h"
#include "model/LParameterSourceGroup.h"
#include "tests/support/ErrorReportSpy.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int HistoricVAN = 6;
constexpr int EventVANMax = 47;
constexpr int CumulativeVANAvg = 98;
constexpr int IntervalEventVANMax = 122;
constexpr double Start = 45000.0;
constexpr int32_t Rate = 60;

double Periods(double n) {
    return Start + n * Rate / 86400.0;
}

class SourcesTest : public ::testing::Test {
protected:
    LParameter* Add(int index, std::vector<float> values, std::vector<double> times = {}) {
        auto p = std::make_unique<LParameter>();
        p->SetData(Rate, index, times.data(), values.data(), static_cast<int32_t>(values.size()), 0,
                   0);
        p->SetStartTime(Start);
        p->SetId(parameters.NewId());
        return parameters.Add(std::move(p));
    }
    LParameterCollection parameters;
};

TEST_F(SourcesTest, ConstructionAndCopy) {
    LParameter* p = Add(HistoricVAN, {1, 2, 3});
    LParameterSource s(p);
    EXPECT_TRUE(s.Selected);
    EXPECT_TRUE(s.HasData);
    EXPECT_FALSE(s.SubsetActive);
    EXPECT_EQ(s.GetCount(), 3);
    EXPECT_EQ(s.Label(), "RMS Voltage - VAN");

    s.Selected = false;
    s.SetSubset(1, 2);
    s.Next = std::make_unique<LParameterSource>(p);
    LParameterSource copy(s);
    EXPECT_FALSE(copy.Selected);
    EXPECT_TRUE(copy.SubsetActive);
    EXPECT_EQ(copy.First, 1);
    EXPECT_EQ(copy.Last, 2);
    EXPECT_EQ(copy.Next, nullptr);

    LParameterSource empty(Add(HistoricVAN, {}));
    EXPECT_FALSE(empty.HasData);
    EXPECT_EQ(empty.GetCount(), 0);
    float v;
    TDateTime t;
    EXPECT_FALSE(empty.GetFirst(v, t));
    EXPECT_FALSE(empty.GetLast(v, t));
}

TEST_F(SourcesTest, HistoricSubsetIsTakenAsGiven) {
    LParameterSource s(Add(HistoricVAN, {10, 11, 12, 13, 14}));
    s.SetSubset(0, 4);
    EXPECT_TRUE(s.SubsetActive);
    EXPECT_EQ(s.GetCount(), 5);
    s.SetSubset(0, 5); // to equal to the count reads as "everything"
    EXPECT_FALSE(s.SubsetActive);
    EXPECT_EQ(s.GetCount(), 5);

    s.SetSubset(1, 3);
    float v;
    TDateTime t;
    ASSERT_TRUE(s.GetFirst(v, t));
    EXPECT_EQ(v, 11);
    EXPECT_DOUBLE_EQ(t, Periods(1));
    ASSERT_TRUE(s.GetLast(v, t));
    EXPECT_EQ(v, 13);
    EXPECT_FALSE(s.GetPoint(3, v, t)); // outside the view

    // Not clipped to the series: the points past its end simply are not there.
    s.SetSubset(3, 9);
    EXPECT_EQ(s.GetCount(), 7);
    EXPECT_TRUE(s.GetPoint(1, v, t));
    EXPECT_FALSE(s.GetPoint(2, v, t));
    EXPECT_FALSE(s.GetLast(v, t));
}

TEST_F(SourcesTest, EventSubsetMapsTimesToPeriods) {
    // Points at 0.5, 2.5, 4, 7.9 and 9 periods after the start.
    LParameterSource s(Add(EventVANMax, {1, 2, 3, 4, 5},
                           {Periods(0.5), Periods(2.5), Periods(4), Periods(7.9), Periods(9)}));
    s.SetSubset(2, 7);
    EXPECT_TRUE(s.HasData);
    EXPECT_EQ(s.First, 1); // period 2 (2.5 truncated)
    EXPECT_EQ(s.Last, 3);  // period 7 (7.9 truncated)
    EXPECT_EQ(s.GetCount(), 3);
    float v;
    TDateTime t;
    ASSERT_TRUE(s.GetFirst(v, t));
    EXPECT_EQ(v, 2);
    EXPECT_EQ(t, Periods(2.5));

    s.SetSubset(10, 20); // all points before the range
    EXPECT_FALSE(s.HasData);
    EXPECT_EQ(s.GetCount(), 0);
    s.SetSubset(5, 6); // points on both sides, none inside
    EXPECT_TRUE(s.HasData);
    EXPECT_EQ(s.First, s.Last + 1);
    EXPECT_EQ(s.GetCount(), 0);
    EXPECT_FALSE(s.GetFirst(v, t));
    EXPECT_FALSE(s.GetLast(v, t));

    LParameterSource interval(Add(IntervalEventVANMax, {1}, {Periods(3.5)}));
    interval.SetSubset(0, 2);
    EXPECT_FALSE(interval.HasData);
}

TEST_F(SourcesTest, InvertedRangeIsRefusedAndReported) {
    LParameterSource s(Add(HistoricVAN, {1, 2, 3}));
    s.SetSubset(0, 1);
    ErrorReportSpy spy;
    try {
        s.SetSubset(5, 3);
        ADD_FAILURE() << "no error";
    } catch (const VroError& e) {
        EXPECT_STREQ(e.what(), "Invalid index");
    }
    EXPECT_EQ(spy.reports, (std::vector<ErrorReportSpy::Report>{
                               {"LParameterSource::SetSubset", "Invalid index"}}));
    EXPECT_EQ(s.Last, 1); // unchanged
}

TEST_F(SourcesTest, GroupSortsByTypeWeightThenLabel) {
    LParameterSourceGroup g(nullptr);
    g.Add(std::make_unique<LParameterSource>(Add(EventVANMax, {1}, {Periods(1)})));
    g.Add(std::make_unique<LParameterSource>(Add(HistoricVAN, {1})));
    g.Add(std::make_unique<LParameterSource>(Add(CumulativeVANAvg, {1}, {Periods(1)})));
    g.Add(std::make_unique<LParameterSource>(Add(13, {1})));                // RMS Current - IA
    g.Add(std::make_unique<LParameterSource>(Add(111, {1}, {Periods(1)}))); // Energy - ØA
    g.Sort();
    std::vector<std::string> labels;
    for (const auto& s : g)
        labels.push_back(s->Label());
    EXPECT_EQ(labels,
              (std::vector<std::string>{"Energy - ØA", "RMS Voltage Avg - VAN", "RMS Current - IA",
                                        "RMS Voltage - VAN", "RMS Voltage Max - VAN"}));
}

TEST_F(SourcesTest, GroupSelectionAndSubset) {
    LParameterSourceGroup g(nullptr);
    for (int i = 0; i < 4; ++i)
        g.Add(std::make_unique<LParameterSource>(Add(HistoricVAN, {1, 2, 3})));
    g.Items(0)->Selected = false;
    g.Items(2)->Selected = false;
    EXPECT_EQ(g.SelectedCount(), 2);
    EXPECT_EQ(g.Selected(0), g.Items(1));
    EXPECT_EQ(g.Selected(1), g.Items(3));
    EXPECT_EQ(g.Selected(2), nullptr);
    g.SetSubset(1, 1);
    for (const auto& s : g)
        EXPECT_EQ(s->GetCount(), 1);
}

TEST_F(SourcesTest, IntervalTwinsAreChainedToTheirTotals) {
    // Catalogue entries: totals, interval types, and their places among the candidates.
    struct Case {
        int total;
        int twin; // -1: none is chained
    };
    const std::vector<Case> cases = {
        {EventVANMax, IntervalEventVANMax}, // RMS Voltage Max - VAN
        {56, 131},                          // RMS Voltage Min - VAN: the min, not the max
        {114, 189},                         // three-phase Energy
        {CumulativeVANAvg, 173},            // RMS Voltage Avg - VAN
        {115, 190},                         // Demand: Event and Interval event
        {48, 123},                          // RMS Voltage Max - VBN, listed first
        {81, -1},                           // Peak Voltage Max - VAN: its twin is not recorded
        {HistoricVAN, -1},                  // Historic: no intervals
    };
    LParameterSourceGroup candidates(nullptr), table(nullptr);
    for (int index : {123, 122, 131, 189, 173, 190, 115})
        candidates.Add(std::make_unique<LParameterSource>(Add(index, {7}, {Periods(1)})));
    for (const Case& c : cases)
        table.Add(std::make_unique<LParameterSource>(Add(c.total, {1}, {Periods(2)})));
    table.ChainIntervalTwins(candidates);
    for (size_t i = 0; i < cases.size(); ++i) {
        const LParameterSource* next = table.Items(static_cast<int32_t>(i))->Next.get();
        SCOPED_TRACE(cases[i].total);
        if (cases[i].twin < 0) {
            EXPECT_EQ(next, nullptr);
            continue;
        }
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->Parameter->Index(), cases[i].twin);
        EXPECT_TRUE(next->Selected);
        EXPECT_EQ(next->GetCount(), 1);
    }
    // A chain already made stays.
    LParameterSource* held = table.Items(0)->Next.get();
    table.ChainIntervalTwins(candidates);
    EXPECT_EQ(table.Items(0)->Next.get(), held);
}

TEST(LiveInstancesSourcesTest, CountedWithTheirChains) {
    const int32_t sources = LiveInstances::ParameterSourceCount;
    const int32_t groups = LiveInstances::ParameterSourceGroupCount;
    {
        LParameterSourceGroup g(nullptr);
        auto s = std::make_unique<LParameterSource>();
        s->Next = std::make_unique<LParameterSource>();
        g.Add(std::move(s));
        EXPECT_EQ(LiveInstances::ParameterSourceCount, sources + 2);
        EXPECT_EQ(LiveInstances::ParameterSourceGroupCount, groups + 1);
    }
    EXPECT_EQ(LiveInstances::ParameterSourceCount, sources);
    EXPECT_EQ(LiveInstances::ParameterSourceGroupCount, groups);
}

} // namespace
