#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Asks where to save: filters such as "Comma-separated values (*.csv)", the first chosen at
// first, the name's ending following the filter chosen; the suggested name without the
// characters a file name cannot or should not hold (":" and "/"). Empty when cancelled.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QStringList& filters,
                        const QString& suggestedName);

// The name as a file's: ":" and "/" become "-".
QString FileNameOf(QString name);

// Where the last save or export wrote, for the main window's status bar: the handler set
// (the main window's) is told every file written, with its full path.
void SetWrittenFileHandler(void (*handler)(const QString& fileName));
void ReportWrittenFile(const QString& fileName);
