#include "analysis/Survey.h"
#include "analysis/SurveyFindingsText.h"
#include "analysis/SurveyTables.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);
const double TanTarget = std::tan(std::acos(0.95));

// One 15-minute block per pair of P and Q, a sample a minute.
class PowerFactorCorrectionTest : public ::testing::Test {
protected:
    void Blocks(const std::vector<std::pair<float, float>>& pq) {
        std::vector<float> p, q;
        for (const auto& [pb, qb] : pq)
            for (int k = 0; k < 15; ++k)
                p.push_back(pb), q.push_back(qb);
        AddHistoric(recording, RealPower, Watts, ThreePhase, p, Monday, 60);
        AddHistoric(recording, ReactivePower, Var, ThreePhase, q, Monday, 60);
    }
    PowerFactorCorrection Run() { return RunSurvey(recording, options).Power->PowerFactor; }
    LParameterCollection recording;
    SurveyOptions options;
};

TEST_F(PowerFactorCorrectionTest, AConstantLoadNeedsAKnownBank) {
    Blocks(std::vector<std::pair<float, float>>(8, {100000, 75000}));
    const PowerFactorCorrection c = Run();
    const double qc = 75000 - 100000 * TanTarget; // 42 131.6 var
    EXPECT_EQ(c.Blocks, 8);
    EXPECT_NEAR(*c.Average, 0.8, 1e-12);
    EXPECT_EQ(*c.BelowTarget, 1);
    EXPECT_NEAR(c.Lowest->Value, 0.8, 1e-12);
    EXPECT_EQ(c.Lowest->Time, Monday);
    EXPECT_NEAR(*c.QcAtPeakVar, qc, 1e-6);
    EXPECT_NEAR(c.QcMax->Value, qc, 1e-6);
    EXPECT_NEAR(*c.Qc95Var, qc, 1e-6);
    EXPECT_NEAR(*c.QcLightVar, qc, 1e-6);
    EXPECT_EQ(*c.BankVar, 45000);
    EXPECT_EQ(*c.FixedVar, 40000);
    EXPECT_EQ(*c.SwitchedSteps, 1);
    EXPECT_NEAR(*c.PeakVaBefore, 125000, 1e-6);
    EXPECT_NEAR(*c.PeakVaAfter, std::hypot(100000, 30000), 1e-6);
    EXPECT_NEAR(*c.CurrentFall, 1 - std::hypot(100000, 30000) / 125000, 1e-12);
    EXPECT_EQ(c.Reasons, std::vector<std::string>{NoHarmonicsText});
}

TEST_F(PowerFactorCorrectionTest, TheLightLoadPartIsFixedAndTheBankRoundsToTheStep) {
    // Eight blocks at 100 kW and 75 kvar, one at 100 kW and 35 kvar (Qc 2 132 var), and two of
    // light load (at most the 10th percentile of P): 10 kW and 15 or 20 kvar (Qc 11 713 and
    // 16 713 var).
    std::vector<std::pair<float, float>> pq(8, {100000, 75000});
    pq.insert(pq.begin() + 2, {10000, 20000});
    pq.insert(pq.begin() + 4, {100000, 35000});
    pq.insert(pq.begin() + 6, {10000, 15000});
    Blocks(pq);
    const double light = 15000 - 10000 * TanTarget;
    const struct {
        double stepVar, bank, fixed;
        int32_t steps;
    } cases[] = {
        {5000, 45000, 10000, 7},
        {10000, 50000, 10000, 4},
        {2500, 42500, 10000, 13},
        {50000, 50000, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stepVar);
        options.BankStepVar = c.stepVar;
        const PowerFactorCorrection r = Run();
        EXPECT_NEAR(*r.QcLightVar, light, 1e-6);
        EXPECT_NEAR(*r.BankVar, c.bank, 1e-6);
        EXPECT_NEAR(*r.FixedVar, c.fixed, 1e-6);
        EXPECT_EQ(*r.SwitchedSteps, c.steps);
        EXPECT_EQ(r.QcMax->Time, Monday); // the first of the largest
        EXPECT_NEAR(*r.BelowTarget, 1, 1e-12);
    }
    // What the charts draw: a PF per block in time order, the Qc highest first.
    const PowerFactorCorrection r = Run();
    ASSERT_EQ(r.BlockPf.size(), 11u);
    EXPECT_NEAR(r.BlockPf[2].Value, 10000 / std::hypot(10000, 20000), 1e-12);
    EXPECT_EQ(r.BlockPf[2].Time, Monday + 30.0 / 1440);
    ASSERT_EQ(r.QcSorted.size(), 11u);
    EXPECT_EQ(r.QcSorted.front(), r.QcMax->Value);
    EXPECT_NEAR(r.QcSorted.back(), 35000 - 100000 * TanTarget, 1e-6);
    // A target of 1: all the reactive power.
    options.TargetPowerFactor = 1;
    options.BankStepVar = 5000;
    EXPECT_EQ(*Run().BankVar, 75000);
}

TEST_F(PowerFactorCorrectionTest, ALoadThatTurnsCapacitiveAndOneWithoutReactivePower) {
    // Capacitive at its peak (120 kW), lagging before it.
    Blocks({{50000, 40000}, {80000, 30000}, {120000, -20000}, {60000, 10000}});
    PowerFactorCorrection c = Run();
    EXPECT_EQ(c.Reasons, (std::vector<std::string>{CapacitiveAtPeakText, NoHarmonicsText}));
    EXPECT_EQ(*c.BankVar, 0);
    EXPECT_EQ(*c.FixedVar, 0);
    EXPECT_EQ(*c.SwitchedSteps, 0);
    EXPECT_EQ(*c.QcAtPeakVar, 0);
    EXPECT_NEAR(c.QcMax->Value, 40000 - 50000 * TanTarget, 1e-6);
    EXPECT_EQ(*c.PeakVaAfter, *c.PeakVaBefore);
    EXPECT_EQ(*c.CurrentFall, 0);
    EXPECT_NEAR(*c.BelowTarget, 0.5, 1e-12);
    EXPECT_NEAR(c.Lowest->Value, 50000 / std::hypot(50000, 40000), 1e-12);

    LParameterCollection powerOnly;
    AddHistoric(powerOnly, RealPower, Watts, ThreePhase, std::vector<float>(60, 1000), Monday, 60);
    c = RunSurvey(powerOnly, options).Power->PowerFactor;
    EXPECT_EQ(c.Blocks, 0);
    EXPECT_FALSE(c.Average || c.BankVar);
    EXPECT_EQ(c.Reasons, std::vector<std::string>{NoReactivePowerText});
}

// A load above the target in every block: its largest Qc, 0, names no block.
TEST_F(PowerFactorCorrectionTest, NoBlockNeedingABankReadsNoCorrectionNeeded) {
    Blocks(std::vector<std::pair<float, float>>(8, {100000, 10000}));
    const SurveyResult survey = RunSurvey(recording, options);
    EXPECT_EQ(survey.Power->PowerFactor.QcMax->Value, 0);
    bool said = false;
    for (const SummaryLine& line : PowerFactorLines(survey))
        if (line.Label == "Largest Qc") {
            EXPECT_EQ(line.Value, NoCorrectionNeededText);
            said = true;
        }
    EXPECT_TRUE(said);
    const TextTable table = PowerFactorTable(survey.Power->PowerFactor);
    const auto row = std::find_if(table.Rows.begin(), table.Rows.end(),
                                  [](const auto& r) { return r[0].text == "Largest Qc"; });
    ASSERT_NE(row, table.Rows.end());
    EXPECT_EQ((*row)[1].text, NoCorrectionNeededText);
    EXPECT_EQ((*row)[2].kind, TextCell::Empty);
}

} // namespace
