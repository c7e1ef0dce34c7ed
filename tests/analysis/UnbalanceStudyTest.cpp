#include "analysis/Survey.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);
constexpr uint8_t VAB = 12, VBC = 13, VCA = 14, VCN = 17;

class UnbalanceStudyTest : public ::testing::Test {
protected:
    // A channel holding value for n minutes, a sample a minute, and other for the next m.
    void Channel(uint8_t channel, float value, int n = 120, float other = 0, int m = 0) {
        std::vector<float> values(static_cast<size_t>(n), value);
        values.insert(values.end(), static_cast<size_t>(m), other);
        AddHistoric(recording, Rms, channel >= 18 || channel == 4 ? Amperes : Volts, channel,
                    values, Monday, 60);
    }
    UnbalanceStudy Run() { return RunSurvey(recording, options).Unbalance; }
    LParameterCollection recording;
    SurveyOptions options;
};

TEST_F(UnbalanceStudyTest, VoltageFromKnownMagnitudesLineToLinePreferred) {
    // Line to neutral: mean 230 V, 5 V the most off: 2.17 %, failing.
    Channel(VAN, 230);
    Channel(VBN, 225);
    Channel(VCN, 235);
    UnbalanceStudy u = Run();
    ASSERT_TRUE(u.Voltage);
    EXPECT_FALSE(u.LineToLine);
    EXPECT_EQ(u.Voltage->Channels, (std::vector<std::string>{"VAN", "VBN", "VCN"}));
    EXPECT_EQ(u.Voltage->Blocks, 12);
    EXPECT_NEAR(u.Voltage->Max->Value, 100 * 5 / 230.0, 1e-4);
    EXPECT_EQ(u.Voltage->Max->Time, Monday);
    EXPECT_NEAR(*u.Voltage->Mean, 100 * 5 / 230.0, 1e-4);
    EXPECT_EQ(*u.Voltage->Within2, 0);
    EXPECT_FALSE(*u.Voltage->Pass);
    EXPECT_FALSE(u.Voltage->MostDeviating);

    // Line to line, in the last hour 4 V off 400: 1 %; 6 of 12 blocks within 2 %.
    Channel(VAB, 400, 60, 400, 60);
    Channel(VBC, 380, 60, 396, 60);
    Channel(VCA, 420, 60, 404, 60);
    u = Run();
    EXPECT_TRUE(u.LineToLine);
    EXPECT_EQ(u.Voltage->Channels, (std::vector<std::string>{"VAB", "VBC", "VCA"}));
    EXPECT_NEAR(u.Voltage->Max->Value, 5, 1e-4);
    EXPECT_NEAR(*u.Voltage->P95, 5, 1e-4);
    EXPECT_NEAR(*u.Voltage->Mean, 3, 1e-4);
    EXPECT_EQ(*u.Voltage->Within2, 0.5);
    EXPECT_FALSE(*u.Voltage->Pass);
    EXPECT_EQ(u.Reasons.front(), NegativeSequenceText);
    EXPECT_EQ(u.Reasons.back(),
              "The recording has neither IA, IB and IC nor I1, I2 and I3: no current unbalance.");
    EXPECT_FALSE(u.Current);
}

TEST_F(UnbalanceStudyTest, LightLoadCurrentBlocksAreLeftOut) {
    // 100, 95 and 115 A for an hour (IC 11.29 % off the mean), then 5, 1 and 9 A: below 10 % of
    // the highest mean.
    Channel(IA, 100, 60, 5, 60);
    Channel(IB, 95, 60, 1, 60);
    Channel(IC, 115, 60, 9, 60);
    const UnbalanceStudy u = Run();
    ASSERT_TRUE(u.Current);
    EXPECT_EQ(u.Current->Blocks, 4);
    EXPECT_EQ(u.Current->LightBlocks, 4);
    EXPECT_NEAR(u.Current->Max->Value, 100 * (115 - 310 / 3.0) / (310 / 3.0), 1e-4);
    EXPECT_EQ(*u.Current->MostDeviating, "IC");
    EXPECT_EQ(u.Current->Minutes, 15);
    ASSERT_EQ(u.Current->Series.size(), 4u); // the light blocks left out of the chart too
    EXPECT_EQ(u.Current->Series.back().Value, u.Current->Max->Value);
    EXPECT_FALSE(u.Current->Pass);
    EXPECT_FALSE(u.Voltage);
    EXPECT_EQ(u.Reasons, (std::vector<std::string>{
                             "The recording has neither VAB, VBC and VCA nor VAN, VBN and VCN: no "
                             "voltage unbalance.",
                             "4 blocks of light load (below 10 % of the highest mean current) "
                             "were left out of the current unbalance."}));
}

// The light-load limit is a tenth of the highest block's mean of the three phases: 12, 10 and
// 14 A (mean 12) stay beside 100, 95 and 115 A (mean 103.3), though below a tenth of their sum.
TEST_F(UnbalanceStudyTest, TheLightLoadLimitIsATenthOfTheHighestMean) {
    Channel(IA, 100, 60, 12, 60);
    Channel(IB, 95, 60, 10, 60);
    Channel(IC, 115, 60, 14, 60);
    const UnbalanceStudy u = Run();
    ASSERT_TRUE(u.Current);
    EXPECT_EQ(u.Current->Blocks, 8);
    EXPECT_EQ(u.Current->LightBlocks, 0);
}

// The phase deviating most often, with the runner-up's count when it deviated nearly as often.
TEST_F(UnbalanceStudyTest, DeviatingMostOftenNamesACloseRunnerUp) {
    const struct {
        int ic, ia; // blocks of 5 minutes where IC, then IA deviates most
        std::string text;
    } cases[] = {{60, 30, "IC"}, {60, 57, "IC in 60 blocks, IA in 57"}, {60, 56, "IC"}};
    options.BlockMinutes = 5;
    for (const auto& c : cases) {
        LParameterCollection phases;
        const auto channel = [&](uint8_t label, float first, float then) {
            std::vector<float> values(static_cast<size_t>(5 * c.ic), first);
            values.insert(values.end(), static_cast<size_t>(5 * c.ia), then);
            AddHistoric(phases, Rms, Amperes, label, values, Monday, 60);
        };
        channel(IA, 100, 110);
        channel(IB, 100, 100);
        channel(IC, 110, 100);
        const UnbalanceStudy u = RunSurvey(phases, options).Unbalance;
        ASSERT_TRUE(u.Current);
        EXPECT_EQ(MostDeviatingText(*u.Current, TextStyle{}), c.text) << c.ic << " " << c.ia;
    }
}

TEST_F(UnbalanceStudyTest, FewerThanThreePhases) {
    Channel(VAN, 230);
    Channel(VCN, 231);
    Channel(IA, 10);
    Channel(IB, 12);
    const UnbalanceStudy u = Run();
    EXPECT_FALSE(u.Voltage || u.Current);
    EXPECT_EQ(u.Reasons.size(), 2u);
}

} // namespace
