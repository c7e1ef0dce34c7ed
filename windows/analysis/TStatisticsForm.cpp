#include "windows/analysis/TStatisticsForm.h"

#include "analysis/StatisticsText.h"
#include "database/LChartRecord.h"
#include "database/LTableRecord.h"
#include "model/Auxilary.h"
#include "printing/PrintedTexts.h"
#include "tables/TableExport.h"
#include "texts/LocaleTextStyle.h"
#include "windows/analysis/TextTableModel.h"
#include "windows/charts/TChartForm.h"
#include "windows/shell/AttachPopup.h"
#include "windows/shell/Help.h"
#include "windows/shell/TextTableCommands.h"
#include "windows/tables/TTableForm.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int MaxClientWidth = 1280;
constexpr int MaxClientHeight = 420;

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TStatisticsForm::TStatisticsForm(TTableForm& table, QWidget* parent)
    : TStatisticsForm(
          table, table.Record().Sources, {}, [] { return QStringLiteral("From %1 to %2"); },
          parent) {
    connect(&table, &TTableForm::VisibleParametersChanged, this, &TStatisticsForm::ScheduleRefresh);
}

TStatisticsForm::TStatisticsForm(TChartForm& chart, QWidget* parent)
    : TStatisticsForm(
          chart, chart.Record().Sources,
          // Between the cursors when both are set, else the time range on the screen.
          [&chart] {
              if (chart.HasCursorSpan())
                  return std::optional<TimeRange>(
                      TimeRange{std::min(*chart.CursorA(), *chart.CursorB()),
                                std::max(*chart.CursorA(), *chart.CursorB())});
              return std::optional<TimeRange>(TimeRange{chart.ViewStart(), chart.ViewEnd()});
          },
          [&chart] {
              return chart.HasCursorSpan() ? QStringLiteral("Between the cursors from %1 to %2")
                                           : QStringLiteral("On screen from %1 to %2");
          },
          parent) {
    connect(&chart, &TChartForm::CursorsChanged, this, &TStatisticsForm::ScheduleRefresh);
    connect(&chart, &TChartForm::VisibleParametersChanged, this, &TStatisticsForm::ScheduleRefresh);
    connect(&chart, &TChartForm::VisibleTimesChanged, this, &TStatisticsForm::ScheduleRefresh);
}

TStatisticsForm::TStatisticsForm(QWidget& shown, const LParameterSourceGroup& group,
                                 RangeOfView range, RangeTextOf rangeText, QWidget* parent)
    : TToolForm(parent), shown_(&shown), group_(group), rangeOfView_(std::move(range)),
      rangeText_(std::move(rangeText)), style_(LocaleTextStyle()), range_(new QLabel(this)),
      grid_(new QTableView(this)), model_(new TextTableModel(StatisticsTable({}), style_, this)),
      popup_(new QMenu(this)) {
    SetHelpTopic(this, "statistics");
    ++LiveInstances::StatisticsFormCount;
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TStatisticsForm"));
    CloseOnEscape();
    range_->setObjectName(QStringLiteral("RangeLabel"));
    range_->setContentsMargins(6, 4, 6, 4);
    range_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid_->setObjectName(QStringLiteral("Grid"));
    grid_->setModel(model_);
    grid_->verticalHeader()->hide();
    // Nothing to select: the copy takes every row.
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setFocusPolicy(Qt::NoFocus);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setWordWrap(false);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(range_);
    layout->addWidget(grid_, 1);

    const CopyExportPrintItems items = AddCopyExportPrint(
        this, popup_, [this] { CopytoclipboardClick(); }, [this] { ExportClick(); },
        [this] { PrintClick(); });
    printAction_ = items.Print;
    AttachPopup(grid_, popup_);
    AttachPopup(range_, popup_);

    timer_.setSingleShot(true);
    timer_.setInterval(RefreshDelay);
    connect(&timer_, &QTimer::timeout, this, &TStatisticsForm::Refresh);
    UpdateCaption(shown.windowTitle());
    connect(&shown, &QWidget::windowTitleChanged, this, &TStatisticsForm::UpdateCaption);

    Refresh();
    FitToRows();
}

TStatisticsForm::~TStatisticsForm() {
    --LiveInstances::StatisticsFormCount;
}

void TStatisticsForm::UpdateCaption(const QString& shownTitle) {
    setWindowTitle(QStringLiteral("Statistics of %1").arg(shownTitle));
}

void TStatisticsForm::ScheduleRefresh() {
    timer_.start();
}

void TStatisticsForm::Refresh() {
    timer_.stop();
    if (!shown_)
        return;
    RangeStatistics all = StatisticsOfGroup(group_, rangeOfView_ ? rangeOfView_() : std::nullopt);
    statistics_ = {};
    for (SourceStatistics& row : all.Rows) {
        if (!row.Visible)
            continue;
        if (row.From)
            statistics_.From =
                statistics_.From ? std::min(*statistics_.From, *row.From) : *row.From;
        if (row.To)
            statistics_.To = statistics_.To ? std::max(*statistics_.To, *row.To) : *row.To;
        statistics_.Rows.push_back(std::move(row));
    }

    model_->SetTable(StatisticsTable(statistics_.Rows));
    if (statistics_.Rows.empty())
        range_->setText(QStringLiteral("No parameters are visible."));
    else if (!statistics_.From)
        range_->setText(QStringLiteral("No values in this range."));
    else
        range_->setText(rangeText_().arg(FromStd(style_.Time(*statistics_.From)),
                                         FromStd(style_.Time(*statistics_.To))));
    printAction_->setEnabled(!statistics_.Rows.empty());
}

void TStatisticsForm::FitToRows() {
    grid_->resizeColumnsToContents();
    const QHeaderView& header = *grid_->horizontalHeader();
    const int frame = 2 * grid_->frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int width = header.length() + frame;
    int height = header.height() + grid_->verticalHeader()->length() + frame;
    if (height > MaxClientHeight)
        width += scrollBar;
    if (width > MaxClientWidth)
        height += scrollBar;
    resize(std::min(width, MaxClientWidth),
           std::min(height, MaxClientHeight) + range_->sizeHint().height());
}

std::string TStatisticsForm::Text(CellFormat format) const {
    return model_->Table().Text(style_, format);
}

void TStatisticsForm::CopyToClipboard() {
    CopyTextTable(model_->Table(), style_);
}

void TStatisticsForm::Export() {
    ExportTextTable(this, model_->Table(), style_, windowTitle());
}

bool TStatisticsForm::ExportTo(const QString& fileName) {
    return WriteTextTable(this, fileName, model_->Table(), style_, windowTitle());
}

PrintedTexts TStatisticsForm::Printout() const {
    PrintedTexts texts(model_->Table(), style_, grid_->font());
    texts.SetCaption(range_->text());
    return texts;
}

bool TStatisticsForm::Print() {
    return PrintTextTable(model_->Table(), style_, grid_->font(), windowTitle(), range_->text());
}
