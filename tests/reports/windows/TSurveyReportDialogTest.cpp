// The report's dialog shows the survey settings the Survey window keeps, under its captions,
// and keeps what is changed in it for the window.
#include "reports/windows/TSurveyReportDialog.h"
#include "shell/SurveySettings.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"
#include "tests/tables/TablesTestSupport.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
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
    EXPECT_EQ(shown, (QStringList{"30", "100", "230", "25,000"}));
    for (SurveySetting s : {SurveySetting::BlockMinutes, SurveySetting::Rating,
                            SurveySetting::Nominal, SurveySetting::Threshold})
        EXPECT_TRUE(captions.contains(SurveySettingCaption(s))) << captions.join('|').toStdString();
    // Cancelled: the store is as it was.
    EXPECT_EQ(StoredSurveyOptions().RatingAmps, 100);
    QLocale::setDefault(QLocale::system());
}

} // namespace
