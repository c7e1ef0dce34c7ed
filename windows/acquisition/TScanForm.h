#pragma once

#include "acquisition/DeviceScan.h"

#include <QDialog>

#include <memory>

class QLabel;
namespace Ui {
class TScanForm;
}

// The "Detecting" window: looks for the instrument with a single test of one port and rate,
// or with an autoscan of every port, showing what it tries. It closes itself when done and
// leaves its findings for the New Recording dialog. The close box ends a start at once with
// what was found so far.
class TScanForm : public QDialog {
    Q_OBJECT

public:
    // tickMs paces the tests (the instrument's own pace is 500 ms); tests shorten it.
    explicit TScanForm(QWidget* parent = nullptr, const DAQTimings& timings = {}, int tickMs = 500);
    ~TScanForm() override;

    // Both return when the window has closed; a second start resets the findings.
    void StartManual(int portIndex, int baudIndex);
    void StartAutoscan();

    // Per port, the index of the rate at which an instrument answered, or -1.
    const std::array<int, PortNumbers.size()>& Results() const { return Scan.Results(); }
    int FoundCount() const { return Scan.FoundCount(); }
    std::optional<ScanFinding> LowestFound() const { return Scan.LowestFound(); }

    QLabel* StatusLabel() const;

protected:
    void reject() override;

private:
    void Start();

    std::unique_ptr<Ui::TScanForm> Form;
    DeviceScan Scan;
};
