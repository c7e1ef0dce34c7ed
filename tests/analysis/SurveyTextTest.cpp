#include "analysis/SurveyText.h"
#include "analysis/SurveyFindingsText.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace code;

TEST(SurveyTextTest, TheSummarySaysEveryFigureAndReason) {
    LParameterCollection recording;
    const TDateTime monday = At(2024, 3, 11);
    std::vector<float> power(192, 1000);
    power[40] = 2000; // 10:00 on Monday
    power[100] = NAN;
    AddHistoric(recording, RealPower, Watts, ThreePhase, power, monday, 900);
    AddHistoric(recording, Rms, Amperes, IA, std::vector<float>(192, 10), monday, 900);
    SurveyOptions options;
    options.RatingAmps = 10;
    options.ThresholdWatts = 1500;
    const std::string text = SurveySummaryText(RunSurvey(recording, options));
    for (const char* line : {
             "Survey of 2024-03-11 00:00:00 to 2024-03-12 23:45:00\n",
             "Power: 3Ø, blocks of 15 min: 191 complete, 1 partial\n",
             "Load study: not valid\n",
             "  - The recording covers 1.99 days, less than 30 days.\n", // one sample not measured
             "  - 1 block was incomplete and left out (191 complete).\n",
             "  Peak demand           2.00 kW in the block from 2024-03-11 10:00:00\n",
             "  Design load (125 %)   2.50 kW\n",
             "  Highest phase         IA, design current (125 %) 12.50 A\n",
             "  Service rating        10.00 A, headroom -2.50 A: not adequate\n",
             "  Load factor           0.503\n",
             "  Above 1.50 kW         0.25 h, 0.13 kWh\n",
             "The recording has no RMS voltage: no voltage results.\n",
         })
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;

    LParameterCollection empty;
    EXPECT_EQ(SurveySummaryText(RunSurvey(empty, {})),
              "Survey: the recording has no samples to survey.\n"
              "The recording has no real power of 3Ø, nor of all of ØA, ØB and ØC, nor of V1I1 "
              "(and V2I2 on a 1Ø 3W service): no power results.\n\n"
              "The recording has no RMS voltage: no voltage results.\n");
}

// The Survey window's Summary page: the summary, then the cost without its months, the power
// factor and the unbalance; a tariff that could not be read is said, not taken for none.
TEST(SurveyTextTest, TheSummaryPageAddsTheFindings) {
    LParameterCollection recording;
    const TDateTime monday = At(2024, 3, 11);
    AddHistoric(recording, RealPower, Watts, ThreePhase, std::vector<float>(192, 1000), monday,
                900);
    AddHistoric(recording, ReactivePower, Var, ThreePhase, std::vector<float>(192, 500), monday,
                900);
    SurveyOptions options;
    options.CostTariff = SimpleTariff(0.2, 10, 30);
    SurveyResult survey = RunSurvey(recording, options);
    const std::string summary = SurveySummaryText(survey);
    std::string text = SummaryLinesText(SummaryPageLines(survey));
    EXPECT_EQ(text.substr(0, summary.size() + 1), summary + "\n");
    const std::string cost = CostText(survey);
    ASSERT_NE(cost.find("  Month 2024-03"), std::string::npos);
    EXPECT_NE(text.find(cost.substr(0, cost.find("  Month 2024-03"))), std::string::npos) << text;
    EXPECT_EQ(text.find("Month 2024-03"), std::string::npos);
    for (const std::string& section : {PowerFactorText(survey), UnbalanceText(survey)})
        EXPECT_NE(text.find("\n\n" + section), std::string::npos) << section;

    options.CostTariff.reset();
    options.TariffError = "t.json: 1:1: not JSON";
    text = SummaryLinesText(SummaryPageLines(RunSurvey(recording, options)));
    EXPECT_NE(text.find("Cost: no tariff.\n  - The tariff could not be read: t.json: 1:1: not "
                        "JSON\n"),
              std::string::npos)
        << text;
}

} // namespace
