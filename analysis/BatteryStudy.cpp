#include "analysis/BatteryStudy.h"

#include "analysis/ParallelLoop.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

std::string ChargingHoursText(uint32_t hours) {
    hours &= AllChargingHours;
    if (hours == AllChargingHours)
        return "0-24";
    if (hours == 0)
        return {};
    // Start at an hour that begins a run, so that a run over midnight is written once.
    int first = 0;
    while (!(hours >> first & 1) || hours >> ((first + 23) % 24) & 1)
        ++first;
    std::string text;
    for (int k = 0; k < 24;) {
        const int h = (first + k) % 24;
        if (!(hours >> h & 1)) {
            ++k;
            continue;
        }
        int length = 0;
        while (length < 24 - k && hours >> ((h + length) % 24) & 1)
            ++length;
        const int end = h + length > 24 ? (h + length) % 24 : h + length;
        text += (text.empty() ? "" : ",") + std::to_string(h) + "-" + std::to_string(end);
        k += length;
    }
    return text;
}

std::optional<uint32_t> ParseChargingHours(const std::string& text) {
    const auto hour = [](std::string_view s, int& value) {
        const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
        return !s.empty() && error == std::errc() && end == s.data() + s.size() && value >= 0 &&
               value <= 24;
    };
    uint32_t hours = 0;
    std::string_view rest(text);
    while (true) {
        const size_t comma = rest.find(',');
        std::string_view item = rest.substr(0, comma);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        const size_t dash = item.find('-');
        int from = 0, to = 0;
        if (dash == std::string_view::npos) {
            if (!hour(item, from) || from == 24)
                return std::nullopt;
            to = from + 1;
        } else if (!hour(item.substr(0, dash), from) || !hour(item.substr(dash + 1), to) ||
                   from == 24 || from == to) {
            return std::nullopt;
        }
        for (int h = from; h != to; h = (h + 1) % 24) {
            hours |= 1u << h;
            if (to == 24 && h == 23)
                break;
        }
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return hours ? std::optional<uint32_t>(hours) : std::nullopt;
}

const char* MonthName(int32_t month) {
    static const char* const names[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
    return month >= 1 && month <= 12 ? names[month - 1] : "";
}

namespace {

// The finite power samples in time order as the simulation reads them, whether each may
// charge (unset: every one may), and the highest of every Chunk of them, so that a pass skips
// the stretches where a full battery has nothing to give.
struct Samples {
    static constexpr size_t Chunk = 64;
    std::vector<float> Watts;
    std::vector<float> Charges; // 1 within the charging hours, else 0; empty for all hours
    std::vector<float> ChunkPeaks;
    double Peak = -INFINITY;
    bool Seen[12] = {};
};

Samples ReadSamples(const SampledSeries& power, uint32_t chargingHours) {
    Samples s;
    const bool window = (chargingHours & AllChargingHours) != AllChargingHours;
    s.Watts.resize(static_cast<size_t>(std::max(power.Count, 0)));
    if (window)
        s.Charges.resize(s.Watts.size());
    const SampledSeries::SecondsWalk seconds(power);
    int64_t dayStart = 0, dayEnd = 0, hourStart = 0, hourEnd = 0;
    float charge = 1;
    size_t n = 0;
    for (int32_t j = 0; j < power.Count; ++j) {
        const float v = power.Values[j];
        if (!std::isfinite(v))
            continue;
        const int64_t t = seconds(j);
        if (t < hourStart || t >= hourEnd) {
            if (t < dayStart || t >= dayEnd) {
                const int64_t day = DayOfSecond(t);
                dayStart = day * 86400;
                dayEnd = dayStart + 86400;
                s.Seen[DecodeDateTime(static_cast<double>(day)).month - 1] = true;
            }
            const int64_t hour = (t - dayStart) / 3600;
            hourStart = dayStart + hour * 3600;
            hourEnd = hourStart + 3600;
            charge = chargingHours >> hour & 1 ? 1.f : 0.f;
        }
        s.Watts[n] = v;
        if (window)
            s.Charges[n] = charge;
        ++n;
    }
    s.Watts.resize(n);
    if (window)
        s.Charges.resize(n);
    for (size_t i = 0; i < n; i += Samples::Chunk) {
        const float peak = *std::max_element(
            s.Watts.begin() + static_cast<std::ptrdiff_t>(i),
            s.Watts.begin() + static_cast<std::ptrdiff_t>(std::min(i + Samples::Chunk, n)));
        s.ChunkPeaks.push_back(peak);
        s.Peak = std::max(s.Peak, static_cast<double>(peak));
    }
    return s;
}

// Caps a pass takes side by side, their deficits in vectors of two doubles: an SSE2 register
// each (a vector of four would be split into single doubles where AVX is missing).
constexpr size_t Lanes = 4;
using Pair = double __attribute__((vector_size(2 * sizeof(double))));
constexpr size_t Pairs = Lanes / 2;

// The largest deficit of each of a pass's caps, in W × sample periods. A stretch of samples
// at or below the lowest cap while every battery is full changes nothing and is skipped.
void Simulate(const Samples& s, const double* caps, const double* limits, double efficiency,
              double* largest) {
    Pair c[Pairs], limit[Pairs], deficit[Pairs] = {}, most[Pairs] = {};
    for (size_t l = 0; l < Lanes; ++l) {
        c[l / 2][l % 2] = caps[l];
        limit[l / 2][l % 2] = limits[l];
    }
    const Pair zero = {};
    const double lowest = *std::min_element(caps, caps + Lanes);
    const float* watts = s.Watts.data();
    const float* charges = s.Charges.empty() ? nullptr : s.Charges.data();
    const size_t n = s.Watts.size();
    for (size_t chunk = 0; chunk < s.ChunkPeaks.size(); ++chunk) {
        bool full = true;
        for (size_t l = 0; l < Lanes; ++l)
            full = full && deficit[l / 2][l % 2] == 0;
        if (full && s.ChunkPeaks[chunk] <= lowest)
            continue;
        const size_t end = std::min(n, (chunk + 1) * Samples::Chunk);
        for (size_t i = chunk * Samples::Chunk; i < end; ++i) {
            const double p = watts[i];
            const double stores = charges ? charges[i] * efficiency : efficiency;
            for (size_t k = 0; k < Pairs; ++k) {
                const Pair over = p - c[k];
                const Pair give = over > zero ? over : zero;
                const Pair room = over < zero ? -over : zero;
                const Pair take = (room < limit[k] ? room : limit[k]) * stores;
                const Pair next = deficit[k] + give - take;
                deficit[k] = next > zero ? next : zero;
                most[k] = deficit[k] > most[k] ? deficit[k] : most[k];
            }
        }
    }
    for (size_t l = 0; l < Lanes; ++l)
        largest[l] = most[l / 2][l % 2];
}

// A complete block with the extremes of its finite samples.
struct Block {
    double Mean;
    float Highest, Lowest;
    int32_t First, Samples, Finite;
    int64_t Start;
};

std::vector<Block> CompleteBlocks(const BlockSeries& blocks, const float* values) {
    std::vector<Block> complete;
    int32_t first = 0;
    for (const DemandBlock& b : blocks.Blocks) {
        if (b.Complete && b.Finite > 0) {
            Block block{b.Mean, -INFINITY, INFINITY, first, b.Samples, b.Finite, b.Start};
            for (int32_t j = first; j < first + b.Samples; ++j)
                if (std::isfinite(values[j])) {
                    block.Highest = std::max(block.Highest, values[j]);
                    block.Lowest = std::min(block.Lowest, values[j]);
                }
            complete.push_back(block);
        }
        first += b.Samples;
    }
    return complete;
}

// Blocks whose highest mean of min(P, C) is asked cap after cap.
class CappedBlocks {
public:
    void Add(const Block& b) { blocks_.push_back(b); }
    void Sort() {
        std::sort(blocks_.begin(), blocks_.end(), [](const Block& a, const Block& b) {
            return a.Mean > b.Mean || (a.Mean == b.Mean && a.First < b.First);
        });
    }
    bool Empty() const { return blocks_.empty(); }

    // Blocks by mean, highest first: none after one whose mean is no higher than the best so
    // far can beat it, as min(P, C) averages to at most the mean and at most C.
    double Highest(double cap, const float* values) const {
        double best = -INFINITY;
        for (const Block& b : blocks_) {
            if (std::min(b.Mean, cap) <= best)
                break;
            double capped;
            if (b.Highest <= cap) {
                capped = b.Mean; // as the cost study has it, to the last bit
            } else if (b.Lowest >= cap) {
                capped = cap;
            } else {
                double sum = 0;
                for (int32_t j = b.First; j < b.First + b.Samples; ++j)
                    if (std::isfinite(values[j]))
                        sum += std::min(static_cast<double>(values[j]), cap);
                capped = sum / b.Finite;
            }
            best = std::max(best, capped);
        }
        return best;
    }

private:
    std::vector<Block> blocks_;
};

// A month of the cost study: its blocks by time-of-use period (the last for the hours of
// none), priced by those periods' tiers and, when the month has one, by its flat period's on
// the highest of them all.
struct MonthCharges {
    double Reactive = 0;
    std::vector<CappedBlocks> Periods;
    const TariffTiers* Flat = nullptr;
};

struct DemandCharges {
    const Tariff* Rates = nullptr;
    std::vector<MonthCharges> Months;

    // The highest month's demand and reactive charges with every block capped (the cost
    // study's, summed in its order, at an infinite cap), and the highest capped block.
    double Highest(double cap, const float* values, double& highestBlock) const {
        double highest = 0;
        highestBlock = -INFINITY;
        for (size_t i = 0; i < Months.size(); ++i) {
            const MonthCharges& m = Months[i];
            double demand = 0, block = -INFINITY;
            for (size_t p = 0; p < m.Periods.size(); ++p) {
                if (m.Periods[p].Empty())
                    continue;
                const double h = m.Periods[p].Highest(cap, values);
                if (p < Rates->DemandPeriods.size())
                    demand += PricedDemand(Rates->DemandPeriods[p], h);
                block = std::max(block, h);
            }
            if (m.Flat && block > -INFINITY)
                demand += PricedDemand(*m.Flat, block);
            highestBlock = std::max(highestBlock, block);
            highest = i == 0 ? demand + m.Reactive : std::max(highest, demand + m.Reactive);
        }
        return highest;
    }
};

std::optional<DemandCharges> ChargesOf(const BatteryLoad& load, const std::vector<Block>& blocks,
                                       std::vector<std::string>& reasons) {
    if (!load.CostTariff || !load.Cost) {
        reasons.push_back("Without a tariff the saving is not priced.");
        return std::nullopt;
    }
    const Tariff& tariff = *load.CostTariff;
    if (!tariff.ChargesDemand()) {
        reasons.push_back("The tariff charges no demand: a battery saves nothing on it.");
        return std::nullopt;
    }
    if (tariff.DemandInKva) {
        reasons.push_back("The tariff charges demand per kVA: the saving of a battery, which "
                          "shaves real power, is not priced.");
        return std::nullopt;
    }
    if (!load.Demand || !load.Demand->Refusal.empty()) {
        reasons.push_back("No demand charge: the saving is not priced.");
        return std::nullopt;
    }
    DemandCharges charges;
    charges.Rates = &tariff;
    const size_t periods = tariff.DemandPeriods.size() + 1;
    for (const CostMonth& m : load.Cost->Months)
        charges.Months.push_back({m.ReactiveCost, std::vector<CappedBlocks>(periods), nullptr});
    // The blocks come in time order: a slot holds for its hour, a month for many.
    int64_t hour = -1;
    DemandSlot slot;
    MonthCharges* month = nullptr;
    for (const Block& b : blocks) {
        if (b.Start / 3600 != hour || !month) {
            hour = b.Start / 3600;
            slot = DemandSlotAt(tariff, b.Start);
            const auto found =
                std::find_if(load.Cost->Months.begin(), load.Cost->Months.end(),
                             [&](const CostMonth& m) { return m.Month == slot.Month; });
            month = found == load.Cost->Months.end()
                        ? nullptr
                        : &charges.Months[static_cast<size_t>(found - load.Cost->Months.begin())];
            if (month && slot.Flat >= 0)
                month->Flat = &tariff.FlatDemandPeriods[static_cast<size_t>(slot.Flat)];
        }
        if (month)
            month->Periods[slot.TimeOfUse >= 0 ? static_cast<size_t>(slot.TimeOfUse) : periods - 1]
                .Add(b);
    }
    for (MonthCharges& m : charges.Months)
        for (CappedBlocks& p : m.Periods)
            p.Sort();
    return charges;
}

// The caps asked, or the default ones; highest first, each once, with the threshold's.
std::vector<double> CapsOf(const BatteryOptions& options, const BatteryLoad& load,
                           const std::optional<double>& highestBlock,
                           std::vector<std::string>& reasons) {
    std::vector<double> caps = options.CapsWatts;
    if (caps.empty()) {
        if (!highestBlock) {
            reasons.push_back("No complete demand block: no caps to study.");
        } else {
            const double top = *highestBlock;
            const double bottom = std::min(load.AverageWatts.value_or(top), top);
            for (int32_t i = 0; i < DefaultBatteryCaps; ++i)
                caps.push_back(i == DefaultBatteryCaps - 1
                                   ? bottom
                                   : top - (top - bottom) * i / (DefaultBatteryCaps - 1));
        }
    }
    if (load.ThresholdWatts && *load.ThresholdWatts > 0 && !caps.empty())
        caps.push_back(*load.ThresholdWatts);
    std::sort(caps.begin(), caps.end(), std::greater<>());
    caps.erase(std::unique(caps.begin(), caps.end()), caps.end());
    return caps;
}

} // namespace

BatteryStudy ComputeBattery(const BatteryOptions& options, const BatteryLoad& load, int threads) {
    BatteryStudy study;
    study.Options = options;
    study.BlockMinutes = load.Blocks.Minutes;
    if (load.Cost)
        study.Currency = load.Cost->Currency;
    const float* values = load.Power.Values;

    const Samples samples = ReadSamples(load.Power, options.ChargingHours);
    for (int32_t m = 1; m <= 12; ++m)
        if (!samples.Seen[m - 1])
            study.MonthsNotSeen.push_back(m);

    // The tariff's blocks are mostly the survey's own: then its months' highest blocks give the
    // highest of all.
    const std::vector<Block> blocks = CompleteBlocks(load.Blocks, values);
    const bool ownBlocks = load.Demand && load.Demand != &load.Blocks;
    const std::vector<Block> demandBlocks =
        ownBlocks ? CompleteBlocks(*load.Demand, values) : std::vector<Block>();
    const std::optional<DemandCharges> charges =
        ChargesOf(load, ownBlocks ? demandBlocks : blocks, study.Reasons);
    CappedBlocks surveyBlocks;
    if (!charges || ownBlocks) {
        for (const Block& b : blocks)
            surveyBlocks.Add(b);
        surveyBlocks.Sort();
    }
    const auto highest = [&](double cap, std::optional<double>& block) {
        double charged = 0, highestBlock = -INFINITY;
        if (charges)
            charged = charges->Highest(cap, values, highestBlock);
        if (!charges || ownBlocks)
            highestBlock = surveyBlocks.Empty() ? -INFINITY : surveyBlocks.Highest(cap, values);
        if (highestBlock > -INFINITY)
            block = highestBlock;
        return charged;
    };
    std::optional<double> highestBlock;
    const double uncapped = highest(INFINITY, highestBlock);
    if (charges)
        study.DemandMinutes = load.Demand->Minutes;

    const std::vector<double> caps = CapsOf(options, load, highestBlock, study.Reasons);
    for (const double cap : caps) {
        BatteryRow& row = study.Rows.emplace_back();
        row.CapWatts = cap;
        row.PowerWatts = samples.Watts.empty() ? 0 : std::max(samples.Peak - cap, 0.0);
        row.ChargingWatts = options.ChargingLimitWatts.value_or(row.PowerWatts);
        row.Threshold = load.ThresholdWatts && *load.ThresholdWatts == cap;
    }

    const double hoursPerSample = load.Power.Rate / 3600.0;
    const bool priced = options.PricePerKwh || options.PricePerKw;
    const size_t passes = (caps.size() + Lanes - 1) / Lanes;
    ParallelLoop(static_cast<int>(passes), threads, [&](int pass) {
        const size_t first = static_cast<size_t>(pass) * Lanes;
        const size_t count = std::min(Lanes, caps.size() - first);
        // A pass short of caps repeats its last.
        double passCaps[Lanes], limits[Lanes], largest[Lanes] = {};
        for (size_t l = 0; l < Lanes; ++l) {
            const BatteryRow& row = study.Rows[first + std::min(l, count - 1)];
            passCaps[l] = row.CapWatts;
            limits[l] = row.ChargingWatts;
        }
        if (!samples.Watts.empty())
            Simulate(samples, passCaps, limits, options.Efficiency, largest);
        for (size_t k = 0; k < count; ++k) {
            BatteryRow& row = study.Rows[first + k];
            row.EnergyWh = largest[k] * hoursPerSample;
            const double charged = highest(row.CapWatts, row.DemandWatts);
            if (charges) {
                row.MonthSaving = uncapped - charged;
                row.YearSaving = 12 * *row.MonthSaving;
            }
            if (priced) {
                row.Price = row.EnergyWh / 1000 * options.PricePerKwh.value_or(0) +
                            row.PowerWatts / 1000 * options.PricePerKw.value_or(0);
                if (row.YearSaving && *row.YearSaving > 0)
                    row.PaybackYears = *row.Price / *row.YearSaving;
            }
        }
    });

    BatteryRow* shortest = nullptr;
    for (BatteryRow& row : study.Rows)
        if (row.PaybackYears && (!shortest || *row.PaybackYears < *shortest->PaybackYears))
            shortest = &row;
    if (shortest)
        shortest->ShortestPayback = true;
    return study;
}
