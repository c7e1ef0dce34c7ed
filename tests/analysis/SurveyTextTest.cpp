#include "analysis/SurveyText.h"
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
             "  - The recording covers 2.00 days, less than 30 days.\n",
             "  - 1 block was incomplete and left out (191 complete).\n",
             "  Peak demand           2,000.00 W in the block from 2024-03-11 10:00:00\n",
             "  Design load (125 %)   2,500.00 W\n",
             "  Highest phase         IA, design current (125 %) 12.50 A\n",
             "  Service rating        10.00 A, headroom -2.50 A: not adequate\n",
             "  Load factor           0.503\n",
             "  Above 1,500.00 W      0.25 h, 125.00 WH\n",
             "The recording has no RMS voltage: no voltage results.\n",
         })
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin\n" << text;

    LParameterCollection empty;
    EXPECT_EQ(SurveySummaryText(RunSurvey(empty, {})),
              "Survey: the recording has no samples to survey.\n"
              "The recording has no real power of 3Ø, nor of all of ØA, ØB and ØC: no power "
              "results.\n\n"
              "The recording has no RMS voltage: no voltage results.\n");
}

} // namespace
