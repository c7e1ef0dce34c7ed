#include "reports/windows/TSurveyReportDialog.h"

#include "database/LDatabase.h"
#include "printing/LayoutPrinter.h"
#include "shell/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>

namespace {

constexpr int BlockMinutes[] = {5, 10, 15, 30, 60};

QLineEdit* NumberEdit(QWidget* parent, double bottom) {
    auto* edit = new QLineEdit(parent);
    auto* validator = new QDoubleValidator(bottom, 1e9, 3, edit);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
    edit->setPlaceholderText(QStringLiteral("unset"));
    return edit;
}

QString NumberText(const std::optional<double>& value) {
    return value ? QString::number(*value) : QString();
}

std::optional<double> NumberOf(const QLineEdit* edit, bool positive) {
    bool ok = false;
    const double value = edit->text().trimmed().toDouble(&ok);
    if (!ok || (positive && value <= 0))
        return std::nullopt;
    return value;
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
    RatingEdit = NumberEdit(panel, 0);
    NominalEdit = NumberEdit(panel, 0);
    ThresholdEdit = NumberEdit(panel, -1e9);
    TitleEdit = new QLineEdit(panel);
    TitleEdit->setPlaceholderText(QString::fromLatin1(DefaultReportTitle));
    WithItemsCheck =
        new QCheckBox(QStringLiteral("Include the database's tables and charts"), panel);
    form->addRow(QStringLiteral("Block (minutes):"), BlockMinutesBox);
    form->addRow(QStringLiteral("Rating (A):"), RatingEdit);
    form->addRow(QStringLiteral("Nominal (V):"), NominalEdit);
    form->addRow(QStringLiteral("Threshold (W):"), ThresholdEdit);
    form->addRow(QStringLiteral("Title:"), TitleEdit);
    form->addRow(WithItemsCheck);
    SetOptions({});
}

void TSurveyReportDialog::SetOptions(const SurveyReportOptions& options) {
    const int index = BlockMinutesBox->findData(options.Survey.BlockMinutes);
    BlockMinutesBox->setCurrentIndex(index < 0 ? 2 : index);
    RatingEdit->setText(NumberText(options.Survey.RatingAmps));
    NominalEdit->setText(NumberText(options.Survey.NominalVolts));
    ThresholdEdit->setText(NumberText(options.Survey.ThresholdWatts));
    TitleEdit->setText(options.Title);
    WithItemsCheck->setChecked(options.WithItems);
}

SurveyReportOptions TSurveyReportDialog::Options() const {
    SurveyReportOptions options;
    options.Survey.BlockMinutes = BlockMinutesBox->currentData().toInt();
    options.Survey.RatingAmps = NumberOf(RatingEdit, false);
    options.Survey.NominalVolts = NumberOf(NominalEdit, true);
    options.Survey.ThresholdWatts = NumberOf(ThresholdEdit, false);
    options.Title = TitleEdit->text().trimmed();
    options.WithItems = WithItemsCheck->isChecked();
    return options;
}

bool RunSurveyReport(QWidget* window, LDatabase& db) {
    static SurveyReportOptions last;
    TLayoutPrinter& printer = LayoutPrinter();
    if (!db.Open() || printer.Printing())
        return false;
    TSurveyReportDialog dialog(window);
    dialog.SetOptions(last);
    if (!dialog.ExecuteFor(window))
        return false;
    last = dialog.Options();
    return PrintSurveyReport(printer, db, last);
}
