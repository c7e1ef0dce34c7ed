#include "figures/SurveyCharts.h"
#include "analysis/TickStep.h"

#include "tests/analysis/AnalysisTestSupport.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using namespace code;

const TDateTime Monday = At(2024, 3, 11);

using PowerPainter = ChartLayout (*)(QPainter&, const QRectF&, const PowerSurvey&,
                                     const ChartLook&);

struct Canvas {
    QImage image{800, 500, QImage::Format_ARGB32_Premultiplied};
    QRectF area{0, 0, 800, 500};
    ChartLook look;
    Canvas() { look.Font.setPixelSize(12); }
};

// A week at 1-minute samples: 1 000 W with an afternoon of 3 000 W on weekdays and 2 000 W at
// weekends, a voltage of 230 V rising to 240 V in the afternoons.
SurveyResult AWeek(std::optional<double> threshold = 1500) {
    LParameterCollection recording;
    std::vector<float> power, volts;
    for (int k = 0; k < 7 * 1440; ++k) {
        const int minute = k % 1440;
        const bool weekend = k / 1440 >= 5;
        const bool afternoon = minute >= 13 * 60 && minute < 17 * 60;
        power.push_back(afternoon ? (weekend ? 2000.f : 3000.f) : 1000.f);
        volts.push_back(afternoon ? 240.f : 230.f);
    }
    AddHistoric(recording, RealPower, Watts, ThreePhase, power, Monday, 60);
    AddHistoric(recording, Rms, Volts, VAN, volts, Monday, 60);
    SurveyOptions options;
    options.ThresholdWatts = threshold;
    return RunSurvey(recording, options);
}

bool Has(const ChartLayout& layout, const char* text) {
    return layout.Texts.contains(QString::fromUtf8(text));
}

// Every chart names its axes, ticks and legend, and keeps its plot inside the area.
TEST(SurveyChartsTest, ChartsWriteTheirAxesAndLegends) {
    const SurveyResult week = AWeek();
    ASSERT_TRUE(week.Power && week.Voltage);
    struct Case {
        const char* chart;
        std::function<ChartLayout(Canvas&, QPainter&)> paint;
        std::vector<const char*> texts;
    } cases[] = {
        {"profile",
         [&](Canvas& c, QPainter& p) { return PaintDailyProfile(p, c.area, *week.Power, c.look); },
         {"Weekday mean", "Weekday minimum to maximum", "Weekend mean",
          "Weekend minimum to maximum", "Demand (kW), blocks of 15 min", "Time of day", "00:00",
          "12:00", "24:00", "0.0", "3.0"}},
        {"heat map",
         [&](Canvas& c, QPainter& p) { return PaintHeatMap(p, c.area, *week.Power, c.look); },
         {"Mon 2024-03-11", "Sun 2024-03-17", "kW", "Day", "Time of day", "1.0", "3.0"}},
        {"load duration",
         [&](Canvas& c, QPainter& p) { return PaintLoadDuration(p, c.area, *week.Power, c.look); },
         {"Demand of 15-minute blocks, highest first", "Threshold 1.50 kW", "Demand (kW)",
          "Share of time (%)", "0", "50", "100"}},
        {"voltage",
         [&](Canvas& c, QPainter& p) {
             return PaintVoltageBlocks(p, c.area, *week.Voltage, c.look);
         },
         {"VAN", "Un 230 V", "Un ± 10 %", "Un − 15 %", "10-minute mean (V)", "2024-03-12"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chart);
        Canvas canvas;
        QPainter painter(&canvas.image);
        const ChartLayout layout = c.paint(canvas, painter);
        for (const char* text : c.texts)
            EXPECT_TRUE(Has(layout, text))
                << text << " in " << layout.Texts.join('|').toStdString();
        EXPECT_TRUE(canvas.area.contains(layout.Plot));
        EXPECT_GT(layout.Plot.width(), 400);
        EXPECT_GT(layout.Plot.height(), 250);
    }
}

// Without complete blocks (or channels) each chart says so instead of drawing axes.
TEST(SurveyChartsTest, EmptyResultsPaintTheirMessage) {
    const PowerSurvey none;
    const VoltageVariation noChannels;
    const PowerPainter painters[] = {PaintDailyProfile, PaintHeatMap, PaintLoadDuration};
    for (PowerPainter paint : painters) {
        Canvas canvas;
        QPainter painter(&canvas.image);
        EXPECT_EQ(paint(painter, canvas.area, none, canvas.look).Texts,
                  QStringList{"No complete blocks to chart."});
    }
    Canvas canvas;
    QPainter painter(&canvas.image);
    EXPECT_EQ(PaintVoltageBlocks(painter, canvas.area, noChannels, canvas.look).Texts,
              QStringList{"No complete 10-minute blocks to chart."});
    // A tiny area still paints.
    const SurveyResult week = AWeek(std::nullopt);
    EXPECT_FALSE(
        PaintLoadDuration(painter, QRectF(0, 0, 20, 10), *week.Power, canvas.look).Texts.empty());
    EXPECT_FALSE(Has(PaintLoadDuration(painter, canvas.area, *week.Power, canvas.look),
                     "Threshold 1.50 kW"));
}

// A year of 10-minute voltage blocks: one block a volt below the highest, in a column of its
// own, changes the picture in that column and nowhere else.
TEST(SurveyChartsTest, AYearOfVoltageBlocksKeepsEveryBlocksExtreme) {
    const TDateTime start = At(2025, 1, 1);
    const auto paint = [&](bool peak) {
        std::vector<float> volts(525600, 230);
        std::fill_n(volts.begin() + 1000, 10, 250.f);
        std::fill_n(volts.begin() + 400000, 10, 210.f);
        if (peak)
            std::fill_n(volts.begin() + 200000, 10, 249.f);
        LParameterCollection recording;
        AddHistoric(recording, Rms, Volts, VAN, volts, start, 60);
        const SurveyResult r = RunSurvey(recording, {});
        Canvas canvas;
        canvas.image.fill(Qt::white);
        QPainter painter(&canvas.image);
        const QRectF plot = PaintVoltageBlocks(painter, canvas.area, *r.Voltage, canvas.look).Plot;
        return std::pair{canvas.image, plot};
    };
    const auto [with, plot] = paint(true);
    const QImage without = paint(false).first;
    const double x = plot.left() + plot.width() * (200000 + 5) / 525599.0;
    int changed = 0;
    for (int col = 0; col < with.width(); ++col)
        for (int row = 0; row < with.height(); ++row)
            if (with.pixel(col, row) != without.pixel(col, row)) {
                EXPECT_NEAR(col, x, 3) << row;
                ++changed;
            }
    EXPECT_GT(changed, 20);
}

// Rows run down by day and cells across by bin: the highest cell is red, the lowest blue, a
// cell without a block empty.
TEST(SurveyChartsTest, HeatMapCellsSitByDayAndTimeOfDay) {
    PowerSurvey power;
    power.Heat.Bins = 4;
    power.Heat.Days = {Monday, Monday + 1};
    power.Heat.Cells = {0, 10, NAN, 5, 10, 0, 0, 0};
    Canvas canvas;
    {
        QPainter painter(&canvas.image);
        const ChartLayout layout = PaintHeatMap(painter, canvas.area, power, canvas.look);
        ASSERT_FALSE(layout.Plot.isEmpty());
        const QRectF plot = layout.Plot;
        const auto cell = [&](int row, int bin) {
            return canvas.image.pixelColor(
                QPoint(static_cast<int>(plot.left() + (bin + 0.5) * plot.width() / 4),
                       static_cast<int>(plot.top() + (row + 0.5) * plot.height() / 2)));
        };
        const struct {
            int row, bin;
            const char* expected;
        } cells[] = {{0, 1, "red"}, {1, 0, "red"}, {0, 0, "blue"}, {1, 3, "blue"}, {0, 2, "empty"}};
        for (const auto& c : cells) {
            SCOPED_TRACE(std::to_string(c.row) + "," + std::to_string(c.bin));
            const QColor color = cell(c.row, c.bin);
            if (std::string(c.expected) == "red")
                EXPECT_TRUE(color.red() > 180 && color.blue() < 80) << color.name().toStdString();
            else if (std::string(c.expected) == "blue")
                EXPECT_TRUE(color.blue() > 120 && color.red() < 80) << color.name().toStdString();
            else
                EXPECT_EQ(color, canvas.look.Empty);
        }
    }
}

TEST(SurveyChartsTest, NiceTicksAreOneTwoOrFiveTimesAPowerOfTen) {
    const struct {
        double low, high;
        int count;
        std::vector<double> ticks;
    } cases[] = {
        {0, 10, 5, {0, 2, 4, 6, 8, 10}},
        {0.3, 1.7, 4, {0.5, 1, 1.5}},
        {207, 253, 5, {210, 220, 230, 240, 250}},
        {-1200, 900, 4, {-1000, 0}},
        {-1200, 900, 5, {-1000, -500, 0, 500}},
        {5, 5, 4, {}},
        {0, NAN, 4, {}},
    };
    for (const auto& c : cases) {
        const std::vector<double> ticks = NiceTicks(c.low, c.high, c.count);
        ASSERT_EQ(ticks.size(), c.ticks.size()) << c.low << ".." << c.high;
        for (size_t i = 0; i < ticks.size(); ++i)
            EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9);
    }
}

// A table too wide for its area is drawn in a smaller font, so its rows take less height.
TEST(SurveyChartsTest, TextTablesShrinkToTheirWidth) {
    Canvas canvas;
    QPainter painter(&canvas.image);
    const std::vector<QStringList> rows = {
        {"Channel", "Verdict"}, {"VAN", "pass"}, {"VBN", "fail"}};
    const double wide = PaintTextTable(painter, canvas.area, rows, {false, false}, canvas.look);
    EXPECT_NEAR(wide, 3 * QFontMetricsF(canvas.look.Font).height(), 2);
    const double narrow =
        PaintTextTable(painter, QRectF(0, 0, 40, 500), rows, {false, false}, canvas.look);
    EXPECT_LT(narrow, wide);
    EXPECT_EQ(PaintTextTable(painter, canvas.area, {}, {}, canvas.look), 0);
}

} // namespace
