#include "analysis/LoadStudy.h"

#include "model/NumberFormat.h"

namespace {

// Reasons are sentences of their own, the same in every locale.
std::string Plain(double value, int decimals = 0) {
    return NumberFormat::Plain().Fixed(value, decimals);
}

} // namespace

LoadStudy ComputeLoadStudy(const BlockSeries& power, double days,
                           const std::vector<BlockSeries>& phases,
                           std::optional<double> ratingAmps) {
    LoadStudy study;
    study.Peak = HighestBlock(power);
    if (study.Peak)
        study.DesignWatts = DesignFactor * study.Peak->Value;

    for (const BlockSeries& phase : phases) {
        study.Phases.push_back({phase.Label, HighestBlock(phase)});
        const PhasePeak& p = study.Phases.back();
        if (p.Peak && (!study.DesignAmps || DesignFactor * p.Peak->Value > *study.DesignAmps)) {
            study.HighestPhase = p.ChannelLabel;
            study.DesignAmps = DesignFactor * p.Peak->Value;
        }
    }
    study.RatingAmps = ratingAmps;
    if (ratingAmps && study.DesignAmps) {
        study.HeadroomAmps = *ratingAmps - *study.DesignAmps;
        study.Adequate = *study.HeadroomAmps >= 0;
    }

    study.Valid = power.Minutes == LoadStudyMinutes && power.Complete >= LoadStudyBlocks;
    if (study.Valid)
        return study;
    if (!power.Refusal.empty())
        study.Reasons.push_back(power.Refusal);
    if (power.Minutes != LoadStudyMinutes)
        study.Reasons.push_back("The demand interval is " + Plain(power.Minutes) +
                                " min, not 15 min.");
    if (days < 30)
        study.Reasons.push_back("The recording covers " + Plain(days, 2) +
                                " days, less than 30 days.");
    if (power.Partial > 0)
        study.Reasons.push_back(Plain(power.Partial) +
                                (power.Partial == 1 ? " block was incomplete and left out ("
                                                    : " blocks were incomplete and left out (") +
                                Plain(power.Complete) + " complete).");
    if (study.Reasons.empty())
        study.Reasons.push_back("Only " + Plain(power.Complete) +
                                " complete blocks; the load study needs at least 2880.");
    return study;
}
