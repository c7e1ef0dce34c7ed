#include "charts/UnitScales.h"
#include "analysis/TickStep.h"
#include "model/LParameter.h"
#include "tests/tables/TablesTestSupport.h"

#include <QFontMetrics>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace {

void SetValues(GeneratedRecording& r, size_t block, std::vector<float> values) {
    r.blocks[block].values = std::move(values);
}

TEST(UnitScalesTest, ParametersOfOneUnitShareOneScaleOverTheirExtremes) {
    LDatabase db;
    ParseRecording(db, {HistoricV1, HistoricV1, HistoricI1, HistoricRealPower}, 3, 1,
                   [](GeneratedRecording& r) {
                       SetValues(r, 0, {220, 240, 230});
                       SetValues(r, 1, {250, 235, 230});
                       SetValues(r, 2, {5, 5, 5});
                   });
    LParameterSourceGroup group(&db.Header());
    for (const auto& source : db.AllSources())
        group.Add(std::make_unique<LParameterSource>(*source));
    // The view of one source does not narrow its parameter's extremes.
    group.Items(1)->SetSubset(2, 2);
    UnitScaleSet scales = MakeUnitScales();
    for (uint8_t u = 0; u < UnitCount; ++u)
        MeasureUnitScale(scales[u], group, u);
    EXPECT_EQ(scales[0].Symbol, "V");
    EXPECT_EQ(scales[6].Symbol, "WH");
    EXPECT_DOUBLE_EQ(scales[0].Minimum, 220);
    EXPECT_DOUBLE_EQ(scales[0].Range, 30);
    EXPECT_FLOAT_EQ(scales[0].Normalise(235), 0.5f);
    EXPECT_DOUBLE_EQ(scales[0].Value(1.0), 250);
    // All equal: plotted at 0 with range 1.
    EXPECT_DOUBLE_EQ(scales[1].Minimum, 5);
    EXPECT_DOUBLE_EQ(scales[1].Range, 1);
    EXPECT_TRUE(scales[0].LeftSide && scales[1].LeftSide && !scales[2].LeftSide);

    // A parameter without points takes no part, whatever its extremes read.
    LDatabase withEmpty;
    ParseRecording(withEmpty, {HistoricV1, HistoricV1}, 3, 1, [](GeneratedRecording& r) {
        SetValues(r, 0, {220, 240, 230});
        SetValues(r, 1, {});
    });
    ASSERT_EQ(withEmpty.Parameters().Items(1)->Count(), 0);
    UnitScale volts = MakeUnitScales()[0];
    MeasureUnitScale(volts, withEmpty.AllSources(), 0);
    EXPECT_DOUBLE_EQ(volts.Minimum, 220);
    EXPECT_DOUBLE_EQ(volts.Range, 20);

    UpdateShownScales(scales, group, {true, false, false, true});
    EXPECT_TRUE(scales[0].Shown);
    EXPECT_FALSE(scales[1].Shown);
    EXPECT_TRUE(scales[2].Shown);
    UpdateShownScales(scales, group, {false, false, true, false});
    EXPECT_FALSE(scales[0].Shown);
    EXPECT_TRUE(scales[1].Shown);
}

TEST(UnitScalesTest, MarginsMakeRoomForTheScalesBesideThePlotOrTheLegend) {
    struct Case {
        int left, right;
        bool legend;
        uint8_t position;
        ChartMargins want;
    };
    // Scales 60 pixels wide in a chart 1000 wide: one scale is 6 percent.
    const Case cases[] = {
        {1, 1, false, 0, {8, 8, 0}},  {2, 0, false, 0, {14, 2, 0}}, {2, 1, true, 0, {2, 8, 120}},
        {2, 1, true, 1, {14, 2, 60}}, {2, 1, true, 2, {14, 8, 4}},  {1, 0, true, 3, {8, 2, 4}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComputeMargins(c.left, c.right, 60, 1000, c.legend, c.position), c.want)
            << c.left << " " << c.right << " " << c.legend << " " << int(c.position);
    // Truncated, not rounded.
    EXPECT_EQ(ComputeMargins(1, 0, 59, 1000, false, 3).LeftPercent, 7);
}

TEST(UnitScalesTest, TicksAreRoundStepsWithinTheRange) {
    EXPECT_EQ(ScaleTicks(220, 250, 7), (std::vector<double>{220, 225, 230, 235, 240, 245, 250}));
    EXPECT_EQ(ScaleTicks(-3, 7, 6), (std::vector<double>{-2, 0, 2, 4, 6}));
    EXPECT_EQ(ScaleTicks(0.12, 0.31, 3), (std::vector<double>{0.2, 0.3}));
    EXPECT_TRUE(ScaleTicks(5, 5, 4).empty());
    // Exact tenths, and a span of exactly five steps kept at that step.
    EXPECT_EQ(ScaleTicks(0, 0.7, 8), (std::vector<double>{0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7}));
    double step = 0;
    NiceTicks(0.1, 0.4, 3, &step);
    EXPECT_EQ(step, 0.1);
    EXPECT_EQ(TickDecimals(0.5), 1);
    EXPECT_EQ(TickDecimals(0.05), 2);
    EXPECT_EQ(TickDecimals(200), 0);
    EXPECT_EQ(ScaleLabel(2.5, 1, UsLocale()), "2.5");
}

// Labels that would outgrow the scale's width are written in thousands, millions, ... or in
// exponent form, never cut; those that fit stay as they were.
TEST(UnitScalesTest, LargeLabelsTakeACompactFormWithinTheScale) {
    const QFont font = QGuiApplication::font();
    const QFontMetrics metrics(font);
    const int width = UnitScaleWidth(font, 0, 0);
    const struct {
        std::vector<double> ticks;
        QStringList want;
    } cases[] = {
        {{220, 225, 230}, {"220", "225", "230"}},
        {{0, 25000, 50000}, {"0", "25,000", "50,000"}},
        {{0, 0.5, 1}, {"0.0", "0.5", "1.0"}},
        {{0, 5e6, 1e7, 1.5e7}, {"0M", "5M", "10M", "15M"}},
        {{-2e7, 0, 2e7}, {"-20M", "0M", "20M"}},
        {{2e8, 2.002e8}, {"200.0M", "200.2M"}},
        {{0, 4e9, 8e9}, {"0G", "4G", "8G"}},
        {{0, 1e16, 2e16}, {"0T", "10,000T", "20,000T"}},
        {{0, 1e20, 2e20}, {"0", "1E+20", "2E+20"}},
    };
    for (const auto& c : cases) {
        const QStringList labels = ScaleLabels(c.ticks, metrics, width, UsLocale());
        EXPECT_EQ(labels, c.want) << c.want.join(' ').toStdString();
        for (const QString& label : labels)
            EXPECT_LE(metrics.horizontalAdvance(label), width) << label.toStdString();
    }
}

} // namespace
