// The report's dialog shows the survey settings the Survey window keeps, under its captions,
// and keeps what is changed in it for the window.
#include "windows/reports/TSurveyReportDialog.h"
#include "printing/LayoutPrinter.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/PdfPages.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/TestSettings.h"
#include "tests/tables/TablesTestSupport.h"
#include "tools/RecordingGenerator.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TTariffFileBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

TEST(TSurveyReportDialogTest, ShowsAndKeepsTheSurveyWindowsSettings) {
    ClearSettings();
    QLocale::setDefault(UsLocale());
    SurveyOptions stored;
    stored.BlockMinutes = 30;
    stored.RatingAmps = 100;
    stored.NominalVolts = 230;
    stored.ThresholdWatts = 25000;
    StoreSurveyOptions(stored);

    LDatabase db;
    ParseRecording(db, {HistoricRealPower}, 10);
    QStringList shown, captions;
    ModalDriver driver({[&](QWidget* w) {
        auto* dialog = qobject_cast<TSurveyReportDialog*>(w);
        ASSERT_TRUE(dialog);
        shown << dialog->BlockMinutesBox->currentText() << dialog->RatingEdit->text()
              << dialog->NominalEdit->text() << dialog->ThresholdEdit->text();
        for (QLabel* label : dialog->findChildren<QLabel*>())
            captions << label->text();
        dialog->RatingEdit->setText(QStringLiteral("125"));
        SurveyReportOptions options = dialog->Options();
        EXPECT_EQ(options.Survey.RatingAmps, 125);
        EXPECT_EQ(options.Survey.ThresholdWatts, 25000);
        dialog->CancelButton()->click();
    }});
    EXPECT_FALSE(RunSurveyReport(nullptr, db));
    EXPECT_EQ(shown, (QStringList{"30", "100", "230", "25"})); // the threshold in kW
    for (SurveySetting s :
         {SurveySetting::BlockMinutes, SurveySetting::Rating, SurveySetting::Nominal,
          SurveySetting::Threshold, SurveySetting::Tariff, SurveySetting::EnergyRate,
          SurveySetting::DemandRate, SurveySetting::FixedMonthly, SurveySetting::TargetPowerFactor,
          SurveySetting::BankStep})
        EXPECT_TRUE(captions.contains(SurveySettingCaption(s))) << captions.join('|').toStdString();
    // Cancelled: the store is as it was.
    EXPECT_EQ(StoredSurveyOptions().RatingAmps, 100);
    QLocale::setDefault(QLocale::system());
}

// The tariff, target power factor and bank step the Survey window keeps show in the dialog, and
// what OK takes is kept for the window and priced in the report.
TEST(TSurveyReportDialogTest, TheTariffAndPowerFactorAreSharedWithTheSurveyWindow) {
    ClearSettings();
    QLocale::setDefault(UsLocale());
    StoreTariffChoice({QStringLiteral(VRO_TARIFF_EXAMPLE), 0.3, {}, {}});
    SurveyOptions stored;
    stored.TargetPowerFactor = 0.9;
    stored.BankStepVar = 2500;
    StoreSurveyOptions(stored);
    StoreReportAuthor({QStringLiteral("Ann Smith"), QStringLiteral("Volt and Co"),
                       QStringLiteral("Last remark")});

    // A day of the real power of 3Ø.
    GeneratorOptions o;
    o.entries = {22};
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    ScratchFolder scratch;
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    PlainPrintInteraction interaction(QString::fromStdString(scratch / "r.pdf"));
    SetProgramInteraction(&interaction);
    ModalDriver driver({[&](QWidget* w) {
        auto* dialog = qobject_cast<TSurveyReportDialog*>(w);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->TariffBox->File(), QStringLiteral(VRO_TARIFF_EXAMPLE));
        EXPECT_FALSE(dialog->EnergyRateEdit->isEnabled());
        EXPECT_EQ(dialog->TargetPowerFactorEdit->text(), QStringLiteral("0.9"));
        EXPECT_EQ(dialog->BankStepEdit->text(), QStringLiteral("2.5"));
        const SurveyOptions file = dialog->Options().Survey;
        ASSERT_TRUE(file.CostTariff);
        EXPECT_EQ(file.CostTariff->EnergyPeriods.size(), 3u);
        EXPECT_EQ(file.BankStepVar, 2500);
        // Back to the simple tariff of the rate kept for it.
        dialog->TariffBox->SetFile({});
        EXPECT_TRUE(dialog->EnergyRateEdit->isEnabled());
        dialog->TargetPowerFactorEdit->setText(QStringLiteral("0.92"));
        // The engineer's last words are shown and replaced.
        EXPECT_EQ(dialog->EngineerEdit->text(), QStringLiteral("Ann Smith"));
        EXPECT_EQ(dialog->CompanyEdit->text(), QStringLiteral("Volt and Co"));
        EXPECT_EQ(dialog->RemarksEdit->toPlainText(), QStringLiteral("Last remark"));
        dialog->RemarksEdit->setPlainText(QStringLiteral("Meter room locked.\nKey at the gate."));
        dialog->OKButton()->click();
    }});
    EXPECT_TRUE(RunSurveyReport(nullptr, db));
    SetProgramInteraction(nullptr);
    EXPECT_EQ(StoredTariffChoice(), (TariffChoice{{}, 0.3, {}, {}}));
    EXPECT_EQ(StoredSurveyOptions().TargetPowerFactor, 0.92);
    EXPECT_EQ(StoredReportAuthor().Remarks, QStringLiteral("Meter room locked.\nKey at the gate."));
    std::string text;
    for (const std::string& page : PdfPageTexts(scratch / "r.pdf"))
        text += page;
    // pdftotext may join "ff" into one letter.
    EXPECT_NE(text.find("Cost: Simple tari"), std::string::npos) << text;
    for (const char* words :
         {"Ann Smith", "Volt and Co", "Meter room locked.\n", "Key at the gate."})
        EXPECT_NE(text.find(words), std::string::npos) << words;
    QLocale::setDefault(QLocale::system());
}

// Ticked, the battery study comes with the settings the Survey window keeps for it.
TEST(TSurveyReportDialogTest, TheBatteryStudyTakesTheSurveyWindowsBatterySettings) {
    ClearSettings();
    BatteryOptions stored;
    stored.CapsWatts = {30000, 20000};
    stored.PricePerKwh = 300;
    StoreBatteryOptions(stored);
    TSurveyReportDialog dialog;
    EXPECT_FALSE(dialog.BatteryCheck->isChecked());
    EXPECT_FALSE(dialog.Options().Survey.Battery);
    dialog.BatteryCheck->setChecked(true);
    EXPECT_EQ(dialog.Options().Survey.Battery, stored);
}

// The capacity sheet's box: off and disabled without new loads; with the loads kept for the
// Survey window, checked, the document is the one page of the sheet.
TEST(TSurveyReportDialogTest, TheCapacitySheetBoxPrintsTheSheetAlone) {
    ClearSettings();
    GeneratorOptions o;
    o.entries = {22, 13};
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    ScratchFolder scratch;
    ProgramPrintSetup().Printer().setOutputFormat(QPrinter::PdfFormat);
    PlainPrintInteraction interaction(QString::fromStdString(scratch / "r.pdf"));
    SetProgramInteraction(&interaction);
    for (const bool loads : {false, true}) {
        SCOPED_TRACE(loads);
        CapacityInputs inputs;
        if (loads)
            inputs.Loads = {{"Heat pump", 20, LoadConnection::A, true, false}};
        StoreCapacityInputs(inputs);
        ModalDriver driver({[&](QWidget* w) {
            auto* dialog = qobject_cast<TSurveyReportDialog*>(w);
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->CapacitySheetCheck->isEnabled(), loads);
            dialog->WithItemsCheck->setChecked(true);
            dialog->CapacitySheetCheck->setChecked(true);
            EXPECT_EQ(dialog->Options().CapacitySheet, loads);
            EXPECT_EQ(dialog->Options().WithItems, !loads);
            dialog->OKButton()->click();
        }});
        EXPECT_TRUE(RunSurveyReport(nullptr, db));
        const std::vector<std::string> pages = PdfPageTexts(scratch / "r.pdf");
        ASSERT_FALSE(pages.empty());
        EXPECT_EQ(pages.size() == 1, loads) << pages.size();
        EXPECT_EQ(pages[0].find("Capacity sheet") != std::string::npos, loads) << pages[0];
    }
    SetProgramInteraction(nullptr);
}

} // namespace
