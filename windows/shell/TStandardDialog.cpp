#include "windows/shell/TStandardDialog.h"

#include "ui_TStandardDialog.h"

#include <QApplication>
#include <QPointer>
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
    return ExecuteFor(QApplication::activeWindow());
}

namespace {

// A shared dialog belongs to the main window. Shown for another window (a table, a chart) it
// is lent to that window while it is up: the window manager then keeps it in front of the
// window it acts on, instead of raising the main window, its owner, over that window.
class LentDialog {
public:
    LentDialog(QDialog& dialog, QWidget* window) : dialog_(dialog) {
        if (!window || window == &dialog)
            return;
        window_ = window;
        QWidget* owner = dialog.parentWidget();
        if (owner && owner->window() != window) {
            owner_ = owner;
            dialog.setParent(window, dialog.windowFlags());
        }
    }
    ~LentDialog() {
        if (QWidget* owner = owner_.data())
            dialog_.setParent(owner, dialog_.windowFlags());
        // Closing hands the focus back to the window the user was working in.
        QWidget* window = window_.data();
        if (window && window->isVisible()) {
            window->raise();
            window->activateWindow();
        }
    }
    LentDialog(const LentDialog&) = delete;
    LentDialog& operator=(const LentDialog&) = delete;

private:
    QDialog& dialog_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> window_;
};

} // namespace

bool TStandardDialog::ExecuteFor(QWidget* window) {
    Init();
    bool confirmed = false;
    {
        const LentDialog lent(*this, window ? window->window() : nullptr);
        try {
            confirmed = exec() == QDialog::Accepted;
        } catch (...) {
            // Whatever went wrong while the dialog was up, the command it serves does not
            // happen.
            hide();
            confirmed = false;
        }
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
