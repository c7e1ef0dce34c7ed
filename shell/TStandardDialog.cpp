#include "shell/TStandardDialog.h"

#include "ui_TStandardDialog.h"

#include <QPushButton>

TStandardDialog::TStandardDialog(QWidget* parent)
    : QDialog(parent), Base(std::make_unique<Ui::TStandardDialog>()) {
    Base->setupUi(this);
    // A dialog frame with a caption and no buttons on it: OK and Cancel are the way out.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Base->Panel2->setBackgroundRole(QPalette::Highlight);
}

TStandardDialog::~TStandardDialog() = default;

void TStandardDialog::Init() {}

void TStandardDialog::Apply() {}

bool TStandardDialog::Execute() {
    Init();
    bool confirmed = false;
    try {
        confirmed = exec() == QDialog::Accepted;
    } catch (...) {
        // Whatever went wrong while the dialog was up, the command it serves does not happen.
        hide();
        confirmed = false;
    }
    if (confirmed)
        Apply();
    return confirmed;
}

QPushButton* TStandardDialog::OKButton() const {
    return Base->OKButton;
}

QPushButton* TStandardDialog::CancelButton() const {
    return Base->CancelButton;
}

QWidget* TStandardDialog::ContentPanel() const {
    return Base->Panel3;
}

void TStandardDialog::SetStripeWidth(int width) {
    Base->Panel2->setFixedWidth(width);
    Base->Panel2->setVisible(width > 0);
}

void TStandardDialog::AddButton(QPushButton* button) {
    button->setMinimumSize(Base->CancelButton->minimumSize());
    button->setAutoDefault(false);
    Base->ButtonLayout->addWidget(button);
}

void TStandardDialog::reject() {
    if (Base->CancelButton->isEnabled())
        QDialog::reject();
}

void TStandardDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    Base->OKButton->setFocus();
}
