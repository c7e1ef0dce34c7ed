#pragma once

#include <QString>
#include <QStringList>

// Writes a Historic, an Event and a Cumulative table window, filled with a sample recording,
// into directory (made if missing): table-historic.png, table-event.png and
// table-cumulative.png. Returns the files written.
QStringList WriteTableScreenshots(const QString& directory);
