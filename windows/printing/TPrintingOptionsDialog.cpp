#include "windows/printing/TPrintingOptionsDialog.h"

#include "printing/LayoutPrinter.h"
#include "ui_TPrintingOptionsDialog.h"
#include "windows/shell/Help.h"
#include "windows/shell/WindowInstance.h"

#include <QPushButton>

TPrintingOptionsDialog::TPrintingOptionsDialog(QWidget* parent)
    : TStandardDialog(parent), Form(std::make_unique<Ui::TPrintingOptionsDialog>()) {
    SetHelpTopic(this, "printoptions");
    SetupContent(*Form);
    OKButton()->setText(QStringLiteral("Print"));
    resize(360, 200);
    WindowInstance<TPrintingOptionsDialog>::Register(this);
}

TPrintingOptionsDialog::~TPrintingOptionsDialog() = default;

PrintSettings& TPrintingOptionsDialog::Settings() const {
    return settings_ ? *settings_ : ProgramPrintSetup().Settings;
}

void TPrintingOptionsDialog::Init() {
    const PrintSettings& printer = Settings();
    Form->TitleBox->setChecked(printer.PrintTitle);
    Form->PageBox->setChecked(printer.PrintPageNumber);
    Form->LocationBox->setChecked(printer.PrintLocation);
    Form->UserIdBox->setChecked(printer.PrintUserId);
    Form->PagesCount->setText(QString::number(pageCount_));
}

void TPrintingOptionsDialog::Apply() {
    PrintSettings& printer = Settings();
    printer.PrintTitle = Form->TitleBox->isChecked();
    printer.PrintPageNumber = Form->PageBox->isChecked();
    printer.PrintLocation = Form->LocationBox->isChecked();
    printer.PrintUserId = Form->UserIdBox->isChecked();
    printer.ChartResolution = 100;
}

QCheckBox* TPrintingOptionsDialog::TitleBox() const {
    return Form->TitleBox;
}
QCheckBox* TPrintingOptionsDialog::PageBox() const {
    return Form->PageBox;
}
QCheckBox* TPrintingOptionsDialog::LocationBox() const {
    return Form->LocationBox;
}
QCheckBox* TPrintingOptionsDialog::UserIdBox() const {
    return Form->UserIdBox;
}
QLabel* TPrintingOptionsDialog::PagesCount() const {
    return Form->PagesCount;
}

TPrintingOptionsDialog& PrintingOptionsDialog() {
    return WindowInstance<TPrintingOptionsDialog>::Get();
}
