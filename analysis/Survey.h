#pragma once

#include "analysis/BatteryStudy.h"
#include "analysis/CapacityStudy.h"
#include "analysis/CorrectionSaving.h"
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
#include "model/ImpossibleValues.h"

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
    // What a bank costs per kvar, in the tariff's currency, when known.
    std::optional<double> BankPricePerKvar;
    // The battery that would hold the load to caps, when set.
    std::optional<BatteryOptions> Battery;
    // The loads to add, for the capacity study (none: no study).
    CapacityInputs Capacity;
};

// The service a recording was made on, as its channels tell (the configurations have channels
// of their own): V2, I2 or V2I2 on a split-phase (1Ø 3W) one, else V1, I1 or V1I1 on a
// single-phase (1Ø 2W) one, VAB, VBC or VCA on a delta (3Ø 3W), else any three-phase channel
// on a wye (3Ø 4W; a delta recorded without voltages looks the same).
enum class ServiceWiring : uint8_t { Unknown, SinglePhase, SplitPhase, Wye, Delta };
ServiceWiring WiringOf(const LParameterCollection& parameters);

// Whether the survey takes blocks of this many minutes.
bool IsDemandInterval(int32_t minutes);

// The series a survey reads from a recording. The power series is the Historic real power of
// 3Ø, else the sample-by-sample sum of the per-phase powers the service has (all of them, on
// one time base; a sample where one is not finite is not finite): V1I1 on a single-phase
// service, V1I1 + V2I2 on a split-phase one, ØA + ØB + ØC on a three-phase one; else none. The
// reactive and apparent power likewise (the apparent power only when asked for). The phase
// currents are the Historic RMS currents IA, IB, IC, else I1, I2 (those there are); the
// voltages every Historic RMS voltage channel. The first parameter of each channel counts. The
// samples in the excluded ranges read as NaN.
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
    ServiceWiring Wiring() const { return wiring_; }
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
    ServiceWiring wiring_;
    Total power_, reactive_, apparent_;
    std::vector<SampledSeries> currents_;
    std::vector<SampledSeries> voltages_;
    std::vector<std::vector<float>> excludedValues_;
    int64_t excludedSamples_ = 0;
};

// A threshold below the base load, which the load is above all the time: not taken.
struct ThresholdRefusal {
    double ThresholdWatts = 0, BaseWatts = 0;
};

// Everything a survey finds that rests on the power series.
struct PowerSurvey {
    std::string Source; // "3Ø", "ØA+ØB+ØC", "V1I1+V2I2" or "V1I1"
    BlockSeries Blocks;
    LoadStudy Load;
    EnergyTotals Totals;
    std::vector<EnergyDay> Days;
    DailyProfile Profile;
    HeatMap Heat;
    LoadDuration Duration;
    // Set when the threshold asked for was below the base load; the survey is then without it.
    std::optional<ThresholdRefusal> RefusedThreshold;
    // With a tariff.
    std::optional<CostStudy> Cost;
    PowerFactorCorrection PowerFactor;
    // Whether its bank pays on the tariff.
    CorrectionSaving Correction;
    // When asked.
    std::optional<BatteryStudy> Battery;
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
    // With new loads in the options.
    std::optional<CapacityStudy> Capacity;
    // Of the whole recording: the figures take these values as they are.
    std::vector<ImpossibleValues> Impossible;
    // What the excluded ranges set aside (SurveySeries::ExcludedSamples).
    int64_t ExcludedSamples = 0;
};

// The options are taken as given; the caller checks them (IsDemandInterval, a rating that is
// not negative).
SurveyResult RunSurvey(const LParameterCollection& parameters, const SurveyOptions& options);

// What the survey says when a recording has no power series or no voltage channel.
extern const char* const NoPowerText;
extern const char* const NoVoltageText;
