#pragma once

#include "analysis/DemandBlocks.h"
#include "analysis/SampledSeries.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ServiceWiring : uint8_t;

// Can the service take the loads a customer wants to add? The measured-load method: the highest
// 15-minute block current of each phase over at least 30 days, × 1.25, plus the new loads,
// against the service rating; loads an energy management system limits get what is left.

// What a new load connects to: one phase (L1, L2 of a single- or split-phase service, A, B, C
// of a three-phase one; L1 is A's place, L2 B's), both legs, or all three phases.
enum class LoadConnection : uint8_t { L1, L2, BothLegs, A, B, C, ThreePhases };

struct NewLoad {
    std::string Name;
    double Amps = 0; // its rating, above 0
    LoadConnection Connection = LoadConnection::BothLegs;
    bool Continuous = false;
    bool Managed = false; // limited by an energy management system
    bool operator==(const NewLoad&) const = default;
};

struct CapacityInputs {
    std::vector<NewLoad> Loads;
    // When managed loads may run, minutes after midnight; through midnight when From is not
    // before To (the whole day when they are equal).
    int32_t WindowFrom = 22 * 60, WindowTo = 6 * 60;
    double SmallestAmps = 6; // the least current a managed load can take
    std::optional<double> NightNeedWh;
    bool operator==(const CapacityInputs&) const = default;
};

constexpr double ContinuousFactor = 1.25;
constexpr double ContinuousLimitShare = 0.80; // of the rating, for 3 hours
constexpr int32_t ContinuousSeconds = 3 * 3600;

// The phase configuration's name ("1Ø 3W"); empty for a service the recording does not tell.
std::string ServiceWiringName(ServiceWiring wiring);

// "L1", "L2", "L1+L2", "A", "B", "C", "A+B+C".
const char* ConnectionText(LoadConnection connection);
// The phases it connects to, 0 to 2 in the order of the service's phase currents.
std::vector<int> ConnectionPhases(LoadConnection connection);
// EV chargers, heat pumps and water heaters: "continuous" unless said otherwise.
bool ContinuousByDefault(const std::string& name);
// "EV charger,48,L1+L2,continuous,managed": its name (quoted as in CSV when it holds a comma),
// amperes, connection, then "continuous" or "noncontinuous" (when neither, as the name
// suggests) and "managed" when it is. Raises VroError naming the field that is wrong.
NewLoad ParseNewLoad(const std::string& given);
// The text ParseNewLoad reads back.
std::string NewLoadText(const NewLoad& load);
// "22:00-06:00"; ParseChargingWindow raises VroError for anything else.
std::string ChargingWindowText(int32_t from, int32_t to);
void ParseChargingWindow(const std::string& text, int32_t& from, int32_t& to);

// A phase of the service with what it carries now and after.
struct CapacityPhase {
    std::string ChannelLabel;
    std::optional<TimedValue> Peak;     // the highest complete 15-minute block current
    std::optional<double> ExistingAmps; // 1.25 × Peak
    double NewAmps = 0;                 // the unmanaged new loads on it
    std::optional<double> DesignAmps;   // ExistingAmps + NewAmps
    std::optional<double> HeadroomAmps; // rating − DesignAmps
    // The largest mean over 3 hours of samples, at the first sample's time, and the continuous
    // new loads on it at 100 %.
    std::optional<TimedValue> ThreeHourAmps;
    double ContinuousNewAmps = 0;
};

// A new load as the study takes it.
struct CapacityLoad {
    NewLoad Load;
    std::vector<std::string> Phases; // the channel labels it adds to
    double Factor = 1;               // 1.25 when continuous
    double PhaseAmps = 0;            // Amps × Factor on each of them
    std::optional<double> Volts; // nominal, line to neutral × 1, 2 or 3 (line to line on a delta)
    std::optional<double> DesignVa; // Amps × Volts × Factor
};

// 1.25 × the highest 15-minute block of apparent power plus the new loads, against the
// service's VA.
struct KvaForm {
    std::optional<TimedValue> Peak;
    std::optional<double> ExistingVa, NewVa, DesignVa, ServiceVa, HeadroomVa;
    std::optional<bool> Fits;
};

// The largest 3-hour mean plus the continuous new loads, on the phase where it is largest,
// against 80 % of the rating.
struct ContinuousCheck {
    std::optional<std::string> Phase;
    std::optional<TimedValue> ThreeHourAmps;
    double NewAmps = 0;
    std::optional<double> TotalAmps, LimitAmps;
    std::optional<bool> Pass;
};

struct NightEnergy {
    TDateTime Night = 0; // the day the charging window opens
    double Wh = 0;
};

// What a managed load could take in each charging window recorded whole.
struct ManagedNights {
    std::string Name;
    std::vector<NightEnergy> Nights;
    std::optional<double> LeastWh, MedianWh,
        MeanWh;                         // the median of an even count: the mean of the middle two
    std::optional<int32_t> NightsShort; // below the need, when one is given
};

// The highest block current in an hour of the day over the phases, and the rating less it.
struct HeadroomHour {
    int32_t Hour = 0;
    std::optional<double> HighestAmps;
    std::string Phase;
    std::optional<double> HeadroomAmps;
};

enum class CapacityVerdict : uint8_t { NotDecided, Yes, YesWithLoadManagement, No };

struct CapacityStudy {
    ServiceWiring Wiring{};
    std::optional<double> RatingAmps;
    // The nominal voltage the loads and the service are figured at: line to neutral, line to
    // line on a delta; as given, else guessed from the recording.
    std::optional<double> Volts;
    bool VoltsGuessed = false;
    bool LineToLine = false;
    std::vector<CapacityPhase> Phases;
    std::vector<CapacityLoad> Loads;

    // Not decided without 30 days of 15-minute blocks of every phase current, without phase
    // currents, without a rating, or with a load on a phase the service does not have;
    // Reasons says why.
    CapacityVerdict Verdict = CapacityVerdict::NotDecided;
    std::vector<std::string> Reasons;
    std::optional<std::string> TightestPhase; // the highest design current
    std::optional<double> DesignAmps, HeadroomAmps;
    // With a No: how many amperes of rating are missing.
    std::optional<double> ShortfallAmps;
    // With managed loads: the least over their phases of (rating − design current) / 1.25.
    std::optional<double> SetPointAmps;

    KvaForm Kva;
    ContinuousCheck Continuous;
    std::vector<ManagedNights> Nights; // a managed load each
    std::vector<HeadroomHour> Weekday, Weekend;
};

// What the study reads of a survey: the phase currents, their 15-minute blocks, the apparent
// power, the nominal voltage, and why the load study (on the phases' blocks) is not valid.
struct CapacityData {
    ServiceWiring Wiring{};
    const std::vector<SampledSeries>* Currents = nullptr;
    const std::vector<BlockSeries>* Blocks = nullptr; // of 15 minutes, one per current
    const SampledSeries* Apparent = nullptr;
    std::optional<double> RatingAmps;
    std::optional<double> Volts;
    bool VoltsGuessed = false;
    std::vector<std::string> NotValid; // the load study's reasons; empty when valid
};

CapacityStudy ComputeCapacity(const CapacityInputs& inputs, const CapacityData& data);

// "Yes", "Yes, with load management", "No", "not decided".
const char* CapacityVerdictText(CapacityVerdict verdict);

extern const char* const NoPhaseCurrentsText;
extern const char* const NoRatingText;
