#include "printing/LayoutPrinter.h"

#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "model/RecordingFacts.h"
#include "printing/PrintedRows.h"
#include "printing/PrintedTable.h"
#include "resources/StringTable.h"
#include "texts/DateTimeText.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadStr(id));
}

// The selected flags of a table's sources as they were when printing began, put back
// however the printing ends.
class SavedSelection {
public:
    explicit SavedSelection(PrintedTable& table) : table_(table) {
        for (const auto& source : table.Group())
            flags_.push_back(source->Selected);
    }
    ~SavedSelection() {
        LParameterSourceGroup& group = table_.Group();
        for (int32_t i = 0; i < group.Count(); ++i)
            group.Items(i)->Selected = flags_[static_cast<size_t>(i)];
        table_.UpdateTable();
    }
    SavedSelection(const SavedSelection&) = delete;
    SavedSelection& operator=(const SavedSelection&) = delete;

    bool WasSelected(int32_t i) const { return flags_[static_cast<size_t>(i)]; }

private:
    PrintedTable& table_;
    std::vector<bool> flags_;
};

// Strips split the parameter columns of the layouts that have one per parameter; an Event
// table's two columns are printed whole on every page.
bool HasParameterColumns(const PrintedTable& table) {
    return table.Type() == ttHistoric || table.Type() == ttCumulative;
}

} // namespace

bool PlainPrintInteraction::ExecuteOptions(TLayoutPrinter& printer) {
    printer.ChartResolution = 100;
    return true;
}

QString PlainPrintInteraction::PdfFileName(const QString& proposed) {
    return pdf_.isEmpty() ? proposed : pdf_;
}

// One document on the printer, or in a PDF file that takes the place of the chosen one only
// when the document ends complete. Destroyed before End, it aborts.
class TLayoutPrinter::Document {
public:
    explicit Document(TLayoutPrinter& printer) : printer_(printer) {}
    ~Document() {
        if (printer_.printing_)
            Abort();
    }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // False when nothing was started: no file chosen, or the output could not be opened.
    bool Begin() {
        QPrinter& printer = *printer_.printer_;
        QPagedPaintDevice* device = &printer;
        if (printer.outputFormat() == QPrinter::PdfFormat) {
            name_ = printer_.Interaction().PdfFileName(printer_.DefaultPdfName());
            if (name_.isEmpty())
                return false;
            file_ = std::make_unique<QSaveFile>(name_);
            if (!file_->open(QIODevice::WriteOnly))
                return Failed(file_->errorString());
            // Qt writes no author or subject: the document is kept until they are added.
            if (!printer_.info_.Empty())
                buffer_ = std::make_unique<QBuffer>();
            if (buffer_ && !buffer_->open(QIODevice::WriteOnly))
                return Failed(buffer_->errorString());
            pdf_ = std::make_unique<QPdfWriter>(buffer_ ? static_cast<QIODevice*>(buffer_.get())
                                                        : file_.get());
            pdf_->setPageLayout(printer.pageLayout());
            pdf_->setResolution(printer.resolution());
            pdf_->setTitle(printer_.jobName_);
            pdf_->setCreator(QStringLiteral("VroView"));
            device = pdf_.get();
        } else {
            printer.setDocName(printer_.jobName_);
        }
        if (!painter_.begin(device))
            return Failed(file_ ? file_->errorString() : QString());
        device_ = device;
        printer_.printing_ = true;
        printer_.Canvas = &painter_;
        return true;
    }

    void NewPage() {
        if (!device_->newPage())
            throw std::runtime_error("new page");
    }

    bool End() {
        painter_.end();
        Finish();
        if (buffer_) {
            QByteArray& bytes = buffer_->buffer();
            AppendPdfInfo(bytes, printer_.info_);
            if (file_->write(bytes) != bytes.size())
                return Failed(file_->errorString());
        }
        if (file_ && !file_->commit())
            return Failed(file_->errorString());
        return true;
    }

    void Abort() {
        if (!pdf_)
            printer_.printer_->abort();
        painter_.end();
        if (file_)
            file_->cancelWriting();
        Finish();
    }

private:
    bool Failed(const QString& reason) {
        QString message =
            name_.isEmpty() ? QStringLiteral("The printer could not print the document.")
                            : QStringLiteral("The printout could not be written to %1.").arg(name_);
        if (!reason.isEmpty())
            message += QLatin1Char('\n') + reason;
        printer_.Interaction().ShowError(message);
        return false;
    }
    void Finish() {
        printer_.printing_ = false;
        printer_.Canvas = nullptr;
    }

    TLayoutPrinter& printer_;
    QString name_;
    std::unique_ptr<QSaveFile> file_;
    std::unique_ptr<QBuffer> buffer_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPagedPaintDevice* device_ = nullptr;
    QPainter painter_;
};

TLayoutPrinter::TLayoutPrinter()
    : HeaderFont(QGuiApplication::font()),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // A PDF gets the margins a desk printer would leave.
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        printer_->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

TLayoutPrinter::~TLayoutPrinter() = default;

QString TLayoutPrinter::DefaultPdfName() const {
    QString folder = QDir::homePath();
    if (Database && Database->Open() && Database->HasFileName())
        folder = QFileInfo(QFile::decodeName(Database->FileName().c_str())).absolutePath();
    QString name = Title.isEmpty() ? QStringLiteral("Printout") : Title;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

bool TLayoutPrinter::BusyTest() {
    if (printing_) {
        Interaction().ShowError(QString::fromLatin1(BusyMessage));
        return false;
    }
    jobName_ =
        Database && Database->Open() ? QFile::decodeName(Database->FileName().c_str()) : QString();
    return true;
}

void TLayoutPrinter::ResetColors() {
    Canvas->setPen(Qt::black);
    Canvas->setBrush(QBrush(Qt::white, Qt::SolidPattern));
}

void TLayoutPrinter::PageSize() {
    PageWidth = printer_->width();
    PageHeight = printer_->height();
}

void TLayoutPrinter::Margins() {
    PrintArea = QRect(QPoint(0, 0), QPoint(PageWidth - 1, PageHeight - 1));
    const int h = QFontMetrics(HeaderFont, printer_.get()).height();
    if (PrintTitle || PrintPageNumber)
        PrintArea.setTop(PrintArea.top() + static_cast<int>(1.5 * h));
    if (PrintLocation || PrintUserId)
        PrintArea.setBottom(PrintArea.bottom() - static_cast<int>(1.5 * h));
    if (PrintArea.bottom() < PrintArea.top())
        Raise(TooShortMessage);
}

void TLayoutPrinter::Paginate() {
    const QPaintDevice& device = *printer_;
    PrintedRows& rows = Grid ? *Grid : *Rows;
    rows.FitWidth(device, PrintArea.width());
    // Only rows that fit whole below the header row: one reaching past the print area would
    // print over the footer or off the page.
    int space = PrintArea.height() - rows.GetRowHeight(device, 0);
    RowsPerPage = 0;
    while (space >= rows.GetRowHeight(device, RowsPerPage + 1)) {
        space -= rows.GetRowHeight(device, RowsPerPage + 1);
        ++RowsPerPage;
    }
    if (RowsPerPage <= 0)
        Raise(TooShortMessage);
    RowPages = (LastRow - FirstRow + RowsPerPage) / RowsPerPage;

    if (Grid && HasParameterColumns(*Grid)) {
        ColumnsPerPage = (PageWidth - Grid->GetColWidth(device, 0)) / Grid->GetColWidth(device, 1);
        if (ColumnsPerPage <= 0)
            Raise(TooShortMessage);
        // A table with every parameter hidden still prints its time column.
        const int32_t columns = std::max(Grid->Group().SelectedCount(), 1);
        ColumnStrips = (columns + ColumnsPerPage - 1) / ColumnsPerPage;
    } else {
        ColumnsPerPage = rows.ColCount();
        ColumnStrips = 1;
    }
    PageCount = ColumnStrips * RowPages;
}

int32_t TLayoutPrinter::PageNumber(int32_t strip, int32_t rowPage) const {
    return strip + rowPage * ColumnStrips + 1;
}

void TLayoutPrinter::PrintHeaderFooter(int32_t page) {
    QPainter& canvas = *Canvas;
    canvas.setFont(HeaderFont);
    ResetColors();
    const QFontMetrics metrics(HeaderFont, canvas.device());
    const auto draw = [&](const QString& text, bool right, bool bottom) {
        const int x = right ? PageWidth - metrics.horizontalAdvance(text) : 0;
        const int y = bottom ? PageHeight - metrics.height() : 0;
        canvas.drawText(x, y + metrics.ascent(), text);
    };
    const LSession* recording = Database && Database->Open() ? &Database->Header() : nullptr;
    if (PrintTitle)
        draw(Title, false, false);
    if (PrintPageNumber)
        draw(QString::asprintf(LoadStr(StrPageOfPages).c_str(), page, PageCount), true, false);
    if (PrintLocation && recording && !recording->Location.empty())
        draw(Text(StrLocationLine)
                 .replace(QStringLiteral("%s"), QString::fromStdString(recording->Location)),
             false, true);
    if (PrintUserId && recording && !recording->UserID.empty())
        draw(Text(StrUserIdLine)
                 .replace(QStringLiteral("%s"), QString::fromStdString(recording->UserID)),
             true, true);
}

void TLayoutPrinter::PrintInfoPage() {
    const auto facts = RecordingFacts(Database->Header());
    QPainter& canvas = *Canvas;
    canvas.setFont(HeaderFont);
    ResetColors();
    const QFontMetrics metrics(HeaderFont, canvas.device());
    int widest = 0;
    for (const RecordingFact& fact : facts)
        widest = std::max(widest, metrics.horizontalAdvance(Text(fact.Label) + QLatin1Char(':')));
    const int x = PrintArea.left() + widest;
    int y = PrintArea.top();
    for (const RecordingFact& fact : facts) {
        const QString label = Text(fact.Label) + QLatin1Char(':');
        canvas.drawText(x - metrics.horizontalAdvance(label), y + metrics.ascent(), label);
        canvas.drawText(x, y + metrics.ascent(),
                        fact.Time ? DateTimeToStr(*fact.Time) : QString::fromStdString(fact.Text));
        y += static_cast<int>(1.25 * metrics.height());
    }
}

void TLayoutPrinter::PrintRows(int32_t rowPage) {
    QPainter& canvas = *Canvas;
    const PrintedRows& rows = Grid ? *Grid : *Rows;
    canvas.setFont(rows.Font());
    ResetColors();
    int y = PrintArea.top();
    rows.DrawRow(canvas, 0, PrintArea.left(), y);
    const int32_t first = FirstRow + rowPage * RowsPerPage;
    for (int32_t i = first; i < first + RowsPerPage && i <= LastRow; ++i)
        rows.DrawRow(canvas, i + 1, PrintArea.left(), y);
}

bool TLayoutPrinter::PrintRecordingInfo() {
    if (!Database || !Database->Open())
        return false;
    Title = QStringLiteral("Recording info");
    std::vector<PrintedPart> page{
        {.Title = Title, .Draw = [this](QPainter&, const QRect&, int32_t) { PrintInfoPage(); }}};
    return PrintParts(page);
}

bool TLayoutPrinter::PrintChart() {
    ChartDrawing chart = std::move(Chart);
    Chart = {};
    if (!chart || !BusyTest())
        return false;
    // Taken before the options, which set it on OK for the charts printed after this one.
    const int resolution = -ChartResolution;
    // A page taller than wide is turned, for this chart only.
    struct TurnedPage {
        QPrinter& printer;
        QPageLayout before;
        TurnedPage(QPrinter& p, bool chosen) : printer(p), before(p.pageLayout()) {
            const QRectF page = before.fullRect();
            if (chosen || page.width() >= page.height())
                return;
            QPageLayout turned = before;
            turned.setOrientation(before.orientation() == QPageLayout::Portrait
                                      ? QPageLayout::Landscape
                                      : QPageLayout::Portrait);
            printer.setPageLayout(turned);
        }
        ~TurnedPage() { printer.setPageLayout(before); }
        TurnedPage(const TurnedPage&) = delete;
        TurnedPage& operator=(const TurnedPage&) = delete;
    } turned(*printer_, PageChosen);
    std::vector<PrintedPart> page{
        {.Title = Title, .Draw = [&](QPainter& painter, const QRect& area, int32_t) {
             chart(painter, area, resolution);
         }}};
    return PrintParts(page);
}

bool TLayoutPrinter::PrintTable() {
    std::vector<PrintedPart> table{{.Title = Title,
                                    .Grid = Grid,
                                    .Rows = Grid ? nullptr : Rows,
                                    .FirstRow = FirstRow,
                                    .LastRow = LastRow,
                                    .Draw = {}}};
    Grid = nullptr;
    Rows = nullptr;
    return PrintParts(table);
}

namespace {
struct PrintCancelled {};
} // namespace

void TLayoutPrinter::PrintTablePages(Document& document, int32_t firstPage) {
    PrintInteraction& interaction = Interaction();
    // Rows without a Grid have no sources to switch.
    std::optional<SavedSelection> saved;
    if (Grid)
        saved.emplace(*Grid);
    int32_t last = -1;
    for (int32_t s = 0; s < ColumnStrips; ++s) {
        if (Grid && HasParameterColumns(*Grid)) {
            LParameterSourceGroup& group = Grid->Group();
            int32_t shown = 0;
            for (int32_t i = 0; i < group.Count(); ++i) {
                const bool show = saved->WasSelected(i) && i > last && shown < ColumnsPerPage;
                group.Items(i)->Selected = show;
                if (show) {
                    last = i;
                    ++shown;
                }
            }
            Grid->UpdateTable();
        }
        for (int32_t p = 0; p < RowPages; ++p) {
            // Counted over the whole document, so that the bar fills once.
            interaction.SetProgress(firstPage + s * RowPages + p + 1);
            PrintRows(p);
            PrintHeaderFooter(firstPage + PageNumber(s, p));
            if (p < RowPages - 1)
                document.NewPage();
            if (interaction.Cancelled())
                throw PrintCancelled();
        }
        if (s < ColumnStrips - 1)
            document.NewPage();
    }
}

namespace {

// The layout of one table or rows part, found before the document starts.
struct PartLayout {
    int32_t FirstPage = 0;
    int32_t Pages = 0;
    int32_t LastRow = 0;
    int32_t RowsPerPage = 0;
    int32_t ColumnsPerPage = 0;
    int32_t ColumnStrips = 0;
    int32_t RowPages = 0;
};

} // namespace

bool TLayoutPrinter::PrintParts(std::vector<PrintedPart>& parts, const PdfInfo& info) {
    struct Keep {
        PdfInfo& kept;
        ~Keep() { kept = {}; }
    } keep{info_};
    info_ = info;
    for (PrintedPart& part : parts)
        if (const PrintedRows* rows = part.Grid ? part.Grid : part.Rows) {
            part.FirstRow = std::max(part.FirstRow, 0);
            part.LastRow = std::min(part.LastRow, rows->DataRowCount() - 1);
        }
    std::erase_if(parts, [](const PrintedPart& part) {
        return part.Grid || part.Rows ? part.LastRow < part.FirstRow
                                      : part.Pages <= 0 || !part.Draw;
    });
    if (parts.empty() || !BusyTest())
        return false;
    // Every part is laid out before the options show the page count.
    PageSize();
    std::vector<PartLayout> layouts(parts.size());
    const auto useLayout = [&](size_t i) {
        const PrintedPart& part = parts[i];
        Grid = part.Grid;
        Rows = part.Grid ? part.Grid : part.Rows;
        FirstRow = part.FirstRow;
        LastRow = layouts[i].LastRow;
        RowsPerPage = layouts[i].RowsPerPage;
        ColumnsPerPage = layouts[i].ColumnsPerPage;
        ColumnStrips = layouts[i].ColumnStrips;
        RowPages = layouts[i].RowPages;
        Title = part.Title;
    };
    const auto clear = [this] {
        Grid = nullptr;
        Rows = nullptr;
    };
    int32_t pages = 0;
    try {
        Margins();
        for (size_t i = 0; i < parts.size(); ++i) {
            PartLayout& layout = layouts[i];
            layout.FirstPage = pages;
            if (PrintedRows* rows = parts[i].Grid ? parts[i].Grid : parts[i].Rows) {
                Grid = parts[i].Grid;
                Rows = rows;
                FirstRow = parts[i].FirstRow;
                LastRow = parts[i].LastRow;
                Paginate();
                layout = {pages,          PageCount,    LastRow, RowsPerPage,
                          ColumnsPerPage, ColumnStrips, RowPages};
            } else {
                layout.Pages = parts[i].Pages;
            }
            parts[i].FirstPage = pages + 1;
            pages += layout.Pages;
        }
    } catch (const VroError& e) {
        clear();
        Interaction().ShowError(QString::fromStdString(e.what()));
        return false;
    }
    clear();
    PageCount = pages;
    PrintInteraction& interaction = Interaction();
    bool printed = false;
    if (interaction.ExecuteOptions(*this)) {
        Document document(*this);
        if (document.Begin()) {
            try {
                interaction.StartProgress(*this);
                for (size_t i = 0; i < parts.size(); ++i) {
                    const int32_t first = layouts[i].FirstPage;
                    if (first > 0)
                        document.NewPage();
                    useLayout(i);
                    if (Rows) {
                        PrintTablePages(document, first);
                        clear();
                        continue;
                    }
                    for (int32_t p = 0; p < layouts[i].Pages; ++p) {
                        interaction.SetProgress(first + p + 1);
                        if (p > 0)
                            document.NewPage();
                        PrintHeaderFooter(first + p + 1);
                        Canvas->save();
                        try {
                            parts[i].Draw(*Canvas, PrintArea, p);
                        } catch (...) {
                            Canvas->restore();
                            throw;
                        }
                        Canvas->restore();
                        if (interaction.Cancelled())
                            throw PrintCancelled();
                    }
                }
                interaction.HideProgress();
                printed = document.End();
            } catch (...) {
                interaction.HideProgress();
            }
        }
    }
    clear();
    PageCount = pages;
    return printed;
}

TLayoutPrinter& LayoutPrinter() {
    // Goes with the application: a printer outliving it could not close its connections.
    static TLayoutPrinter* printer = [] {
        auto* made = new TLayoutPrinter;
        qAddPostRoutine([] { delete &LayoutPrinter(); });
        return made;
    }();
    return *printer;
}
