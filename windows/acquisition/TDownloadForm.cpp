#include "windows/acquisition/TDownloadForm.h"

#include "ui_TDownloadForm.h"
#include "windows/shell/Help.h"

#include <QMessageBox>

#include <algorithm>

TDownloadForm::TDownloadForm(QWidget* parent, const DAQTimings& timings)
    : QDialog(parent), Form(std::make_unique<Ui::TDownloadForm>()), Engine(timings) {
    SetHelpTopic(this, "download");
    Form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    connect(Form->CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    Engine.SetOnDownloadStat(
        [this](int received, int total, float rate) { DownloadStat(received, total, rate); });
    Engine.SetOnRequestCompleted(
        [this](ReqStat outcome, int errorCode) { RequestCompleted(outcome, errorCode); });
}

TDownloadForm::~TDownloadForm() = default;

bool TDownloadForm::StartDownload(int portIndex, int baudIndex, std::string* destination) {
    const int port = PortNumbers.at(static_cast<size_t>(portIndex));
    const int rate = BaudRates.at(static_cast<size_t>(baudIndex));
    Form->ComLabel->setText(QStringLiteral("COM%1").arg(port));
    Form->BaudLabel->setText(QString::number(rate));
    Form->StatusLabel->setText(QStringLiteral("Opening port..."));
    FirstStatistics = true;
    DownloadStat(0, 0, 0);
    FirstStatistics = true;
    setResult(QDialog::Rejected);
    // The engine appends to what it is given: a download starts from nothing.
    destination->clear();
    Destination = destination;
    if (!Engine.Download(port, rate, destination)) {
        RequestCompleted(ReqStat::rsFailed, 0);
        return false;
    }
    Form->StatusLabel->setText(QStringLiteral("Detecting device on port"));
    exec();
    Destination = nullptr;
    return result() == QDialog::Accepted;
}

void TDownloadForm::CancelButtonClick() {
    Form->StatusLabel->setText(QStringLiteral("Cancelling..."));
    Engine.Cancel();
}

void TDownloadForm::DownloadStat(int bytesReceived, int bytesTotal, float rate) {
    if (FirstStatistics) {
        Form->StatusLabel->setText(QStringLiteral("Downloading..."));
        Form->TotalLabel->setText(QString::number(bytesTotal / 1024.0, 'f', 1));
        // A bar with an empty range would turn into a busy indicator.
        Form->DownloadProgress->setRange(0, std::max(bytesTotal, 1));
        FirstStatistics = false;
    }
    Form->ReceivedLabel->setText(QString::number(bytesReceived / 1024.0, 'f', 1));
    Form->ThroughputLabel->setText(QString::number(static_cast<double>(rate), 'f', 2));
    // Later totals are ignored, so the received count may run past the bar's end.
    Form->DownloadProgress->setValue(
        std::clamp(bytesReceived, 0, Form->DownloadProgress->maximum()));
}

void TDownloadForm::RequestCompleted(ReqStat outcome, int errorCode) {
    if (outcome == ReqStat::rsOk) {
        Form->StatusLabel->setText(QStringLiteral("Download successful"));
        done(QDialog::Accepted);
        return;
    }
    // Whatever arrived before the failure is no recording.
    if (Destination)
        Destination->clear();
    if (outcome == ReqStat::rsFailed)
        QMessageBox::critical(this, QStringLiteral("Error"), DownloadErrorText(errorCode));
    else if (outcome == ReqStat::rsCancelled)
        Form->StatusLabel->setText(QStringLiteral("Download cancelled"));
    done(QDialog::Rejected);
}

QString DownloadErrorText(int errorCode) {
    switch (errorCode) {
    case ErrorNoStartAnswer:
        return QStringLiteral("The device is not ready for transmission.");
    case ErrorDataCorrupted:
        return QStringLiteral("The data device is sending is corrupted.");
    case ErrorTransferInterrupted:
        return QStringLiteral("The transmission has been interrupted.");
    default:
        return QStringLiteral("Other error.");
    }
}

QLabel* TDownloadForm::StatusLabel() const {
    return Form->StatusLabel;
}
QLabel* TDownloadForm::ReceivedLabel() const {
    return Form->ReceivedLabel;
}
QLabel* TDownloadForm::TotalLabel() const {
    return Form->TotalLabel;
}
QLabel* TDownloadForm::ThroughputLabel() const {
    return Form->ThroughputLabel;
}
QLabel* TDownloadForm::ComLabel() const {
    return Form->ComLabel;
}
QLabel* TDownloadForm::BaudLabel() const {
    return Form->BaudLabel;
}
QProgressBar* TDownloadForm::DownloadProgress() const {
    return Form->DownloadProgress;
}
QPushButton* TDownloadForm::CancelButton() const {
    return Form->CancelButton;
}

void TDownloadForm::reject() {
    CancelButtonClick();
}
