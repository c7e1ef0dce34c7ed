#include "windows/charts/TChartPropertyEditor.h"
#include "charts/DisplayStyle.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/support/ModalDriver.h"
#include "tests/windows/charts/ChartTestSupport.h"
#include "ui_TChartPropertyEditor.h"
#include "windows/charts/EnvelopeGraph.h"
#include "windows/charts/TChart.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QColorDialog>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

class TChartPropertyEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(UsLocale());
        ParseRecording(db, {HistoricV1, HistoricRealPower, EventVoltageMaxV1}, 30, 3);
        form = NewChart(db, {0, 1, 2});
        editor.ChartForm = form.get();
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    Ui::TChartPropertyEditor& F() { return editor.Form(); }

    LDatabase db;
    std::unique_ptr<TChartForm> form;
    TChartPropertyEditor editor;
};

// Picks red in the colour dialog.
ModalDriver::Step PickRed() {
    return [](QWidget* w) {
        auto* dialog = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(Qt::red);
        dialog->accept();
    };
}

TEST_F(TChartPropertyEditorTest, CancelKeepsAParametersNewColourButNotANewTitle) {
    QSignalSpy changed(form.get(), &TChartForm::RecordChanged);
    ModalDriver driver({[&](QWidget*) {
                            F().ChartTitle->setText(QStringLiteral("Not kept"));
                            F().ParameterComboBox->setCurrentIndex(1);
                            QTimer::singleShot(0, F().ParameterColorButton, &QPushButton::click);
                        },
                        PickRed(),
                        [](QWidget* w) { Child<QPushButton>(w, "CancelButton")->click(); }});
    EXPECT_FALSE(editor.Execute());
    EXPECT_EQ(driver.StepsRun(), 3u);
    EXPECT_EQ(form->Record().Title, "Chart");
    EXPECT_EQ(form->Record().Style(1).Color, 0x0000FFu);
    EXPECT_EQ(form->Chart()->Series(1)->pen().color(), QColor(Qt::red));
    // What the database stores changed: the main window's save question must know.
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(TChartPropertyEditorTest, ApplyAppliesWithoutClosingAndOKAppliesAgain) {
    QSignalSpy changed(form.get(), &TChartForm::RecordChanged);
    bool appliedWhileOpen = false;
    ModalDriver driver({[&](QWidget* w) {
        F().ShowMinMax->setChecked(true);
        editor.ApplyButton()->click();
        appliedWhileOpen = form->Record().ShowMinMax && w->isVisible() &&
                           form->Chart()->Series(0)->name().contains(" [ ");
        F().ChartTitle->setText(QStringLiteral("Feeder B"));
        F().LegendPositionTop->setChecked(true);
        Child<QPushButton>(w, "OKButton")->click();
    }});
    EXPECT_TRUE(editor.Execute());
    EXPECT_TRUE(appliedWhileOpen);
    EXPECT_EQ(form->Record().Title, "Feeder B");
    EXPECT_EQ(form->Chart()->Title()->text(), "Feeder B");
    EXPECT_EQ(form->Record().LegendPosition, LChartRecord::LegendTop);
    EXPECT_EQ(changed.count(), 2);

    // Confirmed unchanged, nothing is reported.
    ModalDriver again({[](QWidget* w) { Child<QPushButton>(w, "OKButton")->click(); }});
    EXPECT_TRUE(editor.Execute());
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(TChartPropertyEditorTest, TheParametersPageActsAtOnce) {
    editor.Init();
    const int watts = SeriesOfUnit(*form, 2);
    F().ParameterComboBox->setCurrentIndex(watts);
    EXPECT_FALSE(F().LinePanel->isHidden());
    EXPECT_TRUE(F().PointPanel->isHidden());
    F().LineWidthComboBox->setCurrentIndex(3);
    EXPECT_EQ(form->Record().Style(watts).LineWidth, 4);
    EXPECT_EQ(form->Chart()->Series(watts)->pen().width(), 4);
    // The only parameter of its unit: its scale goes with it.
    F().ParameterVisible->click();
    EXPECT_FALSE(form->SeriesActive(watts));
    EXPECT_FALSE(form->UnitScales()[2].Shown);
    EXPECT_TRUE(form->UnitScales()[0].Shown);

    // A point series of style rectangle and size 1.
    const int points = 2;
    form->Record().Style(points).PointStyle = 0;
    form->Record().Style(points).PointSize = 1;
    F().ParameterComboBox->setCurrentIndex(0);
    F().ParameterComboBox->setCurrentIndex(points);
    EXPECT_TRUE(F().LinePanel->isHidden());
    EXPECT_EQ(F().PointStyleComboBox->currentText(), "Rectangle");
    EXPECT_EQ(F().PointSizeComboBox->currentText(), "1 pt");
    F().PointStyleComboBox->setCurrentIndex(6);
    EXPECT_EQ(form->Record().Style(points).PointStyle, 6);
    EXPECT_EQ(form->Chart()->Series(points)->scatterStyle().shape(), QCPScatterStyle::ssStar);
}

TEST_F(TChartPropertyEditorTest, SamplePanelsHoldTheStoredFontsAndColours) {
    form->Record().BackgroundColor = 0x80000005u;
    editor.Init();
    EXPECT_EQ(editor.PanelColor(F().BackgroundColor), 0x80000005u);
    EXPECT_EQ(editor.PanelFont(F().ChartTitleFont), form->Record().TitleFont);
    EXPECT_EQ(editor.PanelColor(F().LegendFontColor), form->Record().LegendColor);
    // The colour dialog confirmed on the colour as drawn keeps the system colour's code.
    ModalDriver driver({[](QWidget* w) { qobject_cast<QDialog*>(w)->accept(); }});
    editor.ColorButtonClick(F().BackgroundColorButton);
    EXPECT_EQ(editor.PanelColor(F().BackgroundColor), 0x80000005u);
    ModalDriver red({PickRed()});
    editor.ColorButtonClick(F().BackgroundColorButton);
    EXPECT_EQ(editor.PanelColor(F().BackgroundColor), 0x0000FFu);
    EXPECT_EQ(form->Record().BackgroundColor, 0x80000005u); // until Apply
    editor.Apply();
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(Qt::red));
}

// Whatever Apply reads from a control reaches the stored chart: each case changes one control
// away from what is stored and says where the change must arrive.
TEST_F(TChartPropertyEditorTest, EveryControlApplyReadsReachesTheStoredChart) {
    LChartRecord& r = form->Record();
    // Every case its own font and colour, so that one read from the wrong panel is seen.
    int32_t n = 0;
    using Check = std::function<bool()>;
    const auto toggle = [](QAbstractButton* box, bool& stored) -> Check {
        const bool wanted = !stored;
        box->setChecked(wanted);
        return [&stored, wanted] { return stored == wanted; };
    };
    const auto panelFont = [&](QLabel* panel, LFont& stored) -> Check {
        const LFont font{1, 0x00FF00, "DejaVu Sans", 0, 11 + ++n, true};
        editor.SetPanelFont(panel, font);
        return [&stored, font] { return stored == font; };
    };
    const auto panelColor = [&](QLabel* panel, uint32_t& stored) -> Check {
        const uint32_t colour = 0x00FF00u + static_cast<uint32_t>(++n);
        editor.SetPanelColor(panel, colour);
        return [&stored, colour] { return stored == colour; };
    };
    // The editor shown another position first, so that a button Apply skips is seen.
    const auto position = [&](QRadioButton* button, uint8_t wanted) -> Check {
        r.LegendPosition = static_cast<uint8_t>((wanted + 1) % 4);
        editor.Init();
        button->setChecked(true);
        return [&r, wanted] { return r.LegendPosition == wanted; };
    };
    const std::vector<std::pair<const char*, std::function<Check()>>> cases = {
        {"title",
         [&] {
             F().ChartTitle->setText("Feeder B");
             return Check([&] { return r.Title == "Feeder B"; });
         }},
        {"title font", [&] { return panelFont(F().ChartTitleFont, r.TitleFont); }},
        {"title alignment",
         [&] {
             F().ChartTitleAlignLeft->setChecked(true);
             return Check([&] { return r.TitleAlignment == LChartRecord::AlignLeft; });
         }},
        {"time axis title",
         [&] {
             F().XAxisTitle->setText("Local time");
             return Check([&] { return r.BottomAxisTitle == "Local time"; });
         }},
        {"time axis title font",
         [&] { return panelFont(F().XAxisTitleFont, r.BottomAxisTitleFont); }},
        {"start and end", [&] { return toggle(F().ShowStartEnd, r.ShowStartEnd); }},
        {"location", [&] { return toggle(F().ShowLocation, r.ShowLocation); }},
        {"footer font", [&] { return panelFont(F().FootFont, r.FooterFont); }},
        {"footer alignment",
         [&] {
             F().FootAlignRight->setChecked(true);
             return Check([&] { return r.FooterAlignment == LChartRecord::AlignRight; });
         }},
        {"time labels",
         [&] {
             const uint8_t wanted = r.XAxisLabelsTimeDate ? 0 : 1;
             (wanted ? F().XAxisLabelsTimeDate : F().XAxisLabelsTime)->setChecked(true);
             return Check([&, wanted] { return r.XAxisLabelsTimeDate == wanted; });
         }},
        {"time label font", [&] { return panelFont(F().XAxisLabelsFont, r.BottomAxisLabelFont); }},
        {"value label font", [&] { return panelFont(F().YAxisLabelsFont, r.LeftAxisLabelFont); }},
        {"axis colour", [&] { return panelColor(F().AxisColor, r.AxisColor); }},
        {"grid", [&] { return toggle(F().XAxisGridVisible, r.BottomAxisGrid); }},
        {"grid colour", [&] { return panelColor(F().GridColor, r.GridColor); }},
        {"background", [&] { return panelColor(F().BackgroundColor, r.BackgroundColor); }},
        {"legend", [&] { return toggle(F().LegendVisible, r.LegendVisible); }},
        {"legend colour", [&] { return panelColor(F().LegendFontColor, r.LegendColor); }},
        {"legend font", [&] { return panelFont(F().LegendFontColor, r.LegendFont); }},
        {"legend left", [&] { return position(F().LegendPositionLeft, LChartRecord::LegendLeft); }},
        {"legend right",
         [&] { return position(F().LegendPositionRight, LChartRecord::LegendRight); }},
        {"legend top", [&] { return position(F().LegendPositionTop, LChartRecord::LegendTop); }},
        {"legend bottom",
         [&] { return position(F().LegendPositionBottom, LChartRecord::LegendBottom); }},
        {"minimum and maximum", [&] { return toggle(F().ShowMinMax, r.ShowMinMax); }},
    };
    for (const auto& [name, change] : cases) {
        editor.Init();
        const Check stored = change();
        editor.Apply();
        EXPECT_TRUE(stored()) << name;
    }
    // A series hidden on the Parameters page is hidden in the record the window shows.
    editor.Init();
    F().ParameterComboBox->setCurrentIndex(1);
    F().ParameterVisible->click();
    EXPECT_FALSE(r.Sources.Items(1)->Selected);
    EXPECT_TRUE(r.Sources.Items(0)->Selected);
}

TEST_F(TChartPropertyEditorTest, RunningWithoutAChartIsRefused) {
    TChartPropertyEditor alone;
    ErrorReportSpy spy;
    EXPECT_EQ(ErrorMessage([&] { alone.Execute(); }), "ChartForm = NULL");
    EXPECT_EQ(spy.reports.at(0).context, "TChartPropertyEditor::Execute");
}

} // namespace
