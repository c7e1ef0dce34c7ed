#include "windows/shell/TextTableCommands.h"

#include "printing/LayoutPrinter.h"
#include "printing/PrintedTexts.h"
#include "reports/WorkbookExport.h"
#include "texts/WriteFileSafely.h"
#include "windows/shell/SaveFileDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QMessageBox>

namespace {

std::string WithHeading(const QString& heading, std::string text) {
    return heading.isEmpty() ? text : heading.toStdString() + "\r\n" + text;
}

} // namespace

void CopyTextTable(const TextTable& table, const TextStyle& style, const QString& heading) {
    QApplication::clipboard()->setText(
        QString::fromStdString(WithHeading(heading, table.Text(style, CellFormat::Tab))));
}

QStringList TextTableFilters() {
    return {QStringLiteral("Comma-separated values (*.csv)"),
            QStringLiteral("Tab-separated text (*.txt *.tsv)"),
            QStringLiteral("Excel workbook (*.xlsx)")};
}

bool WriteTextTable(QWidget* parent, const QString& fileName, const TextTable& table,
                    const TextStyle& style, const QString& sheetName, const QString& heading) {
    const QString ending = QFileInfo(fileName).suffix().toLower();
    QString error;
    bool written = false;
    if (ending == QStringLiteral("xlsx")) {
        written = ExportTextTableWorkbook(table, FileNameOf(sheetName).toStdString(), fileName,
                                          error) == ExportResult::Written;
    } else {
        const std::string text = ending == QStringLiteral("csv")
                                     ? table.Csv()
                                     : WithHeading(heading, table.Text(style, CellFormat::Tab));
        written = WriteFileSafely(fileName, QByteArray::fromStdString(text), error);
    }
    if (written)
        ReportWrittenFile(fileName);
    else
        QMessageBox::warning(
            parent, parent ? parent->windowTitle() : QString(),
            QStringLiteral("The table could not be written to %1.\n%2").arg(fileName, error));
    return written;
}

bool ExportTextTable(QWidget* parent, const TextTable& table, const TextStyle& style,
                     const QString& title, const QString& heading) {
    const QString name =
        AskSaveFileName(parent, QStringLiteral("Export %1").arg(title), TextTableFilters(), title);
    return !name.isEmpty() && WriteTextTable(parent, name, table, style, title, heading);
}

bool PrintTextTable(const TextTable& table, const TextStyle& style, const QFont& font,
                    const QString& title, const QString& heading) {
    if (table.Rows.empty())
        return false;
    auto texts = std::make_shared<PrintedTexts>(table, style, font);
    if (!heading.isEmpty())
        texts->SetCaption(heading);
    std::vector<PrintedPart> parts{{.Rows = std::move(texts)}};
    return ::Print(parts, ProgramPrintOptions(title), ProgramInteraction()).Printed;
}
