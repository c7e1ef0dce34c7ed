#include "windows/analysis/TCompareForm.h"

#include "analysis/CompareTables.h"
#include "database/LDatabase.h"
#include "figures/CompareCharts.h"
#include "model/ErrorReport.h"
#include "printing/LayoutPrinter.h"
#include "reports/WorkbookExport.h"
#include "texts/LocaleTextStyle.h"
#include "texts/WriteFileSafely.h"
#include "windows/analysis/SurveyChartView.h"
#include "windows/analysis/TCompareDialog.h"
#include "windows/analysis/TextTableModel.h"
#include "windows/reports/CompareReport.h"
#include "windows/shell/AttachPopup.h"
#include "windows/shell/Help.h"
#include "windows/shell/SaveFileDialog.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/SvgPicture.h"
#include "windows/shell/TextTableCommands.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// The size of a page's picture when the window is not shown.
constexpr QSize PictureSize(900, 600);

const char* const PageTitles[] = {"Summary", "Daily profile", "Energy per day", "Load duration"};

QString FileNameOf(const std::string& file) {
    return QFileInfo(QFile::decodeName(file.c_str())).fileName();
}

void SetUpGrid(QTableView* grid, TextTableModel* model, const char* name) {
    grid->setObjectName(QString::fromLatin1(name));
    grid->setModel(model);
    grid->verticalHeader()->hide();
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setHighlightSections(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->resizeColumnsToContents();
    // As tall as its rows, so that the page scrolls as one.
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedHeight(grid->horizontalHeader()->sizeHint().height() +
                         model->rowCount() * grid->verticalHeader()->defaultSectionSize() +
                         2 * grid->frameWidth() + 2);
}

} // namespace

TCompareForm::TCompareForm(const LDatabase& open, Comparison comparison, QWidget* parent)
    : TToolForm(parent), open_(open), comparison_(std::move(comparison)), style_(LocaleTextStyle()),
      pages_(new QTabWidget(this)), popup_(new QMenu(this)) {
    SetHelpTopic(this, "compare");
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TCompareForm"));
    const QString before = FileNameOf(comparison_.Options.BeforeFile);
    const QString after = FileNameOf(comparison_.Options.AfterFile);
    setWindowTitle(before == after ? QStringLiteral("Compare two ranges of %1").arg(before)
                                   : QStringLiteral("Compare %1 with %2").arg(before, after));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(pages_);
    pages_->setObjectName(QStringLiteral("Pages"));
    const auto addPage = [this](QWidget* page, Page kind) {
        AttachPopup(page, popup_);
        pages_->addTab(page, QString::fromLatin1(PageTitles[kind]));
    };
    addPage(MakeSummaryPage(), SummaryPage);
    for (Page page : {ProfilePage, EnergyPage, DurationPage}) {
        auto* view = new SurveyChartView(
            [this, page](QPainter& painter, const QRectF& area) {
                Paint(page, painter, area, ScreenLook());
            },
            this);
        view->setObjectName(QString::fromLatin1(PageTitles[page]).remove(' ') + "Chart");
        addPage(view, page);
    }

    AddCopyExportPrint(
        this, popup_, [this] { CopytoclipboardClick(); }, [this] { ExportClick(); },
        [this] { PrintClick(); });
    QAction* report = popup_->addAction(QStringLiteral("Print report"));
    report->setObjectName(QStringLiteral("PrintReport"));
    connect(report, &QAction::triggered, this, &TCompareForm::PrintReportClick);
    resize(900, 640);
}

TCompareForm::~TCompareForm() = default;

std::unique_ptr<TCompareForm> TCompareForm::Ask(QWidget* parent, const LDatabase& open) {
    TCompareDialog dialog(open, parent);
    if (!dialog.Execute())
        return nullptr;
    StoreTariffChoice(dialog.Tariff());
    const CompareOptions options = dialog.Options();
    const std::unique_ptr<LDatabase> other = dialog.TakeOtherDatabase();
    const LDatabase& otherSide = other ? *other : open;
    const bool openIsBefore = dialog.OpenIsBefore();
    try {
        Comparison c = RunComparison((openIsBefore ? open : otherSide).Parameters(),
                                     (openIsBefore ? otherSide : open).Parameters(), options);
        return std::make_unique<TCompareForm>(open, std::move(c));
    } catch (const VroError& e) {
        QMessageBox::warning(parent, QStringLiteral("Compare"), QString::fromStdString(e.what()));
        return nullptr;
    }
}

QWidget* TCompareForm::MakeSummaryPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    summaryGrid_ = new QTableView(page);
    summaryModel_ = new TextTableModel(CompareSummaryTable(comparison_), style_, this);
    SetUpGrid(summaryGrid_, summaryModel_, "SummaryGrid");
    savingGrid_ = new QTableView(page);
    savingModel_ = new TextTableModel(SavingTable(comparison_), style_, this);
    SetUpGrid(savingGrid_, savingModel_, "SavingGrid");
    notes_ = new QLabel(page);
    notes_->setObjectName(QStringLiteral("NotesLabel"));
    notes_->setWordWrap(true);
    notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QStringList lines;
    for (const std::string& line : CompareNotes(comparison_))
        lines << QString::fromStdString(line);
    notes_->setText(lines.join('\n'));
    layout->addWidget(summaryGrid_);
    layout->addWidget(savingGrid_);
    layout->addWidget(notes_);
    layout->addStretch(1);
    AttachPopup(summaryGrid_, popup_);
    AttachPopup(savingGrid_, popup_);
    return page;
}

TCompareForm::Page TCompareForm::CurrentPage() const {
    return static_cast<Page>(std::max(0, pages_->currentIndex()));
}

TextTable TCompareForm::Table(Page page) const {
    switch (page) {
    case ProfilePage:
        return CompareProfileTable(comparison_);
    case EnergyPage:
        return CompareEnergyTable(comparison_);
    case DurationPage:
        return CompareDurationTable(comparison_);
    case SummaryPage:
        break;
    }
    return CompareSummaryTable(comparison_);
}

std::string TCompareForm::Text(Page page, CellFormat format) const {
    if (page != SummaryPage)
        return format == CellFormat::Csv ? Table(page).Csv() : Table(page).Text(style_, format);
    if (format == CellFormat::Tab)
        return CompareSummaryText(comparison_, style_);
    return CompareSummaryTable(comparison_).Csv() + "\r\n" + SavingTable(comparison_).Csv();
}

ChartLook TCompareForm::ScreenLook() const {
    ChartLook look;
    look.Font = font();
    look.Style = style_;
    return look;
}

void TCompareForm::Paint(Page page, QPainter& painter, const QRectF& area,
                         const ChartLook& look) const {
    switch (page) {
    case SummaryPage:
        PaintCompareSummary(painter, area, comparison_, look);
        break;
    case ProfilePage:
        PaintCompareProfiles(painter, area, comparison_, look);
        break;
    case EnergyPage:
        PaintCompareEnergy(painter, area, comparison_, look);
        break;
    case DurationPage:
        PaintCompareDuration(painter, area, comparison_, look);
        break;
    }
}

QImage TCompareForm::Picture(Page page, const QSize& size) const {
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    Paint(page, painter, QRectF(QPointF(0, 0), QSizeF(size)), ScreenLook());
    return picture;
}

QByteArray TCompareForm::Svg(Page page) const {
    return SvgBytes(PictureSize, windowTitle(), [&](QPaintDevice& device) {
        QPainter painter(&device);
        Paint(page, painter, QRectF(QPointF(0, 0), QSizeF(PictureSize)), ScreenLook());
    });
}

void TCompareForm::CopyToClipboard() {
    const Page page = CurrentPage();
    ::CopyToClipboard(QString::fromStdString(Text(page, CellFormat::Tab)), Svg(page),
                      Picture(page, PictureSize));
}

void TCompareForm::Export() {
    const Page page = CurrentPage();
    const QStringList filters = TextTableFilters() << QStringLiteral("SVG picture (*.svg)")
                                                   << QStringLiteral("PNG picture (*.png)");
    const QString name =
        AskSaveFileName(this, QStringLiteral("Export comparison"), filters,
                        windowTitle() + ' ' + QString::fromLatin1(PageTitles[page]));
    if (!name.isEmpty())
        ExportTo(name);
}

bool TCompareForm::ExportTo(const QString& fileName) {
    const Page page = CurrentPage();
    const QString ending = QFileInfo(fileName).suffix().toLower();
    const QString title = QString::fromLatin1(PageTitles[page]);
    if (page != SummaryPage && ending != QStringLiteral("svg") && ending != QStringLiteral("png"))
        return WriteTextTable(this, fileName, Table(page), style_, title);
    QString error;
    bool written = false;
    if (ending == QStringLiteral("xlsx")) {
        const TextTable summary = CompareSummaryTable(comparison_);
        const TextTable saving = SavingTable(comparison_);
        written = ExportTextTablesWorkbook({{&summary, "Summary"}, {&saving, "Saving"}}, fileName,
                                           error) == ExportResult::Written;
    } else {
        QByteArray bytes;
        if (ending == QStringLiteral("svg")) {
            bytes = Svg(page);
        } else if (ending == QStringLiteral("png")) {
            QBuffer png(&bytes);
            png.open(QIODevice::WriteOnly);
            Picture(page, PictureSize).save(&png, "PNG");
        } else {
            bytes = QByteArray::fromStdString(
                Text(page, ending == QStringLiteral("csv") ? CellFormat::Csv : CellFormat::Tab));
        }
        written = WriteFileSafely(fileName, bytes, error);
    }
    if (written)
        ReportWrittenFile(fileName);
    else
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("The comparison could not be written to %1.\n%2").arg(fileName, error));
    return written;
}

bool TCompareForm::Print() {
    const Page page = CurrentPage();
    const QString title =
        windowTitle() + QStringLiteral(": ") + QString::fromLatin1(PageTitles[page]);
    // Laid out for the page's own resolution: fonts in points, pens a pixel per 1/96 inch.
    const ChartDrawing chart = [this, page](QPainter& painter, const QRect& area, int) {
        ChartLook look = ScreenLook();
        if (look.Font.pointSizeF() <= 0)
            look.Font.setPointSizeF(9);
        look.PenScale = painter.device()->logicalDpiX() / 96.0;
        Paint(page, painter, QRectF(area), look);
    };
    return PrintChart(PrintOptionsOf(ProgramPrintSetup(), &open_, title), chart,
                      ProgramInteraction())
        .Printed;
}

bool TCompareForm::PrintReport() {
    // Signed by the engineer the survey report's dialog keeps.
    return PrintCompareReport(ProgramPrintSetup(), ProgramInteraction(), comparison_, &open_,
                              windowTitle(), StoredReportAuthor())
        .Printed;
}
