#include "windows/acquisition/AcquisitionScreenshots.h"

#include "windows/acquisition/TDownloadForm.h"
#include "windows/acquisition/TManualConfigurationDialog.h"
#include "windows/acquisition/TNewSessionDialog.h"
#include "windows/acquisition/TScanForm.h"
#include "windows/shell/Screenshots.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>

QStringList WriteAcquisitionScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);

    TNewSessionDialog session;
    folder.Save(session, "new-recording.png");

    TManualConfigDialog manual;
    manual.Init();
    manual.PortComboBox()->setCurrentIndex(0);
    manual.RateComboBox()->setCurrentIndex(2);
    manual.AutoCheckBox()->setChecked(true);
    manual.DeviceComboBox()->setEditText(QStringLiteral("/dev/ttyUSB0"));
    folder.Save(manual, "manual-configuration.png");

    TScanForm scan;
    scan.StatusLabel()->setText(QStringLiteral("Looking for device on port COM2 (19200)"));
    folder.Save(scan, "detecting.png");

    // As a transfer of a 46 kB recording at 38400 baud shows itself halfway through.
    TDownloadForm download;
    download.ComLabel()->setText(QStringLiteral("COM1"));
    download.BaudLabel()->setText(QStringLiteral("38400"));
    download.DownloadStat(0, 47104, 0);
    download.DownloadStat(23552, 47104, 3.41f);
    folder.Save(download, "download.png");
    return folder.Written();
}
