#include "analysis/LoadStudy.h"

#include <cstdio>

namespace {

std::string Format(const char* format, double a, double b = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
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
        study.Reasons.push_back(
            Format("The demand interval is %.0f min, not 15 min.", power.Minutes));
    if (days < 30)
        study.Reasons.push_back(Format("The recording covers %.2f days, less than 30 days.", days));
    if (power.Partial > 0)
        study.Reasons.push_back(
            Format(power.Partial == 1 ? "%.0f block was incomplete and left out (%.0f complete)."
                                      : "%.0f blocks were incomplete and left out (%.0f complete).",
                   power.Partial, power.Complete));
    if (study.Reasons.empty())
        study.Reasons.push_back(Format(
            "Only %.0f complete blocks; the load study needs at least 2880.", power.Complete));
    return study;
}
