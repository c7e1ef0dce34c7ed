#pragma once

#include "analysis/DemandBlocks.h"

#include <optional>
#include <string>
#include <vector>

// The load study of a service: the highest demand over blocks of 15 minutes through at least
// 30 days, and 125 % of it as the design load; the same for the phase currents, against the
// service's rating.
struct PhasePeak {
    std::string ChannelLabel;
    std::optional<TimedValue> Peak; // the highest complete block mean, in A, at its start
};

struct LoadStudy {
    // Valid with blocks of 15 minutes and at least 2 880 complete ones; otherwise the figures
    // stand, marked not valid, and Reasons says every reason.
    bool Valid = false;
    std::vector<std::string> Reasons;
    std::optional<TimedValue> Peak;    // the highest block demand in W, at its block's start
    std::optional<double> DesignWatts; // 1.25 × Peak
    std::vector<PhasePeak> Phases;
    std::optional<std::string> HighestPhase;
    std::optional<double> DesignAmps; // 1.25 × the highest phase's peak
    // With a service rating: headroom = rating − DesignAmps, adequate when it is at least 0.
    std::optional<double> RatingAmps, HeadroomAmps;
    std::optional<bool> Adequate;
};

constexpr int32_t LoadStudyMinutes = 15;
constexpr int32_t LoadStudyBlocks = 2880; // 30 days of 15 minutes
constexpr double DesignFactor = 1.25;

// power: the power series' blocks; days: the days its samples cover; phases: the blocks of the
// phase currents, with the same minutes.
LoadStudy ComputeLoadStudy(const BlockSeries& power, double days,
                           const std::vector<BlockSeries>& phases,
                           std::optional<double> ratingAmps);
// Why blocks over these days cannot carry a load study; none when they can.
std::vector<std::string> LoadStudyReasons(const BlockSeries& blocks, double days);
