#include "analysis/CorrectionSaving.h"

#include <cmath>
#include <unordered_map>

const char* const NoTariffForCorrectionText =
    "No tariff was given: what the bank saves on the bill is not known.";
const char* const TariffChargesNoReactiveText =
    "The tariff charges neither kVA demand nor reactive power: a bank lowers no charge.";

const char* CorrectionVerdictText(CorrectionVerdict verdict) {
    switch (verdict) {
    case CorrectionVerdict::Yes:
        return "Yes";
    case CorrectionVerdict::No:
        return "No";
    case CorrectionVerdict::Undecided:
        break;
    }
    return "Not decided";
}

bool ChargesForReactive(const Tariff& tariff) {
    return (tariff.DemandInKva && tariff.ChargesDemand()) || tariff.ReactivePrice > 0;
}

BlockSeries ReactiveWithBank(const BlockSeries& reactive, double bankVar) {
    BlockSeries corrected = reactive;
    for (DemandBlock& b : corrected.Blocks)
        b.Mean -= bankVar;
    return corrected;
}

BlockSeries ApparentWithBank(const BlockSeries& apparent, const BlockSeries& power,
                             const BlockSeries& reactive, double bankVar) {
    std::unordered_map<int64_t, double> watts;
    for (const DemandBlock& b : power.Blocks)
        if (b.Complete)
            watts[b.Start] = b.Mean;
    std::unordered_map<int64_t, double> fall;
    for (const DemandBlock& b : reactive.Blocks) {
        const auto p = watts.find(b.Start);
        if (b.Complete && p != watts.end())
            fall[b.Start] = std::hypot(p->second, b.Mean) - std::hypot(p->second, b.Mean - bankVar);
    }
    BlockSeries corrected = apparent;
    for (DemandBlock& b : corrected.Blocks)
        if (const auto f = fall.find(b.Start); f != fall.end())
            b.Mean -= f->second;
    return corrected;
}

CorrectionSaving DecideCorrection(const PowerFactorCorrection& pf, const Tariff* tariff,
                                  const std::string& tariffError, const CostStudy* measured,
                                  const CostStudy* corrected, std::optional<double> pricePerKvar) {
    CorrectionSaving s;
    const auto undecided = [&](std::string reason) {
        s.Reason = std::move(reason);
        return s;
    };
    if (!pf.BankVar)
        return undecided(pf.Reasons.empty() ? NoReactivePowerText : pf.Reasons.front());
    if (!tariff)
        return undecided(tariffError.empty() ? NoTariffForCorrectionText
                                             : "The tariff could not be read: " + tariffError);
    s.Currency = tariff->Currency;
    if (!ChargesForReactive(*tariff)) {
        s.Verdict = CorrectionVerdict::No;
        s.Reason = TariffChargesNoReactiveText;
        return s;
    }
    if (*pf.BankVar <= 0) {
        s.Verdict = CorrectionVerdict::No;
        s.Reason = "The load needs no bank to reach the target.";
        return s;
    }
    if (!measured || !corrected || !measured->Year || !corrected->Year)
        return undecided("The recording has no day to estimate the bill from.");
    if (!measured->Reasons.empty())
        return undecided(measured->Reasons.front());
    s.YearlySaving = *measured->Year - *corrected->Year;
    if (pricePerKvar) {
        s.BankPrice = *pricePerKvar * *pf.BankVar / 1000;
        if (*s.YearlySaving > 0)
            s.PaybackYears = *s.BankPrice / *s.YearlySaving;
    }
    if (*s.YearlySaving > 0) {
        s.Verdict = CorrectionVerdict::Yes;
    } else {
        s.Verdict = CorrectionVerdict::No;
        s.Reason = "The bank lowers none of the tariff's charges.";
    }
    return s;
}
