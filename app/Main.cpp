// VroView: the program entry. Reads the command line ("/debug" and a database file, or
// --help and --version, answered before anything needs a display), makes the long-lived
// windows in their order and runs the event loop.
#include "app/AppScreenshots.h"
#include "app/ProgramArguments.h"
#include "app/StartProgram.h"
#include "app/TMainForm.h"
#include "app/TRecordingInfoForm.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "windows/acquisition/AcquisitionScreenshots.h"
#include "windows/analysis/CompareScreenshots.h"
#include "windows/analysis/StatisticsScreenshots.h"
#include "windows/analysis/SurveyScreenshots.h"
#include "windows/charts/ChartScreenshots.h"
#include "windows/printing/PrintingScreenshots.h"
#include "windows/reports/ReportScreenshots.h"
#include "windows/shell/Screenshots.h"
#include "windows/tables/TableDialogScreenshots.h"
#include "windows/tables/TableScreenshots.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

namespace {

// Pictures of the main window, empty and with the command line's database, and of the
// windows the program shows around it.
int WriteScreenshots(TMainForm& main, const QString& directory, const QString& file) {
    QStringList written = WriteShellScreenshots(directory);
    written << WriteAppScreenshots(directory);
    written << WriteAcquisitionScreenshots(directory);
    written << WriteTableDialogScreenshots(directory);
    written << WriteTableScreenshots(directory);
    written << WritePrintingScreenshots(directory);
    written << WriteChartScreenshots(directory);
    written << WriteStatisticsScreenshots(directory);
    written << WriteSurveyScreenshots(directory);
    written << WriteCompareScreenshots(directory);
    written << WriteReportScreenshots(directory);
    ScreenshotFolder folder(directory);
    main.resize(900, 600);
    folder.Save(main, "main-empty.png");
    if (!file.isEmpty()) {
        main.OpenDatabase(file, false);
        main.Explorer()->expandAll();
        folder.Save(main, "main-open.png");
        if (main.Database().Open()) {
            RecordingInfoForm().ShowRecording(main.Database().Header());
            folder.Save(RecordingInfoForm(), "recording-info.png");
        }
    }
    written << folder.Written();
    for (const QString& f : written)
        std::printf("%s\n", qPrintable(f));
    return written.isEmpty() ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    QElapsedTimer started;
    started.start();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const ProgramArguments line = ProgramArguments::Read(arguments);
    switch (line.action) {
    case ProgramArguments::Action::Help:
    case ProgramArguments::Action::Version:
        std::fputs(qPrintable(line.text), stdout);
        return 0;
    case ProgramArguments::Action::Mistake:
        std::fputs(qPrintable(line.text), stderr);
        return 2;
    case ProgramArguments::Action::Run:
        break;
    }
    DebugMode = line.debug;

    TuneAllocator();
    // Pictures of the windows need no display, and are the same on every desktop.
    if (!line.screenshots.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vroview"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setDesktopFileName(QStringLiteral("vroview"));

    try {
        // The screenshots open the file themselves, after the empty window's picture.
        const std::unique_ptr<TMainForm> program =
            StartProgram(line.screenshots.isEmpty() ? line.file : QString());
        TMainForm& mainForm = *program;

        if (!line.screenshots.isEmpty())
            return WriteScreenshots(mainForm, line.screenshots, line.file);

        // Maximised; the screen's size first, for a display without a window manager.
        mainForm.setGeometry(mainForm.screen()->availableGeometry());
        mainForm.showMaximized();
        // For the start-up benchmark: report when the window is up and idle, then end.
        if (qEnvironmentVariableIsSet("VROVIEW_QUIT_WHEN_IDLE"))
            QTimer::singleShot(0, &mainForm, [&] {
                std::fprintf(stderr, "idle after %lld ms\n",
                             static_cast<long long>(started.elapsed()));
                QApplication::quit();
            });
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("VroView"), QString::fromStdString(e.what()));
        return 1;
    }
}
