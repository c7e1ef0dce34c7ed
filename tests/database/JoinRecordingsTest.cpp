// Recordings of one site joined into one: the order, the gaps kept as NaN samples on the first
// recording's time base, the overlaps, the refusals, and the files that result.
#include "database/JoinRecordings.h"
#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "tests/database/DatabaseTestSupport.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/JoinedSeries.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <functional>

namespace {

// Historic RMS voltage VAN and current IN, the voltage maximum, minimum and the demand
// (Event), the voltage average and the 3Ø energy (Cumulative), the interval maxima of the
// voltage (Interval event) and the interval energy (Interval cumulative).
const std::vector<int> Entries = {6, 16, 47, 56, 115, 98, 114, 122, 189};
enum Slot {
    VoltageVAN,
    CurrentIN,
    VoltageMax,
    VoltageMin,
    Demand,
    VoltageAvg,
    Energy,
    IntervalMax,
    IntervalEnergy
};

GeneratedRecording Recording(CalendarTime start, int32_t points, uint32_t seed = 1) {
    GeneratorOptions o;
    o.entries = Entries;
    o.start = start;
    o.historicPoints = points;
    o.seed = seed;
    return GenerateRecording(o);
}

TDateTime Time(CalendarTime t) {
    TDateTime date = 0, time = 0;
    TryEncodeDate(t.year, t.month, t.day, date);
    TryEncodeTime(t.hour, t.minute, t.second, 0, time);
    return date + time;
}

bool SameBits(float a, float b) {
    return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b);
}

// Every point of every input is found at its own time (to the millisecond) in the joined
// parameter, its value bit for bit; every other Historic sample is NaN.
void ExpectEverySampleAtItsTime(const LDatabase& joined, const std::vector<const LDatabase*>& in,
                                int32_t j) {
    const LParameter& p = *joined.Parameters().Items(j);
    std::vector<bool> found(static_cast<size_t>(p.Count()));
    const double step = p.Rate() / SecsPerDay;
    for (const LDatabase* db : in) {
        const LParameter& q = *db->Parameters().Items(j);
        for (int32_t k = 0; k < q.Count(); ++k) {
            float v, w;
            TDateTime t, u;
            q.GetPoint(k, v, t);
            int32_t i = 0;
            if (p.TableType() == ttHistoric)
                i = static_cast<int32_t>(std::lround((t - p.StartTime()) / step));
            else
                while (i < p.Count() && p.Times()[i] != t)
                    ++i;
            ASSERT_TRUE(p.GetPoint(i, w, u)) << p.Name() << " point " << k << " is missing";
            EXPECT_NEAR(u, t, 1e-3 / SecsPerDay) << p.Name() << " point " << k;
            EXPECT_TRUE(SameBits(v, w)) << p.Name() << " point " << k << ": " << v << " " << w;
            found[static_cast<size_t>(i)] = true;
        }
    }
    for (int32_t i = 0; i < p.Count(); ++i) {
        if (!found[static_cast<size_t>(i)]) {
            EXPECT_TRUE(std::isnan(p.Values()[i])) << p.Name() << " sample " << i;
        }
    }
}

TEST(JoinRecordingsTest, ThreeRecordingsWithTwoGapsKeepEverySampleAtItsTime) {
    // Two hours each; 37 minutes between the first two, a day and 19 h 23 min before the third.
    std::vector<GeneratedRecording> recordings = {Recording({2026, 11, 4, 0, 0, 0}, 120, 3),
                                                  Recording({2026, 11, 2, 0, 0, 0}, 120, 1),
                                                  Recording({2026, 11, 2, 2, 37, 0}, 120, 2)};
    std::vector<JoinInput> inputs = ParsedInputs(recordings);
    inputs[1].Recording->Header().UserID = "R. Okafor";
    inputs[1].Recording->Header().Location = "Feeder B";
    inputs[1].Recording->Header().Comments = "Panel 4";
    inputs[2].Recording->Header().Location = "elsewhere";
    // The inputs as read, for comparison; the join releases its own copies' values.
    std::vector<JoinInput> copies = ParsedInputs(recordings);

    LDatabase db;
    const JoinPlan plan = JoinRecordings(std::move(inputs), JoinOverlap::Refuse, db);
    ASSERT_EQ(plan.Steps.size(), 3u);
    EXPECT_EQ(plan.Steps[0].Input, 1u);
    EXPECT_EQ(plan.Steps[2].Input, 0u);
    EXPECT_EQ(NeighbourText(plan.Steps[1], false), "gap of 37 min");
    EXPECT_EQ(NeighbourText(plan.Steps[2], false), "gap of 1 d 19 h 23 min");

    const LSession& h = db.Header();
    EXPECT_EQ(h.UserID, "R. Okafor");
    EXPECT_EQ(h.Location, "Feeder B");
    EXPECT_EQ(h.StartTime, Time({2026, 11, 2, 0, 0, 0}));
    EXPECT_NEAR(h.EndTime, Time({2026, 11, 4, 1, 59, 59}), 1e-3 / SecsPerDay);
    EXPECT_EQ(h.Comments, "Panel 4\nJoined from: week2.bin (2026-11-02 00:00:00 to "
                          "2026-11-02 01:59:59); week3.bin (2026-11-02 02:37:00 to 2026-11-02 "
                          "04:36:59); week1.bin (2026-11-04 00:00:00 to 2026-11-04 01:59:59)");
    // Two days and two hours of samples; 24 intervals.
    EXPECT_EQ(h.HistoricPointMax, 2 * 1440 + 120);
    EXPECT_EQ(h.EventPointMax, 24);
    EXPECT_TRUE(db.Tables().empty() && db.Charts().empty());
    EXPECT_TRUE(db.Modified());
    EXPECT_FALSE(db.HasFileName());

    const std::vector<const LDatabase*> in = {copies[0].Recording.get(), copies[1].Recording.get(),
                                              copies[2].Recording.get()};
    for (int32_t j : {VoltageVAN, CurrentIN, IntervalMax, IntervalEnergy}) {
        SCOPED_TRACE(j);
        ExpectEverySampleAtItsTime(db, in, j);
    }
}

TEST(JoinRecordingsTest, EveryInputsNotesAreKeptAndEachStartIsMarked) {
    std::vector<JoinInput> inputs = ParsedInputs(
        {Recording({2026, 11, 4, 0, 0, 0}, 120), Recording({2026, 11, 2, 0, 0, 0}, 120)});
    inputs[1].Recording->Header().UserID = "R. Okafor";
    const TDateTime morning = Time({2026, 11, 2, 0, 30, 0}), later = Time({2026, 11, 4, 1, 0, 0});
    inputs[1].Recording->AddNote({morning, morning + 0.01, LNoteKind::Exclude, "Clamp off", "R"});
    inputs[0].Recording->AddNote({later, later, LNoteKind::Change, "Bank on", ""});

    LDatabase db;
    JoinRecordings(std::move(inputs), JoinOverlap::Refuse, db);
    const std::vector<LNote> expected = {
        {Time({2026, 11, 2, 0, 0, 0}), Time({2026, 11, 2, 0, 0, 0}), LNoteKind::Recorder,
         "Recording started: week2.bin", "R. Okafor"},
        {morning, morning + 0.01, LNoteKind::Exclude, "Clamp off", "R"},
        {Time({2026, 11, 4, 0, 0, 0}), Time({2026, 11, 4, 0, 0, 0}), LNoteKind::Recorder,
         "Recording started: week1.bin", ""},
        {later, later, LNoteKind::Change, "Bank on", ""},
    };
    EXPECT_EQ(db.Notes(), expected);
}

// Each input's header or catalogue changed after reading, as a file could hold it.
TEST(JoinRecordingsTest, RecordingsThatDoNotFitAreRefusedNamingBoth) {
    using Edit = std::function<void(std::vector<JoinInput>&)>;
    struct Case {
        const char* what;
        std::vector<int> entries2; // the second recording's, when not the same
        Edit edit;
        std::string refusal;
    };
    const auto header = [](size_t k) {
        return [k](std::vector<JoinInput>& in) -> LSession& { return in[k].Recording->Header(); };
    };
    const std::vector<int> withoutIN = {6, 47, 56, 115, 98, 114, 122, 189};
    const std::vector<int> withEnergyØA = {6, 16, 47, 56, 115, 98, 111, 114, 122, 189};
    const std::vector<int> swapped = {16, 6, 47, 56, 115, 98, 114, 122, 189};
    const Case cases[] = {
        {"one", {}, [](auto& in) { in.pop_back(); }, "A join needs at least two recordings."},
        {"phase",
         {},
         [&](auto& in) { header(1)(in).PhaseConfig = 4; },
         "week2.bin was recorded on 3Ø 3W Delta, week1.bin on 3Ø 4W Wye"},
        {"CT",
         {},
         [&](auto& in) { header(1)(in).CTType = 1; },
         "week2.bin was recorded with the FPX 7000 300, week1.bin with the KLCT"},
        {"rate",
         {},
         [&](auto& in) { header(0)(in).Rate = 5; },
         "week2.bin was recorded at 60 s, week1.bin at 300 s"},
        {"interval",
         {},
         [&](auto& in) { header(1)(in).Interval = 2; },
         "week2.bin was recorded with the interval 30 min., week1.bin with 15 min."},
        {"missing", withoutIN, {}, "week2.bin has no RMS Current - IN, which week1.bin has"},
        {"more",
         withEnergyØA,
         {},
         "week1.bin has no Energy - ØA (Cumulative), which week2.bin has"},
        {"order", swapped, {}, "week2.bin has RMS Current - IN in another place than week1.bin"},
        {"overlap",
         {},
         [&](auto& in) { header(1)(in).StartTime -= (3 * 60 + 10) / 1440.0; },
         "week2.bin starts 3 h 10 min before week1.bin ends"},
        {"gap",
         {},
         [&](auto& in) { header(1)(in).StartTime += 367; },
         "week2.bin starts 367 d after week1.bin ends: a gap of more than 366 days"},
        {"no time",
         {},
         [&](auto& in) { header(1)(in).EndTime = NAN; },
         "week2.bin has no valid start or end time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GeneratorOptions o;
        o.entries = Entries;
        o.start = CalendarTime{2026, 11, 2, 0, 0, 0};
        o.historicPoints = 600;
        std::vector<GeneratedRecording> two = GenerateSeries(o, 2);
        if (!c.entries2.empty()) {
            o.entries = c.entries2;
            two[1] = GenerateSeries(o, 2)[1];
        }
        std::vector<JoinInput> inputs = ParsedInputs(two);
        if (c.edit)
            c.edit(inputs);
        const JoinPlan plan = PlanJoin(inputs, JoinOverlap::Refuse);
        EXPECT_EQ(plan.Refusal, c.refusal);
        // Laid out all the same, for the dialog to show, unless they cannot be ordered.
        const bool ordered = std::string(c.what) != "one" && std::string(c.what) != "no time";
        EXPECT_EQ(plan.Steps.size(), ordered ? 2u : 0u);
        LDatabase db;
        db.New();
        db.Header().Location = "open";
        EXPECT_EQ(ErrorMessage([&] { JoinRecordings(std::move(inputs), JoinOverlap::Refuse, db); }),
                  c.refusal);
        EXPECT_EQ(db.Header().Location, "open") << "a refusal leaves the database alone";
    }
}

TEST(JoinRecordingsTest, GapsUpTo366DaysAndWhatTheirSamplesWouldTake) {
    GeneratorOptions o;
    o.entries = Entries;
    o.start = CalendarTime{2026, 1, 1, 0, 0, 0};
    o.historicPoints = 60;
    const std::vector<JoinInput> year = ParsedInputs(GenerateSeries(o, 2, 366 * 1440));
    const JoinPlan plan = PlanJoin(year, JoinOverlap::Refuse);
    EXPECT_EQ(plan.Refusal, "");
    EXPECT_EQ(NeighbourText(plan.Steps[1], false), "gap of 366 d");
    EXPECT_EQ(plan.Periods, 366 * 1440 + 120);

    // At one second, 23 Historic parameters over a year would not fit in memory.
    o.entries = {};
    o.rate = 0;
    const std::vector<JoinInput> seconds = ParsedInputs(GenerateSeries(o, 2, 366 * 86400));
    EXPECT_EQ(PlanJoin(seconds, JoinOverlap::Refuse).Refusal,
              "The joined recording would take 2774 MB, more than the 2048 MB a join may make");
}

// A later download of a memory that was not cleared holds the earlier one whole; here its
// samples differ from the earlier's, so that the choice shows.
TEST(JoinRecordingsTest, ALaterRecordingHoldingTheEarlierIsJoinedEitherWay) {
    const GeneratedRecording whole = Recording({2026, 11, 2, 0, 0, 0}, 240);
    GeneratedRecording first = Recording({2026, 11, 2, 0, 0, 0}, 120, 7);
    std::vector<JoinInput> copies = ParsedInputs({whole, first});
    const LDatabase& later = *copies[0].Recording;
    const LDatabase& earlier = *copies[1].Recording;
    for (const JoinOverlap overlap : {JoinOverlap::Later, JoinOverlap::Earlier}) {
        SCOPED_TRACE(static_cast<int>(overlap));
        LDatabase db;
        const JoinPlan plan = JoinRecordings(ParsedInputs({whole, first}), overlap, db);
        ASSERT_EQ(plan.Steps.size(), 2u);
        EXPECT_EQ(plan.Steps[0].Input, 1u) << "of equal starts the one ending later is later";
        EXPECT_EQ(NeighbourText(plan.Steps[1], false), "overlap of 2 h");
        const LParameter& v = *db.Parameters().Items(VoltageVAN);
        ASSERT_EQ(v.Count(), 240);
        const bool keepsEarlier = overlap == JoinOverlap::Earlier;
        for (int32_t i = 0; i < 240; ++i) {
            const LDatabase& from = keepsEarlier && i < 120 ? earlier : later;
            ASSERT_TRUE(SameBits(v.Values()[i], from.Parameters().Items(VoltageVAN)->Values()[i]))
                << i;
        }
        // The interval points: 8 of the earlier, if kept, and those of the later after them.
        const LParameter& intervals = *db.Parameters().Items(IntervalMax);
        ASSERT_EQ(intervals.Count(), 16);
        const LParameter& laterIntervals = *later.Parameters().Items(IntervalMax);
        const LParameter& earlierIntervals = *earlier.Parameters().Items(IntervalMax);
        EXPECT_EQ(intervals.Values()[0],
                  (keepsEarlier ? earlierIntervals : laterIntervals).Values()[0]);
        EXPECT_EQ(intervals.Values()[15], laterIntervals.Values()[15]);
        // The energy of what is kept of each.
        const float laterEnergy = later.Parameters().Items(Energy)->Values()[0];
        const float earlierEnergy = earlier.Parameters().Items(Energy)->Values()[0];
        EXPECT_FLOAT_EQ(db.Parameters().Items(Energy)->Values()[0],
                        keepsEarlier ? earlierEnergy + laterEnergy / 2 : laterEnergy);
    }
}

TEST(JoinRecordingsTest, AStartOffTheGridMovesToTheNearestPoint) {
    struct Case {
        int seconds;        // after back to back
        int32_t position;   // of its first sample, after the first's 60
        const char* report; // empty: not reported
    };
    for (const Case c : {Case{0, 60, ""},
                         {5, 60, ""},
                         {6, 60, ""},
                         {7, 60, "week2.bin: start moved by 7 s onto the 60 s grid"},
                         {20, 60, "week2.bin: start moved by 20 s onto the 60 s grid"},
                         {30, 61, "week2.bin: start moved by 30 s onto the 60 s grid"},
                         {50, 61, "week2.bin: start moved by 10 s onto the 60 s grid"}}) {
        SCOPED_TRACE(c.seconds);
        const std::vector<GeneratedRecording> two = {Recording({2026, 11, 2, 0, 0, 0}, 60),
                                                     Recording({2026, 11, 2, 1, 0, c.seconds}, 60)};
        LDatabase db;
        const JoinPlan plan = JoinSeries(db, two);
        EXPECT_EQ(plan.Moves,
                  c.report[0] ? std::vector<std::string>{c.report} : std::vector<std::string>{});
        const LParameter& v = *db.Parameters().Items(VoltageVAN);
        EXPECT_EQ(v.Count(), c.position + 60);
        EXPECT_EQ(std::isnan(v.Values()[60]), c.position > 60);
        EXPECT_TRUE(SameBits(v.Values()[c.position], two[1].blocks[VoltageVAN].values[0]));
    }
}

TEST(JoinRecordingsTest, EventsTakeTheExtremeAndTotalsAddUpWeightedByDuration) {
    // One, two and three hours, each with its own extremes and totals.
    std::vector<GeneratedRecording> in = {Recording({2026, 11, 2, 0, 0, 0}, 60),
                                          Recording({2026, 11, 2, 1, 0, 0}, 120),
                                          Recording({2026, 11, 2, 3, 0, 0}, 180)};
    const float maxima[] = {250, 262, 262}, minima[] = {201, 199, 205};
    const float demands[] = {9000, 8000, 9500}, averages[] = {230, 233, 227};
    const float energies[] = {1000, 2500, 4000};
    for (size_t k = 0; k < 3; ++k) {
        in[k].blocks[VoltageMax].values = {maxima[k]};
        in[k].blocks[VoltageMin].values = {minima[k]};
        in[k].blocks[Demand].values = {demands[k]};
        in[k].blocks[VoltageAvg].values = {averages[k]};
        in[k].blocks[Energy].values = {energies[k]};
    }
    const std::vector<JoinInput> copies = ParsedInputs(in);
    auto point = [&](size_t k, int j) {
        const LParameter& p = *copies[k].Recording->Parameters().Items(j);
        return std::pair{p.Values()[0], p.Times()[0]};
    };
    LDatabase db;
    JoinSeries(db, in);
    auto joined = [&](int j) {
        const LParameter& p = *db.Parameters().Items(j);
        EXPECT_EQ(p.Count(), 1) << j;
        return std::pair{p.Values()[0], p.Times()[0]};
    };
    // The first of equal maxima.
    EXPECT_EQ(joined(VoltageMax), point(1, VoltageMax));
    EXPECT_EQ(joined(VoltageMin), point(1, VoltageMin));
    EXPECT_EQ(joined(Demand), point(2, Demand));
    EXPECT_EQ(joined(Energy), std::pair(7500.0f, point(2, Energy).second));
    EXPECT_EQ(joined(VoltageAvg), std::pair(static_cast<float>((230.0 + 2 * 233.0 + 3 * 227.0) / 6),
                                            point(2, VoltageAvg).second));
}

// More points than one download can hold, with a table over them all: saved and loaded back.
TEST(JoinRecordingsTest, AJoinedDatabaseHoldsMorePointsThanTheInstrument) {
    GeneratorOptions o;
    o.entries = {6};
    o.start = CalendarTime{2026, 1, 1, 0, 0, 0};
    o.historicPoints = 30000;
    LDatabase db;
    JoinSeries(db, GenerateSeries(o, 2));
    LTableRecord* table = db.AddTable();
    table->Sources.Add(std::make_unique<LParameterSource>(*db.AllSources().Items(0)));
    table->Sources.SetSubset(59000, 59999);
    ScratchFolder dir;
    const std::string file = SaveAs(db, dir / "two");
    LDatabase loaded;
    LoadFrom(loaded, file);
    ExpectSameContent(db, loaded);
    EXPECT_EQ(loaded.Tables()[0]->Sources.Items(0)->GetCount(), 1000);
}

} // namespace
