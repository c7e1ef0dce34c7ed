#include "windows/shell/SaveFileDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

void (*WrittenFileHandler)(const QString&) = nullptr;

// "Comma-separated values (*.csv)" gives "csv", "Tab-separated text (*.txt *.tsv)" "txt".
QString SuffixOf(const QString& filter) {
    const qsizetype star = filter.indexOf(QStringLiteral("*."));
    if (star < 0)
        return {};
    const qsizetype end = filter.indexOf(QRegularExpression(QStringLiteral("[ )]")), star);
    return filter.mid(star + 2, end < 0 ? -1 : end - star - 2);
}

} // namespace

QString FileNameOf(QString name) {
    name.replace(QLatin1Char(':'), QLatin1Char('-')).replace(QLatin1Char('/'), QLatin1Char('-'));
    return name;
}

QString AskSaveFileName(QWidget* parent, const QString& caption, const QStringList& filters,
                        const QString& suggestedName) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.setDefaultSuffix(SuffixOf(filters.constFirst()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
    dialog.selectFile(FileNameOf(suggestedName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SetWrittenFileHandler(void (*handler)(const QString& fileName)) {
    WrittenFileHandler = handler;
}

void ReportWrittenFile(const QString& fileName) {
    if (WrittenFileHandler)
        WrittenFileHandler(QFileInfo(fileName).absoluteFilePath());
}
