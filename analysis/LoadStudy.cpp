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

    study.Reasons = LoadStudyReasons(power, days);
    study.Valid = study.Reasons.empty();
    return study;
}

std::vector<std::string> LoadStudyReasons(const BlockSeries& blocks, double days) {
    std::vector<std::string> reasons;
    if (blocks.Minutes == LoadStudyMinutes && blocks.Complete >= LoadStudyBlocks)
        return reasons;
    if (!blocks.Refusal.empty())
        reasons.push_back(blocks.Refusal);
    if (blocks.Minutes != LoadStudyMinutes)
        reasons.push_back("The demand interval is " + Plain(blocks.Minutes) + " min, not 15 min.");
    if (days < 30)
        reasons.push_back("The recording covers " + Plain(days, 2) + " days, less than 30 days.");
    if (blocks.Partial > 0)
        reasons.push_back(Plain(blocks.Partial) +
                          (blocks.Partial == 1 ? " block was incomplete and left out ("
                                               : " blocks were incomplete and left out (") +
                          Plain(blocks.Complete) + " complete).");
    if (reasons.empty())
        reasons.push_back("Only " + Plain(blocks.Complete) +
                          " complete blocks; the load study needs at least 2880.");
    return reasons;
}
