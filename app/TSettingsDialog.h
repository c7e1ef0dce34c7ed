#pragma once

#include "shell/TStandardDialog.h"

#include <QPointer>

#include <memory>

class QCheckBox;
namespace Ui {
class TSettingsDialog;
}

// The program settings: backup of database files on save, and the advertisement picture of
// the main window. Both are read from the settings store when the dialog is made; OK stores
// them, Cancel stores nothing (but a changed backup box stays in effect for this run). The
// advertisement has no switch of its own: it is whether the main window's picture is shown,
// which opening a database also changes.
class TSettingsDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TSettingsDialog(QWidget* parent = nullptr);
    ~TSettingsDialog() override;

    // Whether saving keeps the previous file as a backup.
    bool Backup() const;
    // Whether the main window shows its advertisement (as stored, while there is no picture).
    bool ShowAd() const;

    // The main window's advertisement picture: shown or hidden now as stored; OK shows or
    // hides it as the box says.
    void SetAdImage(QWidget* image);

    QCheckBox* BackupCheckbox() const;
    QCheckBox* ShowAdCheckbox() const;

    // Init shows whether the advertisement is shown now; Apply stores both settings.
    void Init() override;
    void Apply() override;

private:
    std::unique_ptr<Ui::TSettingsDialog> Form;
    bool StoredShowAd = true;
    QPointer<QWidget> AdImage;
};

// The dialog made at start-up, or one made now if there is none yet.
TSettingsDialog& SettingsDialog();
