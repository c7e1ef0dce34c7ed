#include "shell/TToolForm.h"

TToolForm::TToolForm(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    resize(250, 300);
}

TToolForm::~TToolForm() = default;
