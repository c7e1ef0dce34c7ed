#pragma once

#include "analysis/CostStudy.h"
#include "analysis/PowerFactorCorrection.h"
#include "analysis/Tariff.h"

#include <optional>
#include <string>

// Whether the power factor study's bank pays on the bill. Decided once, here; the Survey
// window, vrotool, the report and the workbook show this answer.
enum class CorrectionVerdict { Undecided, Yes, No };

struct CorrectionSaving {
    CorrectionVerdict Verdict = CorrectionVerdict::Undecided;
    // Why a "No" or "Not decided"; empty for a "Yes".
    std::string Reason;
    std::string Currency;
    // The typical year's bill as measured less the bill with the bank on every block; with a
    // tariff that charges kVA demand or reactive demand.
    std::optional<double> YearlySaving;
    // With a price per kvar: the bank's price and the years its saving takes to pay it.
    std::optional<double> BankPrice, PaybackYears;
};

// "Yes", "No", "Not decided".
const char* CorrectionVerdictText(CorrectionVerdict verdict);

// Whether a tariff charges for what a bank lowers: kVA demand or reactive demand.
bool ChargesForReactive(const Tariff& tariff);

// The bank's effect on blocks, as the power factor study states it at the peak: each block's
// reactive power less the bank (reactive), and each block's apparent power less what the bank
// takes off √(P̄² + Q̄²) of the power and reactive blocks that start with it (apparent).
BlockSeries ReactiveWithBank(const BlockSeries& reactive, double bankVar);
BlockSeries ApparentWithBank(const BlockSeries& apparent, const BlockSeries& power,
                             const BlockSeries& reactive, double bankVar);

// tariff: the survey's, null without one (tariffError: why it could not be read); measured:
// the cost of the load as recorded; corrected: the cost with the bank's effect on every block
// (null when the tariff charges neither kVA nor reactive demand, or without a bank).
CorrectionSaving DecideCorrection(const PowerFactorCorrection& pf, const Tariff* tariff,
                                  const std::string& tariffError, const CostStudy* measured,
                                  const CostStudy* corrected, std::optional<double> pricePerKvar);

extern const char* const NoTariffForCorrectionText;
extern const char* const TariffChargesNoReactiveText;
