#pragma once

#include <QString>
#include <QStringList>

// Writes the download workflow's windows into directory (made if missing): new-recording.png,
// manual-configuration.png, detecting.png and download.png (halfway through a transfer).
// Returns the files written. Nothing is searched for or downloaded, and nothing is stored.
QStringList WriteAcquisitionScreenshots(const QString& directory);
