#pragma once

#include <QString>
#include <QStringList>

// Writes the print options dialog (for a six-page document) and the progress window (at
// page two) into directory (made if missing): printing-options.png and
// printing-progress.png. Returns the files written.
QStringList WritePrintingScreenshots(const QString& directory);
