#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Builds recording byte streams (the download payload and 1.x export layout) with realistic
// values: mains voltages with drift and noise (230 V line to neutral, 120 V on each leg of a
// split-phase service), currents following a daily load curve, power consistent with both.
// Deterministic per seed. Each phase configuration records the channels it has: V1, I1 and
// V1I1 on 1Ø 2W; V1, V2, I1, I2, V1I1 and V2I2 on 1Ø 3W (no 3Ø total, so no demand); VAN to
// 3Ø on a wye; VAB, VBC, VCA, IA to IC, ØA to ØC and 3Ø on a delta.
//
// As the instrument records them, an Event parameter holds one value, the recording's extreme
// with the time it happened, and a Cumulative parameter one, its total at the end; their
// interval twins hold one value per interval (the last one cut short by the recording's end),
// which agree with them: the maximum (minimum) of a recording is the largest (smallest) of
// its interval maxima (minima), with its time; the energy the sum of the intervals' energies;
// an average the mean of the intervals' averages; the demand the largest interval demand.
// The Historic blocks give the recording its length; without them it lasts one sample period.

using TimeStamp = std::array<uint8_t, 7>; // hour, minute, second, unused, day, month, yy

struct CalendarTime {
    int year = 2026, month = 11, day = 30, hour = 17, minute = 45, second = 0;
};

// The instrument's 7-byte time stamp: afternoon hours carry the top bit (13:00 is 129).
TimeStamp EncodeTimeStamp(const CalendarTime& t);

// A load that never changes, for answers known by construction: per phase the line-to-neutral
// voltage, the current and the power factor (the line-to-line voltages are √3 times their
// first phase's, the neutral current 0).
struct SteadyLoad {
    std::array<double, 3> volts{230, 230, 230};
    std::array<double, 3> amps{10, 10, 10};
    std::array<double, 3> powerFactor{1, 1, 1};
    // When set, the currents of the sample at a time (days since 1899-12-30) are multiplied
    // by what it gives: a load that changes from day to day, or NaN for a sample lost.
    std::function<double(double time)> scale;
};

struct GeneratorOptions {
    uint8_t phaseConfig = 3; // 3Ø 4W Wye
    uint8_t ct = 0;
    uint8_t rate = 4; // 60 s
    uint8_t interval = 1;
    uint8_t mode = 0;
    CalendarTime end;
    // When set, the first sample's time instead: the end follows from the recording's length.
    std::optional<CalendarTime> start;
    // Catalogue indices, one block each, in this order; empty: every entry the phase
    // configuration can record (interval types only with an interval).
    std::vector<int> entries;
    // When set, the entries are repeated in turn to make this many blocks.
    std::optional<int> blockCount;
    int32_t historicPoints = 1440;
    // The shape that fuzzing and benchmarks want: eventPoints points in every event-type block,
    // scattered over the recording (regularly for averages, energy and demand), which say
    // nothing about each other.
    bool scatteredEvents = false;
    int32_t eventPoints = 200;
    uint32_t seed = 1;
    // Instead of the daily load curve with its noise.
    std::optional<SteadyLoad> steady;
    int16_t productionDate = 503; // May 2003
    int16_t instrumentNumber = 1207;
    std::string instrumentText = "VIREO 2000";
    std::string instrumentShortText = "V2K";
    int32_t instrumentLongNumber = 20031207;
};

// The largest recording the instrument can hold: 127 blocks of 50000 points, Historic and
// event blocks alternating (or Historic only); the events scattered.
GeneratorOptions MaximalRecordingOptions(bool historicOnly = false);

struct GeneratedBlock {
    uint8_t unused = 0;
    uint8_t tableType = 0, quantity = 0, unit = 0, channel = 0;
    float headerA = 0, headerB = 0;
    std::vector<float> values;
    std::vector<TimeStamp> stamps;        // one per value unless the table type is Historic
    std::optional<int32_t> countOverride; // written instead of values.size()
};

// Every field of the stream, so that tests can set any of them wrong before serializing.
struct GeneratedRecording {
    std::optional<int32_t> dataLength; // default: the size of the stream
    int16_t productionDate = 0;
    int16_t instrumentNumber = 0;
    std::string instrumentText;      // bytes, cut to 16 (zero-padded when shorter)
    std::string instrumentShortText; // bytes, cut to 8
    int32_t instrumentLongNumber = 0;
    int8_t phaseConfig = 0, ct = 0, rate = 0, interval = 0, mode = 0;
    TimeStamp end{};
    std::optional<int8_t> parameterCountOverride; // default: the number of blocks
    std::vector<GeneratedBlock> blocks;

    std::string Serialize() const;
};

GeneratedRecording GenerateRecording(const GeneratorOptions& options);

// count recordings of one site, one after the other: each starts gapPeriods sample periods
// after the one before ends (its last sample plus a period), the first as the options say.
// The length of each is options.historicPoints periods. For speed their samples are the
// first one's again, at their own times.
std::vector<GeneratedRecording> GenerateSeries(const GeneratorOptions& options, int count,
                                               int32_t gapPeriods = 0);

// Shorthand: GenerateRecording(options).Serialize().
std::string GenerateRecordingBytes(const GeneratorOptions& options);

// The catalogue entries a phase configuration can record, in catalogue order.
std::vector<int> EntriesForPhase(uint8_t phaseConfig, bool withIntervalTypes);
