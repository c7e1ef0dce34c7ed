#include "windows/printing/WindowPrinting.h"

#include "windows/printing/TPrintingOptionsDialog.h"
#include "windows/printing/TPrintingProgressForm.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

bool TWindowPrintInteraction::ExecuteOptions(PrintSettings& settings, int32_t pageCount) {
    TPrintingOptionsDialog& dialog = PrintingOptionsDialog();
    dialog.SetSettings(&settings, pageCount);
    return dialog.Execute();
}

QString TWindowPrintInteraction::PdfFileName(const QString& proposed) {
    if (asker_)
        return asker_(proposed);
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Print to PDF file"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("PDF files (*.pdf)"));
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void TWindowPrintInteraction::StartProgress(int32_t pageCount) {
    TPrintingProgressForm& progress = PrintingProgressForm();
    progress.StartProgress(pageCount);
    progress.show();
    progress.raise();
}

void TWindowPrintInteraction::SetProgress(int32_t position) {
    PrintingProgressForm().SetProgress(position);
}

bool TWindowPrintInteraction::Cancelled() const {
    return PrintingProgressForm().Cancelled;
}

void TWindowPrintInteraction::HideProgress() {
    PrintingProgressForm().hide();
}

void TWindowPrintInteraction::ShowError(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

TWindowPrintInteraction& WindowPrinting() {
    static TWindowPrintInteraction interaction;
    return interaction;
}

void InstallWindowPrinting() {
    SetProgramInteraction(&WindowPrinting());
}
