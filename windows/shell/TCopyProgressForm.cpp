#include "windows/shell/TCopyProgressForm.h"

#include "ui_TCopyProgressForm.h"
#include "windows/shell/WindowInstance.h"

#include <QEvent>

TCopyProgressForm::TCopyProgressForm(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TCopyProgressForm>()) {
    Form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    WindowInstance<TCopyProgressForm>::Register(this);
}

TCopyProgressForm::~TCopyProgressForm() = default;

QProgressBar* TCopyProgressForm::ProgressBar() const {
    return Form->ProgressBar;
}

void TCopyProgressForm::SetCopyingWindow(QWidget* window, std::function<bool()> copying) {
    Window = window;
    Copying = std::move(copying);
}

void TCopyProgressForm::FormDeactivate() {
    if (Window && Copying && Copying() && isVisible()) {
        raise();
        activateWindow();
    }
}

void TCopyProgressForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        FormDeactivate();
}

TCopyProgressForm& CopyProgressForm() {
    return WindowInstance<TCopyProgressForm>::Get();
}
