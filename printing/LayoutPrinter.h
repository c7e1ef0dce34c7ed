#pragma once

#include "printing/PdfInfo.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class LDatabase;
class PrintedRows;
class PrintedTable;
class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QSaveFile;
class TLayoutPrinter;

// A chart draws itself into area of the painter's page, at the chart's print resolution.
using ChartDrawing = std::function<void(QPainter& painter, const QRect& area, int resolution)>;

// What the printer needs from the windows around it: the options, where a PDF goes, the
// progress with its Cancel, and a place to say why nothing is printed. The windowed program
// shows its dialogs; vrotool and the tests answer without a window.
class PrintInteraction {
public:
    virtual ~PrintInteraction() = default;
    // Shows the four header and footer flags and PageCount; on OK stores the flags and sets
    // ChartResolution to 100. False when cancelled.
    virtual bool ExecuteOptions(TLayoutPrinter& printer) = 0;
    // The PDF file to write, proposed is where it goes by default; empty to print nothing.
    virtual QString PdfFileName(const QString& proposed) = 0;
    // Shows the progress from 0 to the printer's PageCount, with Cancelled cleared.
    virtual void StartProgress(TLayoutPrinter& printer) = 0;
    // Moves the progress on and lets pending events run, so that Cancel is seen.
    virtual void SetProgress(int32_t position) = 0;
    virtual bool Cancelled() const = 0;
    virtual void HideProgress() = 0;
    virtual void ShowError(const QString& message) = 0;
};

// Without a window: the options as they are, the PDF where it was asked for (or proposed),
// no progress, the errors collected.
class PlainPrintInteraction : public PrintInteraction {
public:
    explicit PlainPrintInteraction(QString pdfFileName = {}) : pdf_(std::move(pdfFileName)) {}
    bool ExecuteOptions(TLayoutPrinter& printer) override;
    QString PdfFileName(const QString& proposed) override;
    void StartProgress(TLayoutPrinter&) override {}
    void SetProgress(int32_t) override {}
    bool Cancelled() const override { return false; }
    void HideProgress() override {}
    void ShowError(const QString& message) override { Errors << message; }

    QStringList Errors;

private:
    QString pdf_;
};

// One part of a document of several (TLayoutPrinter::PrintParts), with Title in the header of
// its pages: a table (Grid, in column strips and row pages as PrintTable prints it), rows of
// texts (Rows, in row pages), or Pages pages that Draw draws into the print area, the page
// counted from 0 within the part. Grid and Rows are not owned; of them, only the data rows
// FirstRow to LastRow (clamped to the rows there are) print. Contents are the headings the part
// starts with, for a table of contents: PrintParts sets FirstPage (from 1) before it draws.
struct PrintedPart {
    QString Title;
    PrintedTable* Grid = nullptr;
    PrintedRows* Rows = nullptr;
    int32_t FirstRow = 0;
    int32_t LastRow = std::numeric_limits<int32_t>::max();
    int32_t Pages = 1;
    std::function<void(QPainter& painter, const QRect& area, int32_t page)> Draw;
    QStringList Contents = {};
    int32_t FirstPage = 0;
};

// The page layout printer: the recording information, a chart or a table printed on the
// printer chosen in Print Setup, or into a PDF file when that is the printer's output, with
// the title and page number above and the location and user id below. A table too wide for
// a page is printed in column strips of its parameters, each strip in row pages; pages are
// numbered across the strips first. A job cancelled or failed leaves nothing: the printer's
// document is aborted, and a PDF is written to a temporary file that replaces the chosen one
// only when the document is complete.
class TLayoutPrinter {
public:
    static constexpr char BusyMessage[] =
        "The printer is currently printing.  Wait until the previous job finishes.";
    static constexpr char TooShortMessage[] = "Page too short to print!";

    TLayoutPrinter();
    ~TLayoutPrinter();
    TLayoutPrinter(const TLayoutPrinter&) = delete;
    TLayoutPrinter& operator=(const TLayoutPrinter&) = delete;

    // Shared with the options dialog for the whole run.
    bool PrintPageNumber = true;
    bool PrintUserId = true;
    bool PrintLocation = true;
    bool PrintTitle = true;
    int32_t ChartResolution = 0;

    // Set by the caller before a print.
    QString Title;
    int32_t FirstRow = 0;
    int32_t LastRow = 0;
    // Not owned; cleared when the job ends. PrintTable prints Grid, or without a Grid the
    // Rows (rows without column strips, such as the statistics' texts); while it runs, Rows
    // are the rows printed.
    PrintedTable* Grid = nullptr;
    PrintedRows* Rows = nullptr;
    ChartDrawing Chart;
    // The open document: the recording's location, user id and information, and the file
    // name that becomes the job's name. Not owned.
    const LDatabase* Database = nullptr;

    // The page of the document being laid out, in the printer's pixels.
    int32_t PageCount = 0;
    int32_t PageWidth = 0;
    int32_t PageHeight = 0;
    QPainter* Canvas = nullptr;
    QRect PrintArea;
    int32_t RowsPerPage = 0;
    int32_t ColumnsPerPage = 0;
    int32_t ColumnStrips = 0;
    int32_t RowPages = 0;
    QFont HeaderFont;

    // The printer of Print Setup: its page layout and resolution lay out every document.
    QPrinter& Printer() { return *printer_; }
    // Set once the user chose the printer's page in Print Setup: until then a chart prints on
    // the page turned to landscape (wider than tall), the shape of a chart.
    bool PageChosen = false;
    // Not owned; without one, PlainPrintInteraction's answers.
    void SetInteraction(PrintInteraction* interaction) { interaction_ = interaction; }
    PrintInteraction& Interaction() { return interaction_ ? *interaction_ : plain_; }

    // A job runs (its events processed meanwhile): nothing it prints may go away.
    bool Printing() const { return printing_; }
    // Where a PDF goes unless the user says otherwise: beside the database file (in the home
    // folder for a database never saved), named after the title.
    QString DefaultPdfName() const;

    // Each true when the document was printed completely.
    bool PrintRecordingInfo();
    bool PrintChart();
    bool PrintTable();
    // One document of the parts in their order, the pages numbered over the whole document,
    // every table or rows part starting on a new page; a part of rows without data rows is
    // left out. A PDF gets info in its information dictionary. True when the document was
    // printed completely.
    bool PrintParts(std::vector<PrintedPart>& parts, const PdfInfo& info = {});

    // The layout on the printer's page, step by step (PrintTable runs them all).
    void PageSize();
    // PrintArea from the header and footer flags; raises TooShortMessage when nothing is left.
    void Margins();
    // Rows and column strips of Grid (or rows of Rows) in PrintArea; raises TooShortMessage
    // when not one row or parameter column fits.
    void Paginate();
    // Drawing on Canvas.
    void PrintHeaderFooter(int32_t page);
    void PrintInfoPage();
    void PrintRows(int32_t rowPage);
    // The page number strip s, row page p carries.
    int32_t PageNumber(int32_t strip, int32_t rowPage) const;

private:
    class Document;
    bool BusyTest();
    void ResetColors();
    // The pages of Grid or Rows as laid out, numbered from firstPage + 1.
    void PrintTablePages(Document& document, int32_t firstPage = 0);

    std::unique_ptr<QPrinter> printer_;
    PlainPrintInteraction plain_;
    PrintInteraction* interaction_ = nullptr;
    PdfInfo info_;
    bool printing_ = false;
    QString jobName_;
};

// The program's one printer.
TLayoutPrinter& LayoutPrinter();
