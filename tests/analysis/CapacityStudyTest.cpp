// The capacity study against its definitions worked out here again from the samples, over
// generated single-, split- and three-phase recordings; and the survey's power for every
// phase configuration.
#include "analysis/CapacityStudy.h"
#include "analysis/CapacityTables.h"
#include "analysis/Comparison.h"
#include "analysis/Survey.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/LParameter.h"
#include "model/ParameterTable.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr int32_t Day = 1440; // one-minute samples

// The configuration's Historic channels (without currents when asked), a sample a minute from
// Monday 2 March 2026 at midnight: steady voltages, currents that rise in the evening and
// differ from day to day.
std::unique_ptr<LDatabase> Generated(uint8_t phase, int days, double volts,
                                     std::array<double, 3> amps, bool currents = true) {
    GeneratorOptions o;
    o.phaseConfig = phase;
    o.start = CalendarTime{2026, 3, 2, 0, 0, 0};
    o.historicPoints = days * Day;
    for (const int e : EntriesForPhase(phase, false))
        if (CatalogueEntry(e).tableType == ttHistoric && (currents || CatalogueEntry(e).unit != 1))
            o.entries.push_back(e);
    SteadyLoad load;
    load.volts = {volts, volts, volts};
    load.amps = amps;
    load.powerFactor = {0.9, 0.95, 0.85};
    load.scale = [](double t) {
        const double day = std::floor(t), hour = (t - day) * 24;
        return 0.6 + 0.5 * std::exp(-std::pow((hour - 18.5) / 2, 2)) + 0.2 * std::sin(day * 1.7) +
               0.05 * std::sin(t * 97);
    };
    o.steady = load;
    auto db = std::make_unique<LDatabase>();
    db->New();
    db->Parse(GenerateRecordingBytes(o));
    return db;
}

const LParameter* Historic(const LParameterCollection& ps, uint8_t quantity, uint8_t channel) {
    for (const auto& p : ps)
        if (p->TableType() == ttHistoric && p->Quantity() == quantity && p->Channel() == channel)
            return p.get();
    return nullptr;
}

// The means of consecutive groups of n samples; the recording starts at midnight, so that a
// group of 15 is a block on the clock.
std::vector<double> Means(const std::vector<double>& v, size_t n) {
    std::vector<double> means;
    for (size_t i = 0; i + n <= v.size(); i += n) {
        double sum = 0;
        for (size_t k = i; k < i + n; ++k)
            sum += v[k];
        means.push_back(sum / static_cast<double>(n));
    }
    return means;
}

std::vector<double> Values(const LParameter& p) {
    return std::vector<double>(p.Values(), p.Values() + p.Count());
}

// The study's definitions over the recording's samples, checked against what it found.
void ExpectDefinitions(const LParameterCollection& ps, const SurveyOptions& o, double volts,
                       const CapacityStudy& s) {
    const double rating = *o.RatingAmps;
    const bool delta = Historic(ps, 0, 12) != nullptr;
    std::vector<std::vector<double>> current;
    std::vector<int> position; // of each current among the service's phases
    for (const uint8_t c : {18, 19, 20, 4, 5})
        if (const LParameter* p = Historic(ps, 0, c)) {
            current.push_back(Values(*p));
            position.push_back(c >= 18 ? c - 18 : c - 4);
        }
    ASSERT_EQ(s.Phases.size(), current.size());
    const auto connects = [&](const NewLoad& l, int p) {
        const std::vector<int> phases =
            l.Connection == LoadConnection::BothLegs      ? std::vector{0, 1}
            : l.Connection == LoadConnection::ThreePhases ? std::vector{0, 1, 2}
            : l.Connection == LoadConnection::L2 || l.Connection == LoadConnection::B
                ? std::vector{1}
            : l.Connection == LoadConnection::C ? std::vector{2}
                                                : std::vector{0};
        return std::find(phases.begin(), phases.end(), p) != phases.end();
    };

    // Per phase: the highest block × 1.25 plus the unmanaged loads.
    double highest = -1, setPoint = INFINITY;
    bool managed = false;
    const double tolerance = 1e-6 * rating;
    for (size_t i = 0; i < current.size(); ++i) {
        const std::vector<double> blocks = Means(current[i], 15);
        double design = 1.25 * *std::max_element(blocks.begin(), blocks.end()), added = 0;
        for (const NewLoad& l : o.Capacity.Loads)
            if (!l.Managed && connects(l, position[i]))
                added += l.Amps * (l.Continuous ? 1.25 : 1);
        design += added;
        EXPECT_NEAR(s.Phases[i].NewAmps, added, tolerance);
        EXPECT_NEAR(*s.Phases[i].DesignAmps, design, tolerance) << s.Phases[i].ChannelLabel;
        highest = std::max(highest, design);
        for (const NewLoad& l : o.Capacity.Loads)
            if (l.Managed && connects(l, position[i])) {
                managed = true;
                setPoint = std::min(setPoint, (rating - design) / 1.25);
            }
    }
    const CapacityVerdict verdict = highest > rating ? CapacityVerdict::No
                                    : !managed       ? CapacityVerdict::Yes
                                    : setPoint >= o.Capacity.SmallestAmps
                                        ? CapacityVerdict::YesWithLoadManagement
                                        : CapacityVerdict::No;
    if (s.Reasons.empty()) {
        EXPECT_EQ(s.Verdict, verdict);
    }
    EXPECT_NEAR(*s.DesignAmps, highest, tolerance);
    if (managed) {
        EXPECT_NEAR(*s.SetPointAmps, setPoint, tolerance);
    }
    if (s.Verdict == CapacityVerdict::No && highest > rating) {
        EXPECT_NEAR(*s.ShortfallAmps, highest - rating, tolerance);
    }

    // The kVA form: the per-phase apparent powers summed sample by sample, unless 3Ø is there.
    std::vector<double> va;
    if (const LParameter* total = Historic(ps, 3, chThreePhase)) {
        va = Values(*total);
    } else {
        for (const uint8_t c : {8, 9})
            if (const LParameter* p = Historic(ps, 3, c)) {
                va.resize(static_cast<size_t>(p->Count()));
                for (int32_t k = 0; k < p->Count(); ++k)
                    va[static_cast<size_t>(k)] += p->Values()[k];
            }
    }
    const std::vector<double> vaBlocks = Means(va, 15);
    double design = 1.25 * *std::max_element(vaBlocks.begin(), vaBlocks.end());
    for (const NewLoad& l : o.Capacity.Loads) {
        const size_t n = l.Connection == LoadConnection::BothLegs      ? 2
                         : l.Connection == LoadConnection::ThreePhases ? 3
                                                                       : 1;
        const double v = !delta ? volts * n : n == 3 ? volts * std::numbers::sqrt3 : volts;
        design += l.Amps * v * (l.Continuous ? 1.25 : 1);
    }
    const double service = delta ? rating * volts * std::numbers::sqrt3
                                 : rating * volts * static_cast<double>(current.size());
    EXPECT_NEAR(*s.Kva.DesignVa, design, 1e-6 * design);
    EXPECT_NEAR(*s.Kva.ServiceVa, service, 1e-9 * service);
    EXPECT_EQ(*s.Kva.Fits, design <= service);

    // The continuous check: the largest 3-hour mean plus the continuous loads at 100 %.
    double continuous = 0;
    for (size_t i = 0; i < current.size(); ++i) {
        double largest = 0;
        for (size_t k = 0; k + 180 <= current[i].size(); ++k) {
            double sum = 0;
            for (size_t j = k; j < k + 180; ++j)
                sum += current[i][j];
            largest = std::max(largest, sum / 180);
        }
        for (const NewLoad& l : o.Capacity.Loads)
            if (l.Continuous && connects(l, position[i]))
                largest += l.Amps;
        continuous = std::max(continuous, largest);
    }
    EXPECT_NEAR(*s.Continuous.TotalAmps, continuous, tolerance);
    EXPECT_EQ(*s.Continuous.Pass, continuous <= 0.8 * rating);

    // Each managed load's nights from 22:00 to 06:00, those recorded whole.
    size_t managedLoad = 0;
    for (const NewLoad& l : o.Capacity.Loads) {
        if (!l.Managed)
            continue;
        const size_t days = current[0].size() / Day;
        std::vector<double> nights(days - 1);
        const double v = volts * (l.Connection == LoadConnection::BothLegs ? 2 : 1);
        for (size_t k = 0; k < current[0].size(); ++k) {
            const size_t minute = k % Day, day = k / Day;
            if ((minute >= 22 * 60 && day + 1 < days) || (minute < 6 * 60 && day > 0)) {
                double measured = 0;
                for (size_t i = 0; i < current.size(); ++i)
                    if (connects(l, position[i]))
                        measured = std::max(measured, current[i][k]);
                nights[minute >= 22 * 60 ? day : day - 1] +=
                    v * std::min(l.Amps, std::max(0.0, rating / 1.25 - measured)) / 60;
            }
        }
        ASSERT_LT(managedLoad, s.Nights.size());
        const ManagedNights& found = s.Nights[managedLoad++];
        ASSERT_EQ(found.Nights.size(), nights.size());
        std::sort(nights.begin(), nights.end());
        double mean = 0;
        for (const double e : nights)
            mean += e / static_cast<double>(nights.size());
        const size_t m = nights.size() / 2;
        const double median = nights.size() % 2 ? nights[m] : (nights[m - 1] + nights[m]) / 2;
        EXPECT_NEAR(*found.LeastWh, nights.front(), 1e-6 * mean);
        EXPECT_NEAR(*found.MedianWh, median, 1e-6 * mean);
        EXPECT_NEAR(*found.MeanWh, mean, 1e-6 * mean);
        if (o.Capacity.NightNeedWh) {
            EXPECT_EQ(*found.NightsShort,
                      std::count_if(nights.begin(), nights.end(),
                                    [&](double e) { return e < *o.Capacity.NightNeedWh; }));
        }
    }
    EXPECT_EQ(managedLoad, s.Nights.size());

    // The headroom profile: the highest block current of each hour over the phases; the
    // recording starts on a Monday.
    for (const bool weekend : {false, true}) {
        const std::vector<HeadroomHour>& hours = weekend ? s.Weekend : s.Weekday;
        for (int h = 0; h < 24; ++h) {
            double top = -1;
            for (const std::vector<double>& c : current) {
                const std::vector<double> blocks = Means(c, 15);
                for (size_t b = 0; b < blocks.size(); ++b)
                    if (static_cast<int>(b % 96 / 4) == h && (b / 96 % 7 >= 5) == weekend)
                        top = std::max(top, blocks[b]);
            }
            EXPECT_NEAR(*hours[static_cast<size_t>(h)].HeadroomAmps, rating - top, tolerance)
                << h << (weekend ? " weekend" : " weekday");
        }
    }
}

NewLoad Load(const char* given) {
    return ParseNewLoad(given);
}

TEST(CapacityStudyTest, TheDefinitionsOverGeneratedRecordings) {
    const struct Case {
        const char* what;
        uint8_t phase;
        int days;
        double volts;
        std::array<double, 3> amps;
        double rating;
        std::vector<NewLoad> loads;
        std::optional<double> needWh;
        CapacityVerdict verdict;
        std::vector<std::string> reasons;
    } cases[] = {
        {"a managed charger on a split-phase service",
         1,
         31,
         120,
         {60, 45, 0},
         150,
         {Load("EV charger,80,L1+L2,managed"), Load("Heat pump,30,L1+L2")},
         150000,
         CapacityVerdict::YesWithLoadManagement,
         {}},
        {"a load that does not fit",
         1,
         31,
         120,
         {60, 45, 0},
         100,
         {Load("Range,50,L1+L2,noncontinuous")},
         std::nullopt,
         CapacityVerdict::No,
         {}},
        {"a managed charger on one phase of a wye",
         3,
         31,
         230,
         {100, 80, 120},
         300,
         {Load("Chiller,60,A+B+C"), Load("Charger,32,B,continuous,managed")},
         20000,
         CapacityVerdict::YesWithLoadManagement,
         {}},
        {"a delta",
         4,
         31,
         230,
         {100, 80, 120},
         300,
         {Load("Kiln,40,A+B+C,continuous")},
         std::nullopt,
         CapacityVerdict::Yes,
         {}},
        {"a single-phase recording under 30 days",
         0,
         10,
         230,
         {40, 0, 0},
         100,
         {Load("Water heater,20,L1")},
         std::nullopt,
         CapacityVerdict::NotDecided,
         {"The recording covers 10.00 days, less than 30 days."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto db = Generated(c.phase, c.days, c.volts, c.amps);
        SurveyOptions o;
        o.RatingAmps = c.rating;
        o.Capacity.Loads = c.loads;
        o.Capacity.NightNeedWh = c.needWh;
        const SurveyResult r = RunSurvey(db->Parameters(), o);
        ASSERT_TRUE(r.Capacity);
        const CapacityStudy& s = *r.Capacity;
        EXPECT_EQ(s.Verdict, c.verdict);
        EXPECT_EQ(s.Reasons, c.reasons);
        // Guessed from the channels: a delta's line-to-line 398 V is taken for 400 V.
        const double volts = c.phase == 4 ? 400 : c.volts;
        EXPECT_EQ(*s.Volts, volts);
        EXPECT_TRUE(s.VoltsGuessed);
        ExpectDefinitions(db->Parameters(), o, volts, s);
    }
}

TEST(CapacityStudyTest, NotDecidedWithoutCurrentsRatingOrPhase) {
    const auto noCurrents = Generated(1, 31, 120, {60, 45, 0}, false);
    SurveyOptions o;
    o.RatingAmps = 200;
    o.Capacity.Loads = {Load("EV charger,48,L1+L2,managed")};
    CapacityStudy s = *RunSurvey(noCurrents->Parameters(), o).Capacity;
    EXPECT_EQ(s.Verdict, CapacityVerdict::NotDecided);
    EXPECT_EQ(s.Reasons, std::vector<std::string>{NoPhaseCurrentsText});
    EXPECT_TRUE(s.Phases.empty() && s.Nights.empty() && !s.SetPointAmps);
    EXPECT_TRUE(s.Kva.DesignVa); // the apparent power is there

    const auto single = Generated(0, 31, 120, {40, 0, 0});
    o.Capacity.Loads = {Load("Dryer,24,L1+L2")};
    o.RatingAmps.reset();
    s = *RunSurvey(single->Parameters(), o).Capacity;
    EXPECT_EQ(s.Verdict, CapacityVerdict::NotDecided);
    EXPECT_EQ(s.Reasons, (std::vector<std::string>{
                             NoRatingText, "Dryer connects to L1+L2: the recording has no I2."}));
    EXPECT_EQ(s.Loads[0].Phases, std::vector<std::string>{"I1"});
    ASSERT_TRUE(s.DesignAmps);

    // Ten hours of 10 A, 20 A for the first three and 19 A for three from 06:40, samples lost
    // at 01:30 and 05:00: no window holding either counts.
    LParameterCollection lost;
    std::vector<float> amps(600, 10);
    std::fill(amps.begin(), amps.begin() + 180, 20.f);
    std::fill(amps.begin() + 400, amps.begin() + 580, 19.f);
    amps[90] = amps[300] = NAN;
    const TDateTime monday = At(2024, 3, 11);
    AddHistoric(lost, code::Rms, code::Amperes, code::I1, amps, monday, 60);
    s = *RunSurvey(lost, o).Capacity;
    ASSERT_TRUE(s.Phases[0].ThreeHourAmps);
    EXPECT_NEAR(s.Phases[0].ThreeHourAmps->Value, 19, 1e-9);
    EXPECT_EQ(s.Phases[0].ThreeHourAmps->Time, monday + 400 / 1440.0);
}

// The page's tables: each line of the calculation, the headroom by hour, the nights.
TEST(CapacityStudyTest, Tables) {
    const auto db = Generated(1, 31, 120, {60, 45, 0});
    SurveyOptions o;
    o.RatingAmps = 150;
    o.Capacity.Loads = {Load("EV charger,80,L1+L2,managed"), Load("Heat pump,30,L1+L2")};
    const CapacityStudy s = *RunSurvey(db->Parameters(), o).Capacity;
    const TextTable table = CapacityTable(s);
    const std::string csv = table.Csv();
    for (const std::string& line : std::vector<std::string>{
             "Figure,Phase,Value,Unit,Time", "+ Heat pump (30.00 A × 1.25),I2,37.50,A,",
             "Verdict,I1,\"Yes, with load management\",,",
             "Set point of the managed loads,," + NumberFormat::Plain().Fixed(*s.SetPointAmps) +
                 ",A,"})
        EXPECT_NE(("\n" + csv).find("\n" + line + "\r\n"), std::string::npos) << line;
    EXPECT_EQ(table.CellText(table.Rows.size() - 1, 2, TextStyle{}),
              NumberFormat::Plain().Fixed(*s.Nights[0].MeanWh / 1000) + " kWh");
    EXPECT_EQ(HeadroomTable(s).Rows.size(), 24u);
    const TextTable nights = NightEnergyTable(s);
    EXPECT_EQ(nights.HeaderText(1), "EV charger (kWh)");
    ASSERT_EQ(nights.Rows.size(), 30u);
    EXPECT_EQ(nights.Rows[0][1].value * 1000, s.Nights[0].Nights[0].Wh);
}

TEST(CapacityStudyTest, NewLoadTexts) {
    const struct {
        const char* given;
        NewLoad load;
        const char* error = nullptr; // when refused, with this message
    } cases[] = {
        {"EV charger,48,L1+L2,continuous,managed",
         {"EV charger", 48, LoadConnection::BothLegs, true, true}},
        {" Heat pump , 12.5 , a+b+c ",
         {"Heat pump", 12.5, LoadConnection::ThreePhases, true, false}},
        {"Oven,40,L2", {"Oven", 40, LoadConnection::L2, false, false}},
        {"Water heater,30,C,noncontinuous", {"Water heater", 30, LoadConnection::C, false, false}},
        {"\"Shop, north\",30,A,managed", {"Shop, north", 30, LoadConnection::A, false, true}},
        {"EV,4x8,L1", {}, "new load 'EV,4x8,L1': the amperes '4x8' are not a number above 0"},
        {"EV,0,L1", {}, "new load 'EV,0,L1': the amperes '0' are not a number above 0"},
        {"EV,48,L3",
         {},
         "new load 'EV,48,L3': the connection 'L3' is not L1, L2, L1+L2, A, B, C or A+B+C"},
        {"EV,48,L1,sometimes",
         {},
         "new load 'EV,48,L1,sometimes': 'sometimes' is not continuous, noncontinuous or "
         "managed"},
        {",48,L1", {}, "new load ',48,L1': the name is empty"},
        {"EV,48",
         {},
         "new load 'EV,48': give its name, amperes and connection, separated by commas"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given);
        if (!c.error) {
            const NewLoad load = ParseNewLoad(c.given);
            EXPECT_EQ(load, c.load);
            EXPECT_EQ(ParseNewLoad(NewLoadText(load)), load);
            continue;
        }
        try {
            ParseNewLoad(c.given);
            ADD_FAILURE() << "taken";
        } catch (const VroError& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
    int32_t from = 0, to = 0;
    ParseChargingWindow("21:30-07:15", from, to);
    EXPECT_EQ(ChargingWindowText(from, to), "21:30-07:15");
    EXPECT_THROW(ParseChargingWindow("22:00-24:00", from, to), VroError);
}

// Energy, cost, demand, profile, load study, power factor and compare for every phase
// configuration; unbalance for three phases only.
TEST(CapacityStudyTest, PowerOfEveryPhaseConfiguration) {
    const struct {
        uint8_t phase;
        double volts;
        const char* source;
        std::vector<uint8_t> powerChannels; // summed for the energy
        std::vector<std::string> currents;
        bool unbalance;
    } cases[] = {
        {0, 230, "V1I1", {8}, {"I1"}, false},
        {1, 120, "V1I1+V2I2", {8, 9}, {"I1", "I2"}, false},
        {3, 230, "3Ø", {25}, {"IA", "IB", "IC"}, true},
        {4, 230, "3Ø", {25}, {"IA", "IB", "IC"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int{c.phase});
        const auto db = Generated(c.phase, 3, c.volts, {40, 30, 50});
        SurveyOptions o;
        o.CostTariff = SimpleTariff(0.2, 10, 5);
        const SurveyResult r = RunSurvey(db->Parameters(), o);
        ASSERT_TRUE(r.Power);
        EXPECT_EQ(r.Power->Source, c.source);
        double wh = 0;
        for (const uint8_t channel : c.powerChannels) {
            const LParameter* found = Historic(db->Parameters(), 1, channel);
            ASSERT_TRUE(found);
            const LParameter& p = *found;
            for (int32_t k = 0; k < p.Count(); ++k)
                wh += p.Values()[k] / 60.0;
        }
        EXPECT_NEAR(r.Power->Totals.EnergyWh, wh, 1e-6 * wh);
        EXPECT_EQ(r.Power->Blocks.Complete, 3 * 96);
        EXPECT_TRUE(r.Power->Cost && r.Power->Cost->Total > 0);
        EXPECT_TRUE(r.Power->Profile.Weekday[40].Mean);
        EXPECT_EQ(r.Power->Days.size(), 3u);
        EXPECT_TRUE(r.Power->Load.DesignWatts);
        std::vector<std::string> currents;
        for (const PhasePeak& p : r.Power->Load.Phases)
            currents.push_back(p.ChannelLabel);
        EXPECT_EQ(currents, c.currents);
        EXPECT_EQ(r.Power->PowerFactor.Blocks, 3 * 96);
        EXPECT_EQ(r.Unbalance.Current.has_value(), c.unbalance);
        if (!c.unbalance) {
            EXPECT_EQ(r.Unbalance.Reasons.back(), "The recording has neither IA, IB and IC nor "
                                                  "I1, I2 and I3: no current unbalance.");
        }
        // The nominal voltage is guessed from V1 (and V2) as from VAN.
        ASSERT_TRUE(r.Voltage);
        if (c.phase < 2) {
            EXPECT_EQ(*r.Voltage->NominalVolts, c.volts);
        }
        CompareOptions compare;
        compare.BeforeRange = TimeRange{At(2026, 3, 2), At(2026, 3, 3)};
        compare.AfterRange = TimeRange{At(2026, 3, 3), At(2026, 3, 5)};
        EXPECT_NO_THROW(RunComparison(db->Parameters(), db->Parameters(), compare));
    }
}

} // namespace

// Thirty days are days measured, as the load study counts them: 35 days with a week not
// measured are 28, and the study is not decided, for the same reason the load study gives.
TEST(CapacityStudyTest, AGapIsNoDayMeasured) {
    SurveyOptions o;
    o.RatingAmps = 100;
    o.Capacity.Loads = {Load("Oven,20,L1")};
    for (const int gapDays : {0, 7}) {
        SCOPED_TRACE(gapDays);
        LParameterCollection c;
        std::vector<float> amps(35 * 1440, 30);
        std::fill(amps.begin() + 10 * 1440, amps.begin() + (10 + gapDays) * 1440, NAN);
        AddHistoric(c, code::Rms, code::Amperes, code::I1, amps, At(2024, 3, 1), 60);
        const CapacityStudy s = *RunSurvey(c, o).Capacity;
        if (gapDays == 0) {
            EXPECT_EQ(s.Verdict, CapacityVerdict::Yes);
        } else {
            EXPECT_EQ(s.Verdict, CapacityVerdict::NotDecided);
            ASSERT_FALSE(s.Reasons.empty());
            EXPECT_EQ(s.Reasons.front(), "The recording covers 28.00 days, less than 30 days.");
        }
    }
}
