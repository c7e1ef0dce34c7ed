#pragma once

#include "printing/PdfInfo.h"
#include "printing/PrintedRows.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

class LDatabase;
class LSession;
class QPaintDevice;
class QPainter;
class QPrinter;
class PrintInteraction;

// A chart draws itself into area of the painter's page, at the chart's print resolution.
using ChartDrawing = std::function<void(QPainter& painter, const QRect& area, int resolution)>;

// What the Printing options dialog keeps for the run: the lines of the header and footer, and
// the chart resolution its Print sets to 100.
struct PrintSettings {
    bool PrintPageNumber = true;
    bool PrintUserId = true;
    bool PrintLocation = true;
    bool PrintTitle = true;
    int32_t ChartResolution = 0;
};

// The user's printer: the printer of Print Setup, whether its page was chosen there, and the
// options dialog's settings. The windowed program has one (ProgramPrintSetup); vrotool and
// the tests make their own.
class PrintSetup {
public:
    PrintSetup();
    ~PrintSetup();
    PrintSetup(const PrintSetup&) = delete;
    PrintSetup& operator=(const PrintSetup&) = delete;

    // Its page layout and resolution lay out every document.
    QPrinter& Printer() const { return *printer_; }
    // Until set, a chart prints on the page turned to landscape, the shape of a chart.
    bool PageChosen = false;
    PrintSettings Settings;

private:
    std::unique_ptr<QPrinter> printer_;
};

// The document a printout comes from: the footer's location and user id, the job's name (the
// database file) and the folder its PDF goes to by default (empty: the home folder).
struct PrintedDocument {
    QString Location, UserId, Name, Folder;
};
// Of the open database; nothing without one.
PrintedDocument DocumentOf(const LDatabase* database);

// Everything a print takes besides its parts.
struct PrintOptions {
    // Not owned.
    PrintSetup* Setup = nullptr;
    // In the header (PrintedPart::Title where a part has none) and the PDF's default name.
    QString Title = {};
    PrintedDocument Document = {};
    // The PDF's information dictionary; empty, Qt's own.
    PdfInfo Info = {};
    // A page taller than wide is turned for this print, unless the user chose it.
    bool Landscape = false;
    // A report's pages: the page number in the footer at the right, the user id at the left;
    // no location line, the title naming the site.
    bool PageNumberBelow = false;
};

// The options of a print of the database (null: none) on the setup.
PrintOptions PrintOptionsOf(PrintSetup& setup, const LDatabase* database, const QString& title);

// One part of a document: a table or rows of texts (Rows, in row pages, its strip columns cut
// into strips where the page is too narrow; only the data rows FirstRow to LastRow, clamped to
// the rows there are), or Pages pages that Draw draws into the print area,
// the page counted from 0 within the part. Contents are the headings the part starts with, for
// a table of contents: Print sets FirstPage (from 1) before it draws.
struct PrintedPart {
    QString Title = {};
    std::shared_ptr<PrintedRows> Rows = {};
    int32_t FirstRow = 0;
    int32_t LastRow = std::numeric_limits<int32_t>::max();
    int32_t Pages = 1;
    std::function<void(QPainter& painter, const QRect& area, int32_t page)> Draw = {};
    QStringList Contents = {};
    int32_t FirstPage = 0;
};

// The recording information of the session as labelled lines.
PrintedPart RecordingInfoPart(const LSession& recording);

// What the printer needs from the windows around it: the options, where a PDF goes, the
// progress with its Cancel, and a place to say why nothing is printed. The windowed program
// shows its dialogs; vrotool and the tests answer without a window.
class PrintInteraction {
public:
    virtual ~PrintInteraction() = default;
    // Shows the settings and the page count; on OK stores the settings, ChartResolution 100.
    // False when cancelled.
    virtual bool ExecuteOptions(PrintSettings& settings, int32_t pageCount) = 0;
    // The PDF file to write, proposed is where it goes by default; empty to print nothing.
    virtual QString PdfFileName(const QString& proposed) = 0;
    // Shows the progress from 0 to pageCount, with Cancelled cleared.
    virtual void StartProgress(int32_t pageCount) = 0;
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
    bool ExecuteOptions(PrintSettings& settings, int32_t pageCount) override;
    QString PdfFileName(const QString& proposed) override;
    void StartProgress(int32_t) override {}
    void SetProgress(int32_t) override {}
    bool Cancelled() const override { return false; }
    void HideProgress() override {}
    void ShowError(const QString& message) override { Errors << message; }

    QStringList Errors;

private:
    QString pdf_;
};

inline constexpr char BusyMessage[] =
    "The printer is currently printing.  Wait until the previous job finishes.";
inline constexpr char TooShortMessage[] = "Page too short to print!";

// The print area of the setup's page in its pixels: the page without the header and footer
// lines of the settings. Raises TooShortMessage when nothing is left.
QRect PrintAreaOf(const PrintSetup& setup, bool pageNumberBelow = false);

// How rows print in an area: row pages of RowsPerPage rows, each in every strip of columns.
struct RowsLayout {
    int32_t RowsPerPage = 0;
    int32_t RowPages = 0;
    std::vector<ColumnRange> Strips;
    int32_t Pages() const { return RowPages * static_cast<int32_t>(Strips.size()); }
};
// The data rows first to last of rows (fitted to the area's width) below their header row,
// their strip columns cut into strips of the page's width. Raises TooShortMessage when not one
// row or strip column fits.
RowsLayout LayOutRows(PrintedRows& rows, int32_t first, int32_t last, const QPaintDevice& device,
                      const QRect& area, int pageWidth);

// A print and what it came to: the pages it was laid out in and its print area.
struct Printout {
    bool Printed = false;
    int32_t Pages = 0;
    QRect Area;
};

// One document of the parts in their order on the setup's printer, or into a PDF file when
// that is its output, with the title and page number above and the location and user id
// below, the pages numbered over the whole document; every rows part starts on a new page and
// is left out without data rows. Pages of a part cut into strips are numbered across the strips
// first. Every part is laid out before the options dialog shows the page count; the progress
// counts the pages and Cancel is seen after each. A job cancelled or failed leaves nothing: the
// printer's document is aborted, a PDF replaces the chosen file only when complete, and a
// drawing that fails shows its message. Refused (BusyMessage) while another print runs.
Printout Print(std::vector<PrintedPart>& parts, const PrintOptions& options,
               PrintInteraction& interaction);

// The chart on one page, drawn at the resolution the settings had before the options dialog,
// the page turned to landscape unless the user chose it.
Printout PrintChart(PrintOptions options, const ChartDrawing& chart, PrintInteraction& interaction);

// Where a PDF goes unless the user says otherwise: the document's folder (the home folder for
// a database never saved), named after the title.
QString DefaultPdfName(const PrintOptions& options);

// A print runs (its events processed meanwhile): nothing it prints may go away.
bool Printing();

// The windowed program's printer of Print Setup.
PrintSetup& ProgramPrintSetup();
// The windowed program's answers (null: PlainPrintInteraction's). Not owned.
void SetProgramInteraction(PrintInteraction* interaction);
PrintInteraction& ProgramInteraction();
// The open database whose location, user id and file the windows' printouts carry (null:
// none). Not owned.
void SetProgramDatabase(const LDatabase* database);
const LDatabase* ProgramDatabase();
// A print of the windowed program titled title: the open database on its printer.
PrintOptions ProgramPrintOptions(const QString& title);
