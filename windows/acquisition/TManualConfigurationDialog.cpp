#include "windows/acquisition/TManualConfigurationDialog.h"

#include "ui_TManualConfigurationDialog.h"
#include "windows/shell/Help.h"
#include "windows/shell/Registry.h"
#include "windows/shell/WindowInstance.h"

#include <QDir>
#include <QLineEdit>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {
// ttyS10 after ttyS2: the name without its trailing number, and the number.
std::pair<QString, qulonglong> NumberedName(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    return {name.left(digits), name.mid(digits).toULongLong()};
}

QString DeviceValueName(int port) {
    return QStringLiteral("COM%1 Device").arg(port);
}
} // namespace

TManualConfigDialog::TManualConfigDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TManualConfigDialog>()) {
    SetHelpTopic(this, "download");
    SetupContent(*Form);
    for (int port : PortNumbers)
        Form->PortComboBox->addItem(QStringLiteral("COM%1").arg(port));
    for (int rate : BaudRates)
        Form->RateComboBox->addItem(QString::number(rate));
    connect(Form->PortComboBox, &QComboBox::currentIndexChanged, this,
            [this](int index) { ShowDeviceOf(index); });
    WindowInstance<TManualConfigDialog>::Register(this);
}

TManualConfigDialog::~TManualConfigDialog() = default;

QComboBox* TManualConfigDialog::PortComboBox() const {
    return Form->PortComboBox;
}

QComboBox* TManualConfigDialog::RateComboBox() const {
    return Form->RateComboBox;
}

QCheckBox* TManualConfigDialog::AutoCheckBox() const {
    return Form->AutoCheckBox;
}

QComboBox* TManualConfigDialog::DeviceComboBox() const {
    return Form->DeviceComboBox;
}

void TManualConfigDialog::Init() {
    // Adapters come and go between uses, and the paths may have been set elsewhere.
    for (size_t i = 0; i < PortNumbers.size(); ++i)
        Devices[i] = StoredDevices[i] = StoredComDevice(PortNumbers[i]);
    Form->DeviceComboBox->clear();
    Form->DeviceComboBox->addItems(SerialDevicesPresent());
    ShownPort = -1;
    ShowDeviceOf(Form->PortComboBox->currentIndex());
}

void TManualConfigDialog::Apply() {
    ShowDeviceOf(-1); // takes in the text being edited
    for (size_t i = 0; i < PortNumbers.size(); ++i)
        if (Devices[i] != StoredDevices[i])
            StoreComDevice(PortNumbers[i], Devices[i]);
}

void TManualConfigDialog::ShowDeviceOf(int portIndex) {
    QComboBox* device = Form->DeviceComboBox;
    if (ShownPort >= 0 && ShownPort < static_cast<int>(Devices.size()))
        Devices[static_cast<size_t>(ShownPort)] = device->currentText().trimmed();
    ShownPort = portIndex;
    if (portIndex < 0 || portIndex >= static_cast<int>(Devices.size()))
        return;
    device->setEditText(Devices[static_cast<size_t>(portIndex)]);
    // Empty stands for the port's default, which the placeholder shows.
    device->lineEdit()->setPlaceholderText(
        QStringLiteral("/dev/ttyS%1").arg(PortNumbers[static_cast<size_t>(portIndex)] - 1));
}

TManualConfigDialog& ManualConfigDialog() {
    return WindowInstance<TManualConfigDialog>::Get();
}

QStringList SerialDevicesPresent(const QString& root) {
    const auto sorted = [](QStringList names) {
        std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
            const auto key = [](const QString& name) {
                return std::tuple(NumberedName(name).first, NumberedName(name).second, name);
            };
            return key(a) < key(b);
        });
        return names;
    };
    QStringList devices;
    const QDir byId(root + QStringLiteral("/serial/by-id"));
    for (const QString& name : sorted(byId.entryList(QDir::System | QDir::Files)))
        devices.append(byId.filePath(name));
    const QDir dev(root);
    for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"})
        for (const QString& name :
             sorted(dev.entryList({QString::fromLatin1(pattern)}, QDir::System | QDir::Files)))
            devices.append(dev.filePath(name));
    return devices;
}

QString StoredComDevice(int port) {
    const RegistryKey key(PortConfigurationKey);
    QString path;
    return key.ReadString(DeviceValueName(port), path) ? path : QString();
}

void StoreComDevice(int port, const QString& path) {
    if (!path.isEmpty()) {
        RegistryKey key(PortConfigurationKey);
        key.WriteString(DeviceValueName(port), path);
        return;
    }
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, RegistryOrganization,
                       RegistryApplication);
    settings.beginGroup(QString::fromLatin1(PortConfigurationKey));
    settings.remove(DeviceValueName(port));
}
