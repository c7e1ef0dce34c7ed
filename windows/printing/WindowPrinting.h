#pragma once

#include "printing/LayoutPrinter.h"

#include <QString>

#include <functional>

// The printer's questions answered by the program's windows: the options dialog, a file
// dialog for a PDF, the progress window, and an error box.
class TWindowPrintInteraction : public PrintInteraction {
public:
    bool ExecuteOptions(PrintSettings& settings, int32_t pageCount) override;
    QString PdfFileName(const QString& proposed) override;
    void StartProgress(int32_t pageCount) override;
    void SetProgress(int32_t position) override;
    bool Cancelled() const override;
    void HideProgress() override;
    void ShowError(const QString& message) override;

    // Asks for the PDF's name instead of the file dialog (tests).
    using PdfFileAsker = std::function<QString(const QString& proposed)>;
    void SetPdfFileAsker(PdfFileAsker asker) { asker_ = std::move(asker); }

private:
    PdfFileAsker asker_;
};

// The program's answers, which InstallWindowPrinting makes the program's.
TWindowPrintInteraction& WindowPrinting();
void InstallWindowPrinting();
