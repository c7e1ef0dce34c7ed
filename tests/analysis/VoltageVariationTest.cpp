#include "analysis/VoltageVariation.h"
#include "analysis/Survey.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);

SampledSeries Series(const std::string& label, const std::vector<float>& values,
                     int32_t rate = 600) {
    return {label, values.data(), static_cast<int32_t>(values.size()), Monday, 0, rate};
}

// 1 200 ten-minute samples (8⅓ days) at 230 V, the first ones at another voltage.
std::vector<float> Voltages(int off, float volts) {
    std::vector<float> values(1200, 230);
    std::fill_n(values.begin(), off, volts);
    return values;
}

TEST(VoltageVariationTest, NinetyFivePercentWithinTenAndAllWithinTenFifteen) {
    struct Case {
        const char* what;
        int off;
        double factor;
        double within10, within10To15;
        bool pass;
    } cases[] = {
        {"6 % at 0.88 Un", 72, 0.88, 0.94, 1, false},
        {"5 % at 0.88 Un", 60, 0.88, 0.95, 1, true},
        // Above Un + 10 % is outside both ranges: one block is enough to fail.
        {"5 % at 1.12 Un", 60, 1.12, 0.95, 0.95, false},
        {"one block at 0.84 Un", 1, 0.84, 1199 / 1200.0, 1199 / 1200.0, false},
        {"exactly at the limits", 60, 1.1, 1, 1, true},
        {"exactly at -15 %", 12, 0.85, 0.99, 1, true},
    };
    for (const Case& c : cases) {
        const std::vector<float> values = Voltages(c.off, static_cast<float>(230 * c.factor));
        const VoltageVariation v = ComputeVoltageVariation({Series("VAN", values)}, 230.0);
        SCOPED_TRACE(c.what);
        ASSERT_EQ(v.Channels.size(), 1u);
        const VoltageChannel& ch = v.Channels[0];
        EXPECT_EQ(ch.Blocks.Complete, 1200);
        EXPECT_DOUBLE_EQ(*ch.Within10, c.within10);
        EXPECT_DOUBLE_EQ(*ch.Within10To15, c.within10To15);
        EXPECT_EQ(ch.Pass, c.pass);
        EXPECT_TRUE(v.Valid);
        EXPECT_FALSE(v.NominalGuessed);
    }
}

TEST(VoltageVariationTest, TheNominalIsGuessedFromTheMedian) {
    struct Case {
        double volts, nominal;
    } cases[] = {{119, 120}, {232, 230},  {112.5, 110}, {405, 400},
                 {50, 100},  {1000, 690}, {213.9, 208}, {214.1, 220}};
    for (const Case& c : cases)
        EXPECT_EQ(GuessNominal(c.volts), c.nominal) << c.volts;
    const std::vector<float> values = {3, NAN, 1, 4, 2};
    EXPECT_EQ(*MedianSample(Series("VAN", values)), 2);
    const std::vector<float> none = {NAN};
    EXPECT_FALSE(MedianSample(Series("VAN", none)));

    // Each channel its own guess; the test's nominal is the first one's.
    const std::vector<float> low(1200, 121), high(1200, 233);
    const VoltageVariation v =
        ComputeVoltageVariation({Series("VAN", high), Series("V1", low)}, std::nullopt);
    EXPECT_EQ(*v.NominalVolts, 230);
    EXPECT_TRUE(v.NominalGuessed);
    EXPECT_EQ(*v.Channels[1].NominalVolts, 120);
    EXPECT_TRUE(v.Channels[1].Pass);
}

TEST(VoltageVariationTest, ShortRecordingsAndLongIntervalsAreNotValid) {
    const std::vector<float> week(1000, 230);
    VoltageVariation v = ComputeVoltageVariation({Series("VAN", week)}, 230.0);
    EXPECT_FALSE(v.Valid);
    EXPECT_TRUE(v.Channels[0].Pass); // the figures stand
    EXPECT_EQ(v.Reasons,
              std::vector<std::string>{"The recording covers 6.94 days, less than 7 days."});
    const std::vector<float> slow(1200, 230);
    v = ComputeVoltageVariation({Series("VAN", slow, 900)}, 230.0);
    EXPECT_FALSE(v.Valid);
    EXPECT_EQ(v.Reasons, std::vector<std::string>{"The recording interval (900 s) is longer "
                                                  "than the 10-minute voltage block."});
    EXPECT_FALSE(v.Channels[0].Within10);
    EXPECT_FALSE(v.Channels[0].Pass);
}

TEST(VoltageVariationTest, TheSurveyTestsEveryVoltageChannelOnce) {
    LParameterCollection recording;
    AddHistoric(recording, Rms, Volts, VAN, Voltages(0, 230), Monday, 600);
    AddHistoric(recording, Rms, Volts, VBN, Voltages(0, 230), Monday, 600);
    AddHistoric(recording, Rms, Volts, VAN, Voltages(600, 100), Monday, 600); // a second VAN
    const SurveyResult r = RunSurvey(recording, {});
    ASSERT_TRUE(r.Voltage);
    ASSERT_EQ(r.Voltage->Channels.size(), 2u);
    EXPECT_EQ(r.Voltage->Channels[0].ChannelLabel, "VAN");
    EXPECT_TRUE(r.Voltage->Channels[0].Pass);
    EXPECT_EQ(r.Voltage->Channels[1].ChannelLabel, "VBN");
    EXPECT_EQ(r.Voltage->Channels[0].Maximum->Time, Monday);
}

} // namespace
