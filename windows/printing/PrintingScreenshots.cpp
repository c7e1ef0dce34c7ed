#include "windows/printing/PrintingScreenshots.h"

#include "printing/LayoutPrinter.h"
#include "windows/printing/TPrintingOptionsDialog.h"
#include "windows/printing/TPrintingProgressForm.h"
#include "windows/shell/Screenshots.h"

#include <QProgressBar>

QStringList WritePrintingScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    PrintSettings settings;
    settings.PrintUserId = false;

    TPrintingOptionsDialog options;
    options.SetSettings(&settings, 6);
    options.Init();
    folder.Save(options, "printing-options.png");

    TPrintingProgressForm progress;
    progress.StartProgress(6);
    progress.ProgressBar()->setValue(2);
    folder.Save(progress, "printing-progress.png");
    return folder.Written();
}
