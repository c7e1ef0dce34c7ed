#pragma once

#include <QString>
#include <QStringList>

// Writes the windows only the main window opens, filled with the sample recording, into
// directory (made if missing): program-settings.png, recording-info-dialog.png,
// recording-info-window.png, about.png, join-recordings.png (with a gap),
// join-recordings-refused.png (an overlap) and chart-gap.png (the joined recording's chart).
// Returns the files written. The program's own window
// instances are left untouched.
QStringList WriteAppScreenshots(const QString& directory);
