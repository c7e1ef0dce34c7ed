#pragma once

#include "acquisition/TVroDAQ.h"
#include "windows/shell/TStandardDialog.h"

#include <QStringList>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
namespace Ui {
class TManualConfigDialog;
}

// The port, the baud rate and the autoscan switch, edited for the New Recording dialog, which
// fills the controls before Execute and reads them back after. Each COM port also has its
// device path here ("Device": empty for the default /dev/ttyS<n-1>), offered from the serial
// devices present and stored by Apply.
class TManualConfigDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TManualConfigDialog(QWidget* parent = nullptr);
    ~TManualConfigDialog() override;

    // List positions are the indexes into PortNumbers and BaudRates.
    QComboBox* PortComboBox() const;
    QComboBox* RateComboBox() const;
    QCheckBox* AutoCheckBox() const;
    // The device path of the port chosen in PortComboBox.
    QComboBox* DeviceComboBox() const;

    // Init offers the devices present and shows the stored paths; Apply stores the paths
    // that changed.
    void Init() override;
    void Apply() override;

private:
    void ShowDeviceOf(int portIndex);

    std::unique_ptr<Ui::TManualConfigDialog> Form;
    std::array<QString, PortNumbers.size()> Devices;
    std::array<QString, PortNumbers.size()> StoredDevices;
    int ShownPort = -1;
};

// The dialog made at start-up, or one made now if there is none yet.
TManualConfigDialog& ManualConfigDialog();

// The serial devices under root (normally /dev) a user may mean: the stable names in
// serial/by-id first, then USB adapters, modems and built-in ports, in natural order.
QStringList SerialDevicesPresent(const QString& root = QStringLiteral("/dev"));

// The "COMn Device" value of the settings store, which the port layer reads; empty when none.
QString StoredComDevice(int port);
// An empty path removes the value, so that the port's default applies again.
void StoreComDevice(int port, const QString& path);
