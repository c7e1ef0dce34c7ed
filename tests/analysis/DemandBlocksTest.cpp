#include "analysis/DemandBlocks.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

SampledSeries Series(const std::vector<float>& values, TDateTime start, int32_t rate) {
    return {"3Ø", values.data(), static_cast<int32_t>(values.size()), start, 0, rate};
}

TEST(DemandBlocksTest, BlocksAreAlignedToTheClock) {
    struct Case {
        TDateTime first;
        int32_t rate, minutes;
        TDateTime t0;
        int32_t firstSamples;
        bool firstComplete;
    } cases[] = {
        {At(2024, 3, 11, 9, 7, 30), 30, 15, At(2024, 3, 11, 9), 15, false},
        {At(2024, 3, 11, 9, 0, 0.4), 60, 15, At(2024, 3, 11, 9), 15, true},
        {At(2024, 3, 11, 23, 55), 60, 60, At(2024, 3, 11, 23), 5, false},
        {At(2024, 3, 11, 0, 3), 60, 5, At(2024, 3, 11, 0), 2, false},
        {At(2024, 3, 11, 0, 29, 59.6), 300, 30, At(2024, 3, 11, 0, 30), 6, true},
    };
    for (const Case& c : cases) {
        const std::vector<float> values(200, 1000);
        const BlockSeries b = ComputeBlocks(Series(values, c.first, c.rate), c.minutes);
        SCOPED_TRACE(PlainDateTimeText(c.first));
        ASSERT_GE(b.Blocks.size(), 2u);
        EXPECT_EQ(b.Blocks[0].Start, WholeSeconds(c.t0));
        EXPECT_EQ(b.Blocks[1].Start, WholeSeconds(c.t0) + 60 * c.minutes);
        EXPECT_EQ(b.Blocks[0].Samples, c.firstSamples);
        EXPECT_EQ(b.Blocks[0].Complete, c.firstComplete);
        EXPECT_TRUE(b.Blocks[1].Complete);
        EXPECT_EQ(b.Blocks[1].Mean, 1000);
        EXPECT_EQ(b.Complete + b.Partial, static_cast<int32_t>(b.Blocks.size()));
    }
}

TEST(DemandBlocksTest, AnInvalidSampleLeavesItsBlockOut) {
    std::vector<float> values(60, 1000);
    values[20] = NAN;
    values[22] = 5000; // in the broken block: not a peak
    values[50] = 2000;
    const BlockSeries b = ComputeBlocks(Series(values, At(2024, 3, 11), 60), 15);
    ASSERT_EQ(b.Blocks.size(), 4u);
    EXPECT_EQ(b.Complete, 3);
    EXPECT_EQ(b.Partial, 1);
    EXPECT_FALSE(b.Blocks[1].Complete);
    EXPECT_EQ(b.Blocks[1].Finite, 14);
    EXPECT_DOUBLE_EQ(HighestBlock(b)->Value, 1000 + 1000 / 15.0);
    EXPECT_EQ(HighestBlock(b)->Time, Second(At(2024, 3, 11, 0, 45)));
    EXPECT_EQ(LowestBlock(b)->Time, At(2024, 3, 11)); // the first of equal blocks
}

TEST(DemandBlocksTest, ARateLongerThanTheBlockIsRefused) {
    const std::vector<float> values(100, 1000);
    const BlockSeries refused = ComputeBlocks(Series(values, At(2024, 3, 11), 1800), 15);
    EXPECT_EQ(refused.Refusal,
              "The recording interval (1800 s) is longer than the demand interval (15 min).");
    EXPECT_TRUE(refused.Blocks.empty());
    EXPECT_FALSE(HighestBlock(refused));
    const BlockSeries one = ComputeBlocks(Series(values, At(2024, 3, 11), 900), 15);
    EXPECT_TRUE(one.Refusal.empty());
    EXPECT_EQ(one.Complete, 100);
}

} // namespace

namespace {

// The walk gives each sample's own rounded second, also where the first lies at or near a
// half second, past an offset, or at the last date a time can hold.
TEST(DemandBlocksTest, SecondsWalkRoundsAsEachSampleDoes) {
    const struct {
        TDateTime start;
        int32_t first, rate;
    } cases[] = {
        {At(2024, 3, 11, 9, 0, 0), 0, 60},
        {At(2024, 3, 11, 9, 0, 0.5), 0, 1},
        {At(2024, 3, 11, 9, 0, 0.4996), 7, 1},
        {At(2024, 3, 11, 9, 0, 0.5004), 0, 3600},
        {At(2024, 3, 11, 9, 0, 0.2), 49999, 30},
        {At(9999, 12, 31, 23, 0, 0), 0, 60},
        // 09:00:00.5 as a day number whose samples round some up, some down.
        {45362.0 + 32400.5 / 86400, 0, 60},
    };
    const std::vector<float> values(5000, 1);
    for (const auto& c : cases) {
        SampledSeries s{"3Ø", values.data(), 5000, c.start, c.first, c.rate};
        const SampledSeries::SecondsWalk walk(s);
        int wrong = 0;
        for (int32_t j = 0; j < s.Count; ++j)
            wrong += walk(j) != s.Seconds(j);
        EXPECT_EQ(wrong, 0) << c.start << " " << c.rate;
    }
}

} // namespace
