#pragma once

#include "acquisition/TVroDAQ.h"
#include "windows/shell/PortConfiguration.h"
#include "windows/shell/TStandardDialog.h"

#include <memory>
#include <string>

class QPushButton;
namespace Ui {
class TNewSessionDialog;
}

// The "New Recording" dialog: explains what the instrument must be ready for, keeps the port
// configuration (read from the settings store once, when the dialog is made), and on OK
// finds the instrument and downloads its recording into the caller's text. Execute is true
// exactly when that text holds a complete download; when nothing is found the dialog stays
// open for another try.
class TNewSessionDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TNewSessionDialog(QWidget* parent = nullptr);
    ~TNewSessionDialog() override;

    // Where the download goes; set before every Execute (which refuses without one).
    void SetDestination(std::string* destination) { Destination = destination; }
    const PortConfiguration& PortConfig() const { return Config; }

    // The engine's waits and the scan's pace, for the windows OK creates; tests shorten them.
    void SetTimings(const DAQTimings& timings, int scanTickMs);

    // Settings: edit the port configuration in the Manual Configuration dialog.
    void ManualButtonClick();
    // Find the instrument, download, and close with the download's outcome.
    void OKButtonClick();
    void SavePortConfig();

    QPushButton* SettingsButton() const { return ManualButton; }

    void Init() override;

private:
    void ShowNothingFound();

    std::unique_ptr<Ui::TNewSessionDialog> Form;
    QPushButton* ManualButton = nullptr;
    PortConfiguration Config;
    std::string* Destination = nullptr;
    DAQTimings Timings;
    int ScanTickMs = 500;
};

// The dialog made at start-up, or one made now if there is none yet.
TNewSessionDialog& NewSessionDialog();
