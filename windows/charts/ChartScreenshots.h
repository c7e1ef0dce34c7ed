#pragma once

#include <QString>
#include <QStringList>

// Writes a chart window of voltages, current and power over two days (three unit scales, the
// legend at the bottom), the same zoomed into a morning, and each page of the chart
// property editor, into directory (made if missing): chart.png, chart-zoomed.png,
// chart-properties-titles.png, -axes.png, -grid.png, -legend.png and -parameters.png.
// Returns the files written.
QStringList WriteChartScreenshots(const QString& directory);
