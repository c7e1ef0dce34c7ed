#pragma once

#include <QString>
#include <QStringList>

// Writes the dialogs that make tables and charts, over a small three-phase recording made
// here, into directory (made if missing): time-range.png, new-table.png, new-chart.png and
// visible-parameters.png. Returns the files written. The program's own dialog instances are
// left untouched.
QStringList WriteTableDialogScreenshots(const QString& directory);
