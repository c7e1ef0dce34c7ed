#include "analysis/Survey.h"

#include "analysis/ExcludedRanges.h"
#include "analysis/SeriesRange.h"
#include "model/LParameter.h"
#include "model/LParameterCollection.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

const char* const NoPowerText =
    "The recording has no real power of 3Ø, nor of all of ØA, ØB and ØC: no power results.";
const char* const NoVoltageText = "The recording has no RMS voltage: no voltage results.";

namespace {

constexpr uint8_t QuantityRms = 0, QuantityRealPower = 1, QuantityReactivePower = 2,
                  QuantityApparentPower = 3;
constexpr uint8_t UnitVolts = 0, UnitAmperes = 1, UnitWatts = 2, UnitVar = 3, UnitVoltAmperes = 4;
constexpr uint8_t ChannelPhaseA = 22, ChannelPhaseB = 23, ChannelPhaseC = 24;

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

// The 3Ø parameter of this quantity and unit, else the sample-by-sample sum of ØA, ØB and ØC
// when all three share one time base.
std::optional<SampledSeries> TotalOf(const LParameterCollection& parameters,
                                     const std::optional<TimeRange>& range, uint8_t quantity,
                                     uint8_t unit, std::vector<float>& phaseSum) {
    if (const LParameter* total = Find(parameters, quantity, unit, chThreePhase))
        if (auto s = Sampled(total, range, total->ChannelLabel()))
            return s;
    std::optional<SampledSeries> phases[3];
    int i = 0;
    for (const uint8_t channel : {ChannelPhaseA, ChannelPhaseB, ChannelPhaseC})
        phases[i++] = Sampled(Find(parameters, quantity, unit, channel), range, std::string());
    const auto& a = phases[0];
    const auto& b = phases[1];
    const auto& c = phases[2];
    const auto same = [&](const std::optional<SampledSeries>& s) {
        return s && s->Rate == a->Rate && WholeSeconds(s->Start) == WholeSeconds(a->Start) &&
               s->FirstIndex == a->FirstIndex;
    };
    if (!a || !same(b) || !same(c))
        return std::nullopt;
    const int32_t n = std::min({a->Count, b->Count, c->Count});
    phaseSum.resize(static_cast<size_t>(n));
    for (int32_t j = 0; j < n; ++j)
        phaseSum[static_cast<size_t>(j)] =
            static_cast<float>(static_cast<double>(a->Values[j]) + b->Values[j] + c->Values[j]);
    std::optional<SampledSeries> sum = *a;
    sum->Label = "ØA+ØB+ØC";
    sum->Values = phaseSum.data();
    sum->Count = n;
    return sum;
}

} // namespace

bool IsDemandInterval(int32_t minutes) {
    return minutes == 5 || minutes == 10 || minutes == 15 || minutes == 30 || minutes == 60;
}

SurveySeries::SurveySeries(const LParameterCollection& parameters,
                           const std::optional<TimeRange>& range, bool apparent,
                           const std::vector<TimeRange>& excluded) {
    power_.Series = TotalOf(parameters, range, QuantityRealPower, UnitWatts, power_.PhaseSum);
    reactive_.Series =
        TotalOf(parameters, range, QuantityReactivePower, UnitVar, reactive_.PhaseSum);
    if (apparent)
        apparent_.Series =
            TotalOf(parameters, range, QuantityApparentPower, UnitVoltAmperes, apparent_.PhaseSum);

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

CostStudy SurveyCost(const SurveySeries& series, const SurveyOptions& options, const PowerSurvey& p,
                     const std::optional<BlockSeries>& reactive) {
    const Tariff& tariff = *options.CostTariff;
    const int32_t minutes = tariff.DemandWindowMinutes.value_or(options.BlockMinutes);
    std::optional<BlockSeries> ownDemand, ownReactive;
    const BlockSeries* demand = tariff.DemandInKva
                                    ? BlocksIn(minutes, series.Apparent(), nullptr, ownDemand)
                                    : BlocksIn(minutes, series.Power(), &p.Blocks, ownDemand);
    const BlockSeries* reactiveDemand =
        tariff.ReactivePrice != 0
            ? BlocksIn(minutes, series.Reactive(), reactive ? &*reactive : nullptr, ownReactive)
            : nullptr;
    return ComputeCost(tariff, *series.Power(), demand, reactiveDemand, p.Totals.Days,
                       options.ThresholdWatts);
}

} // namespace

SurveyResult RunSurvey(const LParameterCollection& parameters, const SurveyOptions& options) {
    SurveyResult result;
    result.Options = options;
    const SurveySeries series(parameters, options.Range,
                              options.CostTariff && options.CostTariff->DemandInKva,
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
        p.Duration = ComputeLoadDuration(p.Blocks, options.ThresholdWatts);
        std::optional<BlockSeries> reactive;
        if (series.Reactive())
            reactive = ComputeBlocks(*series.Reactive(), options.BlockMinutes);
        p.PowerFactor =
            ComputePowerFactorCorrection(p.Blocks, reactive ? &*reactive : nullptr,
                                         options.TargetPowerFactor, options.BankStepVar);
        if (options.CostTariff)
            p.Cost = SurveyCost(series, options, p, reactive);
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
    return result;
}
