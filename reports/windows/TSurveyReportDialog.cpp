#include "reports/windows/TSurveyReportDialog.h"

#include "database/LDatabase.h"
#include "printing/LayoutPrinter.h"
#include "shell/Help.h"
#include "shell/SurveySettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>

namespace {

constexpr int BlockMinutes[] = {5, 10, 15, 30, 60};

QLineEdit* NumberEdit(QWidget* parent, SurveySetting setting) {
    auto* edit = new QLineEdit(parent);
    edit->setPlaceholderText(SurveySettingPlaceholder(setting));
    return edit;
}

} // namespace

TSurveyReportDialog::TSurveyReportDialog(QWidget* parent) : TStandardDialog(parent) {
    setWindowTitle(QStringLiteral("Survey report"));
    SetHelpTopic(this, "surveyreport");
    QWidget* panel = ContentPanel();
    auto* form = new QFormLayout(panel);
    BlockMinutesBox = new QComboBox(panel);
    for (const int minutes : BlockMinutes)
        BlockMinutesBox->addItem(QString::number(minutes), minutes);
    RatingEdit = NumberEdit(panel, SurveySetting::Rating);
    NominalEdit = NumberEdit(panel, SurveySetting::Nominal);
    ThresholdEdit = NumberEdit(panel, SurveySetting::Threshold);
    TitleEdit = new QLineEdit(panel);
    TitleEdit->setPlaceholderText(QString::fromLatin1(DefaultReportTitle));
    WithItemsCheck =
        new QCheckBox(QStringLiteral("Include the database's tables and charts"), panel);
    form->addRow(SurveySettingCaption(SurveySetting::BlockMinutes), BlockMinutesBox);
    form->addRow(SurveySettingCaption(SurveySetting::Rating), RatingEdit);
    form->addRow(SurveySettingCaption(SurveySetting::Nominal), NominalEdit);
    form->addRow(SurveySettingCaption(SurveySetting::Threshold), ThresholdEdit);
    form->addRow(QStringLiteral("T&itle"), TitleEdit);
    form->addRow(WithItemsCheck);
    SetOptions({});
}

void TSurveyReportDialog::SetOptions(const SurveyReportOptions& options) {
    given_ = options;
    const int index = BlockMinutesBox->findData(options.Survey.BlockMinutes);
    BlockMinutesBox->setCurrentIndex(index < 0 ? 2 : index);
    RatingEdit->setText(SurveySettingText(options.Survey.RatingAmps));
    NominalEdit->setText(SurveySettingText(options.Survey.NominalVolts));
    ThresholdEdit->setText(SurveySettingText(options.Survey.ThresholdWatts));
    TitleEdit->setText(options.Title);
    WithItemsCheck->setChecked(options.WithItems);
}

SurveyReportOptions TSurveyReportDialog::Options() const {
    // What the dialog does not show (the range, the tariff) stays as it was given.
    SurveyReportOptions options = given_;
    options.Survey.BlockMinutes = BlockMinutesBox->currentData().toInt();
    options.Survey.RatingAmps = ParseSurveySetting(RatingEdit->text(), SurveySetting::Rating);
    options.Survey.NominalVolts = ParseSurveySetting(NominalEdit->text(), SurveySetting::Nominal);
    options.Survey.ThresholdWatts =
        ParseSurveySetting(ThresholdEdit->text(), SurveySetting::Threshold);
    options.Title = TitleEdit->text().trimmed();
    options.WithItems = WithItemsCheck->isChecked();
    return options;
}

bool RunSurveyReport(QWidget* window, LDatabase& db) {
    // The survey's settings are the user's, shared with the Survey window; the title and the
    // items are kept for the run.
    static SurveyReportOptions last;
    TLayoutPrinter& printer = LayoutPrinter();
    if (!db.Open() || printer.Printing())
        return false;
    TSurveyReportDialog dialog(window);
    last.Survey = StoredSurveyOptions();
    dialog.SetOptions(last);
    if (!dialog.ExecuteFor(window))
        return false;
    last = dialog.Options();
    StoreSurveyOptions(last.Survey);
    return PrintSurveyReport(printer, db, last);
}
