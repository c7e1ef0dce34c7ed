#include "windows/shell/TToolForm.h"

#include <QShortcut>

TToolForm::TToolForm(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    resize(250, 300);
}

TToolForm::~TToolForm() = default;

void TToolForm::CloseOnEscape() {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}
