#include "analysis/ReportFindings.h"
#include "analysis/SurveyFindingsText.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace code;

// A week of 10 kW and 8 kvar (12.81 kVA): a 5 kvar bank, all of it switched, brings it to
// 0.95. Whether it pays follows the tariff: the yearly saving is 12 × the fall of the month's
// charges, by hand.
TEST(CorrectionSavingTest, TheAnswerFollowsTheBill) {
    LParameterCollection recording;
    const TDateTime monday = At(2024, 3, 11);
    const size_t n = 7 * 1440;
    AddHistoric(recording, RealPower, Watts, ThreePhase, std::vector<float>(n, 10000), monday, 60);
    AddHistoric(recording, ReactivePower, Var, ThreePhase, std::vector<float>(n, 8000), monday, 60);
    AddHistoric(recording, ApparentPower, VoltAmperes, ThreePhase,
                std::vector<float>(n, float(std::hypot(10000, 8000))), monday, 60);
    Tariff reactive;
    reactive.ReactivePrice = 2;
    Tariff kva;
    kva.DemandInKva = true;
    kva.FlatDemandPeriods = {{{10, std::nullopt}}};
    const struct {
        const char* name;
        std::optional<Tariff> tariff;
        std::optional<double> price;
        const char* verdict;
        std::optional<double> saving, payback;
        const char* answer;
    } cases[] = {
        {"no tariff", std::nullopt, 36, VerdictUndecided, std::nullopt, std::nullopt,
         "no tariff was given: what the bank saves on the bill is not known"},
        {"energy and kW demand", SimpleTariff(0.1, 10, 20), 36, VerdictNo, std::nullopt,
         std::nullopt, "the tariff charges neither kVA demand nor reactive power"},
        {"reactive demand", reactive, 36, VerdictYes, 12 * 2 * (8 - 3.0), 180 / 120.0,
         "a 5 kvar bank (0 kvar fixed, 1 switched steps of 5 kvar) saves 120.00 $ a year on the "
         "tariff, paying back its 180.00 $ in 1.5 years"},
        {"kVA demand", kva, std::nullopt, VerdictYes,
         12 * 10 * (std::hypot(10, 8) - std::hypot(10, 3)), std::nullopt, "283.91 $ a year"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SurveyOptions options;
        options.CostTariff = c.tariff;
        options.BankPricePerKvar = c.price;
        const SurveyResult survey = RunSurvey(recording, options);
        const CorrectionSaving& s = survey.Power->Correction;
        EXPECT_EQ(CorrectionVerdictText(s.Verdict), std::string(c.verdict));
        EXPECT_NEAR(s.YearlySaving.value_or(-1), c.saving.value_or(-1), 1e-6);
        EXPECT_NEAR(s.PaybackYears.value_or(-1), c.payback.value_or(-1), 1e-9);

        // The same answer on the findings page and in the text.
        const auto findings = SurveyFindings(survey, TextStyle{});
        const Finding& f = findings.back();
        ASSERT_EQ(f.Question, "Would power factor correction pay?");
        EXPECT_EQ(f.Verdict, c.verdict);
        EXPECT_NE(f.Answer.find(c.answer), std::string::npos) << f.Answer;
        // What the bank takes off the peak stands whatever the bill makes of it.
        EXPECT_NE(f.Figures.find("the peak current by 18.47 %"), std::string::npos) << f.Figures;
        EXPECT_NE(PowerFactorText(survey).find("  Pays on the tariff    " + std::string(c.verdict)),
                  std::string::npos)
            << PowerFactorText(survey);
    }
}

} // namespace
