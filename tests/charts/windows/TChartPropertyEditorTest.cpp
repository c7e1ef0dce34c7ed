#include "charts/windows/TChartPropertyEditor.h"
#include "charts/DisplayStyle.h"
#include "charts/windows/EnvelopeGraph.h"
#include "charts/windows/TChart.h"
#include "tests/charts/windows/ChartTestSupport.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/ErrorReportSpy.h"
#include "tests/support/ModalDriver.h"
#include "ui_TChartPropertyEditor.h"

#include <QColorDialog>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

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

TEST_F(TChartPropertyEditorTest, RunningWithoutAChartIsRefused) {
    TChartPropertyEditor alone;
    ErrorReportSpy spy;
    EXPECT_EQ(ErrorMessage([&] { alone.Execute(); }), "ChartForm = NULL");
    EXPECT_EQ(spy.reports.at(0).context, "TChartPropertyEditor::Execute");
}

} // namespace
