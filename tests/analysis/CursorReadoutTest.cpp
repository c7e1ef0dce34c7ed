#include "analysis/CursorReadout.h"
#include "analysis/SourceStatistics.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "model/ValueSummary.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

using namespace code;

// Samples a minute apart from 10:00: 1, 2, NaN, 4, 5, 6; events at 10:00:30 and 10:03:30.
class CursorReadoutTest : public ::testing::Test {
protected:
    TDateTime Minute(double m) { return At(2024, 3, 11, 10) + m / 1440.0; }
    LParameterCollection recording;
    LParameterSource historic{
        AddHistoric(recording, Rms, Volts, VAN, {1, 2, NAN, 4, 5, 6}, At(2024, 3, 11, 10), 60)};
    LParameterSource events{AddStamped(recording, ttEvent, 5, Volts, VAN, {10, 20},
                                       {At(2024, 3, 11, 10, 0, 30), At(2024, 3, 11, 10, 3, 30)})};
    std::vector<const LParameterSource*> sources{&events, &historic};
};

TEST_F(CursorReadoutTest, ValuesAtOrBeforeEachCursorAndStatisticsBetween) {
    struct Case {
        double a, b; // minutes after 10:00
        std::optional<double> historicA, historicB, eventA, eventB;
        std::optional<double> minimum, mean, maximum; // of the samples between
    } cases[] = {
        {1.5, 4.2, 2, 5, 10, 20, 4, 4.5, 5},
        {4.2, 1.5, 5, 2, 20, 10, 4, 4.5, 5}, // B before A: the same span, B − A negative
        {2, 2, {}, {}, 10, 10, {}, {}, {}},  // on the NaN: no value, nothing between
        {-1, 9, {}, 6, {}, 20, 1, 3.6, 6},   // before the first and after the last
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a);
        const CursorReadout r = ReadCursors(sources, Minute(c.a), Minute(c.b));
        ASSERT_EQ(r.Rows.size(), 2u);
        EXPECT_EQ(r.Rows[1].AtA, c.historicA);
        EXPECT_EQ(r.Rows[1].AtB, c.historicB);
        EXPECT_EQ(r.Rows[0].AtA, c.eventA);
        EXPECT_EQ(r.Rows[0].AtB, c.eventB);
        const std::optional<double> difference =
            c.historicA && c.historicB ? std::optional(*c.historicB - *c.historicA) : std::nullopt;
        EXPECT_EQ(r.Rows[1].Difference, difference);
        EXPECT_EQ(r.Rows[1].Minimum, c.minimum);
        EXPECT_EQ(r.Rows[1].Maximum, c.maximum);
        EXPECT_DOUBLE_EQ(r.Rows[1].Mean.value_or(-1), c.mean.value_or(-1));
        EXPECT_EQ(*r.DeltaSeconds, std::lround((c.b - c.a) * 60));
    }
    // One cursor: values at it, nothing between.
    const CursorReadout one = ReadCursors(sources, Minute(3), std::nullopt);
    EXPECT_EQ(one.Rows[1].AtA, 4);
    EXPECT_FALSE(one.Rows[1].AtB || one.Rows[1].Minimum || one.DeltaSeconds);
}

// A move reads again only the rows whose points at the cursors or between them changed, and
// leaves every row as a fresh reading gives it.
TEST_F(CursorReadoutTest, AMoveReadsAgainOnlyTheRowsWhosePointsChanged) {
    const struct {
        std::optional<double> a, b; // minutes after 10:00
        bool events, historic;      // read again
    } moves[] = {
        {1.0, 4.2, true, true},   // the first reading, A on a sample
        {1.2, 4.2, false, true},  // A after it: the same sample, one fewer between
        {1.7, 4.2, false, false}, // A between the same two samples, before the same event
        {1.7, 4.9, false, false}, // B still on the same sample
        {1.7, 5.0, false, true},  // B on the next one
        {1.7, 3.4, true, true},   // B back over the second event
        {2.0, 3.4, false, true},  // A on the NaN sample: the event before it stays
        {2.0, {}, true, true},    // B gone: nothing between
        {0.2, {}, true, true},    // A before the first event
        {0.4, {}, false, false},  // and still before it
    };
    CursorReadout kept;
    for (const auto& m : moves) {
        SCOPED_TRACE(m.a.value_or(-1) * 100 + m.b.value_or(-1));
        const auto at = [&](std::optional<double> t) {
            return t ? std::optional(Minute(*t)) : std::nullopt;
        };
        const std::vector<bool> changed = MoveCursors(kept, sources, at(m.a), at(m.b));
        EXPECT_EQ(changed, (std::vector<bool>{m.events, m.historic}));
        const CursorReadout fresh = ReadCursors(sources, at(m.a), at(m.b));
        EXPECT_EQ(kept.DeltaSeconds, fresh.DeltaSeconds);
        for (size_t i = 0; i < fresh.Rows.size(); ++i) {
            const CursorRow &k = kept.Rows[i], &f = fresh.Rows[i];
            EXPECT_TRUE(k.AtA == f.AtA && k.AtB == f.AtB && k.Difference == f.Difference &&
                        k.Minimum == f.Minimum && k.Mean == f.Mean && k.Maximum == f.Maximum)
                << i;
        }
    }
    // Other sources: every row afresh.
    EXPECT_EQ(MoveCursors(kept, {&historic}, Minute(0.4), std::nullopt), std::vector<bool>{true});
    EXPECT_EQ(kept.Rows.size(), 1u);
    EXPECT_EQ(kept.Rows[0].AtA, 1);
}

TEST_F(CursorReadoutTest, CursorsSnapToTheFirstHistoricSeriesAndDurationsRead) {
    EXPECT_EQ(SnapCursor(sources, Minute(2.4)), Second(Minute(2)));
    EXPECT_EQ(SnapCursor(sources, Minute(2.6)), Second(Minute(3)));
    EXPECT_EQ(SnapCursor(sources, Minute(-30)), Second(Minute(0)));
    EXPECT_EQ(SnapCursor({&events}, Minute(2.6)), Second(Minute(2.6)));
    struct {
        int64_t seconds;
        const char* text;
    } durations[] = {{0, "00:00:00"},
                     {3725, "01:02:05"},
                     {-59, "-00:00:59"},
                     {2 * 86400 + 3 * 3600 + 4 * 60 + 5, "2 d 03:04:05"}};
    for (const auto& d : durations)
        EXPECT_EQ(DurationText(d.seconds), d.text);
}

// The statistics take whole blocks from the parameter's summary and give what a scan of the
// range cut at the same places gives, bit for bit: ranges within a block, on and across its
// borders, from a block of NaN and to the last sample. The readout reads the same, and a
// parameter's summary goes with the values it was made of.
TEST(CursorReadoutBlocksTest, SummaryGivesTheScansFiguresBitForBit) {
    std::vector<float> values(5000);
    uint32_t seed = 7;
    for (float& v : values) {
        seed = seed * 1664525u + 1013904223u;
        // Magnitudes far apart, so that a sum taken in another order comes out otherwise.
        v = std::ldexp(1.0f + static_cast<float>(seed >> 9) / 8388608.0f,
                       static_cast<int>(seed % 61) - 30);
    }
    std::fill(values.begin() + 1024, values.begin() + 2048, NAN);
    values[100] = INFINITY;
    values[3000] = -1.0f;
    LParameterCollection recording;
    LParameter* p = AddHistoric(recording, Rms, Volts, VAN, values, At(2024, 3, 11), 1);
    const std::pair<int32_t, int32_t> ranges[] = {{5, 900},     {0, 1024},    {1024, 2048},
                                                  {1500, 2100}, {3, 4100},    {2048, 3072},
                                                  {1030, 5000}, {4095, 5000}, {0, 5000}};
    for (const auto& [first, end] : ranges) {
        SCOPED_TRACE(first);
        int64_t count = 0;
        double sum = 0;
        float lo = INFINITY, hi = -INFINITY;
        for (int32_t b = first; b < end;) {
            const int32_t e = ValueSummary::BlockEnd(b, end);
            const ValueSummary::Figures f = ValueSummary::Scan(values.data(), b, e);
            for (const double x : f.Sums)
                sum += x;
            count += f.Count;
            lo = std::min(lo, f.Lo);
            hi = std::max(hi, f.Hi);
            b = e;
        }
        const SourceStatistics s = ComputeStatistics(SeriesRange{p, first, end});
        EXPECT_EQ(s.Count, count);
        EXPECT_EQ(s.Minimum, count ? std::optional<double>(lo) : std::nullopt);
        EXPECT_EQ(s.Maximum, count ? std::optional<double>(hi) : std::nullopt);
        EXPECT_EQ(s.Mean, count ? std::optional(sum / static_cast<double>(count)) : std::nullopt);
    }
    LParameterSource source(p);
    const TDateTime a = PointTime(*p, 10), b = PointTime(*p, 4500);
    const SourceStatistics between = ComputeStatistics(source, TimeRange{a, b});
    const CursorReadout r = ReadCursors({&source}, a, b);
    EXPECT_EQ(r.Rows[0].Minimum, between.Minimum);
    EXPECT_EQ(r.Rows[0].Mean, between.Mean);
    EXPECT_EQ(r.Rows[0].Maximum, between.Maximum);
    values[4000] = 0x1p40f;             // above every other
    const TDateTime* noTimes = nullptr; // Historic
    p->SetData(p->Rate(), p->Index(), noTimes, values.data(), p->Count(), 0, 0);
    EXPECT_EQ(ReadCursors({&source}, a, b).Rows[0].Maximum, 0x1p40);
}

} // namespace
