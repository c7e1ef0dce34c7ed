// A range left out by an exclude note is, to every figure, that range's samples not measured.
#include "analysis/ExcludedRanges.h"
#include "analysis/RangeStatistics.h"
#include "analysis/Survey.h"
#include "model/LParameter.h"
#include "tests/analysis/AnalysisTestSupport.h"
#include "tests/support/NotMeasured.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

using namespace code;

const TDateTime Start = At(2024, 3, 11, 8);

TDateTime Seconds(int s) {
    return Start + s / SecsPerDay;
}

// The bits of a figure, so that equal means the same double and unset differs from any.
std::string Bits(const std::optional<double>& value) {
    return value ? std::to_string(std::bit_cast<uint64_t>(*value)) : "unset";
}

TEST(ExcludedRangesTest, EverySampleFromTheFirstSecondToTheLastIsSetAside) {
    // Ten samples a minute apart, 0.4 s after each whole minute.
    const std::vector<float> values(10, 1);
    struct Case {
        std::vector<std::pair<int, int>> seconds;
        std::string setAside;
    } cases[] = {
        {{{120, 240}}, "..xxx....."},
        {{{121, 239}}, "...x......"},
        {{{60, 60}}, ".x........"},
        {{{61, 119}}, ".........."},
        {{{-600, 0}, {480, 9999}}, "x.......xx"},
        {{{120, 200}, {180, 300}}, "..xxxx...."},
    };
    for (const Case& c : cases) {
        SampledSeries series{"3Ø", values.data(), 10, Start + 0.4 / SecsPerDay, 0, 60};
        std::vector<TimeRange> ranges;
        for (const auto& [from, to] : c.seconds)
            ranges.push_back({Seconds(from), Seconds(to)});
        std::vector<float> storage;
        const int64_t count = SetAside(series, ranges, storage);
        std::string setAside;
        for (int j = 0; j < series.Count; ++j)
            setAside += std::isnan(series.Values[j]) ? 'x' : '.';
        EXPECT_EQ(setAside, c.setAside);
        EXPECT_EQ(count, std::count(setAside.begin(), setAside.end(), 'x'));
        // The recording's own values are never changed.
        EXPECT_EQ(std::count(values.begin(), values.end(), 1.f), 10);
    }
}

TEST(ExcludedRangesTest, StatisticsAreThoseOfTheSamplesNotMeasured) {
    // Three blocks of the values' summary and a part; the highest value lies in a range left
    // out, so that a kept block of the summary would let it in.
    std::vector<float> values(3 * 4096 + 100);
    for (size_t k = 0; k < values.size(); ++k)
        values[k] = static_cast<float>(230 + 5 * std::sin(0.01 * static_cast<double>(k)));
    values[5050] = 400;
    std::vector<TDateTime> times;
    for (int k = 0; k < 500; ++k)
        times.push_back(Seconds(60 * 25 * k + 7));
    LParameterCollection left, unmeasured;
    for (LParameterCollection* recording : {&left, &unmeasured}) {
        AddHistoric(*recording, RealPower, Watts, ThreePhase, values, Start, 60);
        AddStamped(*recording, ttEvent, 5, Volts, VAN,
                   std::vector<float>(values.begin(), values.begin() + 500), times);
    }
    // Made before the note, as a chart or table would have made it.
    (void)left.Items(0)->Summary();
    // Within a block, across the end of one, and a single sample.
    const std::vector<TimeRange> excluded = {{Seconds(60 * 5000), Seconds(60 * 5100)},
                                             {Seconds(60 * 8000), Seconds(60 * 8300)},
                                             {Seconds(60 * 12300), Seconds(60 * 12300)}};
    for (const TimeRange& r : excluded)
        SetNotMeasured(unmeasured, r.From, r.To);

    for (const std::optional<TimeRange>& range :
         {std::optional<TimeRange>(),
          std::optional<TimeRange>({Seconds(60 * 4000 + 1), Seconds(60 * 9000)})}) {
        StatisticsOptions options;
        options.Range = range;
        options.Excluded = excluded;
        const RangeStatistics x = StatisticsOfRecording(left, options);
        const RangeStatistics y = StatisticsOfRecording(unmeasured, range);
        for (size_t i = 0; i < x.Rows.size(); ++i) {
            const SourceStatistics &a = x.Rows[i], &b = y.Rows[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(a.Count, b.Count);
            EXPECT_EQ(a.Invalid, b.Invalid);
            for (const auto& [p, q] : {std::pair{a.Minimum, b.Minimum},
                                       {a.Maximum, b.Maximum},
                                       {a.Mean, b.Mean},
                                       {a.StdDev, b.StdDev},
                                       {a.First, b.First},
                                       {a.Last, b.Last},
                                       {a.Integral, b.Integral},
                                       {a.LoadFactor, b.LoadFactor},
                                       {a.Coverage, b.Coverage},
                                       {a.From, b.From},
                                       {a.To, b.To}})
                EXPECT_EQ(Bits(p), Bits(q));
            EXPECT_EQ(a.MinimumTime, b.MinimumTime);
            EXPECT_EQ(a.MaximumTime, b.MaximumTime);
        }
        EXPECT_EQ(x.Rows[0].Excluded, range ? 101 + 301 : 101 + 301 + 1);
        EXPECT_LT(*x.Rows[0].Maximum, 400);
    }
}

TEST(ExcludedRangesTest, ASurveyOfPhasesLeavesOutTheirSum) {
    // Three days of ØA, ØB and ØC (no 3Ø: the survey adds them up), IA and VAN.
    const int n = 3 * 1440;
    std::vector<float> load(n);
    for (int k = 0; k < n; ++k)
        load[static_cast<size_t>(k)] = static_cast<float>(1000 + 400 * std::sin(k / 90.0));
    LParameterCollection left, unmeasured;
    for (LParameterCollection* r : {&left, &unmeasured}) {
        for (uint8_t phase : {PhaseA, PhaseB, PhaseC})
            AddHistoric(*r, RealPower, Watts, phase, load, Start, 60);
        AddHistoric(*r, Rms, Amperes, IA, load, Start, 60);
        AddHistoric(*r, Rms, Volts, VAN, std::vector<float>(n, 230), Start, 60);
    }
    SurveyOptions options;
    options.Excluded = {{Seconds(60 * 700 + 20), Seconds(60 * 1300)}};
    SetNotMeasured(unmeasured, options.Excluded[0].From, options.Excluded[0].To);
    const SurveyResult x = RunSurvey(left, options);
    const SurveyResult y = RunSurvey(unmeasured, SurveyOptions{});
    ASSERT_TRUE(x.Power && y.Power);
    EXPECT_EQ(x.Power->Source, "ØA+ØB+ØC");
    EXPECT_EQ(x.ExcludedSamples, 600);
    const auto blocks = [](const BlockSeries& b) {
        std::string all;
        for (const DemandBlock& d : b.Blocks)
            all += std::to_string(d.Finite) + Bits(d.Mean) + ";";
        return all;
    };
    EXPECT_EQ(blocks(x.Power->Blocks), blocks(y.Power->Blocks));
    EXPECT_EQ(blocks(x.Voltage->Channels[0].Blocks), blocks(y.Voltage->Channels[0].Blocks));
    EXPECT_EQ(Bits(x.Power->Totals.EnergyWh), Bits(y.Power->Totals.EnergyWh));
    EXPECT_EQ(Bits(x.Power->Load.Peak->Value), Bits(y.Power->Load.Peak->Value));
    EXPECT_EQ(x.Power->Load.Phases.size(), 1u);
    EXPECT_EQ(Bits(x.Power->Load.Phases[0].Peak->Value), Bits(y.Power->Load.Phases[0].Peak->Value));
}

TEST(ExcludedRangesTest, TheNotesOfAStudy) {
    const std::vector<LNote> notes = {
        {Seconds(0), Seconds(0), LNoteKind::Change, "a", ""},
        {Seconds(100), Seconds(200), LNoteKind::Exclude, "b", ""},
        {Seconds(150), Seconds(150), LNoteKind::Remark, "c", ""},
        {Seconds(300), Seconds(400), LNoteKind::Exclude, "d", ""},
    };
    const auto texts = [](const std::vector<LNote>& some) {
        std::string all;
        for (const LNote& n : some)
            all += n.Text;
        return all;
    };
    EXPECT_EQ(texts(NotesIn(notes, std::nullopt)), "abcd");
    EXPECT_EQ(texts(NotesIn(notes, TimeRange{Seconds(200), Seconds(300)})), "bd");
    EXPECT_EQ(texts(NotesIn(notes, TimeRange{Seconds(201), Seconds(299)})), "");
    const std::vector<TimeRange> excluded = ExcludedRanges(notes);
    ASSERT_EQ(excluded.size(), 2u);
    EXPECT_EQ(excluded[1].From, Seconds(300));
    EXPECT_EQ(excluded[1].To, Seconds(400));
}

} // namespace
