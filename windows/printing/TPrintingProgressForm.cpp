#include "windows/printing/TPrintingProgressForm.h"

#include "ui_TPrintingProgressForm.h"
#include "windows/shell/Help.h"
#include "windows/shell/WindowInstance.h"

#include <QApplication>
#include <QScreen>

#include <algorithm>

TPrintingProgressForm::TPrintingProgressForm(QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::TPrintingProgressForm>()) {
    SetHelpTopic(this, "printprogress");
    Form->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(242, 109);
    connect(Form->CancelButton, &QPushButton::clicked, this,
            &TPrintingProgressForm::CancelButtonClick);
    WindowInstance<TPrintingProgressForm>::Register(this);
}

TPrintingProgressForm::~TPrintingProgressForm() = default;

void TPrintingProgressForm::StartProgress(int32_t pageCount) {
    Form->ProgressBar->setRange(0, std::max(pageCount, 1));
    Form->ProgressBar->setValue(0);
}

void TPrintingProgressForm::SetProgress(int position) {
    Form->ProgressBar->setValue(position);
    QApplication::processEvents();
}

void TPrintingProgressForm::CancelButtonClick() {
    Cancelled = true;
}

QProgressBar* TPrintingProgressForm::ProgressBar() const {
    return Form->ProgressBar;
}

QPushButton* TPrintingProgressForm::CancelButton() const {
    return Form->CancelButton;
}

void TPrintingProgressForm::showEvent(QShowEvent* event) {
    Cancelled = false;
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

TPrintingProgressForm& PrintingProgressForm() {
    return WindowInstance<TPrintingProgressForm>::Get();
}
