#include "windows/tables/TTableForm.h"

#include "database/LTableRecord.h"
#include "model/Auxilary.h"
#include "printing/LayoutPrinter.h"
#include "printing/PrintedTable.h"
#include "reports/WorkbookExport.h"
#include "tables/TableExport.h"
#include "windows/shell/Help.h"
#include "windows/shell/MenuImages.h"
#include "windows/shell/SaveFileDialog.h"
#include "windows/shell/TCopyProgressForm.h"
#include "windows/tables/TParameterGrid.h"
#include "windows/tables/TParameterListView.h"
#include "windows/tables/TVisibleParametersDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <new>

namespace {

constexpr int MaxClientWidth = 640;
constexpr int MaxClientHeight = 400;
// Rows between two looks at the event queue while copying or exporting.
constexpr int32_t RowsPerStep = 400;

int CopiesRunning = 0;

// Runs the shared Visible parameters dialog on the group; true when it closed with OK.
bool RunVisibleParametersDialog(LParameterSourceGroup& group) {
    TVisibleParametersDialog& dialog = VisibleParametersDialog();
    dialog.ParameterListView()->SetGroup(&group);
    return dialog.Execute();
}

} // namespace

// While a copy runs the grid has no pop-up menu and shows the wait cursor.
class TTableForm::CopyingState {
public:
    explicit CopyingState(TTableForm& form)
        : form_(form), policy_(form.table_->contextMenuPolicy()) {
        form_.copying_ = true;
        ++CopiesRunning;
        form_.table_->setContextMenuPolicy(Qt::NoContextMenu);
        form_.table_->setCursor(Qt::WaitCursor);
    }
    ~CopyingState() {
        form_.table_->unsetCursor();
        form_.table_->setContextMenuPolicy(policy_);
        --CopiesRunning;
        form_.copying_ = false;
    }
    CopyingState(const CopyingState&) = delete;
    CopyingState& operator=(const CopyingState&) = delete;

private:
    TTableForm& form_;
    Qt::ContextMenuPolicy policy_;
};

TTableForm::TTableForm(LTableRecord& record, QWidget* parent)
    : TToolForm(parent), record_(record), table_(new TParameterGrid(this)), note_(new QLabel(this)),
      popup_(new QMenu(this)) {
    SetHelpTopic(this, "tables");
    ++LiveInstances::TableFormCount;
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("TTableForm"));
    table_->setObjectName(QStringLiteral("Table"));
    note_->setObjectName(QStringLiteral("NoteLabel"));
    note_->setWordWrap(true);
    note_->setContentsMargins(6, 4, 6, 4);
    note_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(note_);
    layout->addWidget(table_, 1);

    popup_->setObjectName(QStringLiteral("VisibleParametersPopup"));
    AddAction(popup_, "VisibleParameters", "Visible parameters",
              &TTableForm::VisibleParametersClick);
    popup_->addSeparator();
    QMenu* copy = popup_->addMenu(MenuImage(14), QStringLiteral("Copy to clipboard"));
    copy->menuAction()->setObjectName(QStringLiteral("Copytoclipboard1"));
    AddAction(copy, "CopyEntiretable", "Entire table", &TTableForm::CopyEntiretableClick);
    QAction* copyRange = AddAction(copy, "CopySelectedsubrange", "Selected range",
                                   &TTableForm::CopySelectedsubrangeClick);
    copyRange->setShortcut(QKeySequence::Copy);
    addAction(copyRange);
    popup_->addSeparator();
    QMenu* print = popup_->addMenu(MenuImage(5), QStringLiteral("Print"));
    print->menuAction()->setObjectName(QStringLiteral("Print1"));
    AddAction(print, "PrintEntiretable", "Entire table", &TTableForm::PrintEntiretableClick);
    AddAction(print, "PrintSelectedsubrange", "Selected range",
              &TTableForm::PrintSelectedsubrangeClick);
    popup_->addSeparator();
    AddAction(popup_, "Export", "Export\u2026", &TTableForm::ExportClick);
    popup_->addSeparator();
    AddAction(popup_, "Statistics", "Statistics", &TTableForm::StatisticsClick);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { popup_->popup(table_->viewport()->mapToGlobal(at)); });

    resize(MaxClientWidth, MaxClientHeight);
    UpdateCaption();
    ShowGroup();
}

TTableForm::~TTableForm() {
    --LiveInstances::TableFormCount;
}

QAction* TTableForm::AddAction(QMenu* menu, const char* name, const char* caption,
                               void (TTableForm::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

int TTableForm::CopiesInProgress() {
    return CopiesRunning;
}

void TTableForm::ShowGroup() {
    QSize available = screen()->availableGeometry().size();
    // Before the window is shown its frame is not known; a title bar and borders are assumed.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(8, 32);
    ShowGroup(available - frame);
}

// The texts of a copy must not change between its two passes.
void TTableForm::ShowGroup(const QSize& available) {
    if (copying_)
        return;
    const TableLayout layout = ChooseLayout(record_.Sources);
    table_->SetGroup(&record_.Sources);
    table_->SetType(layout.Type);
    if (layout.LeavesOut)
        note_->setText(QStringLiteral("This table also holds Event or Cumulative parameters, "
                                      "which a Historic table cannot show; they are left out."));
    else if (layout.Type == TableText::NoLayout)
        note_->setText(QStringLiteral("This table holds no parameters that a table can show."));
    note_->setVisible(layout.LeavesOut || layout.Type == TableText::NoLayout);
    // A grid that scrolls one way gets room for that scroll bar, so that it needs no other.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    int width = table_->GridWidth();
    int height = table_->GridHeight();
    if (height > MaxClientHeight)
        width += scrollBar;
    if (width > MaxClientWidth)
        height += scrollBar;
    width = std::min({width, MaxClientWidth, available.width()});
    const int noteHeight = note_->isVisibleTo(this) ? note_->heightForWidth(width) : 0;
    height = std::min(height, MaxClientHeight) + std::max(noteHeight, 0);
    resize(width, std::min(height, available.height()));
}

void TTableForm::UpdateTable() {
    if (!copying_)
        table_->UpdateTable();
}

void TTableForm::UpdateCaption() {
    setWindowTitle(QString::fromStdString(record_.Caption));
}

void TTableForm::SetCaption(const QString& caption) {
    record_.Caption = caption.toStdString();
    UpdateCaption();
}

int32_t TTableForm::LastDataRow() const {
    return table_->RowCount() - table_->FixedRows() - 1;
}

void TTableForm::CopyRows(int32_t first, int32_t last) {
    if (copying_ || first < 0 || last < first)
        return;
    bool copied = false;
    {
        CopyingState copying(*this);
        TCopyProgressForm& progress = CopyProgressForm();
        progress.SetCopyingWindow(this, [this] { return copying_; });
        QProgressBar* bar = progress.ProgressBar();
        bar->setRange(0, std::max((last - first) * 2, 1));
        bar->setValue(0);
        progress.show();

        // One countdown over both passes: the window repaints and answers meanwhile.
        int32_t countdown = RowsPerStep;
        auto step = [&] {
            if (--countdown > 0)
                return;
            QApplication::processEvents();
            countdown = RowsPerStep;
            bar->setValue(bar->value() + RowsPerStep);
        };
        // The first pass measures, the second writes into a buffer of exactly that size.
        const TableText& text = table_->Text();
        const int32_t fixed = text.FixedRows();
        try {
            size_t total = text.GetRowText(0, nullptr);
            for (int32_t k = first; k <= last; ++k) {
                total += text.GetRowText(k + fixed, nullptr);
                step();
            }
            QByteArray buffer(static_cast<qsizetype>(total), Qt::Uninitialized);
            char* out = buffer.data();
            out += text.GetRowText(0, out);
            for (int32_t k = first; k <= last; ++k) {
                out += text.GetRowText(k + fixed, out);
                step();
            }
            QApplication::clipboard()->setText(QString::fromUtf8(buffer));
            copied = true;
        } catch (const std::bad_alloc&) {
        }
        progress.hide();
    }
    if (!copied)
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("There is not enough memory to copy the table."));
}

void TTableForm::CopyEntireTable() {
    CopyRows(0, LastDataRow());
}

void TTableForm::CopySelectedRange() {
    int32_t top, bottom;
    table_->SelectedRows(top, bottom);
    CopyRows(top, bottom);
}

PrintedTable TTableForm::Printout() const {
    PrintedTable table(record_.Sources, table_->Type(), table_->font(), table_->Text().Locale(),
                       table_->logicalDpiY());
    std::vector<int> widths;
    for (int32_t col = 0; col < table_->ColCount(); ++col)
        widths.push_back(table_->ColWidths(col));
    table.SetColWidths(std::move(widths));
    return table;
}

bool TTableForm::PrintRows(int32_t first, int32_t last) {
    if (copying_)
        return false;
    std::vector<PrintedPart> parts{
        {.Rows = std::make_shared<PrintedTable>(Printout()), .FirstRow = first, .LastRow = last}};
    return ::Print(parts, ProgramPrintOptions(windowTitle()), ProgramInteraction()).Printed;
}

void TTableForm::PrintEntireTable() {
    PrintRows(0, LastDataRow());
}

void TTableForm::PrintSelectedRange() {
    int32_t top, bottom;
    table_->SelectedRows(top, bottom);
    PrintRows(top, bottom);
}

void TTableForm::Export() {
    const QString name = AskSaveFileName(this, QStringLiteral("Export table"),
                                         {QStringLiteral("Tab-separated text (*.txt *.tsv)"),
                                          QStringLiteral("Comma-separated values (*.csv)"),
                                          QStringLiteral("Excel workbook (*.xlsx)")},
                                         windowTitle());
    if (!name.isEmpty())
        ExportTo(name, 0, LastDataRow());
}

bool TTableForm::ExportTo(const QString& fileName, int32_t first, int32_t last) {
    if (copying_ || first < 0 || last < first)
        return false;
    CopyingState copying(*this);
    QProgressDialog progress(QStringLiteral("Exporting %1").arg(windowTitle()),
                             QStringLiteral("Cancel"), 0, last - first + 1, this);
    progress.setWindowTitle(QStringLiteral("Export"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QString error;
    const ExportProgress step = [&](int32_t done) {
        progress.setValue(done);
        QApplication::processEvents();
        return !progress.wasCanceled();
    };
    const ExportResult result =
        IsWorkbookFileName(fileName)
            ? ExportTableWorkbook(table_->Text(), first, last, windowTitle().toStdString(),
                                  fileName, error, step)
            : ExportTable(table_->Text(), first, last, fileName, FormatForFileName(fileName), error,
                          step);
    progress.reset();
    if (result == ExportResult::Failed)
        QMessageBox::warning(
            this, windowTitle(),
            QStringLiteral("The table could not be written to %1.\n%2").arg(fileName, error));
    if (result == ExportResult::Written)
        ReportWrittenFile(fileName);
    return result == ExportResult::Written;
}

void TTableForm::VisibleParametersClick() {
    // Nothing of a table changes while one prints.
    if (Printing()) {
        QMessageBox::information(this, windowTitle(),
                                 QStringLiteral("The visible parameters cannot be changed while "
                                                "a table prints. Wait until the printout "
                                                "finishes."));
        return;
    }
    if (RunVisibleParametersDialog(record_.Sources)) {
        UpdateTable();
        emit VisibleParametersChanged();
    }
}
