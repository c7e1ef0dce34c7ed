#pragma once

#include <QString>
#include <QStringList>

// Writes every page of the Survey window over a month of a three-phase service (voltages,
// phase currents and the total real power at 5-minute samples, a threshold set) into
// directory (made if missing): survey-summary.png, survey-energy.png, survey-profile.png,
// survey-heatmap.png, survey-duration.png and survey-voltage.png. The stored survey settings
// are left as they were. Returns the files written.
QStringList WriteSurveyScreenshots(const QString& directory);
