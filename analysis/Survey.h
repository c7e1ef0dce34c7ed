#pragma once

#include "analysis/CostStudy.h"
#include "analysis/DailyProfile.h"
#include "analysis/DemandBlocks.h"
#include "analysis/EnergyPerDay.h"
#include "analysis/LoadDuration.h"
#include "analysis/LoadStudy.h"
#include "analysis/PowerFactorCorrection.h"
#include "analysis/SampledSeries.h"
#include "analysis/Tariff.h"
#include "analysis/TimeRange.h"
#include "analysis/UnbalanceStudy.h"
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
    // The samples in these ranges count as not measured (the exclude notes: ExcludedRanges).
    std::vector<TimeRange> Excluded;
    // What the load costs, when set.
    std::optional<Tariff> CostTariff;
    // Why the tariff asked for could not be read: the survey is then without cost, and its
    // texts say why.
    std::string TariffError;
    double TargetPowerFactor = DefaultTargetPowerFactor; // 0.80 to 1.00
    double BankStepVar = DefaultBankStepVar;             // above 0
};

// Whether the survey takes blocks of this many minutes.
bool IsDemandInterval(int32_t minutes);

// The series a survey reads from a recording. The power series is the Historic real power of
// 3Ø, else the sample-by-sample sum of ØA, ØB and ØC (all three, on one time base; a sample
// where one is not finite is not finite), else none; the reactive and apparent power likewise
// (the apparent power only when asked for). The phase currents are the Historic RMS currents
// IA, IB, IC, else I1, I2, I3 (those there are); the voltages every Historic RMS voltage
// channel. The first parameter of each channel counts. The samples in the excluded ranges
// read as NaN.
class SurveySeries {
public:
    SurveySeries(const LParameterCollection& parameters, const std::optional<TimeRange>& range,
                 bool apparent = false, const std::vector<TimeRange>& excluded = {});
    SurveySeries(const SurveySeries&) = delete;
    SurveySeries& operator=(const SurveySeries&) = delete;

    const std::optional<SampledSeries>& Power() const { return power_.Series; }
    const std::optional<SampledSeries>& Reactive() const { return reactive_.Series; }
    const std::optional<SampledSeries>& Apparent() const { return apparent_.Series; }
    const std::vector<SampledSeries>& Currents() const { return currents_; }
    const std::vector<SampledSeries>& Voltages() const { return voltages_; }
    // The samples set aside by the excluded ranges: of the power series, else of the first
    // voltage, else of the first current.
    int64_t ExcludedSamples() const { return excludedSamples_; }

private:
    void SetAsideExcluded(const std::vector<TimeRange>& excluded);

    // A series of 3Ø, or the sum of the phases it holds.
    struct Total {
        std::optional<SampledSeries> Series;
        std::vector<float> PhaseSum;
    };
    Total power_, reactive_, apparent_;
    std::vector<SampledSeries> currents_;
    std::vector<SampledSeries> voltages_;
    std::vector<std::vector<float>> excludedValues_;
    int64_t excludedSamples_ = 0;
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
    // With a tariff.
    std::optional<CostStudy> Cost;
    PowerFactorCorrection PowerFactor;
};

struct SurveyResult {
    SurveyOptions Options;
    // The first and last sample time of the series the survey read.
    std::optional<TDateTime> From, To;
    // Unset without a power series.
    std::optional<PowerSurvey> Power;
    // Unset without an RMS voltage channel.
    std::optional<VoltageVariation> Voltage;
    UnbalanceStudy Unbalance;
    // What the excluded ranges set aside (SurveySeries::ExcludedSamples).
    int64_t ExcludedSamples = 0;
};

// The options are taken as given; the caller checks them (IsDemandInterval, a rating that is
// not negative).
SurveyResult RunSurvey(const LParameterCollection& parameters, const SurveyOptions& options);

// What the survey says when a recording has no power series or no voltage channel.
extern const char* const NoPowerText;
extern const char* const NoVoltageText;
