#include "analysis/CursorReadout.h"
#include "analysis/TimeRange.h"
#include "charts/ChartRules.h"
#include "charts/ChartText.h"
#include "charts/DisplayStyle.h"
#include "model/Auxilary.h"
#include "model/LParameter.h"
#include "model/LSession.h"
#include "tests/support/CommandOutput.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/support/JoinedSeries.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/ScratchFolder.h"
#include "tests/windows/charts/ChartTestSupport.h"
#include "texts/LocaleTextStyle.h"
#include "tools/RecordingGenerator.h"
#include "windows/charts/DayTimeTicker.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/SpanRenderer.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartPropertyEditor.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPaintEvent>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QSvgGenerator>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <stdexcept>

namespace {

class TChartFormTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(UsLocale()); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // Shown at a size of its own, laid out and drawn.
    static void Show(TChartForm& form, QSize size = {900, 600}) {
        form.resize(size);
        form.show();
        QApplication::processEvents();
        form.Chart()->replot(QCustomPlot::rpImmediateRefresh);
    }
    // The pixel of view point k of series i.
    static QPoint PointAt(const TChartForm& form, int i, int k) {
        float value;
        TDateTime time;
        form.Record().Sources.Items(i)->GetPoint(k, value, time);
        const UnitScale& scale =
            form.UnitScales()[form.Record().Sources.Items(i)->Parameter->Unit()];
        const TChart& chart = *form.Chart();
        return QPointF(chart.BottomAxis()->coordToPixel(time),
                       chart.LeftAxis()->coordToPixel(scale.Normalise(value)))
            .toPoint();
    }

    // Clicks on a chart of a Historic parameter and an event's.
    void ExamineTheChart();

    static SpanRenderer& RendererOf(const TChart& chart) {
        for (QCPLayerable* l : chart.layer(QStringLiteral("series"))->children())
            if (auto* r = qobject_cast<SpanRenderer*>(l))
                return *r;
        throw std::logic_error("no span renderer");
    }

    LDatabase db;
};

TEST_F(TChartFormTest, VoltsScaleLeftWattsRightAndAHiddenParameterTakesItsScaleAway) {
    ParseRecording(db, {HistoricV1, HistoricRealPower}, 30);
    const int32_t windows = LiveInstances::ChartFormCount;
    const auto form = NewChart(db, {1, 0});
    EXPECT_EQ(LiveInstances::ChartFormCount, windows + 1);
    const UnitScaleSet& scales = form->UnitScales();
    EXPECT_TRUE(scales[0].Shown && scales[0].LeftSide);
    EXPECT_TRUE(scales[2].Shown && !scales[2].LeftSide);
    form->resize(1000, 600);
    const int width = form->Chart()->width();
    EXPECT_EQ(form->Margins().RightPercent, form->ScaleWidth() * 100 / width + 2);
    EXPECT_GT(form->Margins().RightPercent, 2);

    // Through the Visible parameters dialog, which switches the series.
    const int watts = SeriesOfUnit(*form, 2);
    {
        ModalDriver driver({[&](QWidget* w) {
            auto* list = w->findChild<QTreeWidget*>();
            for (int row = 0; row < list->topLevelItemCount(); ++row)
                if (list->topLevelItem(row)->text(0) == QStringLiteral("Real Power"))
                    list->topLevelItem(row)->setCheckState(0, Qt::Unchecked);
            Child<QPushButton>(w, "OKButton")->click();
        }});
        form->VisibleparametersClick();
    }
    EXPECT_FALSE(form->SeriesActive(watts));
    EXPECT_FALSE(form->Record().Sources.Items(watts)->Selected);
    EXPECT_FALSE(scales[2].Shown);
    EXPECT_TRUE(scales[0].Shown);
    EXPECT_EQ(form->Margins().RightPercent, 2);
    EXPECT_EQ(form->Chart()->Legend()->itemCount(), 1);
}

TEST_F(TChartFormTest, TheTimeAxisShowsDatesOnlyWhenTheDataCrossesMidnightAndTimesAlways) {
    for (const int samples : {60, 1440, 7 * 1440, 34 * 1440}) {
        LDatabase recording;
        ParseRecording(recording, {HistoricV1}, samples);
        const auto form = NewChart(recording, {0});
        EXPECT_EQ(form->Record().XAxisLabelsTimeDate, samples >= 1440 ? 1 : 0);
        Show(*form);
        const QVector<QString> labels = form->Chart()->BottomAxis()->tickVectorLabels();
        ASSERT_FALSE(labels.isEmpty());
        for (const QString& label : labels) {
            EXPECT_EQ(label.contains('/'), samples >= 1440) << label.toStdString();
            EXPECT_TRUE(label.contains(':')) << label.toStdString(); // midnight too
        }
        const QVector<double> ticks = form->Chart()->BottomAxis()->tickVector();
        const bool midnight = std::any_of(ticks.begin(), ticks.end(), [](double t) {
            return std::abs(t - std::round(t)) < 1e-6;
        });
        EXPECT_EQ(midnight, samples >= 1440);
        if (samples >= 7 * 1440) {
            // Over days: the date over the time, on whole days, a week's every day and a
            // month's every few days.
            for (const double t : ticks)
                EXPECT_NEAR(t, std::round(t), 1e-9);
            EXPECT_TRUE(labels.front().contains('\n')) << labels.front().toStdString();
            EXPECT_GE(ticks.size(), samples == 7 * 1440 ? 6 : 5);
        }
        // However narrow the window or large the font, neighbouring labels stay apart.
        for (const auto& [width, points] :
             {std::pair(900, 0), std::pair(300, 0), std::pair(900, 22)}) {
            SCOPED_TRACE(width + points);
            QCPAxis* axis = form->Chart()->BottomAxis();
            QFont font = axis->tickLabelFont();
            if (points > 0)
                font.setPointSize(points);
            axis->setTickLabelFont(font);
            Show(*form, {width, 400});
            const QVector<double> at = axis->tickVector();
            const int label = form->Chart()->TimeTicker().LabelWidth(font);
            for (qsizetype k = 1; k < at.size(); ++k)
                EXPECT_GT(axis->coordToPixel(at[k]) - axis->coordToPixel(at[k - 1]), label);
        }
    }
}

// The plot has the keys from the start; + and - zoom the time alone, as the wheel does.
TEST_F(TChartFormTest, KeysActOnANewWindowAndZoomTheTimeOnly) {
    ParseRecording(db, {HistoricV1}, 120);
    const auto form = NewChart(db, {0});
    Show(*form);
    form->activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), form->Chart());
    const QCPRange time = form->Chart()->BottomAxis()->range();
    const QCPRange value = form->Chart()->LeftAxis()->range();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Plus);
    EXPECT_NEAR(form->Chart()->BottomAxis()->range().size(), time.size() / 2, 1e-9);
    EXPECT_EQ(form->Chart()->LeftAxis()->range(), value);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Minus);
    EXPECT_NEAR(form->Chart()->BottomAxis()->range().size(), time.size(), 1e-9);
}

// An event at the top or bottom of its scale is drawn whole: the value range leaves room for
// its mark, and for a chart of lines only none.
TEST_F(TChartFormTest, EventMarksAtTheExtremesAreWhole) {
    ParseRecording(db, {HistoricV1, EventVoltageMaxV1}, 20, 4);
    for (const bool padded : {false, true}) {
        const auto form = padded ? NewChart(db, {0, 1}) : NewChart(db, {0});
        Show(*form);
        const QCPRange value = form->Chart()->LeftAxis()->range();
        EXPECT_EQ(value.lower < 0 && value.upper > 1, padded);
        const double room = form->Chart()->LeftAxis()->coordToPixel(1) -
                            form->Chart()->LeftAxis()->coordToPixel(value.upper);
        EXPECT_GE(room, padded ? 4 : 0);
    }
}

// A zoom band lives only while the left button draws it.
TEST_F(TChartFormTest, AZoomBandNeverOutlivesItsDrag) {
    ParseRecording(db, {HistoricV1}, 120);
    const auto form = NewChart(db, {0});
    Show(*form);
    form->Zoomin1Click();
    TChart& chart = *form->Chart();
    const QPoint at = chart.ChartRect().center();
    QTest::mousePress(&chart, Qt::RightButton, {}, at);
    EXPECT_FALSE(chart.selectionRect()->isActive());
    QTest::mousePress(&chart, Qt::LeftButton, {}, at);
    QMouseEvent move(QEvent::MouseMove, QPointF(at + QPoint(40, 30)),
                     chart.mapToGlobal(QPointF(at + QPoint(40, 30))), Qt::NoButton, Qt::LeftButton,
                     {});
    QApplication::sendEvent(&chart, &move);
    ASSERT_TRUE(chart.selectionRect()->isActive());
    QTest::keyClick(&chart, Qt::Key_Escape);
    EXPECT_FALSE(chart.selectionRect()->isActive());
}

TEST_F(TChartFormTest, ZoomsStopAtFiveSecondsAndAFifthOfTheValueRangeAndResetToTheData) {
    ParseRecording(db, {HistoricV1, HistoricRealPower}, 120);
    const auto form = NewChart(db, {0, 1});
    TChart& chart = *form->Chart();
    const double t = form->Start() + 0.01;
    chart.ZoomTo(QCPRange(t, t + 2 / 86400.0), QCPRange(0.3, 0.31), false);
    EXPECT_EQ(chart.BottomAxis()->range().lower, t);
    EXPECT_EQ(chart.BottomAxis()->range().upper, t + MinTimeSpan);
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->range().upper, 0.3 + MinValueSpan);
    EXPECT_EQ(chart.RightAxis()->range(), chart.LeftAxis()->range());

    // A rubber band drawn to the right zooms in; drawn back to the left it resets.
    Show(*form);
    form->Zoomin1Click();
    EXPECT_EQ(form->StatusText(0), "Zoom");
    chart.UndoZoom();
    const QRect plot = chart.ChartRect();
    const QPoint from(plot.left() + plot.width() / 4, plot.top() + 10);
    const QPoint to(plot.left() + plot.width() / 2, plot.bottom() - 10);
    const double lower = chart.BottomAxis()->pixelToCoord(from.x());
    const QImage unzoomed = chart.grab().toImage();
    QTest::mousePress(&chart, Qt::LeftButton, {}, from);
    QTest::mouseMove(&chart, to);
    EXPECT_FALSE(chart.grab().toImage() == unzoomed) << "the band is shown while it is drawn";
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, to);
    EXPECT_NEAR(chart.BottomAxis()->range().lower, lower, 1e-9);
    EXPECT_LT(chart.BottomAxis()->range().size(), (form->End() - form->Start()) / 3);
    EXPECT_GT(chart.LeftAxis()->range().lower, 0.0);
    // What the partial redraw left on the screen is what a whole one draws: no band.
    const QImage shown = chart.grab().toImage();
    chart.replot(QCustomPlot::rpImmediateRefresh);
    EXPECT_TRUE(shown == chart.grab().toImage());
    QTest::mousePress(&chart, Qt::LeftButton, {}, to);
    QTest::mouseMove(&chart, from);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, from);
    EXPECT_EQ(chart.BottomAxis()->range(), QCPRange(form->Start(), form->End()));
    EXPECT_EQ(chart.LeftAxis()->range(), QCPRange(0, 1));

    form->Zoomout1Click();
    EXPECT_DOUBLE_EQ(chart.LeftAxis()->range().size(), 2.0);
    form->ResetZoomAndPanClick();
    EXPECT_EQ(chart.LeftAxis()->range(), QCPRange(0, 1));
}

TEST_F(TChartFormTest, ExamineTellsNoValueOrTheRecordedPointUnderThePointer) {
    // The events as recorded, and out of time order.
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        ParseRecording(db, {HistoricV1, EventVoltageMaxV1}, 20, 4, [&](GeneratedRecording& r) {
            if (reversed)
                std::reverse(r.blocks[1].stamps.begin(), r.blocks[1].stamps.end());
        });
        ExamineTheChart();
    }
}

void TChartFormTest::ExamineTheChart() {
    const auto form = NewChart(db, {0, 1});
    Show(*form);
    EXPECT_EQ(form->StatusText(0), "Examine");
    TChart& chart = *form->Chart();
    const QRect plot = chart.ChartRect();
    // The event's points lie above the line: their values are the voltage's maxima.
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(plot.right() - 2, plot.top() + 2));
    EXPECT_EQ(form->StatusText(1), "No value");
    ASSERT_TRUE(LChartRecord::IsLineSource(*form->Record().Sources.Items(0)));
    const DateTimeFormatter format;
    for (const auto& [series, k] : {std::pair{0, 7}, std::pair{1, 2}}) {
        QTest::mouseClick(&chart, Qt::LeftButton, {}, PointAt(*form, series, k));
        float value;
        TDateTime time;
        form->Record().Sources.Items(series)->GetPoint(k, value, time);
        const LParameter& p = *form->Record().Sources.Items(series)->Parameter;
        EXPECT_EQ(form->StatusText(1).toStdString(),
                  p.Name() + " - " + p.ChannelLabel() + " = " +
                      QString::number(value, 'f', 2).toStdString() + "V  " +
                      format.DateTimeToStr(time).toStdString());
    }
    // Only in Examine mode.
    form->Pan1Click();
    EXPECT_EQ(form->StatusText(0), "Pan");
    EXPECT_EQ(form->StatusText(1), "");
    QTest::mouseClick(&chart, Qt::LeftButton, {}, PointAt(*form, 0, 7));
    EXPECT_EQ(form->StatusText(1), "");
}

TEST_F(TChartFormTest, ACumulativeSourceIsRefusedWithoutAWindowLeftBehind) {
    ParseRecording(db, {HistoricV1, CumulativeEnergy}, 5, 2);
    LChartRecord& record = *db.AddChart();
    record.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(1)));
    const int32_t windows = LiveInstances::ChartFormCount;
    ErrorReportSpy spy;
    EXPECT_EQ(ErrorMessage([&] { TChartForm form(record); }), "Wrong parameter type for chart");
    EXPECT_EQ(LiveInstances::ChartFormCount, windows);
    EXPECT_EQ(spy.reports.at(0),
              (ErrorReportSpy::Report{"TChartForm::MakeSeries", "Wrong parameter type for chart"}));
}

TEST_F(TChartFormTest, ANewChartIsSortedColouredAndStyledByItsParameters) {
    ParseRecording(db, {EventVoltageMaxV1, HistoricV1, HistoricI1}, 5, 2);
    const auto form = NewChart(db, {0, 1, 2});
    const LChartRecord& r = form->Record();
    ASSERT_EQ(r.SeriesStyles.size(), 3u);
    EXPECT_EQ(form->size(), QSize(640, 440)); // a short legend needs no more
    EXPECT_EQ(r.Sources.Items(2)->Parameter->TableType(), ttEvent);
    EXPECT_EQ(r.Style(2).PointStyle, 2); // RMS maximum: an up triangle
    EXPECT_EQ(form->Chart()->Series(2)->scatterStyle().shape(), QCPScatterStyle::ssTriangle);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(form->Series(i), form->Chart()->Series(i));
        EXPECT_EQ(form->Chart()->Series(i)->pen().color(), DisplayColor(r.Style(i).Color));
    }
    EXPECT_EQ(form->Popup()->findChild<QAction*>("ResetZoomAndPan")->text(), "Reset Zoom && Pan");
    form->CopyToClipboard();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->data("image/svg+xml").startsWith("<?xml"));
    EXPECT_TRUE(copied->hasImage());
}

// Read from a file and written back, a chart is the same bytes, also after its window showed
// it, drew it, zoomed and ran the property editor: the window writes back what it read
// (fonts missing here, system colours), not what it draws with.
TEST_F(TChartFormTest, AChartShownByItsWindowWritesBackByteIdentical) {
    ParseRecording(db, {HistoricV1, HistoricI1, EventVoltageMaxV1}, 1440, 5);
    db.Header().Location = "Plant 2";
    {
        const auto form = NewChart(db, {0, 1, 2});
        LChartRecord& r = form->Record();
        r.Title = "Week 48";
        r.TitleFont = LFont{0, 0x80000008u, "Tahoma", 2, 16, false, true};
        r.TitleAlignment = 7;
        r.BottomAxisTitle = "Time";
        r.XAxisLabelsTimeDate = 0;
        r.LeftAxisLabelFont = LFont{238, 0x123456, "No Such Face", 2, 11};
        r.ShowStartEnd = false;
        r.FooterAlignment = LChartRecord::AlignCenter;
        r.AxisColor = 0x80000010u;
        r.BackgroundColor = 0x8000000Fu;
        r.BottomAxisGrid = false;
        r.GridColor = 0x00FF00;
        r.LegendVisible = false;
        r.LegendColor = 0x00A1B2C3; // marks where the min/max switch follows
        r.LegendPosition = LChartRecord::LegendLeft;
        r.ShowMinMax = true;
        r.Style(0).LineWidth = 3;
        r.Style(2).PointSize = 7;
        r.Style(2).PointStyle = 5;
    }
    ScratchFolder scratch;
    db.SetFileName(scratch / "week");
    db.Save(false);
    const std::string saved = ReadBytes(db.FileName());

    LDatabase loaded;
    loaded.New();
    loaded.Load(db.FileName());
    {
        TChartForm form(*loaded.Charts()[0]);
        Show(form);
        EXPECT_FALSE(form.Chart()->Legend()->visible());
        EXPECT_EQ(form.Chart()->Series(0)->pen().width(), 3);
        EXPECT_EQ(form.Chart()->Series(2)->scatterStyle().shape(), QCPScatterStyle::ssCross);
        EXPECT_TRUE(form.Chart()->Series(0)->name().contains(" [ "));
        EXPECT_FALSE(form.Chart()->TimeTicker().WithDate());
        form.Chart()->ZoomPercent(200);
        QTest::mouseClick(form.Chart(), Qt::LeftButton, {}, form.Chart()->ChartRect().center());
        form.UpdateFooter();
        QImage page(400, 300, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&page);
        form.DrawChart(painter, QRectF(0, 0, 400, 300), 96);
        TChartPropertyEditor editor;
        editor.ChartForm = &form;
        QSignalSpy changed(&form, &TChartForm::RecordChanged);
        editor.Init();
        editor.ApplyButtonClick();
        EXPECT_EQ(changed.count(), 0);
    }
    loaded.SetFileName(scratch / "again");
    loaded.Save(false);
    EXPECT_TRUE(ReadBytes(loaded.FileName()) == saved);

    // A file of version 0.01 has no min/max switch: its charts show none.
    std::string old = saved;
    const size_t at = old.find(std::string("\xC3\xB2\xA1\x00\x00\x01", 6));
    ASSERT_NE(at, std::string::npos);
    old.erase(at + 5, 1);
    const float version = 0.01f;
    std::memcpy(&old[7], &version, 4);
    WriteBytes(scratch / "old.vro", old);
    LDatabase oldFile;
    oldFile.New();
    oldFile.Load(scratch / "old.vro");
    TChartForm form(*oldFile.Charts()[0]);
    EXPECT_EQ(form.Chart()->Series(0)->name(), "RMS Current - I1 (A)");
}

bool RedAbove(const QImage& image, double share) {
    for (int row = 0; row < static_cast<int>(image.height() * share); ++row)
        for (int col = 0; col < image.width(); ++col) {
            const QColor c = image.pixelColor(col, row);
            if (c.red() > 160 && c.green() < 100 && c.blue() < 100)
                return true;
        }
    return false;
}

// The mean column of the title's blue: the middle of the picture when the chart fills it.
double BlueCentre(const QImage& image) {
    double sum = 0, n = 0;
    for (int row = 0; row < image.height() / 5; ++row)
        for (int col = 0; col < image.width(); ++col) {
            const QColor c = image.pixelColor(col, row);
            if (c.blue() > 160 && c.red() < 100 && c.green() < 100) {
                sum += col;
                ++n;
            }
        }
    return n > 0 ? sum / n / image.width() : -1;
}

// A flat line with one sample far above it: the sample is drawn on the screen, into images
// of any resolution and as vectors, and the chart fills the picture.
TEST_F(TChartFormTest, ASingleSampleSpikeIsDrawnOnScreenInImagesAndAsVectors) {
    ParseRecording(db, {HistoricV1}, 50000, 1, [](GeneratedRecording& r) {
        r.blocks[0].values.assign(50000, 230.0f);
        r.blocks[0].values[31337] = 260.0f;
    });
    const auto form = NewChart(db, {0});
    form->Record().Style(0).Color = 0x0000FF;
    form->ApplySeriesStyle(0);
    form->SetTitle(QStringLiteral("Spike"));
    Show(*form, {1920, 1080});
    const QRect plot = form->Chart()->ChartRect();
    EXPECT_TRUE(RedAbove(form->Chart()->grab().toImage(), 0.4)) << "screen";

    for (const auto& [size, dpi] :
         {std::pair{QSize(1200, 800), 96}, std::pair{QSize(3508, 2480), 300}}) {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        form->DrawChart(painter, QRectF(QPointF(0, 0), size), dpi);
        painter.end();
        EXPECT_TRUE(RedAbove(image, 0.4)) << size.width();
        EXPECT_NEAR(BlueCentre(image), 0.5, 0.03) << size.width();
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(1200, 800));
        svg.setViewBox(QRect(0, 0, 1200, 800));
        QPainter painter(&svg);
        form->DrawChart(painter, QRectF(0, 0, 1200, 800), 96);
    }
    EXPECT_GT(form->Chart()->Series(0)->Reduced().Size(), 2u);
    EXPECT_LE(form->Chart()->Series(0)->Reduced().Size(), SeriesEnvelope::MaxPoints(1200));
    QSvgRenderer renderer(buffer.data());
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(1200, 800, QImage::Format_ARGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    EXPECT_TRUE(RedAbove(drawn, 0.4)) << "SVG";
    EXPECT_NEAR(BlueCentre(drawn), 0.5, 0.03) << "SVG";
    // The window's own layout is back.
    EXPECT_EQ(form->Chart()->ChartRect(), plot);
}

// A year of one-minute samples joined from recordings of five days: a single sample above the
// flat line in the last days shows in the full view, at its place.
TEST_F(TChartFormTest, AYearsSpikeInItsLastDaysShowsInTheFullView) {
    JoinedYear(db, [](std::vector<GeneratedRecording>& parts) {
        for (GeneratedRecording& part : parts)
            part.blocks[0].values.assign(part.blocks[0].values.size(), 230.0f);
        parts.back().blocks[0].values[4321] = 260.0f;
    });
    const auto form = NewChart(db, {0});
    form->Record().Style(0).Color = 0x0000FF;
    form->ApplySeriesStyle(0);
    Show(*form, {1920, 1080});
    const QImage image = form->Chart()->grab().toImage();
    ASSERT_TRUE(RedAbove(image, 0.4));
    const int spike = PointAt(*form, 0, 525600 - 7200 + 4321).x();
    int column = -1;
    for (int row = 0; row < image.height() * 4 / 10 && column < 0; ++row)
        for (int col = 0; col < image.width(); ++col)
            if (QColor c = image.pixelColor(col, row); c.red() > 160 && c.green() < 100) {
                column = col;
                break;
            }
    EXPECT_NEAR(column, spike, 1);
}

// The top and bottom rows of every column's red, -1 where it has none.
std::vector<std::pair<int, int>> RedExtent(const QImage& image) {
    std::vector<std::pair<int, int>> extent(static_cast<size_t>(image.width()), {-1, -1});
    for (int col = 0; col < image.width(); ++col)
        for (int row = 0; row < image.height(); ++row)
            if (QColor c = image.pixelColor(col, row); c.red() > 150 && c.green() < 110) {
                if (extent[static_cast<size_t>(col)].first < 0)
                    extent[static_cast<size_t>(col)].first = row;
                extent[static_cast<size_t>(col)].second = row;
            }
    return extent;
}

// Interval points drawn from the columns they fall in: a week's, one or two in each column,
// is the picture the engine draws of every point; in a year's, the marks of each column's
// lowest and highest point stand where drawing every point puts them, within a pixel.
TEST_F(TChartFormTest, PointsShowWhatDrawingEveryPointShows) {
    for (const bool year : {false, true}) {
        SCOPED_TRACE(year ? "year" : "week");
        LDatabase recording;
        if (year)
            JoinedYear(recording);
        else
            ParseRecording(recording, {HistoricV1, IntervalVoltageMaxV1}, 7 * 1440);
        int points = -1;
        for (int i = 0; i < recording.Parameters().Count(); ++i)
            if (recording.Parameters().Items(i)->TableType() == ttIntervalEvent)
                points = points < 0 ? i : points;
        const auto form = NewChart(recording, {0, points});
        Show(*form, {1400, 700});
        TChart& chart = *form->Chart();
        EnvelopeGraph& series = *form->Series(1);
        ASSERT_EQ(series.SeriesKind(), EnvelopeGraph::Kind::Points);
        series.setPen(QPen(Qt::red));
        series.setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssSquare, Qt::red, Qt::red, 7));
        form->Series(0)->setPen(QPen(Qt::blue));
        chart.replot(QCustomPlot::rpImmediateRefresh);
        const QRect plot = chart.ChartRect();
        const QImage drawn = chart.grab(plot).toImage();
        const ReducedPoints& kept = series.ReducedMarks();
        ASSERT_EQ(std::all_of(kept.Whole.begin(), kept.Whole.end(), [](uint8_t w) { return w; }),
                  !year);
        // The engine's own graph of every point, in the series' place.
        const LParameter& p = *recording.Parameters().Items(points);
        QCPGraph* every = chart.addGraph(chart.BottomAxis(), series.valueAxis());
        every->setLayer(series.layer());
        every->setAdaptiveSampling(false);
        every->setLineStyle(QCPGraph::lsNone);
        every->setPen(series.pen());
        every->setScatterStyle(series.scatterStyle());
        const auto minimum = static_cast<float>(series.Minimum());
        const auto range = static_cast<float>(series.Range());
        for (int32_t k = 0; k < p.Count(); ++k)
            every->addData(p.Times()[k], static_cast<double>((p.Values()[k] - minimum) / range));
        series.setVisible(false);
        chart.replot(QCustomPlot::rpImmediateRefresh);
        const QImage reference = chart.grab(plot).toImage();
        if (!year) {
            EXPECT_TRUE(drawn == reference);
            continue;
        }
        // Each picture's top (bottom) in a column is reached by the other's within a pixel: a
        // mark's faint edge may fall to the next column.
        const auto got = RedExtent(drawn), want = RedExtent(reference);
        const auto reached = [](const auto& by, const auto& of, size_t col, bool top) {
            for (size_t c = col > 0 ? col - 1 : 0; c <= col + 1 && c < by.size(); ++c)
                if (by[c].first >= 0 &&
                    (top ? by[c].first <= of[col].first + 1 : by[c].second >= of[col].second - 1))
                    return true;
            return of[col].first < 0;
        };
        int marked = 0;
        for (size_t col = 0; col < want.size(); ++col) {
            marked += want[col].first >= 0;
            for (const bool top : {true, false})
                EXPECT_TRUE(reached(got, want, col, top) && reached(want, got, col, top))
                    << col << (top ? " top" : " bottom");
        }
        EXPECT_GT(marked, plot.width() * 9 / 10);
    }
}

// Joined recordings with a gap: no line is drawn across it.
TEST_F(TChartFormTest, NoLineIsDrawnAcrossAGap) {
    GeneratorOptions o;
    o.phaseConfig = 0;
    o.entries = {HistoricV1};
    o.historicPoints = 600;
    o.start = CalendarTime{2026, 11, 30, 0, 0, 0};
    std::vector<GeneratedRecording> parts = GenerateSeries(o, 2, 600);
    for (GeneratedRecording& part : parts)
        part.blocks[0].values.assign(600, 230.0f);
    // The line in the middle of its scale.
    parts[0].blocks[0].values[0] = 220.0f;
    parts[1].blocks[0].values[599] = 240.0f;
    JoinSeries(db, parts);
    const auto form = NewChart(db, {0});
    form->Record().Style(0).Color = 0x0000FF;
    form->ApplySeriesStyle(0);
    Show(*form);
    const QImage image = form->Chart()->grab().toImage();
    auto red = [&](int from, int to, int y) {
        int n = 0;
        for (int col = from; col <= to; ++col)
            for (int row = y - 2; row <= y + 2; ++row)
                if (QColor c = image.pixelColor(col, row); c.red() > c.green() + 60)
                    ++n;
        return n;
    };
    const QPoint lastBefore = PointAt(*form, 0, 598), firstAfter = PointAt(*form, 0, 1201);
    ASSERT_GT(firstAfter.x() - lastBefore.x(), 100);
    // The scale holds the value before the gap too.
    EXPECT_TRUE(form->Chart()->ChartRect().contains(PointAt(*form, 0, 0)));
    EXPECT_GT(red(lastBefore.x() - 20, lastBefore.x(), lastBefore.y()), 0);
    EXPECT_EQ(red(lastBefore.x() + 3, firstAfter.x() - 3, lastBefore.y()), 0);
    EXPECT_GT(red(firstAfter.x(), firstAfter.x() + 20, firstAfter.y()), 0);
}

// A redraw starts drawing the series once the layout is known; what changes before the series
// layer is drawn (here between Prepare and a redraw of that layer alone) is drawn as it is then.
TEST_F(TChartFormTest, SeriesChangedAfterTheirDrawingStartedAreDrawnAsTheyAreThen) {
    ParseRecording(db, {HistoricV1, HistoricRealPower}, 2000);
    const std::pair<const char*, std::function<void(TChart&)>> changes[] = {
        {"colour", [](TChart& c) { c.Series(0)->setPen(QPen(Qt::magenta, 1)); }},
        {"width", [](TChart& c) { c.Series(1)->setPen(QPen(c.Series(1)->pen().color(), 4)); }},
        {"hidden", [](TChart& c) { c.Series(1)->setVisible(false); }},
    };
    for (const auto& [name, change] : changes) {
        const auto form = NewChart(db, {0, 1});
        Show(*form);
        TChart& chart = *form->Chart();
        SpanRenderer* renderer = &RendererOf(chart);
        // The plot alone: the legend is redrawn with the layers below.
        const QRect plot = chart.ChartRect();
        const QImage before = chart.grab(plot).toImage();
        renderer->Prepare();
        change(chart);
        chart.layer(QStringLiteral("series"))->replot();
        const QImage partial = chart.grab(plot).toImage();
        chart.replot(QCustomPlot::rpImmediateRefresh);
        EXPECT_FALSE(partial == before) << name;
        EXPECT_TRUE(partial == chart.grab(plot).toImage()) << name;
    }
}

// A layerable that draws nothing, which the series' layer then holds besides its series.
class Blank : public QCPLayerable {
public:
    using QCPLayerable::QCPLayerable;

protected:
    void applyDefaultAntialiasingHint(QCPPainter*) const override {}
    void draw(QCPPainter*) override {}
};

// The line series' image is kept apart from their layer's buffer only while nothing else draws
// there: composited apart, points over lines would round differently. Kept or not, the widget
// shows the same, and a picture of the chart taken in between leaves it as it was.
TEST_F(TChartFormTest, TheSeriesImageIsKeptApartOnlyWhileTheirLayerHoldsNothingElse) {
    ParseRecording(db, {HistoricV1, HistoricI1, EventVoltageMaxV1}, 400, 200);
    struct Case {
        const char* name;
        bool points, hidePoints, kept;
    };
    for (const Case& c : {Case{"lines", false, false, true}, Case{"points", true, false, false},
                          Case{"hidden points", true, true, true}}) {
        const auto form = c.points ? NewChart(db, {0, 1, 2}) : NewChart(db, {0, 1});
        Show(*form);
        TChart& chart = *form->Chart();
        if (c.hidePoints)
            chart.Series(2)->setVisible(false);
        chart.replot(QCustomPlot::rpImmediateRefresh);
        const QImage shown = chart.grab().toImage();
        QImage scratch(8, 8, QImage::Format_ARGB32_Premultiplied);
        QPainter onScratch(&scratch);
        EXPECT_EQ(RendererOf(chart).Composite(&onScratch), c.kept) << c.name;
        QImage picture(700, 500, QImage::Format_ARGB32_Premultiplied);
        chart.DrawTo(picture, picture.size(), 1.0);
        EXPECT_TRUE(chart.grab().toImage() == shown) << c.name;
        new Blank(&chart, QStringLiteral("series"));
        chart.replot(QCustomPlot::rpImmediateRefresh);
        EXPECT_TRUE(chart.grab().toImage() == shown) << c.name;
    }
}

TEST_F(TChartFormTest, ALegendWhoseLastRowIsNotFullIsLaidOutAgain) {
    // Four entries in rows of three or two leave empty cells in the legend's grid; the
    // printer lays out charts whose windows were never shown.
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower, EventVoltageMaxV1}, 50, 3);
    const auto form = NewChart(db, {0, 1, 2, 3});
    for (const QSize size : {QSize(1000, 700), QSize(600, 400), QSize(1000, 700)}) {
        QImage blank(size, QImage::Format_ARGB32_Premultiplied);
        blank.fill(Qt::white);
        QImage page = blank;
        QPainter painter(&page);
        form->DrawChart(painter, QRectF(QPointF(0, 0), size), 96);
        painter.end();
        EXPECT_NE(page, blank);
    }
}

// Entries keep their measured size between layouts, and measure again when what they show
// changes.
TEST_F(TChartFormTest, ALegendEntryIsMeasuredAgainWhenItsNameOrFontChanges) {
    ParseRecording(db, {HistoricV1, HistoricI1}, 50, 3);
    const auto form = NewChart(db, {0, 1});
    QCPLegend* legend = form->Chart()->Legend();
    const QCPAbstractLegendItem* entry = legend->item(0);
    ASSERT_NE(entry, nullptr);
    QFont larger = legend->font();
    larger.setPointSize(larger.pointSize() * 2);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"name", [&] { form->Chart()->Series(0)->setName(QStringLiteral("A much longer name")); }},
        {"font", [&] { legend->setFont(larger); }},
    };
    for (const auto& [what, change] : changes) {
        const QSize before = entry->minimumOuterSizeHint();
        change();
        const QSize after = entry->minimumOuterSizeHint();
        EXPECT_TRUE(after.width() > before.width() || after.height() > before.height()) << what;
    }
}

// The unit scales are kept as pictures between redraws: after each change a kept picture shows
// what a chart drawn afresh shows.
TEST_F(TChartFormTest, KeptUnitScalesShowEveryChangeOfWhatTheyAreDrawnFrom) {
    ParseRecording(db, {HistoricV1, HistoricI1, HistoricRealPower}, 50, 3);
    const std::pair<const char*, std::function<void(TChartForm&)>> changes[] = {
        {"axis colour", [](TChartForm& f) { f.SetAxisColor(0x0000FF); }},
        {"label font",
         [](TChartForm& f) {
             f.Record().LeftAxisLabelFont.Size = 14;
             f.ApplyStyle();
         }},
        {"value zoom", [](TChartForm& f) { f.Chart()->LeftAxis()->setRange(0.2, 0.6); }},
        {"scale hidden",
         [](TChartForm& f) {
             f.SetSeriesActive(2, false);
             f.RefreshChart();
         }},
        {"volts for amperes, as many scales",
         [](TChartForm& f) {
             f.SetSeriesActive(0, false);
             f.SetSeriesActive(1, true);
             f.RefreshChart();
         }},
    };
    for (const auto& [what, change] : changes) {
        const auto kept = NewChart(db, {0, 1, 2});
        kept->SetSeriesActive(1, false);
        kept->RefreshChart();
        kept->Chart()->toPixmap(800, 500);
        change(*kept);
        TChartForm fresh(kept->Record());
        change(fresh);
        EXPECT_EQ(kept->Chart()->toPixmap(800, 500).toImage(),
                  fresh.Chart()->toPixmap(800, 500).toImage())
            << what;
    }
}

} // namespace

// The sample time of Historic point k of the chart's first source, at its whole second.
TDateTime SampleTime(const TChartForm& form, int k) {
    float value;
    TDateTime time;
    form.Record().Sources.Items(0)->GetPoint(k, value, time);
    return form.SnapCursor(time);
}

TEST_F(TChartFormTest, TheReadoutWritesTheLocalesNumbers) {
    ParseRecording(db, {HistoricV1}, 3, 0, [](GeneratedRecording& r) {
        r.blocks[0].values = {1234.5f, 2345.25f, 1000};
    });
    const struct {
        const char *locale, *atA, *mean;
    } cases[] = {{"en_US", "1,234.50", "1,526.58"},
                 {"de_DE", "1.234,50", "1.526,58"},
                 {"fr_FR", "1\u202f234,50", "1\u202f526,58"},
                 {"C", "1234.50", "1526.58"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        const LocaleGuard locale(c.locale);
        const auto form = NewChart(db, {0});
        Show(*form);
        form->SetCursors(SampleTime(*form, 0), SampleTime(*form, 2));
        form->RefreshReadout();
        ASSERT_EQ(form->Readout()->rowCount(), 1);
        EXPECT_EQ(form->Readout()->item(0, 1)->text().toStdString(), c.atA);
        bool found = false;
        for (int column = 0; column < form->Readout()->columnCount(); ++column)
            found |= form->Readout()->item(0, column) &&
                     form->Readout()->item(0, column)->text().toStdString() == c.mean;
        EXPECT_TRUE(found) << "no mean " << c.mean;
    }
}

TEST_F(TChartFormTest, CursorsAreSetDraggedSnappedReadAndRemovedWithEscape) {
    ParseRecording(db, {HistoricV1, EventVoltageMaxV1}, 20, 4);
    const auto form = NewChart(db, {0, 1});
    Show(*form);
    QSignalSpy changed(form.get(), &TChartForm::CursorsChanged);
    form->Popup()->findChild<QAction*>(QStringLiteral("Cursors1"))->trigger();
    EXPECT_EQ(form->StatusText(0), "Cursors");
    TChart& chart = *form->Chart();
    const auto x = [&](int k) {
        return static_cast<int>(
            std::lround(chart.BottomAxis()->coordToPixel(SampleTime(*form, k))));
    };
    const int y = chart.ChartRect().center().y();
    // Between two samples, nearer the earlier: the cursor snaps to it.
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint((2 * x(3) + x(4)) / 3, y));
    EXPECT_EQ(form->CursorA(), SampleTime(*form, 3));
    EXPECT_FALSE(form->CursorB());
    QTest::mouseClick(&chart, Qt::LeftButton, {}, QPoint(x(12), y));
    EXPECT_EQ(form->CursorB(), SampleTime(*form, 12));
    // A press on A drags A; B stays.
    QTest::mousePress(&chart, Qt::LeftButton, {}, QPoint(x(3) + 2, y));
    QMouseEvent move(QEvent::MouseMove, QPointF(x(8), y), chart.mapToGlobal(QPointF(x(8), y)),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(&chart, &move);
    QTest::mouseRelease(&chart, Qt::LeftButton, {}, QPoint(x(8), y));
    EXPECT_EQ(form->CursorA(), SampleTime(*form, 8));
    EXPECT_EQ(form->CursorB(), SampleTime(*form, 12));
    EXPECT_GE(changed.count(), 3);

    form->RefreshReadout();
    ASSERT_TRUE(form->Readout()->isVisible());
    EXPECT_EQ(form->Readout()->rowCount(), 2);
    const int64_t delta = WholeSeconds(SampleTime(*form, 12)) - WholeSeconds(SampleTime(*form, 8));
    EXPECT_TRUE(form->ReadoutHeading().endsWith(QStringLiteral("\u0394t: ") +
                                                QString::fromStdString(DurationText(delta))))
        << form->ReadoutHeading().toStdString();
    float atA, atB;
    TDateTime t;
    form->Record().Sources.Items(0)->GetPoint(8, atA, t);
    form->Record().Sources.Items(0)->GetPoint(12, atB, t);
    EXPECT_EQ(form->Readout()->item(0, 1)->text(), QLocale().toString(atA, 'f', 2));
    EXPECT_EQ(form->Readout()->item(0, 2)->text(), QLocale().toString(atB, 'f', 2));
    // Cursors outlive a zoom; a hidden series leaves the readout.
    chart.ZoomPercent(200);
    EXPECT_EQ(form->CursorA(), SampleTime(*form, 8));
    form->SetSeriesActive(1, false);
    EXPECT_EQ(form->Readout()->rowCount(), 1);

    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->CursorA() || form->CursorB());
    form->RefreshReadout();
    EXPECT_FALSE(form->Readout()->isVisible());
}

// A cursor's move paints again only the strips of the chart its cursor left and takes, and
// what it leaves on the screen is what a whole redraw draws; the readout reads as a fresh one
// and its figures' columns hold their texts.
TEST_F(TChartFormTest, ACursorMovePaintsOnlyWhatChanged) {
    // Currents wider than their columns' titles.
    ParseRecording(db, {HistoricV1, HistoricI1, EventVoltageMaxV1}, 400, 30,
                   [](GeneratedRecording& r) {
                       for (float& v : r.blocks[1].values)
                           v *= 1e5f;
                   });
    const auto form = NewChart(db, {0, 1, 2});
    Show(*form);
    TChart& chart = *form->Chart();
    struct PaintSpy : QObject {
        int64_t area = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint)
                for (const QRect& r : static_cast<QPaintEvent*>(event)->region())
                    area += int64_t{r.width()} * r.height();
            return false;
        }
    } spy;
    chart.installEventFilter(&spy);
    // The readout's first showing takes room from the chart, which is drawn again whole.
    form->SetCursors(SampleTime(*form, 200), std::nullopt);
    QApplication::processEvents();
    chart.replot(QCustomPlot::rpImmediateRefresh);
    const QRect plot = chart.ChartRect();
    const auto at = [&](std::optional<double> share) -> std::optional<TDateTime> {
        if (!share)
            return std::nullopt;
        return form->SnapCursor(
            chart.BottomAxis()->pixelToCoord(plot.left() + *share * plot.width()));
    };
    const std::pair<std::optional<double>, std::optional<double>> moves[] = {
        {0.2, std::nullopt}, {0.2, 0.7}, {0.21, 0.7},        {0.3, 0.99},
        {0.3, 0.1},          {0.0, 0.1}, {1.0, std::nullopt}};
    for (const auto& [a, b] : moves) {
        SCOPED_TRACE(a.value_or(-1) * 100 + b.value_or(-1));
        spy.area = 0;
        form->SetCursors(at(a), at(b));
        QApplication::processEvents();
        EXPECT_GT(spy.area, 0);
        EXPECT_LT(spy.area, int64_t{plot.width()} * plot.height() / 5);
        // What the window shows (its backing store), against the chart painted anew whole.
        const auto shown = [&] {
            return form->screen()
                ->grabWindow(form->winId())
                .toImage()
                .copy(QRect(chart.mapTo(form.get(), QPoint()), chart.size()));
        };
        const QImage partial = shown();
        chart.replot(QCustomPlot::rpImmediateRefresh);
        EXPECT_TRUE(partial == shown());

        std::vector<const LParameterSource*> sources;
        std::vector<std::string> titles;
        for (const auto& source : form->Record().Sources) {
            sources.push_back(source.get());
            titles.push_back(SeriesTitle(*source, false).toStdString());
        }
        const TextTable fresh = CursorReadoutTable(ReadCursors(sources, at(a), at(b)), titles);
        const QTableWidget& readout = *form->Readout();
        ASSERT_EQ(readout.rowCount(), 3);
        const QFontMetrics metrics(readout.font());
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < readout.columnCount(); ++column) {
                const QString text = readout.item(row, column)->text();
                EXPECT_EQ(text.toStdString(), fresh.CellText(row, column, LocaleTextStyle()));
                if (column > 0) {
                    EXPECT_GE(readout.horizontalHeader()->sectionSize(column),
                              metrics.horizontalAdvance(text) + 4);
                }
            }
    }
}

// A copy or print of the chart shows the cursors: the picture differs along their lines.
TEST_F(TChartFormTest, CopiesOfTheChartShowTheCursors) {
    ParseRecording(db, {HistoricV1}, 20, 4);
    const auto form = NewChart(db, {0});
    Show(*form);
    const QSize size(600, 400);
    const auto picture = [&] {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        form->Chart()->DrawTo(image, size, 1.0);
        return image;
    };
    const QImage without = picture();
    form->SetCursors(SampleTime(*form, 5), SampleTime(*form, 15));
    const QImage with = picture();
    int columns = 0;
    for (int x = 0; x < size.width(); ++x)
        for (int y = 0; y < size.height(); ++y)
            if (with.pixel(x, y) != without.pixel(x, y)) {
                ++columns;
                break;
            }
    EXPECT_GE(columns, 2);
    EXPECT_LT(columns, 40); // two lines and their labels, not a redrawn chart
}

// The chart window's keys, as a user presses them, and the pop-up marking the mode.
TEST_F(TChartFormTest, KeysZoomPanStepBackCopyAndLeaveAMode) {
    ParseRecording(db, {HistoricV1}, 120);
    const auto form = NewChart(db, {0});
    Show(*form);
    TChart& chart = *form->Chart();
    chart.AnimatedZoom = false;
    // A click makes the window the active one, whose shortcuts the keys reach.
    QTest::mouseClick(&chart, Qt::LeftButton, {}, chart.ChartRect().center());
    const QCPRange whole = chart.BottomAxis()->range();
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        double lower, upper; // of the view, in widths of the whole range from its start
    } cases[] = {
        {Qt::Key_Plus, {}, 0.25, 0.75},
        {Qt::Key_Right, {}, 0.3, 0.8},
        {Qt::Key_Left, {}, 0.25, 0.75},
        {Qt::Key_Minus, {}, 0, 1},
        {Qt::Key_Z, Qt::ControlModifier, 0.25, 0.75}, // back before the zoom out
        {Qt::Key_Z, Qt::ControlModifier, 0.3, 0.8},   // and before the pan left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        QTest::keyClick(form.get(), static_cast<Qt::Key>(c.key), c.modifiers);
        const QCPRange r = chart.BottomAxis()->range();
        EXPECT_NEAR((r.lower - whole.lower) / whole.size(), c.lower, 1e-9);
        EXPECT_NEAR((r.upper - whole.lower) / whole.size(), c.upper, 1e-9);
    }
    const double up = chart.LeftAxis()->range().lower;
    QTest::keyClick(form.get(), Qt::Key_Up);
    EXPECT_GT(chart.LeftAxis()->range().lower, up);

    QApplication::clipboard()->clear();
    QTest::keyClick(form.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    const auto checked = [&] {
        QString names;
        for (QAction* a : form->Popup()->actions())
            if (a->isChecked())
                names += a->objectName();
        return names;
    };
    EXPECT_EQ(checked(), "Examinevalue1");
    form->Popup()->findChild<QAction*>(QStringLiteral("Pan1"))->trigger();
    EXPECT_EQ(checked(), "Pan1");
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_EQ(form->CurrentMode(), TChartForm::ExamineMode);
    EXPECT_EQ(checked(), "Examinevalue1");
}

// Save as picture writes the kind its name says, and nothing where it cannot write.
TEST_F(TChartFormTest, SaveAsPictureWritesSvgPngOrPdfByTheName) {
    ParseRecording(db, {HistoricV1}, 60);
    const auto form = NewChart(db, {0});
    ASSERT_NE(form->Popup()->findChild<QAction*>(QStringLiteral("Saveaspicture1")), nullptr);
    ScratchFolder scratch;
    const std::pair<const char*, const char*> kinds[] = {
        {"chart.svg", "<?xml"}, {"chart.PNG", "\x89PNG"}, {"chart.pdf", "%PDF"}};
    for (const auto& [name, magic] : kinds) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(form->SaveAsPicture(QString::fromStdString(scratch / name), {640, 400}));
        EXPECT_EQ(ReadBytes(scratch / name).rfind(magic, 0), 0u);
    }
    // Vectors throughout: no part of the chart goes in as a bitmap.
    EXPECT_EQ(ReadBytes(scratch / "chart.svg").find("<image"), std::string::npos);
    // The PDF's page is the picture at 96 pixels an inch: 640 × 400 is 480 × 300 points.
    const std::string info = CommandOutput("pdfinfo " + ShellQuoted(scratch / "chart.pdf"));
    EXPECT_NE(info.find("480 x 300 pts"), std::string::npos) << info;
    QString error;
    EXPECT_FALSE(form->SaveAsPicture(QString::fromStdString(scratch / "none/chart.svg"), {640, 400},
                                     &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(scratch / "none")));
}

// A chart of every parameter a typical recording has that a chart takes asks for no more
// than a 1600 × 1000 screen, the legend on any side.
TEST_F(TChartFormTest, AChartOfEveryParameterFitsTheScreen) {
    GeneratorOptions options;
    options.historicPoints = 50;
    db.New();
    db.Parse(GenerateRecordingBytes(options));
    auto form = std::make_unique<TChartForm>(*db.AddChart());
    LParameterSourceGroup group(&db.Header());
    for (const auto& p : db.Parameters())
        if (p->TableType() != ttCumulative && p->TableType() != ttIntervalCumulative)
            group.Add(std::make_unique<LParameterSource>(p.get()));
    ASSERT_GT(group.Count(), 60);
    form->SetGroup(group);
    // Not shown yet, the window grows for its legend, and stays whole on the screen.
    const QRect screen = form->screen()->availableGeometry();
    EXPECT_GT(form->height(), 440);
    EXPECT_TRUE(screen.contains(form->geometry()));
    const QSize legend = form->Chart()->LegendSize(form->size());
    EXPECT_TRUE(legend.height() * 5 <= form->height() * 2 || form->width() >= screen.width() - 16)
        << legend.height() << " of " << form->height();
    for (const uint8_t position : {3, 2, 0, 1}) {
        SCOPED_TRACE(position);
        form->Record().LegendPosition = position;
        form->ApplyStyle();
        form->RefreshChart();
        Show(*form, {1600, 1000});
        EXPECT_LE(form->minimumSizeHint().width(), 1600);
        EXPECT_LE(form->minimumSizeHint().height(), 1000);
        EXPECT_LE(form->minimumSize().width(), 1600);
    }
}
