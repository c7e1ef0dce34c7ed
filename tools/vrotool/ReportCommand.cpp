// vrotool report: the survey report of a recording as the program prints it, into a PDF
// file, without a display.
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "printing/LayoutPrinter.h"
#include "reports/windows/SurveyReport.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/OffscreenApplication.h"
#include "tools/vrotool/PageArgument.h"
#include "tools/vrotool/SurveyArguments.h"

#include <QPageLayout>
#include <QPrinter>

#include <cstdio>

int ReportCommand(Arguments& args) {
    SurveyReportOptions options;
    options.Survey = SurveyArguments(args);
    const auto title = args.Value("--title");
    const auto pageName = args.Value("--page");
    options.WithItems = args.Flag("--with-items");
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile();
    if (!output)
        throw UsageError("give the PDF file to write with -o OUT.pdf");
    const QPageSize page = PageNamed(pageName.value_or("A4"));
    options.Title = QString::fromStdString(title.value_or(""));

    // Fonts and PDF output need a GUI application, the chart engine widgets.
    const auto application = OffscreenApplication(true);

    LDatabase db;
    OpenDatabaseOrRecording(db, file);

    TLayoutPrinter printer;
    QPrinter& device = printer.Printer();
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                     QPageLayout::Millimeter));
    PlainPrintInteraction interaction(QString::fromStdString(*output));
    printer.SetInteraction(&interaction);
    if (!PrintSurveyReport(printer, db, options))
        Raise(interaction.Errors.isEmpty()
                  ? std::string("Nothing was printed")
                  : interaction.Errors.join(QLatin1Char('\n')).toStdString());
    std::printf("Wrote %s, %d %s\n", output->c_str(), printer.PageCount,
                printer.PageCount == 1 ? "page" : "pages");
    return 0;
}
