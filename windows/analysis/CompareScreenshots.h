#pragma once

#include <QString>
#include <QStringList>

// Writes the Compare dialog and every page of the Compare window into directory (made if
// missing): six weeks of a site's 5-minute power whose daytime load fell by 15 % after new
// lighting in the middle, its first three weeks against its last three: compare-dialog.png,
// compare-summary.png, compare-profile.png, compare-energy.png and compare-duration.png.
// Returns the files written.
QStringList WriteCompareScreenshots(const QString& directory);
