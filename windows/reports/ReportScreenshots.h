#pragma once

#include <QStringList>

// Writes survey-report-dialog.png into directory (made if missing); returns the files written.
QStringList WriteReportScreenshots(const QString& directory);
