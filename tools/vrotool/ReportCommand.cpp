// vrotool report: the survey report of a recording, or the compare report of two, as the
// program prints it, into a PDF file, without a display.
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "printing/LayoutPrinter.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CapacityOutput.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"
#include "tools/vrotool/CompareArguments.h"
#include "tools/vrotool/LocaleStyle.h"
#include "tools/vrotool/OffscreenApplication.h"
#include "tools/vrotool/PageArgument.h"
#include "tools/vrotool/SurveyArguments.h"
#include "windows/reports/CompareReport.h"
#include "windows/reports/SurveyReport.h"

#include <QLocale>
#include <QPageLayout>
#include <QPrinter>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// The printer writing the PDF file, with the page's size and 10 mm margins.
struct PdfPrinter {
    PrintSetup printer;
    PlainPrintInteraction interaction;

    PdfPrinter(const std::string& output, const QPageSize& page)
        : interaction(QString::fromStdString(output)) {
        QPrinter& device = printer.Printer();
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                         QPageLayout::Millimeter));
    }

    int Finish(const Printout& printout, const std::string& output) {
        if (!printout.Printed)
            Raise(interaction.Errors.isEmpty()
                      ? std::string("Nothing was printed")
                      : interaction.Errors.join(QLatin1Char('\n')).toStdString());
        std::printf("Wrote %s, %d %s\n", output.c_str(), printout.Pages,
                    printout.Pages == 1 ? "page" : "pages");
        return 0;
    }
};

// --engineer, --company and --remarks FILE (read only once the arguments are good).
struct AuthorArguments {
    std::optional<std::string> engineer, company, remarks;
    explicit AuthorArguments(Arguments& args)
        : engineer(args.Value("--engineer")), company(args.Value("--company")),
          remarks(args.Value("--remarks")) {}
    ReportAuthor Read() const {
        ReportAuthor author;
        author.Engineer = QString::fromStdString(engineer.value_or(""));
        author.Company = QString::fromStdString(company.value_or(""));
        if (remarks) {
            try {
                author.Remarks = QString::fromUtf8(ReadWholeFile(*remarks)).trimmed();
            } catch (const VroError& e) {
                Raise(*remarks + ": " + e.what());
            }
        }
        return author;
    }
};

int CompareReportCommand(Arguments& args) {
    CompareOptions options = CompareArguments(args);
    const auto localeName = args.Value("--locale");
    const auto splitNote = SplitNoteArgument(args);
    const auto title = args.Value("--title");
    const AuthorArguments author(args);
    const auto pageName = args.Value("--page");
    const auto output = args.Value("--output", "-o");
    const std::vector<std::string> files = args.Positionals();
    args.Finish();
    SetCompareFiles(options, files, splitNote);
    if (!output)
        throw UsageError("give the PDF file to write with -o OUT.pdf");
    const QPageSize page = PageNamed(pageName.value_or("A4"));
    const QLocale locale = localeName ? LocaleNamed(*localeName) : QLocale();
    const auto application = OffscreenApplication(true);
    QLocale::setDefault(locale);

    const std::unique_ptr<OpenedComparison> opened = OpenComparison(options, splitNote);
    const ReportAuthor signing = author.Read();
    PdfPrinter pdf(*output, page);
    return pdf.Finish(PrintCompareReport(pdf.printer, pdf.interaction, opened->Result,
                                         &opened->Before,
                                         QString::fromStdString(title.value_or("")), signing),
                      *output);
}

} // namespace

int ReportCommand(Arguments& args) {
    if (args.Flag("--compare"))
        return CompareReportCommand(args);
    SurveyReportOptions options;
    options.Survey = SurveyArguments(args);
    options.Survey.Battery = BatteryArguments(args);
    options.Survey.Capacity = CapacityArguments(args);
    const auto title = args.Value("--title");
    const AuthorArguments author(args);
    const auto pageName = args.Value("--page");
    options.WithItems = args.Flag("--with-items");
    options.CapacitySheet = args.Flag("--capacity-sheet");
    const auto localeName = args.Value("--locale");
    const auto output = args.Value("--output", "-o");
    const std::string file = args.OnlyFile();
    if (!output)
        throw UsageError("give the PDF file to write with -o OUT.pdf");
    if (options.CapacitySheet && options.Survey.Capacity.Loads.empty())
        throw UsageError("--capacity-sheet needs the new loads: give them with --new-load");
    if (options.CapacitySheet && options.WithItems)
        throw UsageError("--capacity-sheet is one page: leave out --with-items");
    const QPageSize page = PageNamed(pageName.value_or("A4"));
    const QLocale locale = localeName ? LocaleNamed(*localeName) : QLocale();
    options.Title = QString::fromStdString(title.value_or(""));

    // Fonts and PDF output need a GUI application, the chart engine widgets.
    const auto application = OffscreenApplication(true);
    QLocale::setDefault(locale);

    LDatabase db;
    OpenDatabaseOrRecording(db, file);
    options.Author = author.Read();

    PdfPrinter pdf(*output, page);
    return pdf.Finish(PrintSurveyReport(pdf.printer, pdf.interaction, db, options), *output);
}
