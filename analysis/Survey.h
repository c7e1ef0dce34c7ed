#pragma once

#include "analysis/DailyProfile.h"
#include "analysis/DemandBlocks.h"
#include "analysis/EnergyPerDay.h"
#include "analysis/LoadDuration.h"
#include "analysis/LoadStudy.h"
#include "analysis/SampledSeries.h"
#include "analysis/TimeRange.h"
#include "analysis/VoltageVariation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class LParameterCollection;

// What a survey asks of a recording: can the service take more load, where does the energy
// go, is the voltage within limits. Computed from the Historic parameters alone; nothing of
// it is stored.
struct SurveyOptions {
    int32_t BlockMinutes = 15; // 5, 10, 15, 30 or 60
    std::optional<double> RatingAmps;
    std::optional<double> NominalVolts;
    std::optional<double> ThresholdWatts;
    // Only the samples in this time range, when set.
    std::optional<TimeRange> Range;
};

// Whether the survey takes blocks of this many minutes.
bool IsDemandInterval(int32_t minutes);

// The series a survey reads from a recording. The power series is the Historic real power of
// 3Ø, else the sample-by-sample sum of ØA, ØB and ØC (all three, on one time base; a sample
// where one is not finite is not finite), else none. The phase currents are the Historic RMS
// currents IA, IB, IC, else I1, I2, I3 (those there are); the voltages every Historic RMS
// voltage channel. The first parameter of each channel counts.
class SurveySeries {
public:
    SurveySeries(const LParameterCollection& parameters, const std::optional<TimeRange>& range);
    SurveySeries(const SurveySeries&) = delete;
    SurveySeries& operator=(const SurveySeries&) = delete;

    const std::optional<SampledSeries>& Power() const { return power_; }
    const std::vector<SampledSeries>& Currents() const { return currents_; }
    const std::vector<SampledSeries>& Voltages() const { return voltages_; }

private:
    std::optional<SampledSeries> power_;
    std::vector<float> phaseSum_;
    std::vector<SampledSeries> currents_;
    std::vector<SampledSeries> voltages_;
};

// Everything a survey finds that rests on the power series.
struct PowerSurvey {
    std::string Source; // "3Ø" or "ØA+ØB+ØC"
    BlockSeries Blocks;
    LoadStudy Load;
    EnergyTotals Totals;
    std::vector<EnergyDay> Days;
    DailyProfile Profile;
    HeatMap Heat;
    LoadDuration Duration;
};

struct SurveyResult {
    SurveyOptions Options;
    // The first and last sample time of the series the survey read.
    std::optional<TDateTime> From, To;
    // Unset without a power series.
    std::optional<PowerSurvey> Power;
    // Unset without an RMS voltage channel.
    std::optional<VoltageVariation> Voltage;
};

// The options are taken as given; the caller checks them (IsDemandInterval, a rating that is
// not negative).
SurveyResult RunSurvey(const LParameterCollection& parameters, const SurveyOptions& options);

// What the survey says when a recording has no power series or no voltage channel.
extern const char* const NoPowerText;
extern const char* const NoVoltageText;
