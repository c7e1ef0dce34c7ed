#include "tests/support/EventLoop.h"
#include "tests/support/WindowWatcher.h"
#include "tests/windows/acquisition/InstrumentPorts.h"

#include "serial/ComPortMap.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"
#include "windows/acquisition/TManualConfigurationDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <functional>

namespace {

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

TEST(TManualConfigDialogTest, ListPositionsAreTheTableIndexes) {
    TManualConfigDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Manual Configuration"));
    EXPECT_EQ(Items(dialog.PortComboBox()), (QStringList{"COM1", "COM2", "COM3", "COM4"}));
    EXPECT_EQ(Items(dialog.RateComboBox()), (QStringList{"9600", "19200", "38400"}));
    EXPECT_EQ(dialog.AutoCheckBox()->text(), QStringLiteral("Enable Autoscan"));
}

TEST(TManualConfigDialogTest, EachPortKeepsItsOwnDevice) {
    ClearSettings();
    TManualConfigDialog dialog;
    QComboBox* device = dialog.DeviceComboBox();
    QStringList shown;
    std::function<void()> step;
    WindowWatcher watcher([&](QWidget* window) {
        if (window == &dialog)
            step();
    });
    step = [&] {
        dialog.PortComboBox()->setCurrentIndex(1);
        shown.append(device->currentText());
        device->setEditText(QStringLiteral("/dev/ttyUSB0"));
        dialog.PortComboBox()->setCurrentIndex(0);
        shown.append(device->currentText());
        shown.append(device->lineEdit()->placeholderText());
        device->setEditText(QStringLiteral(" /dev/serial/by-id/usb-FTDI_Vireo-if00-port0 "));
        dialog.PortComboBox()->setCurrentIndex(1);
        shown.append(device->currentText());
        dialog.OKButton()->click();
    };
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown, (QStringList{"", "", "/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(StoredComDevice(1), QStringLiteral("/dev/serial/by-id/usb-FTDI_Vireo-if00-port0"));
    EXPECT_EQ(StoredComDevice(2), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(StoredComDevice(3), QString());
    // The port layer finds the device where the dialog put it.
    EXPECT_EQ(ComDevicePath(2), "/dev/ttyUSB0");

    // Shown again: the stored path comes back; emptied, the port's default applies again.
    shown.clear();
    step = [&] {
        shown.append(device->currentText());
        device->setEditText(QString());
        dialog.OKButton()->click();
    };
    dialog.PortComboBox()->setCurrentIndex(1);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(shown, QStringList{"/dev/ttyUSB0"});
    EXPECT_FALSE(StoredSettings().contains(QStringLiteral("Port Configuration/COM2 Device")));
    EXPECT_EQ(ComDevicePath(2), "/dev/ttyS1");
    EXPECT_EQ(StoredComDevice(1), QStringLiteral("/dev/serial/by-id/usb-FTDI_Vireo-if00-port0"));
}

TEST(TManualConfigDialogTest, CancelStoresNoDevice) {
    ClearSettings();
    TManualConfigDialog dialog;
    WindowWatcher watcher([&](QWidget* window) {
        if (window != &dialog)
            return;
        dialog.DeviceComboBox()->setEditText(QStringLiteral("/dev/ttyACM0"));
        dialog.CancelButton()->click();
    });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_TRUE(StoredSettings().allKeys().isEmpty());
}

TEST(TManualConfigDialogTest, OffersTheSerialDevicesPresentInNaturalOrder) {
    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral("serial/by-id"));
    for (const char* name : {"serial/by-id/usb-FTDI_B", "serial/by-id/usb-FTDI_A", "ttyS10",
                             "ttyS2", "ttyACM0", "ttyUSB1", "tty0", "ttyprintk", "null"}) {
        QFile file(root.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QString r = root.path() + QLatin1Char('/');
    EXPECT_EQ(SerialDevicesPresent(root.path()).join(QLatin1Char(' ')).remove(r).toStdString(),
              "serial/by-id/usb-FTDI_A serial/by-id/usb-FTDI_B ttyUSB1 ttyACM0 ttyS2 ttyS10");
    EXPECT_TRUE(SerialDevicesPresent(root.filePath(QStringLiteral("missing"))).isEmpty());
}

} // namespace
