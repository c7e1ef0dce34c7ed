#pragma once

#include <QString>
#include <QStringList>

// Writes the Statistics window of a table of voltages, currents and power over two days, and
// of a chart of them zoomed into a morning, into directory (made if missing):
// statistics-table.png and statistics-chart-zoomed.png. Returns the files written.
QStringList WriteStatisticsScreenshots(const QString& directory);
