#pragma once

#include "windows/shell/TStandardDialog.h"

#include <memory>

class LSession;
class QComboBox;
class QPlainTextEdit;
namespace Ui {
class TSessionInfoDialog;
}

// Who made the recording, where, and a comment. The user id and the location offer the
// texts typed before (kept in the settings store); Enter in the comments confirms the
// dialog rather than breaking the line.
class TSessionInfoDialog : public TStandardDialog {
    Q_OBJECT

public:
    explicit TSessionInfoDialog(QWidget* parent = nullptr);
    ~TSessionInfoDialog() override;

    QString UserID() const;
    void SetUserID(const QString& text);
    QString Location() const;
    void SetLocation(const QString& text);
    QString Comments() const;
    void SetComments(const QString& text);
    // Cancel (and Escape) are refused unless enabled.
    void SetCancelEnabled(bool enabled);

    // Init reloads both histories, keeping the typed texts; Apply adds a new user id or
    // location to its history.
    void Init() override;
    void Apply() override;

    QComboBox* UserIdComboBox() const;
    QComboBox* LocationComboBox() const;
    QPlainTextEdit* CommentsMemo() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::TSessionInfoDialog> Form;
};

// The dialog made at start-up, or one made now if there is none yet.
TSessionInfoDialog& SessionInfoDialog();

// Asks for the recording's user id, location and comments. On OK they are stored in session
// and shown in the recording information window, and the result is true; otherwise session
// is left as it was. Without allowCancel the dialog can only be confirmed.
bool EditInfo(LSession& session, bool allowCancel);
