#pragma once

#include "analysis/TextTable.h"

#include <QFont>
#include <QString>

class QWidget;

// What the Statistics and Survey windows and the chart's cursor readout do with a text table
// they show, the same way in each: copy it, export it, print it.

// The table as the clipboard takes it (TAB between cells), the heading's line above it.
void CopyTextTable(const TextTable& table, const TextStyle& style, const QString& heading = {});

// The filters an export of a text table offers: CSV, tab-separated text, a workbook.
QStringList TextTableFilters();
// By the name's ending: ".csv" CSV (plain in every locale), ".xlsx" a workbook of one sheet
// named sheetName, else TAB-separated text with the heading's line above; a file is replaced
// only when complete. True when written (and told to the status bar); says why when not.
bool WriteTextTable(QWidget* parent, const QString& fileName, const TextTable& table,
                    const TextStyle& style, const QString& sheetName, const QString& heading = {});
// Asks for the file (the filters above, the name suggested), then writes it.
bool ExportTextTable(QWidget* parent, const TextTable& table, const TextStyle& style,
                     const QString& title, const QString& heading = {});

// On the program's printer, titled, the heading above the rows on every page. True when
// printed.
bool PrintTextTable(const TextTable& table, const TextStyle& style, const QFont& font,
                    const QString& title, const QString& heading = {});
