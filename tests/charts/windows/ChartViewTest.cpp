#include "charts/windows/ChartView.h"
#include "charts/windows/TChart.h"
#include "model/Auxilary.h"
#include "tests/charts/windows/ChartTestSupport.h"

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

} // namespace
