#include "windows/acquisition/TNewSessionDialog.h"

#include "model/ErrorReport.h"
#include "ui_TNewSessionDialog.h"
#include "windows/acquisition/TDownloadForm.h"
#include "windows/acquisition/TManualConfigurationDialog.h"
#include "windows/acquisition/TScanForm.h"
#include "windows/shell/Help.h"
#include "windows/shell/WindowInstance.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

TNewSessionDialog::TNewSessionDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TNewSessionDialog>()),
      Config(PortConfiguration::Load(static_cast<int32_t>(PortNumbers.size()),
                                     static_cast<int32_t>(BaudRates.size()))) {
    SetHelpTopic(this, "download");
    SetupContent(*Form);
    // OK decides for itself whether the dialog closes, and how.
    disconnect(OKButton(), &QPushButton::clicked, this, nullptr);
    connect(OKButton(), &QPushButton::clicked, this, [this] { OKButtonClick(); });

    ManualButton = new QPushButton(QStringLiteral("Settings"), OKButton()->parentWidget());
    ManualButton->setObjectName(QStringLiteral("ManualButton"));
    ManualButton->setMinimumSize(75, 25);
    ManualButton->setAutoDefault(false);
    if (auto* buttons = qobject_cast<QBoxLayout*>(OKButton()->parentWidget()->layout()))
        buttons->insertWidget(0, ManualButton);
    connect(ManualButton, &QPushButton::clicked, this, [this] { ManualButtonClick(); });
    WindowInstance<TNewSessionDialog>::Register(this);
}

TNewSessionDialog::~TNewSessionDialog() = default;

void TNewSessionDialog::SetTimings(const DAQTimings& timings, int scanTickMs) {
    Timings = timings;
    ScanTickMs = scanTickMs;
}

void TNewSessionDialog::Init() {
    if (!Destination)
        ShowErrorAndRaise("TNewSessionDialog::Execute", "No destination for the download");
}

void TNewSessionDialog::ManualButtonClick() {
    TManualConfigDialog& manual = ManualConfigDialog();
    manual.PortComboBox()->setCurrentIndex(Config.PortIndex);
    manual.RateComboBox()->setCurrentIndex(Config.BaudRateIndex);
    manual.AutoCheckBox()->setChecked(Config.EnableAutoscan);
    if (!manual.Execute())
        return;
    Config.PortIndex = manual.PortComboBox()->currentIndex();
    Config.BaudRateIndex = manual.RateComboBox()->currentIndex();
    Config.EnableAutoscan = manual.AutoCheckBox()->isChecked();
    SavePortConfig();
}

void TNewSessionDialog::OKButtonClick() {
    if (!Destination)
        return;
    std::optional<ScanFinding> found;
    {
        TScanForm scan(this, Timings, ScanTickMs);
        scan.StartManual(Config.PortIndex, Config.BaudRateIndex);
        if (scan.FoundCount() == 0 && Config.EnableAutoscan)
            scan.StartAutoscan();
        found = scan.LowestFound();
    }
    if (!found) {
        ShowNothingFound();
        return;
    }
    Config.PortIndex = found->portIndex;
    Config.BaudRateIndex = found->baudIndex;
    TDownloadForm download(this, Timings);
    // Where the instrument answered is remembered even if the transfer then fails.
    SavePortConfig();
    const bool downloaded =
        download.StartDownload(Config.PortIndex, Config.BaudRateIndex, Destination);
    done(downloaded ? QDialog::Accepted : QDialog::Rejected);
}

void TNewSessionDialog::SavePortConfig() {
    Config.Save();
}

void TNewSessionDialog::ShowNothingFound() {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"),
                    QStringLiteral("No devices were found.  Make sure that the device is ready "
                                   "for transmission.\nFor more information click on Help "
                                   "button."),
                    QMessageBox::Ok, this);
    // Help opens the topic and leaves the warning up, as the OK button is the way out.
    QPushButton* help = box.addButton(QMessageBox::Help);
    disconnect(help, &QPushButton::clicked, nullptr, nullptr);
    connect(help, &QPushButton::clicked, &box,
            [&box] { ShowHelpTopic(QStringLiteral("100"), &box); });
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

TNewSessionDialog& NewSessionDialog() {
    return WindowInstance<TNewSessionDialog>::Get();
}
