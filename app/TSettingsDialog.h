#pragma once

#include "windows/shell/TStandardDialog.h"

#include <memory>

class QCheckBox;
namespace Ui {
class TSettingsDialog;
}

// The program settings: backup of database files on save, and the banner of the main window
// (shown whenever no database is open, if this says so). Both are read from the settings
// store when the dialog is made; OK stores them, Cancel stores nothing (but a changed backup
// box stays in effect for this run).
class TSettingsDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TSettingsDialog(QWidget* parent = nullptr);
    ~TSettingsDialog() override;

    // Whether saving keeps the previous file as a backup.
    bool Backup() const;
    // Whether the main window shows its banner while no database is open.
    bool ShowAd() const { return ShowAdSetting; }
    // The same, read from the settings store, for when no dialog was made yet.
    static bool StoredShowAd();

    QCheckBox* BackupCheckbox() const;
    QCheckBox* ShowAdCheckbox() const;

    // Init shows the settings in effect; Apply stores both.
    void Init() override;
    void Apply() override;

private:
    std::unique_ptr<Ui::TSettingsDialog> Form;
    bool ShowAdSetting = true;
};

// The dialog made at start-up, or one made now if there is none yet.
TSettingsDialog& SettingsDialog();
