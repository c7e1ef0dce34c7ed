#include "analysis/CapacityStudy.h"

#include "analysis/Survey.h"
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"
#include "model/PlainText.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

const char* const NoPhaseCurrentsText =
    "The recording has no RMS current of the phases (IA, IB, IC or I1, I2).";
const char* const NoRatingText = "The service rating is not set.";

namespace {

constexpr std::array<std::pair<LoadConnection, const char*>, 7> Connections{{
    {LoadConnection::L1, "L1"},
    {LoadConnection::L2, "L2"},
    {LoadConnection::BothLegs, "L1+L2"},
    {LoadConnection::A, "A"},
    {LoadConnection::B, "B"},
    {LoadConnection::C, "C"},
    {LoadConnection::ThreePhases, "A+B+C"},
}};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return text;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The fields of one CSV record: a field in quotes may hold commas, its quotes doubled.
std::vector<std::string> CsvFields(const std::string& text) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"')
            fields.back() += text[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    for (std::string& f : fields)
        f = Trimmed(f);
    return fields;
}

// The position (0 to 2) of a phase current among the service's phases.
int PhasePosition(const std::string& label) {
    static const char* const labels[][3] = {{"IA", "IB", "IC"}, {"I1", "I2", "I3"}};
    for (const auto& names : labels)
        for (int p = 0; p < 3; ++p)
            if (label == names[p])
                return p;
    return -1;
}

std::string PhaseLabel(ServiceWiring wiring, int position) {
    const bool legs = wiring == ServiceWiring::SinglePhase || wiring == ServiceWiring::SplitPhase;
    return std::string("I") + (legs ? "123" : "ABC")[position];
}

// Whether any value is not finite, without a branch a value: all exponent bits set.
bool AnyLost(const float* v, int32_t count) {
    uint32_t lost = 0;
    for (int32_t j = 0; j < count; ++j)
        lost |= static_cast<uint32_t>((std::bit_cast<uint32_t>(v[j]) & 0x7F800000u) == 0x7F800000u);
    return lost != 0;
}

// The largest mean of n consecutive samples that are all finite, at the first one's time.
std::optional<TimedValue> LargestMean(const SampledSeries& s, int32_t n) {
    if (n <= 0 || n > s.Count)
        return std::nullopt;
    // Each run of finite samples slides its own sum, one addition a sample on the chain that
    // limits the pace; sums are compared, not means, as a division a sample would cost more.
    double bestSum = -INFINITY;
    int32_t bestFirst = -1;
    const float* v = s.Values;
    const bool anyLost = AnyLost(v, s.Count);
    for (int32_t first = 0; first + n <= s.Count;) {
        double sum = 0;
        int32_t j = first;
        while (j < first + n && std::isfinite(v[j]))
            sum += v[j++];
        if (j < first + n) {
            first = j + 1;
            continue;
        }
        int32_t end = anyLost ? j : s.Count; // the run of finite samples is [first, end)
        while (end < s.Count && std::isfinite(v[end]))
            ++end;
        // The windows starting in the first and in the second half of the run slide side by
        // side, two chains of additions instead of one; the earlier of equal sums counts.
        const int32_t starts = end - n - first + 1, half = starts / 2, middle = first + half;
        double other = 0;
        for (int32_t k = middle; k < middle + n; ++k)
            other += v[k];
        double firstBest = sum, otherBest = other;
        int32_t firstAt = first, otherAt = middle;
        for (int32_t k = 1; k < half; ++k) {
            sum += static_cast<double>(v[first + k + n - 1]) - v[first + k - 1];
            other += static_cast<double>(v[middle + k + n - 1]) - v[middle + k - 1];
            if (sum > firstBest)
                firstBest = sum, firstAt = first + k;
            if (other > otherBest)
                otherBest = other, otherAt = middle + k;
        }
        for (int32_t k = std::max(half, 1); k < starts - half; ++k) {
            other += static_cast<double>(v[middle + k + n - 1]) - v[middle + k - 1];
            if (other > otherBest)
                otherBest = other, otherAt = middle + k;
        }
        if (firstBest < otherBest)
            firstBest = otherBest, firstAt = otherAt;
        if (firstBest > bestSum)
            bestSum = firstBest, bestFirst = firstAt;
        first = end + 1;
    }
    if (bestFirst < 0)
        return std::nullopt;
    return TimedValue{bestSum / n, SecondsToDays(s.Seconds(bestFirst))};
}

// The charging window a time of day lies in: the day it opened (0 the same day, −1 the day
// before), or 1 outside every window.
int NightOf(int64_t time, int64_t from, int64_t to) {
    if (from < to)
        return time >= from && time < to ? 0 : 1;
    return time >= from ? 0 : time < to ? -1 : 1;
}

ManagedNights Nights(const CapacityLoad& load, const std::vector<const SampledSeries*>& phases,
                     double rating, const CapacityInputs& inputs) {
    ManagedNights result;
    result.Name = load.Load.Name;
    const SampledSeries& first = *phases.front();
    const int64_t from = int64_t{inputs.WindowFrom} * 60, to = int64_t{inputs.WindowTo} * 60;
    const int64_t length = from < to ? to - from : 86400 - from + to;
    const double available = rating / ContinuousFactor;
    const double hours = first.Rate / 3600.0;
    struct Night {
        double Wh = 0;
        bool Lost = false;
    };
    int32_t count = first.Count;
    for (const SampledSeries* p : phases)
        count = std::min(count, p->Count);
    if (count <= 0)
        return result;
    // A night a day, by the day it opens, from the day before the first sample's.
    const int64_t firstSecond = first.Seconds(0), end = first.Seconds(count - 1) + first.Rate;
    const int64_t firstDay = DayOfSecond(firstSecond) - 1;
    std::vector<Night> nights(static_cast<size_t>(DayOfSecond(end) - firstDay + 1));
    const SampledSeries::SecondsWalk seconds(first);
    int64_t day = firstDay, midnight = 0, nextMidnight = 0;
    for (int32_t j = 0; j < count; ++j) {
        const int64_t second = seconds(j);
        if (second >= nextMidnight || second < midnight) {
            day = DayOfSecond(second);
            midnight = day * 86400;
            nextMidnight = midnight + 86400;
        }
        const int night = NightOf(second - midnight, from, to);
        if (night > 0) {
            // To the last sample before the window opens (a second off at most, where the
            // samples' times are rounded).
            const int64_t opens = (second - midnight < from ? midnight : nextMidnight) + from;
            j += static_cast<int32_t>(std::max<int64_t>(0, (opens - second) / first.Rate - 2));
            continue;
        }
        double measured = -INFINITY;
        bool lost = false;
        for (const SampledSeries* p : phases) {
            const float v = p->Values[j];
            lost |= !std::isfinite(v);
            measured = std::max(measured, static_cast<double>(v));
        }
        Night& n = nights[static_cast<size_t>(day + night - firstDay)];
        n.Lost |= lost;
        if (!lost)
            n.Wh +=
                *load.Volts * std::min(load.Load.Amps, std::max(0.0, available - measured)) * hours;
    }
    // Only the windows the recording holds whole.
    std::vector<double> energies;
    for (size_t i = 0; i < nights.size(); ++i) {
        const Night& n = nights[i];
        const int64_t night = firstDay + static_cast<int64_t>(i), open = night * 86400 + from;
        if (n.Lost || open < firstSecond || open + length > end)
            continue;
        result.Nights.push_back({SecondsToDays(night * 86400), n.Wh});
        energies.push_back(n.Wh);
    }
    if (energies.empty())
        return result;
    std::sort(energies.begin(), energies.end());
    const size_t n = energies.size();
    result.LeastWh = energies.front();
    result.MedianWh = n % 2 ? energies[n / 2] : (energies[n / 2 - 1] + energies[n / 2]) / 2;
    double sum = 0;
    for (const double e : energies)
        sum += e;
    result.MeanWh = sum / static_cast<double>(n);
    if (inputs.NightNeedWh)
        result.NightsShort = static_cast<int32_t>(std::count_if(
            energies.begin(), energies.end(), [&](double e) { return e < *inputs.NightNeedWh; }));
    return result;
}

std::vector<HeadroomHour> EmptyHours() {
    std::vector<HeadroomHour> hours(24);
    for (int32_t h = 0; h < 24; ++h)
        hours[static_cast<size_t>(h)].Hour = h;
    return hours;
}

} // namespace

std::string ServiceWiringName(ServiceWiring wiring) {
    switch (wiring) {
    case ServiceWiring::SinglePhase:
        return PhaseConfigName(0);
    case ServiceWiring::SplitPhase:
        return PhaseConfigName(1);
    case ServiceWiring::Wye:
        return PhaseConfigName(3);
    case ServiceWiring::Delta:
        return PhaseConfigName(4);
    case ServiceWiring::Unknown:
        break;
    }
    return {};
}

const char* ConnectionText(LoadConnection connection) {
    for (const auto& [c, text] : Connections)
        if (c == connection)
            return text;
    return "";
}

std::vector<int> ConnectionPhases(LoadConnection connection) {
    switch (connection) {
    case LoadConnection::L1:
    case LoadConnection::A:
        return {0};
    case LoadConnection::L2:
    case LoadConnection::B:
        return {1};
    case LoadConnection::C:
        return {2};
    case LoadConnection::BothLegs:
        return {0, 1};
    case LoadConnection::ThreePhases:
        break;
    }
    return {0, 1, 2};
}

bool ContinuousByDefault(const std::string& name) {
    const std::string n = " " + Lower(name) + " ";
    for (const char* kind : {"charger", " ev ", "ev charg", "heat pump", "water heater"})
        if (n.find(kind) != std::string::npos)
            return true;
    return false;
}

NewLoad ParseNewLoad(const std::string& given) {
    const auto fail = [&](const std::string& why) -> NewLoad {
        Raise("new load '" + given + "': " + why);
    };
    const std::vector<std::string> fields = CsvFields(given);
    if (fields.size() < 3)
        return fail("give its name, amperes and connection, separated by commas");
    NewLoad load;
    load.Name = fields[0];
    if (load.Name.empty())
        return fail("the name is empty");
    const std::string& amps = fields[1];
    const char* first = amps.data() + (!amps.empty() && amps.front() == '+');
    const auto [end, error] = std::from_chars(first, amps.data() + amps.size(), load.Amps);
    if (amps.empty() || error != std::errc() || end != amps.data() + amps.size() ||
        !std::isfinite(load.Amps) || load.Amps <= 0)
        return fail("the amperes '" + amps + "' are not a number above 0");
    const auto connection =
        std::find_if(Connections.begin(), Connections.end(),
                     [&](const auto& c) { return Lower(c.second) == Lower(fields[2]); });
    if (connection == Connections.end())
        return fail("the connection '" + fields[2] + "' is not L1, L2, L1+L2, A, B, C or A+B+C");
    load.Connection = connection->first;
    std::optional<bool> continuous;
    for (size_t i = 3; i < fields.size(); ++i) {
        const std::string word = Lower(fields[i]);
        if (word == "continuous" || word == "noncontinuous")
            continuous = word == "continuous";
        else if (word == "managed")
            load.Managed = true;
        else
            return fail("'" + fields[i] + "' is not continuous, noncontinuous or managed");
    }
    load.Continuous = continuous.value_or(ContinuousByDefault(load.Name));
    return load;
}

std::string NewLoadText(const NewLoad& load) {
    std::string given;
    AppendCsvField(given, load.Name);
    // The shortest text that reads back as the same number: "48", "12.5".
    char amps[32];
    const auto written = std::to_chars(amps, amps + sizeof amps, load.Amps);
    given += ',' + std::string(amps, written.ptr);
    given += std::string(",") + ConnectionText(load.Connection);
    given += load.Continuous ? ",continuous" : ",noncontinuous";
    if (load.Managed)
        given += ",managed";
    return given;
}

std::string ChargingWindowText(int32_t from, int32_t to) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d-%02d:%02d", from / 60 % 100, from % 60,
                  to / 60 % 100, to % 60);
    return text;
}

void ParseChargingWindow(const std::string& text, int32_t& from, int32_t& to) {
    int h1 = -1, m1 = -1, h2 = -1, m2 = -1, used = 0;
    if (std::sscanf(text.c_str(), "%2d:%2d-%2d:%2d%n", &h1, &m1, &h2, &m2, &used) != 4 ||
        used != static_cast<int>(text.size()) || h1 < 0 || h1 > 23 || m1 < 0 || m1 > 59 || h2 < 0 ||
        h2 > 23 || m2 < 0 || m2 > 59)
        Raise("the charging window '" + text + "' is not HH:MM-HH:MM");
    from = h1 * 60 + m1;
    to = h2 * 60 + m2;
}

const char* CapacityVerdictText(CapacityVerdict verdict) {
    switch (verdict) {
    case CapacityVerdict::Yes:
        return "Yes";
    case CapacityVerdict::YesWithLoadManagement:
        return "Yes, with load management";
    case CapacityVerdict::No:
        return "No";
    case CapacityVerdict::NotDecided:
        break;
    }
    return "not decided";
}

CapacityStudy ComputeCapacity(const CapacityInputs& inputs, const CapacityData& data) {
    CapacityStudy s;
    s.Wiring = data.Wiring;
    s.RatingAmps = data.RatingAmps;
    s.Volts = data.Volts;
    s.VoltsGuessed = data.VoltsGuessed;
    s.LineToLine = data.Wiring == ServiceWiring::Delta;
    const std::vector<SampledSeries>& currents = *data.Currents;
    const std::vector<BlockSeries>& blocks = *data.Blocks;

    // Where each of the service's phases is among the currents.
    int slot[3] = {-1, -1, -1};
    for (size_t i = 0; i < currents.size(); ++i) {
        const int p = PhasePosition(currents[i].Label);
        if (p >= 0 && slot[p] < 0)
            slot[p] = static_cast<int>(i);
        CapacityPhase& phase = s.Phases.emplace_back();
        phase.ChannelLabel = currents[i].Label;
        phase.Peak = HighestBlock(blocks[i]);
        if (phase.Peak)
            phase.ExistingAmps = ContinuousFactor * phase.Peak->Value;
        phase.ThreeHourAmps = LargestMean(currents[i], ContinuousSeconds / currents[i].Rate);
    }

    if (currents.empty())
        s.Reasons.push_back(NoPhaseCurrentsText);
    else
        s.Reasons = data.NotValid;
    if (!data.RatingAmps)
        s.Reasons.push_back(NoRatingText);
    std::vector<int> managedPhases;
    for (const NewLoad& load : inputs.Loads) {
        CapacityLoad& c = s.Loads.emplace_back();
        c.Load = load;
        c.Factor = load.Continuous ? ContinuousFactor : 1;
        c.PhaseAmps = load.Amps * c.Factor;
        const std::vector<int> positions = ConnectionPhases(load.Connection);
        for (const int p : positions) {
            if (slot[p] < 0) {
                if (!currents.empty())
                    s.Reasons.push_back(
                        load.Name + " connects to " + ConnectionText(load.Connection) +
                        ": the recording has no " + PhaseLabel(data.Wiring, p) + ".");
                continue;
            }
            CapacityPhase& phase = s.Phases[static_cast<size_t>(slot[p])];
            c.Phases.push_back(phase.ChannelLabel);
            if (load.Managed)
                managedPhases.push_back(slot[p]);
            else
                phase.NewAmps += c.PhaseAmps;
            if (load.Continuous)
                phase.ContinuousNewAmps += load.Amps;
        }
        if (data.Volts) {
            const double n = static_cast<double>(positions.size());
            c.Volts = !s.LineToLine ? *data.Volts * n
                      : n < 3       ? *data.Volts
                                    : *data.Volts * std::numbers::sqrt3;
            c.DesignVa = load.Amps * *c.Volts * c.Factor;
        }
    }

    for (CapacityPhase& phase : s.Phases) {
        if (!phase.ExistingAmps)
            continue;
        phase.DesignAmps = *phase.ExistingAmps + phase.NewAmps;
        if (data.RatingAmps)
            phase.HeadroomAmps = *data.RatingAmps - *phase.DesignAmps;
        if (!s.DesignAmps || *phase.DesignAmps > *s.DesignAmps) {
            s.DesignAmps = phase.DesignAmps;
            s.TightestPhase = phase.ChannelLabel;
        }
    }
    if (data.RatingAmps && s.DesignAmps)
        s.HeadroomAmps = *data.RatingAmps - *s.DesignAmps;
    if (data.RatingAmps && !managedPhases.empty()) {
        for (const int i : managedPhases) {
            const auto& design = s.Phases[static_cast<size_t>(i)].DesignAmps;
            if (!design)
                continue;
            const double point = (*data.RatingAmps - *design) / ContinuousFactor;
            s.SetPointAmps = std::min(s.SetPointAmps.value_or(point), point);
        }
    }

    if (s.Reasons.empty() && s.HeadroomAmps) {
        if (*s.HeadroomAmps < 0) {
            s.Verdict = CapacityVerdict::No;
            s.ShortfallAmps = -*s.HeadroomAmps;
        } else if (!s.SetPointAmps) {
            s.Verdict = CapacityVerdict::Yes;
        } else if (*s.SetPointAmps >= inputs.SmallestAmps) {
            s.Verdict = CapacityVerdict::YesWithLoadManagement;
        } else {
            s.Verdict = CapacityVerdict::No;
            s.ShortfallAmps = ContinuousFactor * (inputs.SmallestAmps - *s.SetPointAmps);
        }
    }

    // The kVA form.
    KvaForm& kva = s.Kva;
    if (data.Apparent) {
        kva.Peak = HighestBlock(ComputeBlocks(*data.Apparent, LoadStudyMinutes));
        if (kva.Peak)
            kva.ExistingVa = ContinuousFactor * kva.Peak->Value;
    }
    if (data.Volts) {
        kva.NewVa = 0;
        for (const CapacityLoad& c : s.Loads)
            *kva.NewVa += *c.DesignVa;
        if (data.RatingAmps) {
            const double conductors = data.Wiring == ServiceWiring::SinglePhase  ? 1
                                      : data.Wiring == ServiceWiring::SplitPhase ? 2
                                      : data.Wiring == ServiceWiring::Delta ? std::numbers::sqrt3
                                      : data.Wiring == ServiceWiring::Wye
                                          ? 3
                                          : static_cast<double>(currents.size());
            kva.ServiceVa = *data.RatingAmps * *data.Volts * conductors;
        }
    }
    if (kva.ExistingVa && kva.NewVa)
        kva.DesignVa = *kva.ExistingVa + *kva.NewVa;
    if (kva.DesignVa && kva.ServiceVa) {
        kva.HeadroomVa = *kva.ServiceVa - *kva.DesignVa;
        kva.Fits = *kva.HeadroomVa >= 0;
    }

    // The continuous check, on the phase where the sum is largest.
    ContinuousCheck& check = s.Continuous;
    for (const CapacityPhase& phase : s.Phases) {
        if (!phase.ThreeHourAmps)
            continue;
        const double total = phase.ThreeHourAmps->Value + phase.ContinuousNewAmps;
        if (!check.TotalAmps || total > *check.TotalAmps) {
            check.Phase = phase.ChannelLabel;
            check.ThreeHourAmps = phase.ThreeHourAmps;
            check.NewAmps = phase.ContinuousNewAmps;
            check.TotalAmps = total;
        }
    }
    if (data.RatingAmps) {
        check.LimitAmps = ContinuousLimitShare * *data.RatingAmps;
        if (check.TotalAmps)
            check.Pass = *check.TotalAmps <= *check.LimitAmps;
    }

    // What each managed load could take night by night.
    if (data.RatingAmps) {
        for (const CapacityLoad& c : s.Loads) {
            if (!c.Load.Managed || !c.Volts)
                continue;
            std::vector<const SampledSeries*> phases;
            for (const int p : ConnectionPhases(c.Load.Connection))
                if (slot[p] >= 0)
                    phases.push_back(&currents[static_cast<size_t>(slot[p])]);
            if (phases.size() == ConnectionPhases(c.Load.Connection).size())
                s.Nights.push_back(Nights(c, phases, *data.RatingAmps, inputs));
        }
    }

    // The headroom profile. The blocks are in time order: a day is looked up when one begins.
    double highest[2][24];
    int32_t phase[2][24];
    std::fill(&highest[0][0], &highest[0][0] + 48, -INFINITY);
    for (size_t i = 0; i < blocks.size(); ++i) {
        int64_t midnight = 0, nextMidnight = 0;
        int weekend = 0;
        for (const DemandBlock& b : blocks[i].Blocks) {
            if (!b.Complete)
                continue;
            if (b.Start >= nextMidnight || b.Start < midnight) {
                const int64_t day = DayOfSecond(b.Start);
                midnight = day * 86400;
                nextMidnight = midnight + 86400;
                weekend = IsWeekend(day) ? 1 : 0;
            }
            const auto h = static_cast<size_t>((b.Start - midnight) / 3600);
            if (b.Mean > highest[weekend][h]) {
                highest[weekend][h] = b.Mean;
                phase[weekend][h] = static_cast<int32_t>(i);
            }
        }
    }
    s.Weekday = EmptyHours();
    s.Weekend = EmptyHours();
    for (const int weekend : {0, 1})
        for (size_t h = 0; h < 24; ++h) {
            if (highest[weekend][h] == -INFINITY)
                continue;
            HeadroomHour& hour = (weekend ? s.Weekend : s.Weekday)[h];
            hour.HighestAmps = highest[weekend][h];
            hour.Phase = currents[static_cast<size_t>(phase[weekend][h])].Label;
        }
    if (data.RatingAmps)
        for (auto* hours : {&s.Weekday, &s.Weekend})
            for (HeadroomHour& h : *hours)
                if (h.HighestAmps)
                    h.HeadroomAmps = *data.RatingAmps - *h.HighestAmps;
    return s;
}
