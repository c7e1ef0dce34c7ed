#include "analysis/Survey.h"

#include "analysis/ExcludedRanges.h"
#include "analysis/SeriesRange.h"
#include "model/LParameter.h"
#include "model/LParameterCollection.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

const char* const NoPowerText =
    "The recording has no real power of 3Ø, nor of all of ØA, ØB and ØC, nor of V1I1 (and V2I2 "
    "on a 1Ø 3W service): no power results.";
const char* const NoVoltageText = "The recording has no RMS voltage: no voltage results.";

namespace {

constexpr uint8_t QuantityRms = 0, QuantityRealPower = 1, QuantityReactivePower = 2,
                  QuantityApparentPower = 3;
constexpr uint8_t UnitVolts = 0, UnitAmperes = 1, UnitWatts = 2, UnitVar = 3, UnitVoltAmperes = 4;
constexpr uint8_t ChannelPhaseA = 22, ChannelPhaseB = 23, ChannelPhaseC = 24, ChannelV1I1 = 8,
                  ChannelV2I2 = 9;

bool Usable(const LParameter& p, uint8_t quantity, uint8_t unit) {
    return p.TableType() == ttHistoric && p.Quantity() == quantity && p.Unit() == unit &&
           p.Count() > 0 && p.Rate() > 0 && p.Values();
}

// The first usable Historic parameter of this quantity, unit and channel.
const LParameter* Find(const LParameterCollection& parameters, uint8_t quantity, uint8_t unit,
                       uint8_t channel) {
    for (const auto& p : parameters)
        if (Usable(*p, quantity, unit) && p->Channel() == channel)
            return p.get();
    return nullptr;
}

std::optional<SampledSeries> Sampled(const LParameter* p, const std::optional<TimeRange>& range,
                                     std::string label) {
    if (!p)
        return std::nullopt;
    const SeriesRange all = WholeSeries(*p);
    const SeriesRange kept = range ? Narrow(all, *range) : all;
    if (kept.Empty())
        return std::nullopt;
    return SampledSeries{std::move(label), p->Values() + kept.First,
                         kept.Count(),     p->StartTime(),
                         kept.First,       p->Rate()};
}

// The per-phase power channels of a service and the label of their sum.
struct PhaseChannels {
    std::vector<uint8_t> Channels;
    const char* Label;
};

PhaseChannels PowerChannels(ServiceWiring wiring) {
    switch (wiring) {
    case ServiceWiring::SinglePhase:
        return {{ChannelV1I1}, "V1I1"};
    case ServiceWiring::SplitPhase:
        return {{ChannelV1I1, ChannelV2I2}, "V1I1+V2I2"};
    default:
        return {{ChannelPhaseA, ChannelPhaseB, ChannelPhaseC}, "ØA+ØB+ØC"};
    }
}

// The 3Ø parameter of this quantity and unit, else the sample-by-sample sum of the per-phase
// ones the service has, when all of them share one time base.
std::optional<SampledSeries> TotalOf(const LParameterCollection& parameters,
                                     const std::optional<TimeRange>& range, uint8_t quantity,
                                     uint8_t unit, ServiceWiring wiring,
                                     std::vector<float>& phaseSum) {
    if (const LParameter* total = Find(parameters, quantity, unit, chThreePhase))
        if (auto s = Sampled(total, range, total->ChannelLabel()))
            return s;
    const PhaseChannels wanted = PowerChannels(wiring);
    std::vector<std::optional<SampledSeries>> phases;
    for (const uint8_t channel : wanted.Channels)
        phases.push_back(Sampled(Find(parameters, quantity, unit, channel), range, std::string()));
    if (phases.empty() || !phases.front())
        return std::nullopt;
    const SampledSeries& a = *phases.front();
    const auto same = [&](const std::optional<SampledSeries>& s) {
        return s && s->Rate == a.Rate && WholeSeconds(s->Start) == WholeSeconds(a.Start) &&
               s->FirstIndex == a.FirstIndex;
    };
    if (!std::all_of(phases.begin(), phases.end(), same))
        return std::nullopt;
    int32_t n = a.Count;
    for (const auto& s : phases)
        n = std::min(n, s->Count);
    phaseSum.resize(static_cast<size_t>(n));
    for (int32_t j = 0; j < n; ++j) {
        double sum = 0;
        for (const auto& s : phases)
            sum += s->Values[j];
        phaseSum[static_cast<size_t>(j)] = static_cast<float>(sum);
    }
    std::optional<SampledSeries> sum = a;
    sum->Label = wanted.Label;
    sum->Values = phaseSum.data();
    sum->Count = n;
    return sum;
}

} // namespace

ServiceWiring WiringOf(const LParameterCollection& parameters) {
    bool split = false, single = false, delta = false, three = false;
    for (const auto& p : parameters) {
        const uint8_t c = p->Channel();
        split |= c == 2 || c == 5 || c == ChannelV2I2;
        single |= c == 1 || c == 4 || c == ChannelV1I1;
        delta |= c >= 12 && c <= 14;
        three |= c >= 12 && c <= 25;
    }
    return split    ? ServiceWiring::SplitPhase
           : single ? ServiceWiring::SinglePhase
           : delta  ? ServiceWiring::Delta
           : three  ? ServiceWiring::Wye
                    : ServiceWiring::Unknown;
}

bool IsDemandInterval(int32_t minutes) {
    return minutes == 5 || minutes == 10 || minutes == 15 || minutes == 30 || minutes == 60;
}

SurveySeries::SurveySeries(const LParameterCollection& parameters,
                           const std::optional<TimeRange>& range, bool apparent,
                           const std::vector<TimeRange>& excluded)
    : wiring_(WiringOf(parameters)) {
    power_.Series =
        TotalOf(parameters, range, QuantityRealPower, UnitWatts, wiring_, power_.PhaseSum);
    reactive_.Series =
        TotalOf(parameters, range, QuantityReactivePower, UnitVar, wiring_, reactive_.PhaseSum);
    if (apparent)
        apparent_.Series = TotalOf(parameters, range, QuantityApparentPower, UnitVoltAmperes,
                                   wiring_, apparent_.PhaseSum);

    // IA, IB, IC, else I1, I2, I3.
    for (const auto& channels : {std::initializer_list<uint8_t>{18, 19, 20}, {4, 5, 6}}) {
        for (const uint8_t channel : channels) {
            const LParameter* p = Find(parameters, QuantityRms, UnitAmperes, channel);
            if (auto s = Sampled(p, range, p ? p->ChannelLabel() : std::string()))
                currents_.push_back(std::move(*s));
        }
        if (!currents_.empty())
            break;
    }

    // Every RMS voltage channel, in the order the recording holds them.
    std::vector<uint8_t> seen;
    for (const auto& p : parameters) {
        if (!Usable(*p, QuantityRms, UnitVolts) ||
            std::find(seen.begin(), seen.end(), p->Channel()) != seen.end())
            continue;
        seen.push_back(p->Channel());
        if (auto s = Sampled(p.get(), range, p->ChannelLabel()))
            voltages_.push_back(std::move(*s));
    }
    SetAsideExcluded(excluded);
}

void SurveySeries::SetAsideExcluded(const std::vector<TimeRange>& excluded) {
    if (excluded.empty())
        return;
    // A sum of phases is set aside once made: NaN in any phase is NaN in the sum.
    std::optional<int64_t> power, voltage, current;
    for (Total* total : {&power_, &reactive_, &apparent_}) {
        if (!total->Series)
            continue;
        std::vector<float>& storage = total->Series->Values == total->PhaseSum.data()
                                          ? total->PhaseSum
                                          : excludedValues_.emplace_back();
        const int64_t n = SetAside(*total->Series, excluded, storage);
        if (total == &power_)
            power = n;
    }
    for (SampledSeries& s : voltages_) {
        const int64_t n = SetAside(s, excluded, excludedValues_.emplace_back());
        voltage = voltage.value_or(n);
    }
    for (SampledSeries& s : currents_) {
        const int64_t n = SetAside(s, excluded, excludedValues_.emplace_back());
        current = current.value_or(n);
    }
    excludedSamples_ = power ? *power : voltage ? *voltage : current.value_or(0);
}

namespace {

// The blocks of a series in the minutes asked, the ones already made when they match.
const BlockSeries* BlocksIn(int32_t minutes, const std::optional<SampledSeries>& series,
                            const BlockSeries* made, std::optional<BlockSeries>& own) {
    if (!series)
        return nullptr;
    if (made && made->Minutes == minutes)
        return made;
    own = ComputeBlocks(*series, minutes);
    return &*own;
}

// The cost of the load, or with bankVar above 0 of the load with that bank on every block.
CostStudy SurveyCost(const SurveySeries& series, const SurveyOptions& options, const PowerSurvey& p,
                     const std::optional<BlockSeries>& reactive,
                     std::optional<double> thresholdWatts, double bankVar = 0) {
    const Tariff& tariff = *options.CostTariff;
    const int32_t minutes = tariff.DemandWindowMinutes.value_or(options.BlockMinutes);
    std::optional<BlockSeries> ownDemand, ownReactive;
    const BlockSeries* demand = tariff.DemandInKva
                                    ? BlocksIn(minutes, series.Apparent(), nullptr, ownDemand)
                                    : BlocksIn(minutes, series.Power(), &p.Blocks, ownDemand);
    const BlockSeries* reactiveDemand =
        tariff.ReactivePrice != 0 || (bankVar > 0 && tariff.DemandInKva)
            ? BlocksIn(minutes, series.Reactive(), reactive ? &*reactive : nullptr, ownReactive)
            : nullptr;
    std::optional<BlockSeries> bankDemand, bankReactive, ownPower;
    if (bankVar > 0 && reactiveDemand) {
        if (tariff.DemandInKva && demand)
            demand = &bankDemand.emplace(
                ApparentWithBank(*demand, *BlocksIn(minutes, series.Power(), &p.Blocks, ownPower),
                                 *reactiveDemand, bankVar));
        reactiveDemand = &bankReactive.emplace(ReactiveWithBank(*reactiveDemand, bankVar));
    }
    if (tariff.ReactivePrice == 0)
        reactiveDemand = nullptr;
    return ComputeCost(tariff, *series.Power(), demand, reactiveDemand, p.Totals.Days,
                       thresholdWatts);
}

// Whether the power factor study's bank pays on the survey's tariff.
CorrectionSaving SurveyCorrection(const SurveySeries& series, const SurveyOptions& options,
                                  const PowerSurvey& p, const std::optional<BlockSeries>& reactive,
                                  std::optional<double> thresholdWatts) {
    const Tariff* tariff = options.CostTariff ? &*options.CostTariff : nullptr;
    std::optional<CostStudy> corrected;
    if (tariff && p.Cost && ChargesForReactive(*tariff) && p.PowerFactor.BankVar &&
        *p.PowerFactor.BankVar > 0)
        corrected =
            SurveyCost(series, options, p, reactive, thresholdWatts, *p.PowerFactor.BankVar);
    return DecideCorrection(p.PowerFactor, tariff, options.TariffError, p.Cost ? &*p.Cost : nullptr,
                            corrected ? &*corrected : nullptr, options.BankPricePerKvar);
}

BatteryStudy SurveyBattery(const SurveySeries& series, const SurveyOptions& options,
                           const PowerSurvey& p) {
    const Tariff* tariff = options.CostTariff ? &*options.CostTariff : nullptr;
    std::optional<BlockSeries> own;
    const BlockSeries* demand =
        tariff && tariff->ChargesDemand() && !tariff->DemandInKva
            ? BlocksIn(tariff->DemandWindowMinutes.value_or(options.BlockMinutes), series.Power(),
                       &p.Blocks, own)
            : nullptr;
    return ComputeBattery(*options.Battery,
                          {*series.Power(), p.Blocks, p.Totals.AverageWatts, options.ThresholdWatts,
                           tariff, p.Cost ? &*p.Cost : nullptr, demand});
}

bool LineToLine(const std::string& label) {
    return label == "VAB" || label == "VBC" || label == "VCA";
}

// phases: the blocks of the currents in the survey's minutes.
CapacityStudy SurveyCapacity(const SurveySeries& series, const SurveyOptions& options,
                             const std::vector<BlockSeries>& phases, const SurveyResult& result) {
    std::vector<BlockSeries> own;
    if (options.BlockMinutes != LoadStudyMinutes)
        for (const SampledSeries& current : series.Currents())
            own.push_back(ComputeBlocks(current, LoadStudyMinutes));
    const std::vector<BlockSeries>& blocks = own.empty() ? phases : own;
    CapacityData data;
    data.Wiring = series.Wiring();
    data.Currents = &series.Currents();
    data.Blocks = &blocks;
    data.Apparent = series.Apparent() ? &*series.Apparent() : nullptr;
    data.RatingAmps = options.RatingAmps;
    // Line to neutral, but a delta has only line-to-line voltages.
    data.Volts = options.NominalVolts;
    const bool delta = data.Wiring == ServiceWiring::Delta;
    if (!data.Volts && result.Voltage)
        for (const VoltageChannel& c : result.Voltage->Channels)
            if (LineToLine(c.ChannelLabel) == delta && c.NominalVolts) {
                data.Volts = c.NominalVolts;
                data.VoltsGuessed = c.NominalGuessed;
                break;
            }
    // As the load study judges its blocks, each phase's.
    for (size_t i = 0; i < blocks.size() && data.NotValid.empty(); ++i) {
        const SampledSeries& current = series.Currents()[i];
        const int64_t finite = std::count_if(current.Values, current.Values + current.Count,
                                             [](float v) { return std::isfinite(v); });
        data.NotValid = LoadStudyReasons(blocks[i], CoveredDays(finite, current.Rate));
    }
    return ComputeCapacity(options.Capacity, data);
}

} // namespace

SurveyResult RunSurvey(const LParameterCollection& parameters, const SurveyOptions& options) {
    SurveyResult result;
    result.Options = options;
    result.Impossible = FindImpossibleValues(parameters);
    const SurveySeries series(parameters, options.Range,
                              (options.CostTariff && options.CostTariff->DemandInKva) ||
                                  !options.Capacity.Loads.empty(),
                              options.Excluded);
    result.ExcludedSamples = series.ExcludedSamples();

    auto widen = [&](const SampledSeries& s) {
        const TDateTime first = SecondsToDays(s.Seconds(0));
        const TDateTime last = SecondsToDays(s.Seconds(s.Count - 1));
        result.From = result.From ? std::min(*result.From, first) : first;
        result.To = result.To ? std::max(*result.To, last) : last;
    };

    std::vector<BlockSeries> phases;
    for (const SampledSeries& current : series.Currents())
        phases.push_back(ComputeBlocks(current, options.BlockMinutes));
    if (const auto& power = series.Power()) {
        widen(*power);
        PowerSurvey& p = result.Power.emplace();
        p.Source = power->Label;
        p.Blocks = ComputeBlocks(*power, options.BlockMinutes);
        p.Totals = ComputeEnergyTotals(*power, p.Blocks);
        p.Load = ComputeLoadStudy(p.Blocks, p.Totals.Days, phases, options.RatingAmps);
        p.Days = ComputeEnergyDays(*power, p.Blocks);
        p.Profile = ComputeDailyProfile(p.Blocks);
        std::vector<TDateTime> days;
        for (const EnergyDay& d : p.Days)
            days.push_back(d.Date);
        p.Heat = ComputeHeatMap(p.Blocks, days);
        std::optional<double> threshold = options.ThresholdWatts;
        if (threshold && p.Totals.BaseWatts && *threshold < *p.Totals.BaseWatts) {
            p.RefusedThreshold = ThresholdRefusal{*threshold, *p.Totals.BaseWatts};
            threshold.reset();
        }
        p.Duration = ComputeLoadDuration(p.Blocks, threshold);
        std::optional<BlockSeries> reactive;
        if (series.Reactive())
            reactive = ComputeBlocks(*series.Reactive(), options.BlockMinutes);
        p.PowerFactor =
            ComputePowerFactorCorrection(p.Blocks, reactive ? &*reactive : nullptr,
                                         options.TargetPowerFactor, options.BankStepVar);
        if (options.CostTariff)
            p.Cost = SurveyCost(series, options, p, reactive, threshold);
        p.Correction = SurveyCorrection(series, options, p, reactive, threshold);
        if (options.Battery)
            p.Battery = SurveyBattery(series, options, p);
    }
    std::vector<const BlockSeries*> voltageBlocks, currentBlocks;
    if (!series.Voltages().empty()) {
        for (const SampledSeries& v : series.Voltages())
            widen(v);
        result.Voltage = ComputeVoltageVariation(series.Voltages(), options.NominalVolts);
        for (const VoltageChannel& c : result.Voltage->Channels)
            voltageBlocks.push_back(&c.Blocks);
    }
    for (const BlockSeries& b : phases)
        currentBlocks.push_back(&b);
    result.Unbalance = ComputeUnbalance(voltageBlocks, currentBlocks);
    if (!options.Capacity.Loads.empty())
        result.Capacity = SurveyCapacity(series, options, phases, result);
    return result;
}
