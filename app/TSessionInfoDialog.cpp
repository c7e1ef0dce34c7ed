#include "app/TSessionInfoDialog.h"

#include "app/TRecordingInfoForm.h"
#include "model/LSession.h"
#include "ui_TSessionInfoDialog.h"
#include "windows/shell/Help.h"
#include "windows/shell/Registry.h"
#include "windows/shell/WindowInstance.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {
void ReloadHistory(QComboBox* box, const char* key) {
    const QString typed = box->currentText();
    QStringList history;
    LoadStringList(key, history);
    box->clear();
    box->addItems(history);
    box->setEditText(typed);
}

void AddToHistory(QComboBox* box, const char* key) {
    const QString text = box->currentText();
    if (text.isEmpty() || box->findText(text, Qt::MatchFixedString) >= 0)
        return;
    box->addItem(text);
    QStringList history;
    for (int i = 0; i < box->count(); ++i)
        history.append(box->itemText(i));
    SaveStringList(key, history);
}
} // namespace

TSessionInfoDialog::TSessionInfoDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TSessionInfoDialog>()) {
    SetHelpTopic(this, "info");
    SetupContent(*Form);
    Form->CommentsMemo->installEventFilter(this);
    SetCancelEnabled(false);
    WindowInstance<TSessionInfoDialog>::Register(this);
}

TSessionInfoDialog::~TSessionInfoDialog() = default;

QString TSessionInfoDialog::UserID() const {
    return Form->UserIdComboBox->currentText();
}

void TSessionInfoDialog::SetUserID(const QString& text) {
    Form->UserIdComboBox->setEditText(text);
}

QString TSessionInfoDialog::Location() const {
    return Form->LocationComboBox->currentText();
}

void TSessionInfoDialog::SetLocation(const QString& text) {
    Form->LocationComboBox->setEditText(text);
}

QString TSessionInfoDialog::Comments() const {
    return Form->CommentsMemo->toPlainText();
}

void TSessionInfoDialog::SetComments(const QString& text) {
    Form->CommentsMemo->setPlainText(text);
}

void TSessionInfoDialog::SetCancelEnabled(bool enabled) {
    CancelButton()->setEnabled(enabled);
}

void TSessionInfoDialog::Init() {
    ReloadHistory(Form->UserIdComboBox, UserIDKey);
    ReloadHistory(Form->LocationComboBox, LocationsKey);
}

void TSessionInfoDialog::Apply() {
    AddToHistory(Form->UserIdComboBox, UserIDKey);
    AddToHistory(Form->LocationComboBox, LocationsKey);
}

QComboBox* TSessionInfoDialog::UserIdComboBox() const {
    return Form->UserIdComboBox;
}

QComboBox* TSessionInfoDialog::LocationComboBox() const {
    return Form->LocationComboBox;
}

QPlainTextEdit* TSessionInfoDialog::CommentsMemo() const {
    return Form->CommentsMemo;
}

bool TSessionInfoDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Form->CommentsMemo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The comment is one paragraph; Enter confirms the dialog as it does elsewhere.
            OKButton()->click();
            return true;
        }
    }
    return TStandardDialog::eventFilter(watched, event);
}

TSessionInfoDialog& SessionInfoDialog() {
    return WindowInstance<TSessionInfoDialog>::Get();
}

bool EditInfo(LSession& session, bool allowCancel) {
    TSessionInfoDialog& dialog = SessionInfoDialog();
    dialog.SetCancelEnabled(allowCancel);
    dialog.SetUserID(QString::fromStdString(session.UserID));
    dialog.SetLocation(QString::fromStdString(session.Location));
    dialog.SetComments(QString::fromStdString(session.Comments));
    if (!dialog.Execute())
        return false;
    session.UserID = dialog.UserID().toStdString();
    session.Location = dialog.Location().toStdString();
    session.Comments = dialog.Comments().toStdString();
    RecordingInfoForm().ShowRecording(session);
    return true;
}
