#include "windows/analysis/TCompareDialog.h"

#include "analysis/Survey.h"
#include "analysis/SurveyFindingsText.h"
#include "database/LDatabase.h"
#include "database/RecordingFile.h"
#include "windows/analysis/TRangePicker.h"
#include "windows/shell/Help.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TTariffFileBox.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString AskForFile(QWidget* parent) {
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("Compare with"), QString(),
        QStringLiteral("Vireo Zure files (*.vro *.bin);;All Files (*)"));
}

// The picker over the time base of a recording's power series.
void ShowRecording(TRangePicker& picker, const LDatabase& db) {
    const SurveySeries series(db.Parameters(), std::nullopt);
    const auto& power = series.Power();
    if (!power) {
        picker.SetUnavailable(QStringLiteral("No power series"));
        return;
    }
    picker.SetRecording(SecondsToDays(power->Seconds(0)), power->Rate, power->Count);
}

} // namespace

TCompareDialog::TCompareDialog(const LDatabase& open, QWidget* parent)
    : TStandardDialog(parent), open_(open), askFile_(AskForFile),
      fileButton_(new QRadioButton(QStringLiteral("A &database file:"))),
      openButton_(new QRadioButton(QStringLiteral("The open recording, another &range"))),
      fileEdit_(new QLineEdit), browse_(new QPushButton(QStringLiteral("&Browse..."))),
      side_(new QComboBox), before_(new TRangePicker(QStringLiteral("Before"))),
      after_(new TRangePicker(QStringLiteral("After"))), minutes_(new QComboBox),
      tariff_(new TTariffFileBox), energyRate_(new QLineEdit), demandRate_(new QLineEdit),
      fixedMonthly_(new QLineEdit), tariffError_(new QLabel) {
    SetHelpTopic(this, "compare");
    setWindowTitle(QStringLiteral("Compare"));
    OKButton()->setText(QStringLiteral("Compare"));
    fileButton_->setObjectName(QStringLiteral("FileButton"));
    openButton_->setObjectName(QStringLiteral("OpenButton"));
    side_->setObjectName(QStringLiteral("SideBox"));
    minutes_->setObjectName(QStringLiteral("BlockMinutesBox"));
    before_->setObjectName(QStringLiteral("BeforePicker"));
    after_->setObjectName(QStringLiteral("AfterPicker"));
    fileEdit_->setReadOnly(true);
    fileEdit_->setMinimumWidth(360);

    auto* layout = new QVBoxLayout(ContentPanel());
    auto* other = new QGroupBox(QStringLiteral("Compare the open recording with"));
    auto* otherLayout = new QVBoxLayout(other);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileButton_);
    fileRow->addWidget(fileEdit_, 1);
    fileRow->addWidget(browse_);
    otherLayout->addLayout(fileRow);
    otherLayout->addWidget(openButton_);
    layout->addWidget(other);

    auto* form = new QFormLayout;
    side_->addItems({QStringLiteral("before the change"), QStringLiteral("after the change")});
    form->addRow(QStringLiteral("The open recording is from"), side_);
    for (int minutes : {5, 10, 15, 30, 60})
        minutes_->addItem(QString::number(minutes), minutes);
    minutes_->setCurrentIndex(std::max(0, minutes_->findData(StoredSurveyOptions().BlockMinutes)));
    form->addRow(SurveySettingCaption(SurveySetting::BlockMinutes), minutes_);
    tariff_->setObjectName(QStringLiteral("TariffBox"));
    form->addRow(SurveySettingLabel(SurveySetting::Tariff, tariff_, this), tariff_);
    // The rates in one row, without the underlined letters the pickers and files use here.
    auto* rates = new QHBoxLayout;
    const std::pair<QLineEdit*, SurveySetting> edits[] = {
        {energyRate_, SurveySetting::EnergyRate},
        {demandRate_, SurveySetting::DemandRate},
        {fixedMonthly_, SurveySetting::FixedMonthly}};
    for (const auto& [edit, setting] : edits) {
        edit->setPlaceholderText(SurveySettingPlaceholder(setting));
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 9);
        auto* label = new QLabel(SurveySettingCaption(setting).remove(QLatin1Char('&')));
        label->setBuddy(edit);
        rates->addWidget(label);
        rates->addWidget(edit);
        rates->addSpacing(6);
        connect(edit, &QLineEdit::textChanged, this, [this] { UpdateTariff(); });
    }
    energyRate_->setObjectName(QStringLiteral("EnergyRateEdit"));
    demandRate_->setObjectName(QStringLiteral("DemandRateEdit"));
    fixedMonthly_->setObjectName(QStringLiteral("FixedMonthlyEdit"));
    rates->addStretch(1);
    form->addRow(QString(), rates);
    tariffError_->setObjectName(QStringLiteral("TariffErrorLabel"));
    tariffError_->setWordWrap(true);
    tariffError_->setStyleSheet(QStringLiteral("color: #c02020"));
    form->addRow(QString(), tariffError_);
    layout->addLayout(form);
    for (TRangePicker* picker : {before_, after_}) {
        picker->setMinimumWidth(560);
        layout->addSpacing(6);
        layout->addWidget(picker);
    }

    openButton_->setChecked(true);
    connect(tariff_, &TTariffFileBox::Changed, this, [this] { UpdateTariff(); });
    SetTariff(StoredTariffChoice());
    connect(browse_, &QPushButton::clicked, this, &TCompareDialog::BrowseButtonClick);
    connect(fileButton_, &QRadioButton::toggled, this, [this] { UpdatePickers(); });
    connect(side_, &QComboBox::currentIndexChanged, this, [this] { UpdatePickers(); });
    UpdatePickers();
}

TCompareDialog::~TCompareDialog() = default;

bool TCompareDialog::SetOtherFile(const QString& fileName) {
    auto db = std::make_unique<LDatabase>();
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        OpenDatabaseOrRecording(*db, QFile::encodeName(fileName).toStdString());
        QApplication::restoreOverrideCursor();
    } catch (const std::exception& e) {
        QApplication::restoreOverrideCursor();
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"),
                        QString::fromStdString(e.what()), QMessageBox::Ok, this);
        box.exec();
        return false;
    }
    other_ = std::move(db);
    otherName_ = fileName;
    fileEdit_->setText(fileName);
    fileButton_->setChecked(true);
    UpdatePickers();
    return true;
}

void TCompareDialog::UseOpenRecording() {
    openButton_->setChecked(true);
}

void TCompareDialog::SetOpenIsBefore(bool before) {
    side_->setCurrentIndex(before ? 0 : 1);
}

bool TCompareDialog::OpenIsBefore() const {
    return side_->currentIndex() == 0;
}

bool TCompareDialog::OtherIsFile() const {
    return fileButton_->isChecked() && other_;
}

void TCompareDialog::BrowseButtonClick() {
    const QString name = askFile_(this);
    if (!name.isEmpty())
        SetOtherFile(name);
}

const LDatabase& TCompareDialog::Other() const {
    return OtherIsFile() ? *other_ : open_;
}

void TCompareDialog::UpdatePickers() {
    TRangePicker* open = OpenIsBefore() ? before_ : after_;
    TRangePicker* other = OpenIsBefore() ? after_ : before_;
    ShowRecording(*open, open_);
    ShowRecording(*other, Other());
    // Another range of one recording: its second half against its first, to start from.
    if (!OtherIsFile() && open->Available()) {
        const int32_t last = open->LastIndex(), middle = last / 2;
        before_->SetIndices(0, middle);
        after_->SetIndices(std::min(middle + 1, last), last);
    }
    UpdateOK();
}

void TCompareDialog::UpdateTariff() {
    // A tariff file's rates are its own.
    for (QLineEdit* rate : {energyRate_, demandRate_, fixedMonthly_})
        rate->setEnabled(tariff_->File().isEmpty());
    const QString error = tariff_->Error();
    tariffError_->setText(
        error.isEmpty() ? QString() : QString::fromStdString(TariffErrorText(error.toStdString())));
    tariffError_->setVisible(!error.isEmpty());
    UpdateOK();
}

void TCompareDialog::UpdateOK() {
    OKButton()->setEnabled((!fileButton_->isChecked() || other_) && tariff_->Error().isEmpty());
}

TariffChoice TCompareDialog::Tariff() const {
    TariffChoice choice;
    choice.File = tariff_->File();
    choice.EnergyRate = ParseSurveySetting(energyRate_->text(), SurveySetting::EnergyRate);
    choice.DemandRate = ParseSurveySetting(demandRate_->text(), SurveySetting::DemandRate);
    choice.FixedMonthly = ParseSurveySetting(fixedMonthly_->text(), SurveySetting::FixedMonthly);
    return choice;
}

void TCompareDialog::SetTariff(const TariffChoice& choice) {
    tariff_->SetFile(choice.File);
    energyRate_->setText(SurveySettingText(choice.EnergyRate));
    demandRate_->setText(SurveySettingText(choice.DemandRate));
    fixedMonthly_->setText(SurveySettingText(choice.FixedMonthly));
    UpdateTariff();
}

CompareOptions TCompareDialog::Options() const {
    CompareOptions options;
    const std::string open = open_.FileName();
    const std::string other = OtherIsFile() ? QFile::encodeName(otherName_).toStdString() : open;
    options.BeforeFile = OpenIsBefore() ? open : other;
    options.AfterFile = OpenIsBefore() ? other : open;
    if (before_->Available())
        options.BeforeRange = before_->Range();
    if (after_->Available())
        options.AfterRange = after_->Range();
    options.BlockMinutes = minutes_->currentData().toInt();
    std::string error;
    options.CostTariff = ChosenTariff(Tariff(), error);
    return options;
}

std::unique_ptr<LDatabase> TCompareDialog::TakeOtherDatabase() {
    if (!OtherIsFile())
        return nullptr;
    return std::move(other_);
}
