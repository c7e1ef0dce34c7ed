#include "analysis/CursorReadout.h"
#include "model/LParameter.h"
#include "model/LParameterSource.h"
#include "tests/analysis/AnalysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
