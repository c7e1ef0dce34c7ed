#include "windows/charts/ChartView.h"
#include "database/LChartRecord.h"
#include "model/Auxilary.h"
#include "tests/windows/charts/ChartTestSupport.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/TChart.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

QImage Picture(ChartView& view) {
    QImage image(700, 450, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    view.DrawChart(painter, QRectF(image.rect()), 96);
    return image;
}

// A view made on its own draws what the window draws, and makes no window to do it: one
// engine widget, never shown, no menu or status bar. The series are each view's own, so the
// window's stay as they were.
TEST(ChartViewTest, DrawsTheWindowsPictureWithoutAWindowAndLeavesTheWindowsSeriesAlone) {
    QLocale::setDefault(UsLocale());
    LDatabase db;
    ParseRecording(db, {HistoricV1, HistoricRealPower, EventVoltageMaxV1}, 40, 3);
    const auto form = NewChart(db, {0, 1, 2});
    const QImage shown = Picture(*form);
    const int32_t windows = LiveInstances::ChartFormCount;
    const QWidgetList before = QApplication::allWidgets();
    {
        ChartView view(form->Record());
        QWidgetList made = QApplication::allWidgets();
        for (QWidget* widget : before)
            made.removeOne(widget);
        ASSERT_EQ(made.size(), 1);
        EXPECT_EQ(made.first(), view.Chart());
        EXPECT_FALSE(view.Chart()->isVisible());
        EXPECT_EQ(LiveInstances::ChartFormCount, windows);
        EXPECT_EQ(view.Chart()->SeriesCount(), 3);
        EXPECT_TRUE(Picture(view) == shown);
    }
    EXPECT_EQ(QApplication::allWidgets().size(), before.size());
    EXPECT_TRUE(Picture(*form) == shown);
    QLocale::setDefault(QLocale::system());
}

// For paper: a line of many samples to a pixel column prints as the band of each column's
// lowest to highest value with the columns' mean over it, not as a solid block, and powers
// are in kW on the scale and in the legend.
TEST(ChartViewTest, ForPeopleALoadShapeInKilowatts) {
    LDatabase db;
    ParseRecording(db, {HistoricRealPower}, 20000, 0, [](GeneratedRecording& r) {
        for (size_t k = 0; k < r.blocks[0].values.size(); ++k)
            r.blocks[0].values[k] = k % 2 ? 20000.f : 0.f;
    });
    LChartRecord record(&db.Header());
    record.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)));
    ChartView view(record);
    const UnitScale& watts = view.UnitScales()[2];
    EXPECT_EQ(view.ShownUnit(watts).Unit, "W");
    const QColor pen = view.Chart()->Series(0)->pen().color();
    QColor tint = pen;
    tint.setAlphaF(EnvelopeGraph::BandAlpha);
    // The pixels of the pen's colour and of its tint over white.
    const auto count = [&](const QImage& image) {
        const QColor over(qRound(255 + (tint.red() - 255) * tint.alphaF()),
                          qRound(255 + (tint.green() - 255) * tint.alphaF()),
                          qRound(255 + (tint.blue() - 255) * tint.alphaF()));
        std::pair<int, int> n;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                const auto near = [&](const QColor& a) {
                    return std::abs(c.red() - a.red()) + std::abs(c.green() - a.green()) +
                               std::abs(c.blue() - a.blue()) <
                           12;
                };
                n.first += near(pen);
                n.second += near(over);
            }
        return n;
    };
    const auto [lineSolid, lineTint] = count(Picture(view));
    view.SetForPeople(true);
    EXPECT_EQ(view.ShownUnit(watts).Unit, "kW");
    EXPECT_EQ(view.ShownUnit(watts).Divisor, 1000);
    EXPECT_TRUE(view.Chart()->Series(0)->name().endsWith("(kW)"))
        << view.Chart()->Series(0)->name().toStdString();
    const auto [bandSolid, bandTint] = count(Picture(view));
    EXPECT_GT(bandTint, 20000);
    EXPECT_GT(bandTint, 20 * lineTint);
    EXPECT_GT(lineSolid, 4 * bandSolid); // the mean's one line against the solid block
    EXPECT_GT(bandSolid, 300);
}

} // namespace
