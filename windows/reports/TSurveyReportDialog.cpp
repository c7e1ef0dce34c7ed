#include "windows/reports/TSurveyReportDialog.h"

#include "database/LDatabase.h"
#include "printing/LayoutPrinter.h"
#include "windows/shell/Help.h"
#include "windows/shell/TTariffFileBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>

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
    TariffBox = new TTariffFileBox(panel);
    EnergyRateEdit = NumberEdit(panel, SurveySetting::EnergyRate);
    DemandRateEdit = NumberEdit(panel, SurveySetting::DemandRate);
    FixedMonthlyEdit = NumberEdit(panel, SurveySetting::FixedMonthly);
    TargetPowerFactorEdit = NumberEdit(panel, SurveySetting::TargetPowerFactor);
    BankStepEdit = NumberEdit(panel, SurveySetting::BankStep);
    BankPriceEdit = NumberEdit(panel, SurveySetting::BankPrice);
    TitleEdit = new QLineEdit(panel);
    TitleEdit->setPlaceholderText(QString::fromLatin1(DefaultReportTitle));
    EngineerEdit = new QLineEdit(panel);
    CompanyEdit = new QLineEdit(panel);
    RemarksEdit = new QPlainTextEdit(panel);
    RemarksEdit->setTabChangesFocus(true);
    RemarksEdit->setPlaceholderText(QStringLiteral("Printed on the first page as written"));
    RemarksEdit->setFixedHeight(RemarksEdit->fontMetrics().lineSpacing() * 5);
    WithItemsCheck =
        new QCheckBox(QStringLiteral("Include the database's tables and charts"), panel);
    BatteryCheck = new QCheckBox(
        QStringLiteral("Include the batter&y study (the Survey window's battery settings)"), panel);
    CapacitySheetCheck =
        new QCheckBox(QStringLiteral("Only the capacity s&heet of the new loads"), panel);
    CapacitySheetCheck->setObjectName(QStringLiteral("CapacitySheetCheck"));
    const std::pair<SurveySetting, QWidget*> rows[] = {
        {SurveySetting::BlockMinutes, BlockMinutesBox},
        {SurveySetting::Rating, RatingEdit},
        {SurveySetting::Nominal, NominalEdit},
        {SurveySetting::Threshold, ThresholdEdit},
        {SurveySetting::Tariff, TariffBox},
        {SurveySetting::EnergyRate, EnergyRateEdit},
        {SurveySetting::DemandRate, DemandRateEdit},
        {SurveySetting::FixedMonthly, FixedMonthlyEdit},
        {SurveySetting::TargetPowerFactor, TargetPowerFactorEdit},
        {SurveySetting::BankStep, BankStepEdit},
        {SurveySetting::BankPrice, BankPriceEdit}};
    for (const auto& [setting, field] : rows)
        form->addRow(SurveySettingLabel(setting, field, panel), field);
    form->addRow(QStringLiteral("T&itle"), TitleEdit);
    form->addRow(QStringLiteral("En&gineer"), EngineerEdit);
    form->addRow(QStringLiteral("&Company"), CompanyEdit);
    form->addRow(QStringLiteral("Re&marks"), RemarksEdit);
    form->addRow(WithItemsCheck);
    form->addRow(BatteryCheck);
    form->addRow(CapacitySheetCheck);
    // The sheet is one page: the database's items do not go with it.
    connect(CapacitySheetCheck, &QCheckBox::toggled, WithItemsCheck,
            [this](bool sheet) { WithItemsCheck->setEnabled(!sheet); });
    connect(TariffBox, &TTariffFileBox::Changed, this, &TSurveyReportDialog::TariffChanged);
    SetOptions({});
}

void TSurveyReportDialog::SetOptions(const SurveyReportOptions& options) {
    given_ = options;
    const int index = BlockMinutesBox->findData(options.Survey.BlockMinutes);
    BlockMinutesBox->setCurrentIndex(index < 0 ? 2 : index);
    RatingEdit->setText(SurveySettingText(options.Survey.RatingAmps));
    NominalEdit->setText(SurveySettingText(options.Survey.NominalVolts));
    ThresholdEdit->setText(ThresholdText(options.Survey.ThresholdWatts));
    TargetPowerFactorEdit->setText(SurveySettingText(options.Survey.TargetPowerFactor));
    BankStepEdit->setText(SurveySettingText(options.Survey.BankStepVar / 1000));
    BankPriceEdit->setText(SurveySettingText(options.Survey.BankPricePerKvar));
    TitleEdit->setText(options.Title);
    EngineerEdit->setText(options.Author.Engineer);
    CompanyEdit->setText(options.Author.Company);
    RemarksEdit->setPlainText(options.Author.Remarks);
    WithItemsCheck->setChecked(options.WithItems);
    BatteryCheck->setChecked(options.Survey.Battery.has_value());
    const bool loads = !options.Survey.Capacity.Loads.empty();
    CapacitySheetCheck->setEnabled(loads);
    CapacitySheetCheck->setToolTip(
        loads ? QString()
              : QStringLiteral("Give the new loads on the New loads page of the Survey window."));
    CapacitySheetCheck->setChecked(loads && options.CapacitySheet);
}

SurveyReportOptions TSurveyReportDialog::Options() const {
    // What the dialog does not show (the range) stays as it was given.
    SurveyReportOptions options = given_;
    options.Survey.BlockMinutes = BlockMinutesBox->currentData().toInt();
    options.Survey.RatingAmps = ParseSurveySetting(RatingEdit->text(), SurveySetting::Rating);
    options.Survey.NominalVolts = ParseSurveySetting(NominalEdit->text(), SurveySetting::Nominal);
    options.Survey.ThresholdWatts = ParseThreshold(ThresholdEdit->text());
    options.Survey.TargetPowerFactor =
        ParseSurveySetting(TargetPowerFactorEdit->text(), SurveySetting::TargetPowerFactor)
            .value_or(DefaultTargetPowerFactor);
    options.Survey.BankStepVar = ParseSurveySetting(BankStepEdit->text(), SurveySetting::BankStep)
                                     .value_or(DefaultBankStepVar / 1000) *
                                 1000;
    options.Survey.BankPricePerKvar =
        ParseSurveySetting(BankPriceEdit->text(), SurveySetting::BankPrice);
    options.Survey.CostTariff = ChosenTariff(Tariff(), options.Survey.TariffError);
    options.Title = TitleEdit->text().trimmed();
    options.Author = {EngineerEdit->text().trimmed(), CompanyEdit->text().trimmed(),
                      RemarksEdit->toPlainText()};
    options.CapacitySheet = CapacitySheetCheck->isEnabled() && CapacitySheetCheck->isChecked();
    options.WithItems = WithItemsCheck->isChecked() && !options.CapacitySheet;
    options.Survey.Battery.reset();
    if (BatteryCheck->isChecked())
        options.Survey.Battery = given_.Survey.Battery.value_or(StoredBatteryOptions());
    return options;
}

void TSurveyReportDialog::SetTariff(const TariffChoice& tariff) {
    TariffBox->SetFile(tariff.File);
    EnergyRateEdit->setText(SurveySettingText(tariff.EnergyRate));
    DemandRateEdit->setText(SurveySettingText(tariff.DemandRate));
    FixedMonthlyEdit->setText(SurveySettingText(tariff.FixedMonthly));
    TariffChanged();
}

TariffChoice TSurveyReportDialog::Tariff() const {
    TariffChoice choice;
    choice.File = TariffBox->File();
    choice.EnergyRate = ParseSurveySetting(EnergyRateEdit->text(), SurveySetting::EnergyRate);
    choice.DemandRate = ParseSurveySetting(DemandRateEdit->text(), SurveySetting::DemandRate);
    choice.FixedMonthly = ParseSurveySetting(FixedMonthlyEdit->text(), SurveySetting::FixedMonthly);
    return choice;
}

void TSurveyReportDialog::TariffChanged() {
    // A tariff file's rates are its own.
    for (QLineEdit* rate : {EnergyRateEdit, DemandRateEdit, FixedMonthlyEdit})
        rate->setEnabled(TariffBox->File().isEmpty());
}

bool RunSurveyReport(QWidget* window, LDatabase& db) {
    // The survey's settings are the user's, shared with the Survey window; the title and the
    // items are kept for the run.
    static SurveyReportOptions last;
    if (!db.Open() || Printing())
        return false;
    TSurveyReportDialog dialog(window);
    const bool battery = last.Survey.Battery.has_value();
    last.Survey = StoredSurveyOptions();
    if (battery)
        last.Survey.Battery = StoredBatteryOptions();
    last.Author = StoredReportAuthor();
    dialog.SetOptions(last);
    dialog.SetTariff(StoredTariffChoice());
    if (!dialog.ExecuteFor(window))
        return false;
    last = dialog.Options();
    StoreSurveyOptions(last.Survey);
    StoreTariffChoice(dialog.Tariff());
    StoreReportAuthor(last.Author);
    return PrintSurveyReport(ProgramPrintSetup(), ProgramInteraction(), db, last).Printed;
}
