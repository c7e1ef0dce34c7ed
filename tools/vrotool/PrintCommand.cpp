// vrotool print: the recording information, a table or a chart of a database file as the
// program prints it, into a PDF file, without a display.
#include "database/LChartRecord.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "tables/TableText.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/FindItem.h"
#include "tools/vrotool/OffscreenApplication.h"
#include "tools/vrotool/PageArgument.h"
#include "windows/charts/ChartView.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <cstdint>
#include <cstdio>
#include <limits>

namespace {

constexpr long long MaxInt = std::numeric_limits<int32_t>::max();

} // namespace

QPageSize PageNamed(const std::string& name) {
    if (name == "A4" || name == "a4")
        return QPageSize(QPageSize::A4);
    if (name == "Letter" || name == "letter")
        return QPageSize(QPageSize::Letter);
    throw UsageError("--page is A4 or Letter, not '" + name + "'");
}

int PrintCommand(Arguments& args) {
    const bool info = args.Flag("--info");
    const auto tableIndex = args.Integer("--table", 1, MaxInt);
    const auto chartIndex = args.Integer("--chart", 1, MaxInt);
    const auto first = args.Integer("--first", 0, MaxInt);
    const auto last = args.Integer("--last", 0, MaxInt);
    const bool noTitle = args.Flag("--no-title");
    const bool noPageNumber = args.Flag("--no-page-number");
    const bool noLocation = args.Flag("--no-location");
    const bool noUserId = args.Flag("--no-user-id");
    const auto pageName = args.Value("--page");
    const bool landscape = args.Flag("--landscape");
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile("FILE.vro");
    if (int(info) + int(tableIndex.has_value()) + int(chartIndex.has_value()) != 1)
        throw UsageError("give one of --info, --table N and --chart N");
    if (!output)
        throw UsageError("give the PDF file to write with -o OUT.pdf");
    if (!tableIndex && (first || last))
        throw UsageError("--first and --last choose rows of a table");
    if (first && last && *last < *first)
        throw UsageError("--last comes before --first");
    const QPageSize page = PageNamed(pageName.value_or("A4"));

    // Fonts and PDF output need a GUI application, the chart engine widgets.
    const auto application = OffscreenApplication(chartIndex.has_value());

    LDatabase db;
    LoadDatabaseFile(db, file);

    PrintSetup printer;
    QPrinter& device = printer.Printer();
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setPageLayout(QPageLayout(page,
                                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    PlainPrintInteraction interaction(QString::fromStdString(*output));
    printer.Settings.PrintTitle = !noTitle;
    printer.Settings.PrintPageNumber = !noPageNumber;
    printer.Settings.PrintLocation = !noLocation;
    printer.Settings.PrintUserId = !noUserId;

    Printout printout;
    if (info) {
        std::vector<PrintedPart> parts{RecordingInfoPart(db.Header())};
        printout = Print(parts, PrintOptionsOf(printer, &db, parts.front().Title), interaction);
    } else if (chartIndex) {
        ChartView view(FindItem(db.Charts(), "chart", chartIndex));
        printout = PrintChart(
            PrintOptionsOf(printer, &db, QString::fromStdString(view.Record().Caption)),
            [&view](QPainter& painter, const QRect& area, int) {
                view.DrawChart(painter, QRectF(area), painter.device()->logicalDpiX());
            },
            interaction);
    } else {
        LTableRecord& record = FindItem(db.Tables(), "table", tableIndex);
        const TableLayout layout = ChooseLayout(record.Sources);
        PrintedTable table(record.Sources, layout.Type, QGuiApplication::font());
        const int32_t rows = table.DataRowCount();
        const auto from = static_cast<int32_t>(first.value_or(0));
        const auto to = static_cast<int32_t>(last.value_or(rows - 1));
        if (to >= rows || from > to)
            Raise("Rows " + std::to_string(from) + " to " + std::to_string(to) +
                  " are not in the table: its data rows are 0 to " + std::to_string(rows - 1));
        std::vector<PrintedPart> parts{{.Rows = std::make_shared<PrintedTable>(std::move(table)),
                                        .FirstRow = from,
                                        .LastRow = to}};
        printout =
            Print(parts, PrintOptionsOf(printer, &db, QString::fromStdString(record.Caption)),
                  interaction);
    }
    if (!printout.Printed)
        Raise(interaction.Errors.isEmpty()
                  ? std::string("Nothing was printed")
                  : interaction.Errors.join(QLatin1Char('\n')).toStdString());
    std::printf("Wrote %s, %d %s\n", output->c_str(), printout.Pages,
                printout.Pages == 1 ? "page" : "pages");
    return 0;
}
