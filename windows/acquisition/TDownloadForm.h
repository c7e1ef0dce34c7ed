#pragma once

#include "acquisition/TVroDAQ.h"

#include <QDialog>

#include <memory>
#include <string>

class QLabel;
class QProgressBar;
class QPushButton;
namespace Ui {
class TDownloadForm;
}

// The "Download" window: runs one transfer with an engine of its own and shows its progress
// in kB and kB/s. Cancel (or Escape) asks the engine to stop; the window stays until the
// engine has finished, and then closes by itself.
class TDownloadForm : public QDialog {
    Q_OBJECT

public:
    explicit TDownloadForm(QWidget* parent = nullptr, const DAQTimings& timings = {});
    ~TDownloadForm() override;

    // Shows the window until the transfer has ended. True (the OK result) when destination
    // holds the recording; otherwise destination is left empty.
    bool StartDownload(int portIndex, int baudIndex, std::string* destination);
    void CancelButtonClick();

    // The engine's events.
    void DownloadStat(int bytesReceived, int bytesTotal, float rate);
    void RequestCompleted(ReqStat outcome, int errorCode);

    QLabel* StatusLabel() const;
    QLabel* ReceivedLabel() const;
    QLabel* TotalLabel() const;
    QLabel* ThroughputLabel() const;
    QLabel* ComLabel() const;
    QLabel* BaudLabel() const;
    QProgressBar* DownloadProgress() const;
    QPushButton* CancelButton() const;

protected:
    // Escape and the window manager's close mean Cancel; the window does not close on them.
    void reject() override;

private:
    std::unique_ptr<Ui::TDownloadForm> Form;
    TVroDAQ Engine;
    bool FirstStatistics = true;
    std::string* Destination = nullptr;
};

// The message of a failed transfer, by the engine's error code.
QString DownloadErrorText(int errorCode);
