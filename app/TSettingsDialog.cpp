#include "app/TSettingsDialog.h"

#include "ui_TSettingsDialog.h"
#include "windows/shell/Help.h"
#include "windows/shell/Registry.h"
#include "windows/shell/WindowInstance.h"

namespace {
const QString BackupValue = QStringLiteral("Backup");
const QString ShowAdValue = QStringLiteral("Show ad");
} // namespace

TSettingsDialog::TSettingsDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TSettingsDialog>()) {
    SetHelpTopic(this, "settings");
    SetupContent(*Form);
    SetStripeWidth(0);
    const RegistryKey key(SettingsKey);
    Form->BackupCheckbox->setChecked(ReadBoolDefault(key, BackupValue, false));
    ShowAdSetting = ReadBoolDefault(key, ShowAdValue, true);
    WindowInstance<TSettingsDialog>::Register(this);
}

TSettingsDialog::~TSettingsDialog() = default;

bool TSettingsDialog::Backup() const {
    return Form->BackupCheckbox->isChecked();
}

bool TSettingsDialog::StoredShowAd() {
    return ReadBoolDefault(RegistryKey(SettingsKey), ShowAdValue, true);
}

QCheckBox* TSettingsDialog::BackupCheckbox() const {
    return Form->BackupCheckbox;
}

QCheckBox* TSettingsDialog::ShowAdCheckbox() const {
    return Form->ShowAdCheckbox;
}

void TSettingsDialog::Init() {
    // The backup box keeps whatever it was left at, also after a Cancel.
    Form->ShowAdCheckbox->setChecked(ShowAd());
}

void TSettingsDialog::Apply() {
    const bool shown = Form->ShowAdCheckbox->isChecked();
    ShowAdSetting = shown;
    RegistryKey key(SettingsKey);
    key.WriteBool(BackupValue, Form->BackupCheckbox->isChecked());
    key.WriteBool(ShowAdValue, shown);
}

TSettingsDialog& SettingsDialog() {
    return WindowInstance<TSettingsDialog>::Get();
}
