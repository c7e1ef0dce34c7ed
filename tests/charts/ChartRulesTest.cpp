#include "charts/ChartRules.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/tables/TablesTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ChartRulesTest, AViewNarrowerThanTheLimitWidensAboveItsLowerEnd) {
    double upper = 100 + 2 / 86400.0;
    LimitSpan(100, upper, MinTimeSpan);
    EXPECT_DOUBLE_EQ(upper, 100 + MinTimeSpan);
    upper = 0.5;
    LimitSpan(0.2, upper, MinValueSpan);
    EXPECT_DOUBLE_EQ(upper, 0.5);
}

TEST(ChartRulesTest, DatesShowWhenTheDataCrossesMidnight) {
    EXPECT_FALSE(CrossesMidnight(45000.1, 45000.99));
    EXPECT_TRUE(CrossesMidnight(45000.99, 45001.0));
}

TEST(ChartRulesTest, EventPointsTakeTheirStyleFromTheQuantity) {
    const std::pair<uint8_t, uint8_t> cases[] = {{5, 2}, {6, 3}, {7, 1}, {10, 0}, {0, 0}};
    for (const auto& [quantity, style] : cases)
        EXPECT_EQ(PointStyleForQuantity(quantity), style) << int(quantity);
}

TEST(ChartRulesTest, RandomColoursStandOutFromTheBackground) {
    std::mt19937 random(3);
    for (const uint32_t background : {0xFFFFFFu, 0x000000u, 0x808080u})
        for (int i = 0; i < 2000; ++i) {
            const uint32_t c = RandomSeriesColor(background, random);
            auto part = [](uint32_t v, int shift) { return static_cast<int>((v >> shift) & 0xFF); };
            EXPECT_TRUE(std::abs(part(c, 16) - part(background, 16)) >= 10 ||
                        std::abs(part(c, 8) - part(background, 8)) >= 6 ||
                        std::abs(part(c, 0) - part(background, 0)) >= 10);
        }
}

// A chart's series look apart from each other and from the background while colours that far
// apart remain; with many series each still takes the draw farthest from the rest.
TEST(ChartRulesTest, SeriesColoursLookApart) {
    for (const uint32_t background : {0xFFFFFFu, 0x000000u}) {
        for (const auto& [series, apart] : {std::pair{8, 150.0}, std::pair{127, 20.0}}) {
            std::mt19937 random(static_cast<uint32_t>(series));
            std::vector<uint32_t> taken;
            for (int i = 0; i < series; ++i)
                taken.push_back(RandomSeriesColor(background, random, taken));
            for (size_t i = 0; i < taken.size(); ++i) {
                EXPECT_GE(ColorDistance(taken[i], background), series > 8 ? 40 : 250) << i;
                for (size_t j = 0; j < i; ++j)
                    EXPECT_GE(ColorDistance(taken[i], taken[j]), apart) << i << " " << j;
            }
        }
    }
}

TEST(ChartRulesTest, CumulativeSourcesCannotBeCharted) {
    LDatabase db;
    ParseRecording(db, {HistoricV1, EventVoltageMaxV1, CumulativeEnergy}, 30, 2);
    LParameterSourceGroup group(&db.Header());
    group.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)))->SetSubset(3, 9);
    TDateTime start, end;
    ASSERT_TRUE(DataTimeSpan(group, start, end));
    const LParameter& v1 = *db.Parameters().Items(0);
    EXPECT_EQ(start, v1.StartTime() + IntervalsToDays(3, 60));
    EXPECT_EQ(end, v1.StartTime() + IntervalsToDays(9, 60));
    group.Add(std::make_unique<LParameterSource>(db.Parameters().Items(1)));
    EXPECT_EQ(ErrorMessage([&] { CheckChartSources(group); }), "");
    group.Add(std::make_unique<LParameterSource>(db.Parameters().Items(2)));
    ErrorReportSpy spy;
    EXPECT_EQ(ErrorMessage([&] { CheckChartSources(group); }), "Wrong parameter type for chart");
    EXPECT_EQ(spy.reports.at(0).context, "TChartForm::MakeSeries");
    EXPECT_FALSE(DataTimeSpan(LParameterSourceGroup(&db.Header()), start, end));
}

} // namespace
