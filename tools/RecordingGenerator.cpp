#include "tools/RecordingGenerator.h"

#include "model/DateTime.h"
#include "model/ParameterTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>

namespace {

// splitmix64: small, fast and the same on every platform, unlike the standard distributions.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Normal() {
        const double u1 = std::max(Uniform(), 1e-300), u2 = Uniform();
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
    }

private:
    uint64_t state_;
};

TDateTime ToDateTime(const CalendarTime& t) {
    TDateTime date = 0, time = 0;
    TryEncodeDate(t.year, t.month, t.day, date);
    TryEncodeTime(t.hour, t.minute, t.second, 0, time);
    return date + time;
}

TDateTime StampTime(const TimeStamp& s) {
    const int hour = s[0] >= 129 ? s[0] - 116 : s[0];
    return ToDateTime({s[6] < 97 ? 2000 + s[6] : 1900 + s[6], s[5], s[4], hour, s[1], s[2]});
}

TimeStamp StampOf(TDateTime value) {
    const DateTimeParts p = DecodeDateTime(std::round(value * SecsPerDay) / SecsPerDay);
    return EncodeTimeStamp({p.year, p.month, p.day, p.hour, p.minute, p.second});
}

// The electrical state of the panel at one moment, per phase (0-2).
struct Panel {
    double voltage[3]; // line to neutral, V
    double current[3]; // A
    double neutral;    // A
    double pf[3];
};

double LoadCurve(double dayFraction) {
    const double h = dayFraction * 24;
    return 0.3 + 0.5 * std::exp(-std::pow((h - 10.5) / 3.0, 2)) +
           0.35 * std::exp(-std::pow((h - 18.5) / 2.5, 2));
}

double FullScaleCurrent(uint8_t ct) {
    return ct == 0 ? 100 : ct == 1 ? 300 : 3000;
}

Panel PanelAt(TDateTime t, const GeneratorOptions& o, Random& noise) {
    Panel s{};
    if (o.steady) {
        for (int p = 0; p < 3; ++p) {
            s.voltage[p] = o.steady->volts[p];
            s.current[p] = o.steady->amps[p] * (o.steady->scale ? o.steady->scale(t) : 1);
            s.pf[p] = o.steady->powerFactor[p];
        }
        return s;
    }
    const uint8_t ct = o.ct;
    const double load = LoadCurve(t - std::floor(t));
    const double amps = 0.6 * FullScaleCurrent(ct);
    // A split-phase service is the North American 120/240 V one.
    const double mains = o.phaseConfig == 1 ? 120.0 : 230.0;
    for (int p = 0; p < 3; ++p) {
        // Slow drift over days, sag under load, a little noise.
        s.voltage[p] =
            mains * (1 + 0.01 * std::sin(2 * std::numbers::pi * t / 3.0 + p) - 0.02 * load) +
            0.35 * noise.Normal();
        s.current[p] = std::max(0.0, amps * load * (1 + 0.06 * p) + 0.004 * amps * noise.Normal());
        s.pf[p] = std::clamp(0.93 - 0.06 * load + 0.008 * noise.Normal(), 0.5, 1.0);
    }
    s.neutral = std::fabs(0.08 * (s.current[0] + s.current[1] + s.current[2]) / 3 +
                          0.004 * amps * noise.Normal());
    return s;
}

int PhaseOfVoltage(uint8_t ch) {
    return ch == 1 || ch == 15 || ch == 12 ? 0 : ch == 2 || ch == 16 || ch == 13 ? 1 : 2;
}
bool LineToLine(uint8_t ch) {
    return ch >= 12 && ch <= 14;
}
int PhaseOfCurrent(uint8_t ch) {
    return ch == 4 || ch == 18 ? 0 : ch == 5 || ch == 19 ? 1 : ch == 6 || ch == 20 ? 2 : -1;
}
int PhaseOfPower(uint8_t ch) {
    return ch == 8 || ch == 22 ? 0 : ch == 9 || ch == 23 ? 1 : ch == 24 || ch == 10 ? 2 : -1;
}

double Voltage(const Panel& s, uint8_t ch) {
    const double v = s.voltage[PhaseOfVoltage(ch)];
    return LineToLine(ch) ? v * std::numbers::sqrt3 : v;
}

double Current(const Panel& s, uint8_t ch) {
    const int p = PhaseOfCurrent(ch);
    return p < 0 ? s.neutral : s.current[p];
}

// Real, reactive, apparent power and power factor of a power channel (25: all three phases).
void Power(const Panel& s, uint8_t ch, double& real, double& reactive, double& apparent) {
    real = reactive = apparent = 0;
    for (int p = 0; p < 3; ++p) {
        if (ch != chThreePhase && PhaseOfPower(ch) != p)
            continue;
        const double va = s.voltage[p] * s.current[p];
        real += va * s.pf[p];
        reactive += va * std::sqrt(1 - s.pf[p] * s.pf[p]);
        apparent += va;
    }
}

double Measure(const Panel& s, uint8_t quantity, uint8_t unit, uint8_t ch) {
    if (unit == 0)
        return Voltage(s, ch);
    if (unit == 1)
        return Current(s, ch);
    double p, q, va;
    Power(s, ch, p, q, va);
    switch (quantity) {
    case 1:
    case 10:
        return p;
    case 2:
        return q;
    case 3:
        return va;
    case 4:
        return va > 0 ? p / va : 1;
    default:
        return p;
    }
}

void FillHistoricBlock(GeneratedBlock& b, const GeneratorOptions& o, TDateTime start, double step,
                       int32_t historicCount, Random& rng) {
    b.values.resize(static_cast<size_t>(historicCount));
    for (int32_t i = 0; i < historicCount; ++i) {
        const Panel s = PanelAt(start + i * step, o, rng);
        b.values[i] = static_cast<float>(Measure(s, b.quantity, b.unit, b.channel));
    }
}

void FillScatteredBlock(GeneratedBlock& b, const GeneratorOptions& o, TDateTime start,
                        TDateTime end, Random& rng) {
    const int32_t n = o.eventPoints;
    std::vector<TDateTime> times(static_cast<size_t>(n));
    const bool regular = b.quantity == 8 || b.quantity == 9 || b.quantity == 10;
    for (int32_t i = 0; i < n; ++i)
        times[i] =
            regular ? start + (end - start) * (i + 1) / n : start + (end - start) * rng.Uniform();
    std::sort(times.begin(), times.end());
    b.values.resize(static_cast<size_t>(n));
    b.stamps.resize(static_cast<size_t>(n));
    double energy = 0;
    TDateTime previous = start;
    for (int32_t i = 0; i < n; ++i) {
        const Panel s = PanelAt(times[i], o, rng);
        double v = Measure(s, b.quantity, b.unit, b.channel);
        switch (b.quantity) {
        case 5: // RMS maximum: a swell above the running value
            v *= 1.03 + 0.05 * rng.Uniform();
            break;
        case 6: // RMS minimum: a sag
            v *= 0.97 - 0.12 * rng.Uniform();
            break;
        case 7: // peak of the waveform
            v *= std::numbers::sqrt2 * (1.02 + 0.08 * rng.Uniform());
            break;
        case 9: // energy only grows
            energy += std::max(v, 0.0) * (times[i] - previous) * 24;
            v = energy;
            break;
        default:
            break;
        }
        previous = times[i];
        b.values[i] = static_cast<float>(v);
        b.stamps[i] = StampOf(times[i]);
    }
}

constexpr double Second = 1 / SecsPerDay;
// Enough samples per interval for its extremes and mean; a 1-second rate needs no 900.
constexpr int MaxSamplesPerInterval = 30;

TDateTime WholeSecond(TDateTime t) {
    return std::round(t * SecsPerDay) / SecsPerDay;
}

// The intervals of the recording: the first starts with it, the last may be cut short by its
// end (exclusive).
struct IntervalSpan {
    TDateTime start, end;
    double step;     // days per sample period
    double interval; // days per interval
    int32_t count;
};

struct TimedValue {
    double value;
    TDateTime time;
};

// One quantity on one channel as the instrument sums it up: a value per interval (an extreme
// with its time, or an average, energy or demand stamped with the interval's last second), and
// the recording's total made of them.
struct IntervalSeries {
    std::vector<TimedValue> intervals;
    TimedValue total;
};

double Sampled(const Panel& s, uint8_t quantity, uint8_t unit, uint8_t ch, Random& rng) {
    const double v = Measure(s, quantity, unit, ch);
    switch (quantity) {
    case 5: // RMS maximum: a swell above the running value
        return v * (1.03 + 0.05 * rng.Uniform());
    case 6: // RMS minimum: a sag
        return v * (0.97 - 0.12 * rng.Uniform());
    case 7: // peak of the waveform
        return v * std::numbers::sqrt2 * (1.02 + 0.08 * rng.Uniform());
    default:
        return v;
    }
}

IntervalSeries MakeSeries(const GeneratorOptions& o, const IntervalSpan& span, uint8_t quantity,
                          uint8_t unit, uint8_t channel) {
    // Its own noise, so that the Event block and its interval twin see the same values.
    Random rng((uint64_t{o.seed} << 24) ^ (uint64_t{quantity} << 16) ^ (uint64_t{unit} << 8) ^
               channel);
    const bool smallest = quantity == 6;
    const bool extreme = quantity == 5 || quantity == 6 || quantity == 7;
    IntervalSeries series;
    for (int32_t k = 0; k < span.count; ++k) {
        const TDateTime from = span.start + k * span.interval;
        const TDateTime to = std::min(from + span.interval, span.end);
        const int samples = std::clamp(static_cast<int>(std::lround((to - from) / span.step)), 1,
                                       MaxSamplesPerInterval);
        const double slot = (to - from) / samples;
        TimedValue found{0, from};
        double sum = 0;
        for (int j = 0; j < samples; ++j) {
            const TDateTime t = WholeSecond(from + (j + 0.5) * slot);
            const double v = Sampled(PanelAt(t, o, rng), quantity, unit, channel, rng);
            if (j == 0 || (smallest ? v < found.value : v > found.value))
                found = {v, t};
            sum += quantity == qEnergy ? std::max(v, 0.0) * slot * 24 : v;
        }
        const TDateTime last = WholeSecond(to) - Second;
        if (extreme)
            series.intervals.push_back(found);
        else if (quantity == qEnergy)
            series.intervals.push_back({sum, last});
        else // averages, and demand: the mean over the interval
            series.intervals.push_back({sum / samples, last});
    }
    const TDateTime end = WholeSecond(span.end) - Second;
    series.total = {0, end};
    if (series.intervals.empty())
        return series;
    if (quantity == 8 || quantity == qEnergy) {
        double sum = 0;
        for (const TimedValue& v : series.intervals)
            sum += v.value;
        series.total.value = quantity == qEnergy ? sum : sum / series.intervals.size();
    } else {
        // Maxima, peaks and demand: the largest interval; minima the smallest; the first of
        // equal ones, with its time.
        series.total = series.intervals.front();
        for (const TimedValue& v : series.intervals)
            if (smallest ? v.value < series.total.value : v.value > series.total.value)
                series.total = v;
    }
    return series;
}

void FillIntervalBlock(GeneratedBlock& b, const IntervalSeries& series) {
    const bool total = b.tableType == ttEvent || b.tableType == ttCumulative;
    const std::vector<TimedValue> one{series.total};
    for (const TimedValue& v : total ? one : series.intervals) {
        b.values.push_back(static_cast<float>(v.value));
        b.stamps.push_back(StampOf(v.time));
    }
}

void Put(std::string& out, const void* p, size_t n) {
    out.append(static_cast<const char*>(p), n);
}
template <typename T> void Put(std::string& out, T v) {
    Put(out, &v, sizeof v);
}

void PutField(std::string& out, const std::string& text, size_t width) {
    std::string field = text.substr(0, width);
    field.resize(width, '\0');
    out += field;
}

} // namespace

TimeStamp EncodeTimeStamp(const CalendarTime& t) {
    const int hour = t.hour >= 13 ? t.hour + 116 : t.hour;
    return {static_cast<uint8_t>(hour),        static_cast<uint8_t>(t.minute),
            static_cast<uint8_t>(t.second),    0,
            static_cast<uint8_t>(t.day),       static_cast<uint8_t>(t.month),
            static_cast<uint8_t>(t.year % 100)};
}

std::vector<int> EntriesForPhase(uint8_t phaseConfig, bool withIntervalTypes) {
    std::vector<int> entries;
    for (int i = 0; i < ParameterTableSize; ++i) {
        const ParameterEntry& e = CatalogueEntry(i);
        if (!withIntervalTypes && e.tableType >= ttIntervalEvent)
            continue;
        if (FindParameter(phaseConfig, 0, e.tableType, e.quantity, e.unit, e.channel) == i)
            entries.push_back(i);
    }
    return entries;
}

GeneratorOptions MaximalRecordingOptions(bool historicOnly) {
    GeneratorOptions o;
    o.historicPoints = 50000;
    o.scatteredEvents = true;
    o.eventPoints = 50000;
    o.blockCount = 127;
    // Historic and event entries of the wye configuration, alternating.
    std::vector<int> historic, events;
    for (int i : EntriesForPhase(3, true))
        (CatalogueEntry(i).tableType == ttHistoric ? historic : events).push_back(i);
    if (historicOnly) {
        o.entries = historic;
    } else {
        for (size_t i = 0; i < std::max(historic.size(), events.size()); ++i) {
            o.entries.push_back(historic[i % historic.size()]);
            o.entries.push_back(events[i % events.size()]);
        }
    }
    return o;
}

GeneratedRecording GenerateRecording(const GeneratorOptions& o) {
    GeneratedRecording r;
    r.productionDate = o.productionDate;
    r.instrumentNumber = o.instrumentNumber;
    r.instrumentText = o.instrumentText;
    r.instrumentShortText = o.instrumentShortText;
    r.instrumentLongNumber = o.instrumentLongNumber;
    r.phaseConfig = static_cast<int8_t>(o.phaseConfig);
    r.ct = static_cast<int8_t>(o.ct);
    r.rate = static_cast<int8_t>(o.rate);
    r.interval = static_cast<int8_t>(o.interval);
    r.mode = static_cast<int8_t>(o.mode);
    r.end = EncodeTimeStamp(o.end);

    std::vector<int> entries =
        o.entries.empty() ? EntriesForPhase(o.phaseConfig, o.interval != 0) : o.entries;
    if (o.blockCount && !entries.empty()) {
        std::vector<int> cycled;
        for (int i = 0; i < *o.blockCount; ++i)
            cycled.push_back(entries[static_cast<size_t>(i) % entries.size()]);
        entries = cycled;
    }

    bool anyHistoric = false, anyEvent = false, anyInterval = false;
    for (int e : entries) {
        const LTableType type = CatalogueEntry(e).tableType;
        (type == ttHistoric ? anyHistoric : anyEvent) = true;
        anyInterval |= type == ttIntervalEvent || type == ttIntervalCumulative;
    }
    const int32_t historic = anyHistoric ? o.historicPoints : 0;
    const int32_t rateSeconds = RateSeconds(o.rate);
    const double step = rateSeconds / SecsPerDay;
    // The intervals begun while the historic samples were taken (one for a recording without
    // intervals). The reader counts the recording's length from its longest block, in sample
    // periods: an event-type block longer than the historic ones (intervals shorter than the
    // rate) moves the start.
    const int32_t spanPoints = std::max(historic, anyEvent ? 1 : 0);
    const int32_t intervalSeconds = IntervalMinutes(o.interval) * 60;
    const int32_t intervals =
        intervalSeconds > 0
            ? static_cast<int32_t>((int64_t{spanPoints} * rateSeconds + intervalSeconds - 1) /
                                   intervalSeconds)
            : 1;
    int32_t n = std::max(historic, anyInterval ? intervals : anyEvent ? 1 : 0);
    if (o.scatteredEvents)
        n = std::max(historic, anyEvent ? o.eventPoints : 0);
    const TDateTime start = o.start ? ToDateTime(*o.start) : ToDateTime(o.end) - n * step + Second;
    const TDateTime end = o.start ? start + n * step - Second : ToDateTime(o.end);
    if (o.start)
        r.end = StampOf(end);
    const IntervalSpan span{start, start + spanPoints * step, step,
                            intervalSeconds > 0 ? intervalSeconds / SecsPerDay : spanPoints * step,
                            intervals};

    Random rng(o.seed);
    std::map<uint32_t, IntervalSeries> series;
    for (int e : entries) {
        const ParameterEntry& entry = CatalogueEntry(e);
        GeneratedBlock b;
        b.tableType = entry.tableType;
        b.quantity = entry.quantity;
        b.unit = entry.unit;
        b.channel = entry.channel;
        b.headerA = static_cast<float>(b.unit == 1 ? FullScaleCurrent(o.ct) : 600.0);
        b.headerB = 1.0f;
        if (b.tableType == ttHistoric) {
            FillHistoricBlock(b, o, start, step, o.historicPoints, rng);
        } else if (o.scatteredEvents) {
            FillScatteredBlock(b, o, start, end, rng);
        } else {
            const uint32_t key = uint32_t{b.quantity} << 16 | uint32_t{b.unit} << 8 | b.channel;
            auto found = series.find(key);
            if (found == series.end())
                found =
                    series.emplace(key, MakeSeries(o, span, b.quantity, b.unit, b.channel)).first;
            FillIntervalBlock(b, found->second);
        }
        r.blocks.push_back(std::move(b));
    }
    return r;
}

std::string GeneratedRecording::Serialize() const {
    std::string out;
    size_t total = 49;
    for (const auto& b : blocks)
        total += 17 + b.values.size() * (b.tableType == ttHistoric ? 4 : 11);
    out.reserve(total);

    Put(out, dataLength.value_or(static_cast<int32_t>(total)));
    Put(out, productionDate);
    Put(out, instrumentNumber);
    PutField(out, instrumentText, 16);
    PutField(out, instrumentShortText, 8);
    Put(out, instrumentLongNumber);
    for (int8_t code : {phaseConfig, ct, rate, interval, mode})
        Put(out, code);
    Put(out, end.data(), end.size());
    Put(out, parameterCountOverride.value_or(static_cast<int8_t>(blocks.size())));

    for (const auto& b : blocks) {
        for (uint8_t code : {b.unused, b.tableType, b.quantity, b.unit, b.channel})
            Put(out, code);
        Put(out, b.headerA);
        Put(out, b.headerB);
        Put(out, b.countOverride.value_or(static_cast<int32_t>(b.values.size())));
        if (b.tableType == ttHistoric) {
            Put(out, b.values.data(), b.values.size() * sizeof(float));
        } else {
            for (size_t i = 0; i < b.values.size(); ++i) {
                Put(out, b.values[i]);
                const TimeStamp stamp = i < b.stamps.size() ? b.stamps[i] : TimeStamp{};
                Put(out, stamp.data(), stamp.size());
            }
        }
    }
    return out;
}

std::vector<GeneratedRecording> GenerateSeries(const GeneratorOptions& options, int count,
                                               int32_t gapPeriods) {
    const GeneratedRecording first = GenerateRecording(options);
    const double step = RateSeconds(options.rate) / SecsPerDay;
    std::vector<GeneratedRecording> series;
    for (int k = 0; k < count; ++k) {
        const double shift = k * (int64_t{options.historicPoints} + gapPeriods) * step;
        GeneratedRecording r = first;
        r.end = StampOf(StampTime(r.end) + shift);
        for (GeneratedBlock& b : r.blocks)
            for (TimeStamp& stamp : b.stamps)
                stamp = StampOf(StampTime(stamp) + shift);
        series.push_back(std::move(r));
    }
    return series;
}

std::string GenerateRecordingBytes(const GeneratorOptions& options) {
    return GenerateRecording(options).Serialize();
}
