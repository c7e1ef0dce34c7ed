#include "printing/LayoutPrinter.h"

#include "database/LDatabase.h"
#include "database/SafeFileReplace.h"
#include "model/ErrorReport.h"
#include "model/RecordingFacts.h"
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

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

QString Text(int id) {
    return QString::fromStdString(LoadStr(id));
}

bool printing = false;

void ResetColors(QPainter& canvas) {
    canvas.setPen(Qt::black);
    canvas.setBrush(QBrush(Qt::white, Qt::SolidPattern));
}

// A page taller than wide turned for one print.
class TurnedPage {
public:
    TurnedPage(QPrinter& printer, bool turn) : printer_(printer), before_(printer.pageLayout()) {
        const QRectF page = before_.fullRect();
        if (!turn || page.width() >= page.height())
            return;
        QPageLayout turned = before_;
        turned.setOrientation(before_.orientation() == QPageLayout::Portrait
                                  ? QPageLayout::Landscape
                                  : QPageLayout::Portrait);
        printer_.setPageLayout(turned);
    }
    ~TurnedPage() { printer_.setPageLayout(before_); }
    TurnedPage(const TurnedPage&) = delete;
    TurnedPage& operator=(const TurnedPage&) = delete;

private:
    QPrinter& printer_;
    QPageLayout before_;
};

// One page of the document: of a rows part, row page RowPage of strip Strip; of a drawn part,
// its page RowPage.
struct Page {
    size_t Part;
    int32_t Strip;
    int32_t RowPage;
    int32_t Number;
};

struct Cancelled {};

// One document on the printer, or in a PDF file that takes the place of the chosen one only
// when the document ends complete. Destroyed before End, it aborts.
class Document {
public:
    Document(QPrinter& printer, const PrintOptions& options, PrintInteraction& interaction)
        : printer_(printer), options_(options), interaction_(interaction) {}
    ~Document() { Abort(); }
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // False when nothing was started: no file chosen, or the output could not be opened.
    bool Begin() {
        QPagedPaintDevice* device = &printer_;
        if (printer_.outputFormat() == QPrinter::PdfFormat) {
            name_ = interaction_.PdfFileName(DefaultPdfName(options_));
            if (name_.isEmpty())
                return false;
            try {
                file_ = std::make_unique<SafeFileReplace>(QFile::encodeName(name_).toStdString(),
                                                          false);
            } catch (const VroError& e) {
                return Failed(QString::fromStdString(e.what()));
            }
            if (!buffer_.open(QIODevice::WriteOnly))
                return Failed(buffer_.errorString());
            pdf_ = std::make_unique<QPdfWriter>(&buffer_);
            pdf_->setPageLayout(printer_.pageLayout());
            pdf_->setResolution(printer_.resolution());
            pdf_->setTitle(options_.Document.Name);
            pdf_->setCreator(QStringLiteral("VroView"));
            device = pdf_.get();
        } else {
            printer_.setDocName(options_.Document.Name);
        }
        if (!painter_.begin(device))
            return Failed({});
        device_ = device;
        printing = true;
        return true;
    }

    QPainter& Canvas() { return painter_; }

    void NewPage() {
        if (!device_->newPage())
            throw std::runtime_error("The printer could not start a new page.");
    }

    bool End() {
        painter_.end();
        device_ = nullptr;
        printing = false;
        if (!file_)
            return true;
        // Qt writes no author or subject: they are added to the complete document.
        QByteArray& bytes = buffer_.buffer();
        if (!options_.Info.Empty())
            AppendPdfInfo(bytes, options_.Info);
        try {
            file_->Writer().Write(bytes.constData(), bytes.size());
            file_->Commit();
        } catch (const VroError& e) {
            file_.reset();
            return Failed(QString::fromStdString(e.what()));
        }
        file_.reset();
        return true;
    }

    void Abort() {
        if (!device_)
            return;
        if (!pdf_)
            printer_.abort();
        painter_.end();
        file_.reset();
        device_ = nullptr;
        printing = false;
    }

private:
    bool Failed(const QString& reason) {
        QString message =
            name_.isEmpty() ? QStringLiteral("The printer could not print the document.")
                            : QStringLiteral("The printout could not be written to %1.").arg(name_);
        if (!reason.isEmpty())
            message += QLatin1Char('\n') + reason;
        interaction_.ShowError(message);
        return false;
    }

    QPrinter& printer_;
    const PrintOptions& options_;
    PrintInteraction& interaction_;
    QString name_;
    std::unique_ptr<SafeFileReplace> file_;
    QBuffer buffer_;
    std::unique_ptr<QPdfWriter> pdf_;
    QPagedPaintDevice* device_ = nullptr;
    QPainter painter_;
};

void DrawHeaderFooter(QPainter& canvas, const PrintOptions& options, const QString& title,
                      int32_t page, int32_t pageCount) {
    const PrintSettings& settings = options.Setup->Settings;
    const QFont font = QGuiApplication::font();
    canvas.setFont(font);
    ResetColors(canvas);
    const QFontMetrics metrics(font, canvas.device());
    const int width = options.Setup->Printer().width();
    const int height = options.Setup->Printer().height();
    const auto draw = [&](const QString& text, bool right, bool bottom) {
        const int x = right ? width - metrics.horizontalAdvance(text) : 0;
        const int y = bottom ? height - metrics.height() : 0;
        canvas.drawText(x, y + metrics.ascent(), text);
    };
    const PrintedDocument& document = options.Document;
    const bool below = options.PageNumberBelow;
    if (settings.PrintTitle)
        draw(title, false, false);
    if (settings.PrintPageNumber)
        draw(QString::asprintf(LoadStr(StrPageOfPages).c_str(), page, pageCount), true, below);
    if (below) {
        if (settings.PrintUserId && !document.UserId.isEmpty())
            draw(Text(StrUserIdLine).replace(QStringLiteral("%s"), document.UserId), false, true);
        return;
    }
    if (settings.PrintLocation && !document.Location.isEmpty())
        draw(Text(StrLocationLine).replace(QStringLiteral("%s"), document.Location), false, true);
    if (settings.PrintUserId && !document.UserId.isEmpty())
        draw(Text(StrUserIdLine).replace(QStringLiteral("%s"), document.UserId), true, true);
}

void DrawRows(QPainter& canvas, const PrintedPart& part, const RowsLayout& layout,
              const QRect& area, int32_t strip, int32_t rowPage) {
    const PrintedRows& rows = *part.Rows;
    canvas.setFont(rows.Font());
    ResetColors(canvas);
    int y = area.top();
    const ColumnRange columns = layout.Strips[static_cast<size_t>(strip)];
    rows.DrawStrip(canvas, 0, columns, area.left(), y);
    const int32_t first = part.FirstRow + rowPage * layout.RowsPerPage;
    for (int32_t i = first; i < first + layout.RowsPerPage && i <= part.LastRow; ++i)
        rows.DrawStrip(canvas, i + 1, columns, area.left(), y);
}

} // namespace

bool PlainPrintInteraction::ExecuteOptions(PrintSettings& settings, int32_t) {
    settings.ChartResolution = 100;
    return true;
}

QString PlainPrintInteraction::PdfFileName(const QString& proposed) {
    return pdf_.isEmpty() ? proposed : pdf_;
}

PrintSetup::PrintSetup() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    // A PDF gets the margins a desk printer would leave.
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        printer_->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
}

PrintSetup::~PrintSetup() = default;

PrintedDocument DocumentOf(const LDatabase* database) {
    if (!database || !database->Open())
        return {};
    const LSession& recording = database->Header();
    PrintedDocument document{QString::fromStdString(recording.Location),
                             QString::fromStdString(recording.UserID),
                             QFile::decodeName(database->FileName().c_str()),
                             {}};
    if (database->HasFileName())
        document.Folder = QFileInfo(document.Name).absolutePath();
    return document;
}

PrintOptions PrintOptionsOf(PrintSetup& setup, const LDatabase* database, const QString& title) {
    return {.Setup = &setup, .Title = title, .Document = DocumentOf(database)};
}

QString DefaultPdfName(const PrintOptions& options) {
    const QString folder =
        options.Document.Folder.isEmpty() ? QDir::homePath() : options.Document.Folder;
    QString name = options.Title.isEmpty() ? QStringLiteral("Printout") : options.Title;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

QRect PrintAreaOf(const PrintSetup& setup, bool pageNumberBelow) {
    const QPrinter& printer = setup.Printer();
    QRect area(QPoint(0, 0), QPoint(printer.width() - 1, printer.height() - 1));
    const int h = QFontMetrics(QGuiApplication::font(), &printer).height();
    const PrintSettings& s = setup.Settings;
    if (s.PrintTitle || (s.PrintPageNumber && !pageNumberBelow))
        area.setTop(area.top() + static_cast<int>(1.5 * h));
    if (pageNumberBelow ? s.PrintPageNumber || s.PrintUserId : s.PrintLocation || s.PrintUserId)
        area.setBottom(area.bottom() - static_cast<int>(1.5 * h));
    if (area.bottom() < area.top())
        Raise(TooShortMessage);
    return area;
}

RowsLayout LayOutRows(PrintedRows& rows, int32_t first, int32_t last, const QPaintDevice& device,
                      const QRect& area, int pageWidth) {
    RowsLayout layout;
    rows.FitWidth(device, area.width());
    // Only rows that fit whole below the header row: one reaching past the print area would
    // print over the footer or off the page.
    int space = area.height() - rows.GetRowHeight(device, 0);
    while (space >= rows.GetRowHeight(device, layout.RowsPerPage + 1)) {
        space -= rows.GetRowHeight(device, layout.RowsPerPage + 1);
        ++layout.RowsPerPage;
    }
    if (layout.RowsPerPage <= 0)
        Raise(TooShortMessage);
    layout.RowPages = (last - first + layout.RowsPerPage) / layout.RowsPerPage;

    const ColumnRange cut = rows.StripColumns();
    if (cut.First > cut.Last) {
        layout.Strips = {ColumnRange{}};
        return layout;
    }
    const int32_t from = cut.First, to = cut.Last;
    // Every strip takes as many columns as there is room for of the first one's width, the
    // width the grid gives its columns.
    const int32_t perStrip =
        (pageWidth - rows.FixedWidth(device)) / std::max(rows.StripColumnWidth(device, from), 1);
    if (perStrip <= 0)
        Raise(TooShortMessage);
    for (int32_t col = from; col <= to; col += perStrip)
        layout.Strips.push_back({col, std::min(col + perStrip - 1, to)});
    if (layout.Strips.empty())
        layout.Strips.push_back({from, to});
    return layout;
}

PrintedPart RecordingInfoPart(const LSession& recording) {
    return {
        .Title = QStringLiteral("Recording info"),
        .Draw = [facts = RecordingFacts(recording)](QPainter& canvas, const QRect& area, int32_t) {
            const QFont font = QGuiApplication::font();
            canvas.setFont(font);
            ResetColors(canvas);
            const QFontMetrics metrics(font, canvas.device());
            int widest = 0;
            for (const RecordingFact& fact : facts)
                widest = std::max(widest,
                                  metrics.horizontalAdvance(Text(fact.Label) + QLatin1Char(':')));
            const int x = area.left() + widest;
            int y = area.top();
            for (const RecordingFact& fact : facts) {
                const QString label = Text(fact.Label) + QLatin1Char(':');
                canvas.drawText(x - metrics.horizontalAdvance(label), y + metrics.ascent(), label);
                canvas.drawText(x, y + metrics.ascent(),
                                fact.Time ? DateTimeFormatter().FullDateTimeToStr(*fact.Time)
                                          : QString::fromStdString(fact.Text));
                y += static_cast<int>(1.25 * metrics.height());
            }
        }};
}

Printout PrintChart(PrintOptions options, const ChartDrawing& chart,
                    PrintInteraction& interaction) {
    if (!chart)
        return {};
    // Taken before the options, which set it on OK for the charts printed after this one.
    const int resolution = -options.Setup->Settings.ChartResolution;
    options.Landscape = true;
    std::vector<PrintedPart> page{{.Draw = [&](QPainter& painter, const QRect& area, int32_t) {
        chart(painter, area, resolution);
    }}};
    return Print(page, options, interaction);
}

Printout Print(std::vector<PrintedPart>& parts, const PrintOptions& options,
               PrintInteraction& interaction) {
    Printout printout;
    PrintSetup& setup = *options.Setup;
    for (PrintedPart& part : parts)
        if (part.Rows) {
            part.FirstRow = std::max(part.FirstRow, 0);
            part.LastRow = std::min(part.LastRow, part.Rows->DataRowCount() - 1);
        }
    std::erase_if(parts, [](const PrintedPart& part) {
        return part.Rows ? part.LastRow < part.FirstRow : part.Pages <= 0 || !part.Draw;
    });
    if (parts.empty())
        return printout;
    if (printing) {
        interaction.ShowError(QString::fromLatin1(BusyMessage));
        return printout;
    }
    TurnedPage turned(setup.Printer(), options.Landscape && !setup.PageChosen);

    // Every part is laid out before the options show the page count.
    std::vector<RowsLayout> layouts(parts.size());
    std::vector<Page> pages;
    try {
        printout.Area = PrintAreaOf(setup, options.PageNumberBelow);
        const int pageWidth = setup.Printer().width();
        for (size_t i = 0; i < parts.size(); ++i) {
            PrintedPart& part = parts[i];
            const auto first = static_cast<int32_t>(pages.size());
            part.FirstPage = first + 1;
            if (!part.Rows) {
                for (int32_t p = 0; p < part.Pages; ++p)
                    pages.push_back({i, 0, p, first + p + 1});
                continue;
            }
            RowsLayout& layout = layouts[i];
            layout = LayOutRows(*part.Rows, part.FirstRow, part.LastRow, setup.Printer(),
                                printout.Area, pageWidth);
            const auto strips = static_cast<int32_t>(layout.Strips.size());
            for (int32_t s = 0; s < strips; ++s)
                for (int32_t p = 0; p < layout.RowPages; ++p)
                    pages.push_back({i, s, p, first + s + p * strips + 1});
        }
    } catch (const VroError& e) {
        interaction.ShowError(QString::fromStdString(e.what()));
        return printout;
    }
    printout.Pages = static_cast<int32_t>(pages.size());

    if (!interaction.ExecuteOptions(setup.Settings, printout.Pages))
        return printout;
    Document document(setup.Printer(), options, interaction);
    if (!document.Begin())
        return printout;
    interaction.StartProgress(printout.Pages);
    QString failure;
    try {
        QPainter& canvas = document.Canvas();
        for (size_t i = 0; i < pages.size(); ++i) {
            const Page& page = pages[i];
            const PrintedPart& part = parts[page.Part];
            interaction.SetProgress(static_cast<int32_t>(i) + 1);
            if (i > 0)
                document.NewPage();
            DrawHeaderFooter(canvas, options, part.Title.isEmpty() ? options.Title : part.Title,
                             page.Number, printout.Pages);
            struct Saved {
                QPainter& canvas;
                explicit Saved(QPainter& c) : canvas(c) { canvas.save(); }
                ~Saved() { canvas.restore(); }
            } saved(canvas);
            if (part.Rows)
                DrawRows(canvas, part, layouts[page.Part], printout.Area, page.Strip, page.RowPage);
            else
                part.Draw(canvas, printout.Area, page.RowPage);
            if (interaction.Cancelled())
                throw Cancelled();
        }
        interaction.HideProgress();
        printout.Printed = document.End();
        return printout;
    } catch (const Cancelled&) {
    } catch (const std::exception& e) {
        failure = QString::fromStdString(e.what());
    } catch (...) {
        failure = QStringLiteral("The printer could not print the document.");
    }
    interaction.HideProgress();
    document.Abort();
    if (!failure.isEmpty())
        interaction.ShowError(failure);
    return printout;
}

bool Printing() {
    return printing;
}

namespace {
PrintInteraction* programInteraction = nullptr;
const LDatabase* programDatabase = nullptr;
} // namespace

PrintSetup& ProgramPrintSetup() {
    // Goes with the application: a printer outliving it could not close its connections.
    static PrintSetup* setup = [] {
        auto* made = new PrintSetup;
        qAddPostRoutine([] { delete &ProgramPrintSetup(); });
        return made;
    }();
    return *setup;
}

void SetProgramInteraction(PrintInteraction* interaction) {
    programInteraction = interaction;
}

PrintInteraction& ProgramInteraction() {
    static PlainPrintInteraction plain;
    return programInteraction ? *programInteraction : plain;
}

void SetProgramDatabase(const LDatabase* database) {
    programDatabase = database;
}

const LDatabase* ProgramDatabase() {
    return programDatabase;
}

PrintOptions ProgramPrintOptions(const QString& title) {
    return PrintOptionsOf(ProgramPrintSetup(), programDatabase, title);
}
