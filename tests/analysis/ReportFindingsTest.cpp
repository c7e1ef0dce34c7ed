#include "analysis/ReportFindings.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyText.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace code;

const Finding* Asked(const std::vector<Finding>& findings, const std::string& question) {
    for (const Finding& f : findings)
        if (f.Question == question)
            return &f;
    return nullptr;
}

// The verdict words follow what was measured: a recording that passes, one that fails and one
// that cannot decide, never "No" where nothing was measured.
TEST(ReportFindingsTest, VerdictsPassFailAndUndecided) {
    const TDateTime monday = At(2024, 3, 4);
    const struct {
        const char* name;
        int days;
        double volts;
        double rating;
        const char *service, *answer, *voltage;
    } cases[] = {
        {"passes", 30, 230, 200, VerdictYes,
         "187.50 A of 200.00 A left at 125 % of the highest "
         "15-minute demand",
         VerdictYes},
        {"fails", 30, 290, 10, VerdictNo, "2.50 A over the 10.00 A rating", VerdictNo},
        {"cannot decide", 7, 230, 200, VerdictUndecided,
         "the recording covers 7.00 days of the 30 the rule asks", VerdictYes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LParameterCollection recording;
        // 5-minute samples: 1 kW, and 2 kW through the block from 03:15 on the first day.
        const size_t n = static_cast<size_t>(c.days) * 288;
        std::vector<float> power;
        for (size_t i = 0; i < n; ++i)
            power.push_back(i >= 39 && i < 42 ? 2000 : 1000);
        AddHistoric(recording, RealPower, Watts, ThreePhase, power, monday, 300);
        AddHistoric(recording, Rms, Amperes, IA, std::vector<float>(n, 10), monday, 300);
        AddHistoric(recording, Rms, Volts, VAN, std::vector<float>(n, float(c.volts)), monday, 300);
        SurveyOptions options;
        options.RatingAmps = c.rating;
        options.NominalVolts = 230;
        const auto findings =
            SurveyFindings(RunSurvey(recording, options), TextStyle{}, "Meter room\nlocked.");
        const Finding* service = Asked(findings, "Can the service take more load?");
        ASSERT_NE(service, nullptr);
        EXPECT_EQ(service->Verdict, c.service);
        EXPECT_NE(service->Answer.find(c.answer), std::string::npos) << service->Answer;
        EXPECT_NE(service->Figures.find("2.00 kW"), std::string::npos) << service->Figures;
        const Finding* voltage = Asked(findings, "Is the voltage within limits?");
        ASSERT_NE(voltage, nullptr);
        EXPECT_EQ(voltage->Verdict, c.voltage);
        // No reactive power: nothing to decide, and no "No".
        const Finding* pf = Asked(findings, "Would power factor correction pay?");
        ASSERT_NE(pf, nullptr);
        EXPECT_EQ(pf->Verdict, VerdictUndecided);
        EXPECT_EQ(Asked(findings, "What does it cost?"), nullptr); // no tariff
        EXPECT_EQ(findings.back().Question, "Remarks");
        EXPECT_EQ(findings.back().Answer, "Meter room\nlocked.");
    }

    // A voltage channel without a complete block: no result, not a fail.
    LParameterCollection brief;
    AddHistoric(brief, Rms, Volts, VAN, {230, 231}, monday, 60);
    const auto findings = SurveyFindings(RunSurvey(brief, {}), TextStyle{});
    const Finding* voltage = Asked(findings, "Is the voltage within limits?");
    ASSERT_NE(voltage, nullptr);
    EXPECT_EQ(voltage->Verdict, VerdictUndecided);
    EXPECT_NE(voltage->Answer.find("no result"), std::string::npos) << voltage->Answer;
    EXPECT_EQ(Asked(findings, "Remarks"), nullptr);
}

// The new loads' question answers as the capacity study decides, its first reason when it
// cannot, and is not asked without new loads.
TEST(ReportFindingsTest, TheNewLoadsAnswerYesNoOrNotDecided) {
    const struct {
        CapacityVerdict verdict;
        const char *word, *answer;
    } cases[] = {
        {CapacityVerdict::Yes, VerdictYes, "20.00 A of headroom"},
        {CapacityVerdict::YesWithLoadManagement, "Yes, with load management",
         "set to at most 12.00 A"},
        {CapacityVerdict::No, VerdictNo, "15.00 A short"},
        {CapacityVerdict::NotDecided, VerdictUndecided, "the recording covers 7.00 days"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        SurveyResult survey;
        CapacityStudy& s = survey.Capacity.emplace();
        s.Verdict = c.verdict;
        s.RatingAmps = 100;
        s.HeadroomAmps = 20;
        s.SetPointAmps = 12;
        s.ShortfallAmps = 15;
        s.Loads.emplace_back().Load = {"EV charger", 40, LoadConnection::BothLegs, true, true};
        if (c.verdict == CapacityVerdict::NotDecided)
            s.Reasons = {"The recording covers 7.00 days of the 30 asked."};
        const auto findings = SurveyFindings(survey, TextStyle{});
        const Finding* f = Asked(findings, "Can the service take the new loads?");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Verdict, c.word);
        EXPECT_NE(f->Answer.find(c.answer), std::string::npos) << f->Answer;
        EXPECT_NE(f->Figures.find("EV charger 40.00 A on L1+L2 (managed)"), std::string::npos)
            << f->Figures;
    }
    EXPECT_EQ(
        Asked(SurveyFindings(SurveyResult{}, TextStyle{}), "Can the service take the new loads?"),
        nullptr);
}

// Values no recorder can produce are said first, in the survey's summary and the findings.
TEST(ReportFindingsTest, ValuesNoRecorderCanProduceComeFirst) {
    LParameterCollection recording;
    AddHistoric(recording, RealPower, Watts, ThreePhase, std::vector<float>(288, 1000),
                At(2024, 3, 4), 300);
    AddHistoric(recording, Rms, Volts, VAN, {230, -5, 231}, At(2024, 3, 4), 300);
    const SurveyResult survey = RunSurvey(recording, {});
    const std::vector<Finding> findings = SurveyFindings(survey, {});
    ASSERT_FALSE(findings.empty());
    EXPECT_EQ(findings.front().Question, "Can the recording be taken at face value?");
    EXPECT_EQ(findings.front().Figures, "RMS Voltage - VAN: 1 negative value");
    const std::vector<SummaryLine> summary = SurveySummaryLines(survey, {});
    ASSERT_GE(summary.size(), 3u);
    EXPECT_EQ(summary[1].Label, ImpossibleValuesText);
    EXPECT_EQ(summary[2].Label, "- RMS Voltage - VAN: 1 negative value");
}

// The battery question takes the cap of the shortest payback where the battery is priced,
// else the threshold's row, and says which; every answer carries the caveat, and so does the
// cost's shaving figure.
TEST(ReportFindingsTest, TheBatteryAnswerIsTheShortestPaybackElseTheThreshold) {
    // 5-minute samples over three days: 1 kW, 1.5 kW from 02:00 to 04:00, 2 kW from 03:00 to
    // 03:15. Above 1.5 kW a battery grows with the cap's fall as the saving does; below it
    // faster: the higher cap pays back first.
    LParameterCollection recording;
    std::vector<float> power;
    for (size_t i = 0; i < 3 * 288; ++i) {
        const size_t m = i % 288;
        power.push_back(m >= 36 && m < 39 ? 2000 : m >= 24 && m < 48 ? 1500 : 1000);
    }
    AddHistoric(recording, RealPower, Watts, ThreePhase, power, At(2024, 3, 4), 300);
    const struct {
        const char* name;
        bool priced;
        std::optional<double> threshold;
        const char *answer, *figures;
    } cases[] = {
        {"priced", true, 1200, "holds the demand to 1.80 kW", "The cap of the shortest payback"},
        {"threshold", false, 1200, "holds the demand to 1.20 kW",
         "The peak-shaving threshold's cap, without battery prices"},
        {"neither", false, std::nullopt, "give the battery's prices or a peak-shaving threshold",
         "2 caps from 1.80 kW to 1.20 kW"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SurveyOptions options;
        options.CostTariff = SimpleTariff(0.1, 10, 0);
        options.ThresholdWatts = c.threshold;
        BatteryOptions battery;
        battery.CapsWatts = {1800, 1200};
        if (c.priced) {
            battery.PricePerKwh = 500;
            battery.PricePerKw = 100;
        }
        options.Battery = battery;
        const auto findings = SurveyFindings(RunSurvey(recording, options), TextStyle{});
        const Finding* f = Asked(findings, "What battery would hold the peak?");
        ASSERT_NE(f, nullptr);
        EXPECT_NE(f->Answer.find(c.answer), std::string::npos) << f->Answer;
        EXPECT_NE(f->Figures.find(c.figures), std::string::npos) << f->Figures;
        EXPECT_EQ(f->Reason, PeakShavingCaveat);
        EXPECT_EQ(c.priced, f->Answer.find("paying back") != std::string::npos) << f->Answer;
        const Finding* cost = Asked(findings, "What does it cost?");
        ASSERT_NE(cost, nullptr);
        EXPECT_EQ(c.threshold.has_value(),
                  cost->Reason.find(PeakShavingCaveat) != std::string::npos)
            << cost->Reason;
    }
}

TEST(ReportFindingsTest, JoinedDownloadsWithTheirGaps) {
    const struct {
        const char* comments;
        std::vector<std::string> downloads;
    } cases[] = {
        {"Panel 4", {}},
        {"Panel 4\nJoined from: a.bin (2024-03-01 00:00:00 to 2024-03-07 23:59:00); b.vro "
         "(2024-03-10 11:59:00 to 2024-03-14 23:59:00)",
         {"a.bin, 2024-03-01 00:00:00 to 2024-03-07 23:59:00",
          "b.vro, 2024-03-10 11:59:00 to 2024-03-14 23:59:00, 2.50 days after the one before"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinedDownloads(c.comments, TextStyle{}), c.downloads) << c.comments;
}

} // namespace
