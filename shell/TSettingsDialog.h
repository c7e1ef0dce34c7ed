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
// them, Cancel stores nothing (but a changed backup box stays in effect for this run).
class TSettingsDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TSettingsDialog(QWidget* parent = nullptr);
    ~TSettingsDialog() override;

    // Whether saving keeps the previous file as a backup.
    bool Backup() const;
    // Whether the main window shows its advertisement.
    bool ShowAd() const { return AdShown; }

    // The main window's advertisement picture: shown or hidden now as stored, and whenever
    // the setting changes.
    void SetAdImage(QWidget* image);

    QCheckBox* BackupCheckbox() const;
    QCheckBox* ShowAdCheckbox() const;

    // Init shows the advertisement's state; Apply stores both settings.
    void Init() override;
    void Apply() override;

signals:
    void ShowAdChanged(bool shown);

private:
    std::unique_ptr<Ui::TSettingsDialog> Form;
    bool AdShown = true;
    QPointer<QWidget> AdImage;
};

// The dialog made at start-up, or one made now if there is none yet.
TSettingsDialog& SettingsDialog();
