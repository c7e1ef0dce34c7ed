#include "app/TMainForm.h"

#include "app/TAboutBox.h"
#include "app/TJoinDialog.h"
#include "app/TRecordingInfoForm.h"
#include "app/TSessionInfoDialog.h"
#include "app/TSettingsDialog.h"
#include "database/ImportFile.h"
#include "database/RecordingFile.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/ImpossibleValues.h"
#include "model/ParameterTable.h"
#include "printing/LayoutPrinter.h"
#include "resources/DataFiles.h"
#include "resources/StringTable.h"
#include "texts/LocaleNumbers.h"
#include "ui_TMainForm.h"
#include "windows/analysis/TCompareForm.h"
#include "windows/analysis/TStatisticsForm.h"
#include "windows/analysis/TSurveyForm.h"
#include "windows/charts/TChartForm.h"
#include "windows/reports/TSurveyReportDialog.h"
#include "windows/shell/Help.h"
#include "windows/shell/MenuImages.h"
#include "windows/shell/SaveFileDialog.h"
#include "windows/shell/WindowInstance.h"
#include "windows/shell/WindowPlacement.h"
#include "windows/tables/TChartSelectParametersDialog.h"
#include "windows/tables/TParameterListView.h"
#include "windows/tables/TTableForm.h"
#include "windows/tables/TTableSelectParametersDialog.h"
#include "windows/tables/TTimeSelectionDialog.h"

#include <QAbstractItemDelegate>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace {

// The status bar of the main window that says where the last save or export wrote.
QStatusBar* WrittenFileBar = nullptr;

QPointer<TMainForm> Instance;

// Tree nodes of tables and charts carry their record.
constexpr int RecordRole = Qt::UserRole;

std::string LocalName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}
QString DisplayName(const std::string& fileName) {
    return QFile::decodeName(fileName.c_str());
}

} // namespace

TMainForm* MainForm() {
    return Instance;
}

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), form_(std::make_unique<Ui::TMainForm>()) {
    SetHelpTopic(this, "contents");
    if (!Instance)
        Instance = this;
    LoadShellResources();
    form_->setupUi(this);
    setWindowIcon(ProgramIcon());

    // Pictures of the menu items, tool buttons and tree nodes, by their image-list index.
    const std::pair<QAction*, int> images[] = {
        {form_->MINew, 0},       {form_->MIOpen, 1},         {form_->MISave, 2},
        {form_->MIImport, 4},    {form_->MICreateTable, 11}, {form_->MICreateChart, 10},
        {form_->MISettings, 12}, {form_->MIContents, 9},     {form_->PopCopy, 14},
        {form_->PopDelete, 8},   {form_->PopProperties, 13}, {form_->PopPrint, 5},
        {form_->MISurvey, 15}};
    for (const auto& [action, index] : images)
        action->setIcon(MenuImage(index));

    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(this);
        statusPanels_[i]->setMinimumWidth(i == 0 ? 200 : 70);
        statusPanels_[i]->setToolTip(form_->StatusBar->toolTip());
        // However many parameters it names, the last panel's note widens neither the bar nor
        // the window; its tip has it whole.
        if (i == 2)
            statusPanels_[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        form_->StatusBar->addWidget(statusPanels_[i], i == 2 ? 1 : 0);
    }

    // Where the last save or export wrote, for as long as the user needs to read it.
    WrittenFileBar = form_->StatusBar;
    SetWrittenFileHandler([](const QString& fileName) {
        if (WrittenFileBar)
            WrittenFileBar->showMessage(QStringLiteral("Wrote %1").arg(fileName), 15000);
    });

    popup_ = new QMenu(this);
    popup_->addAction(form_->PopView);
    popup_->setDefaultAction(form_->PopView);
    popup_->addSeparator();
    popup_->addActions({form_->PopCopy, form_->PopExport, form_->PopRename, form_->PopDelete});
    popup_->addSeparator();
    popup_->addAction(form_->PopProperties);
    popup_->addAction(form_->PopStatistics);
    popup_->addSeparator();
    popup_->addAction(form_->PopPrint);

    const std::pair<QAction*, void (TMainForm::*)()> commands[] = {
        {form_->MINew, &TMainForm::MINewClick},
        {form_->MIOpen, &TMainForm::MIOpenClick},
        {form_->MISave, &TMainForm::MISaveClick},
        {form_->MISaveAs, &TMainForm::MISaveAsClick},
        {form_->MIClose, &TMainForm::MICloseClick},
        {form_->MIImport, &TMainForm::MIImportClick},
        {form_->MIJoin, &TMainForm::MIJoinClick},
        {form_->MISurveyReport, &TMainForm::MISurveyReportClick},
        {form_->MICompare, &TMainForm::MICompareClick},
        {form_->MIPrintSetup, &TMainForm::MIPrintSetupClick},
        {form_->MIExit, &TMainForm::MIExitClick},
        {form_->MICreateTable, &TMainForm::MICreateTableClick},
        {form_->MICreateChart, &TMainForm::MICreateChartClick},
        {form_->MIRecordingInfo, &TMainForm::MIRecordingInfoClick},
        {form_->MISurvey, &TMainForm::MISurveyClick},
        {form_->MISettings, &TMainForm::MISettingsClick},
        {form_->MIContents, &TMainForm::MIContentsClick},
        {form_->MIAbout, &TMainForm::MIAboutClick},
        {form_->PopView, &TMainForm::PopViewClick},
        {form_->PopCopy, &TMainForm::PopCopyClick},
        {form_->PopExport, &TMainForm::PopExportClick},
        {form_->PopRename, &TMainForm::PopRenameClick},
        {form_->PopDelete, &TMainForm::PopDeleteClick},
        {form_->PopProperties, &TMainForm::PopPropertiesClick},
        {form_->PopPrint, &TMainForm::PopPrintClick},
        {form_->PopStatistics, &TMainForm::PopStatisticsClick}};
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, handler);

    QTreeWidget* tree = form_->Explorer;
    // The desktop's keys on the tree: Ctrl+C copies, Delete deletes, Enter shows the selected
    // item (F2 renames, as the tree's edit key). Only while the tree has the focus, so that
    // an item being renamed keeps its keys.
    form_->PopCopy->setShortcut(QKeySequence::Copy);
    form_->PopDelete->setShortcut(QKeySequence::Delete);
    form_->PopView->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    for (QAction* action : {form_->PopCopy, form_->PopDelete, form_->PopView}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        tree->addAction(action);
    }
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* node) { ExplorerChange(node); });
    connect(tree, &QTreeWidget::customContextMenuRequested, this, &TMainForm::ExplorerMouseDown);
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this] { PopViewClick(); });
    // An accepted edit counts even when the text stayed the same (as a rename always did);
    // only table and chart nodes are editable at all.
    connect(tree->itemDelegate(), &QAbstractItemDelegate::commitData, this,
            [this] { ExplorerEdited(form_->Explorer->currentItem()); });

    askFileName_ = [this](FileDialogKind kind) { return AskFileName(kind); };

    LoadAdImage();
    InitCatalogue();
    recentFiles_.SetMenu(form_->MIReopen, [this](const QString& f) { MIReopenClick(f); });
    InitExplorer();
    SetProgramDatabase(&database_);
}

TMainForm::~TMainForm() {
    if (WrittenFileBar == form_->StatusBar) {
        WrittenFileBar = nullptr;
        SetWrittenFileHandler(nullptr);
    }
    if (ProgramDatabase() == &database_)
        SetProgramDatabase(nullptr);
    CloseItemWindows();
    database_.Close();
}

void TMainForm::CloseItemWindows() {
    surveyWindow_.reset();
    compareWindow_.reset();
    statisticsWindows_.clear();
    itemWindows_.clear();
}

bool TMainForm::RefuseWhileBusy() {
    QString message;
    if (Printing())
        message = QString::fromLatin1(BusyMessage);
    else if (TTableForm::CopiesInProgress() > 0)
        message = QStringLiteral("A table is being copied. Wait until the copy finishes.");
    else
        return false;
    QMessageBox::information(this, QString::fromLatin1(Caption), message);
    return true;
}

TTableForm& TMainForm::TableWindow(LTableRecord& record) {
    std::unique_ptr<QWidget>& window = itemWindows_[&record];
    if (!window) {
        window = std::make_unique<TTableForm>(record);
        auto* table = static_cast<TTableForm*>(window.get());
        connect(table, &TTableForm::StatisticsRequested, this,
                [this, table] { ShowStatistics(*table); });
        PlaceItemWindow(*window);
    }
    return static_cast<TTableForm&>(*window);
}

void TMainForm::AdoptToolWindow(QWidget& window) {
    // A window of the main window's, as a desktop program's tool windows are: the window
    // manager keeps it above the main window and minimises it with it. X11 window managers
    // learn the owner only of a dialog's type (WM_TRANSIENT_FOR); the window keeps its buttons.
    if (window.parentWidget() != this)
        window.setParent(this, (window.windowFlags() & ~Qt::WindowType_Mask) | Qt::Dialog);
}

QPoint TMainForm::WorkAreaOrigin() const {
    // Beside the tree's captions and below the menu and tool bar, so that neither is covered.
    const QTreeWidget* tree = form_->Explorer;
    int captions = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        if (!(*it)->isHidden())
            captions =
                std::max(captions, tree->visualItemRect(*it).left() +
                                       tree->fontMetrics().horizontalAdvance((*it)->text(0)));
    return form_->ClientArea->mapToGlobal(
        QPoint(std::min(captions + 24, form_->ClientArea->width() / 3), 0));
}

void TMainForm::PlaceItemWindow(QWidget& window, const QWidget* beside) {
    AdoptToolWindow(window);
    // Cascaded from beside the tree, each window a step further than the one before, and
    // kept whole on the screen; a window that belongs to another stands beside that one.
    constexpr int Step = 28;
    constexpr int Steps = 8;
    // The first window stands a title bar below the tree's top.
    constexpr int TitleBar = 32;
    const QRect screen = this->screen()->availableGeometry();
    QSize size = window.size().boundedTo(LargestWindowOn(screen));
    size = size.expandedTo(window.minimumSize().boundedTo(size));
    window.resize(size);
    if (beside && beside->isVisible()) {
        const QRect other = beside->frameGeometry();
        const int gap = 8;
        if (other.right() + gap + size.width() <= screen.right())
            return window.move(
                WholeOnScreen(QPoint(other.right() + gap, other.top()), size, screen));
        if (other.left() - gap - size.width() >= screen.left())
            return window.move(WholeOnScreen(QPoint(other.left() - gap - size.width(), other.top()),
                                             size, screen));
        if (other.bottom() + gap + size.height() <= screen.bottom())
            return window.move(
                WholeOnScreen(QPoint(other.left(), other.bottom() + gap), size, screen));
    }
    const int n = placedWindows_++ % Steps;
    window.move(
        WholeOnScreen(WorkAreaOrigin() + QPoint(n * Step, n * Step + TitleBar), size, screen));
}

TTableForm* TMainForm::ExistingTableWindow(const LTableRecord* record) const {
    const auto it = itemWindows_.find(record);
    return it == itemWindows_.end() ? nullptr : static_cast<TTableForm*>(it->second.get());
}

TChartForm* TMainForm::ChartWindow(LChartRecord& record) {
    if (TChartForm* window = ExistingChartWindow(&record))
        return window;
    std::unique_ptr<TChartForm> window;
    try {
        window = std::make_unique<TChartForm>(record);
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        return nullptr;
    }
    connect(window.get(), &TChartForm::RecordChanged, this, &TMainForm::SetModified);
    connect(window.get(), &TChartForm::StatisticsRequested, this,
            [this, chart = window.get()] { ShowStatistics(*chart); });
    PlaceItemWindow(*window);
    TChartForm* made = window.get();
    itemWindows_[&record] = std::move(window);
    return made;
}

TChartForm* TMainForm::ExistingChartWindow(const LChartRecord* record) const {
    const auto it = itemWindows_.find(record);
    return it == itemWindows_.end() ? nullptr : static_cast<TChartForm*>(it->second.get());
}

TStatisticsForm&
TMainForm::ShowStatistics(const void* record,
                          const std::function<std::unique_ptr<TStatisticsForm>()>& make,
                          const QWidget* shown) {
    std::unique_ptr<TStatisticsForm>& window = statisticsWindows_[record];
    if (window) {
        window->Refresh();
    } else {
        window = make();
        PlaceItemWindow(*window, shown);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return *window;
}

TStatisticsForm& TMainForm::ShowStatistics(TTableForm& window) {
    return ShowStatistics(
        &window.Record(), [&window] { return std::make_unique<TStatisticsForm>(window); }, &window);
}

TStatisticsForm& TMainForm::ShowStatistics(TChartForm& window) {
    return ShowStatistics(
        &window.Record(), [&window] { return std::make_unique<TStatisticsForm>(window); }, &window);
}

TStatisticsForm* TMainForm::ExistingStatisticsWindow(const void* record) const {
    const auto it = statisticsWindows_.find(record);
    return it == statisticsWindows_.end() ? nullptr : it->second.get();
}

TSurveyForm* TMainForm::ShowSurvey() {
    if (!database_.Open())
        return nullptr;
    if (!surveyWindow_) {
        surveyWindow_ = std::make_unique<TSurveyForm>(database_);
        PlaceItemWindow(*surveyWindow_);
    }
    surveyWindow_->show();
    surveyWindow_->raise();
    surveyWindow_->activateWindow();
    return surveyWindow_.get();
}

LTableRecord* TMainForm::SelectedTable() const {
    QTreeWidgetItem* node = form_->Explorer->currentItem();
    if (selectedKind_ != ikTable || !node || !database_.Open())
        return nullptr;
    return reinterpret_cast<LTableRecord*>(node->data(0, RecordRole).value<quintptr>());
}

LChartRecord* TMainForm::SelectedChart() const {
    QTreeWidgetItem* node = form_->Explorer->currentItem();
    if (selectedKind_ != ikChart || !node || !database_.Open())
        return nullptr;
    return reinterpret_cast<LChartRecord*>(node->data(0, RecordRole).value<quintptr>());
}

void TMainForm::LoadAdImage() {
    // The working folder's Banner.bmp, else the one installed with the program; none, or one
    // that does not load, leaves the picture empty without a word.
    const std::filesystem::path file = FindDataFile("Banner.bmp", ProgramFolder());
    QPixmap banner;
    if (!file.empty() && banner.load(QFile::decodeName(file.c_str())))
        form_->AdImage->setPixmap(banner);
}

QString TMainForm::CommandLineFile(QStringList args, bool& debug) {
    // Only a leading switch counts: a file in a folder named "debug" is just a file.
    debug = !args.isEmpty() && args[0].compare(QLatin1String("/debug"), Qt::CaseInsensitive) == 0;
    if (debug)
        args.removeFirst();
    return args.join(QLatin1Char(' ')).trimmed();
}

void TMainForm::FormCreate(const QString& commandLineFile) {
    if (commandLineFile.isEmpty())
        return;
    // A 1.x export file handed over by the file manager is imported, as Import would.
    if (commandLineFile.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive))
        ImportFromFile(commandLineFile);
    else
        OpenDatabase(commandLineFile, true);
}

QLabel* TMainForm::AdImage() const {
    return form_->AdImage;
}
QTreeWidget* TMainForm::Explorer() const {
    return form_->Explorer;
}

QString TMainForm::StatusText(int panel) const {
    return statusPanels_[panel]->text();
}

void TMainForm::InitExplorer() {
    QTreeWidget* tree = form_->Explorer;
    rebuilding_ = true;
    tree->clear();
    const std::tuple<QTreeWidgetItem**, int, int> roots[] = {
        {&recordingInfoNode_, StrRecordingInfoNode, 13},
        {&tablesNode_, StrTablesNode, 11},
        {&chartsNode_, StrChartsNode, 10}};
    for (const auto& [node, text, image] : roots) {
        *node = new QTreeWidgetItem(tree, {QString::fromStdString(LoadStr(text))});
        (*node)->setIcon(0, MenuImage(image));
    }
    tree->setCurrentItem(recordingInfoNode_);
    rebuilding_ = false;
    ExplorerChange(recordingInfoNode_);
    tree->hide();
}

void TMainForm::UpdateExplorer() {
    rebuilding_ = true;
    auto rebuild = [this](QTreeWidgetItem* parent, const auto& records) {
        const bool expanded = parent->isExpanded();
        qDeleteAll(parent->takeChildren());
        if (database_.Open())
            for (const auto& record : records) {
                auto* child =
                    new QTreeWidgetItem(parent, {QString::fromStdString(record->Caption)});
                child->setIcon(0, parent->icon(0));
                child->setData(0, RecordRole,
                               QVariant::fromValue(reinterpret_cast<quintptr>(record.get())));
                child->setFlags(child->flags() | Qt::ItemIsEditable);
            }
        parent->setExpanded(expanded);
    };
    rebuild(tablesNode_, database_.Tables());
    rebuild(chartsNode_, database_.Charts());
    rebuilding_ = false;
    ExplorerChange(form_->Explorer->currentItem());
}

void TMainForm::ExplorerChange(QTreeWidgetItem* node) {
    if (rebuilding_)
        return;
    if (!node)
        selectedKind_ = ikNone;
    else if (node == recordingInfoNode_)
        selectedKind_ = ikRecordingInfo;
    else if (node == tablesNode_)
        selectedKind_ = ikTables;
    else if (node->parent() == tablesNode_)
        selectedKind_ = ikTable;
    else if (node == chartsNode_)
        selectedKind_ = ikCharts;
    else if (node->parent() == chartsNode_)
        selectedKind_ = ikChart;
    else
        selectedKind_ = ikNone;
    const TExplorerItemKind k = selectedKind_;
    const bool item = k == ikTable || k == ikChart;
    form_->PopView->setEnabled(true);
    form_->PopProperties->setEnabled(k == ikRecordingInfo || k == ikChart);
    form_->PopRename->setEnabled(item);
    form_->PopDelete->setEnabled(item);
    form_->PopCopy->setEnabled(item || k == ikRecordingInfo);
    form_->PopExport->setEnabled(k == ikTable);
    form_->PopStatistics->setEnabled(item);
    UpdateControls();
}

void TMainForm::UpdateControls() {
    const bool open = database_.Open();
    const bool modified = open && database_.Modified();
    form_->Explorer->setVisible(open);
    // The banner is the newcomer's guide: shown whenever no database is open, unless the
    // settings say otherwise.
    form_->AdImage->setVisible(!open && (WindowInstance<TSettingsDialog>::Exists()
                                             ? SettingsDialog().ShowAd()
                                             : TSettingsDialog::StoredShowAd()));
    form_->MIReopen->setEnabled(recentFiles_.Count() > 0);
    for (QAction* a : {form_->MISave, form_->MISaveAs, form_->MIClose, form_->MICreateTable,
                       form_->MICreateChart, form_->MIRecordingInfo, form_->MISurvey,
                       form_->MISurveyReport, form_->MICompare})
        a->setEnabled(open);
    const TExplorerItemKind k = selectedKind_;
    form_->PopPrint->setEnabled(open && (k == ikRecordingInfo || k == ikChart || k == ikTable));
    if (!open && WindowInstance<TRecordingInfoForm>::Exists())
        RecordingInfoForm().hide();
    const QString status =
        open ? QFileInfo(DisplayName(database_.FileName())).fileName() : QString();
    statusPanels_[0]->setText(status);
    setWindowTitle(QString::fromLatin1(Caption) + ' ' + status);
    statusPanels_[1]->setText(modified ? QString::fromStdString(LoadStr(StrModified)) : QString());
    if (!open)
        statusPanels_[2]->clear();
}

void TMainForm::NoteImpossibleValues() {
    QStringList lines;
    for (const std::string& line :
         ImpossibleValueLines(FindImpossibleValues(database_.Parameters()), LocaleNumbers()))
        lines << QString::fromStdString(line);
    statusPanels_[2]->setText(lines.join(QStringLiteral("; ")));
    statusPanels_[2]->setToolTip(lines.join(QLatin1Char('\n')));
}

void TMainForm::SetModified() {
    database_.SetModified(true);
    UpdateControls();
}

void TMainForm::ShowFailure(const QString& message) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), message, QMessageBox::Ok, this);
    box.exec();
}

std::unique_ptr<QFileDialog> TMainForm::MakeFileDialog(FileDialogKind kind, QWidget* parent) {
    const QString database = QStringLiteral("Vireo Zure 2.0 Files (*.vro);;All Files (*)");
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setNameFilter(database);
    dialog->setDefaultSuffix(QStringLiteral("vro"));
    switch (kind) {
    case FileDialogKind::Open:
        dialog->setWindowTitle(QStringLiteral("Open file"));
        dialog->setFileMode(QFileDialog::ExistingFile);
        break;
    case FileDialogKind::Save:
        dialog->setWindowTitle(QStringLiteral("Save file"));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        // No overwrite question, as before: saving keeps a backup when the user wants one.
        dialog->setOption(QFileDialog::DontConfirmOverwrite);
        break;
    case FileDialogKind::Import:
        dialog->setWindowTitle(QStringLiteral("Import file"));
        dialog->setFileMode(QFileDialog::ExistingFile);
        dialog->setNameFilter(QStringLiteral("Vireo Zure 1.x Export files (*.bin);;All Files (*)"));
        dialog->setDefaultSuffix(QStringLiteral("bin"));
        break;
    }
    return dialog;
}

QString TMainForm::AskFileName(FileDialogKind kind) {
    const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(kind, this);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().first();
}

void TMainForm::OpenDatabase(const QString& fileName, bool addToRecent) {
    CloseItemWindows();
    try {
        LoadDatabaseFile(database_, LocalName(fileName));
        NoteImpossibleValues();
        if (addToRecent)
            recentFiles_.Add(fileName);
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        database_.Close();
    }
    UpdateControls();
    UpdateExplorer();
}

bool TMainForm::SaveDatabase(bool askName) {
    if (!database_.Open())
        return false;
    if (!database_.HasFileName() || askName) {
        const QString name = askFileName_(FileDialogKind::Save);
        if (name.isEmpty())
            return false;
        database_.SetFileName(LocalName(name));
    }
    try {
        database_.Save(SettingsDialog().Backup());
        recentFiles_.Add(DisplayName(database_.FileName()));
        ReportWrittenFile(DisplayName(database_.FileName()));
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

bool TMainForm::CloseDatabase() {
    if (RefuseWhileBusy())
        return false;
    bool result = true;
    if (database_.Open() && database_.Modified()) {
        QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
                        QString::fromStdString(LoadStr(StrSaveChanges)),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        switch (box.exec()) {
        case QMessageBox::Yes:
            result = SaveDatabase(false);
            break;
        case QMessageBox::No:
            break;
        default:
            result = false;
        }
    }
    if (result) {
        CloseItemWindows();
        database_.Close();
        UpdateControls();
        UpdateExplorer();
        ReportLeaks();
    }
    return result;
}

void TMainForm::MINewClick() {
    if (!CloseDatabase())
        return;
    std::string bytes;
    if (!downloader_ || !downloader_(bytes))
        return;
    database_.New();
    try {
        database_.Parse(bytes);
        NoteImpossibleValues();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        database_.Close();
        UpdateControls();
        return;
    }
    EditInfo(database_.Header(), false);
    SetModified();
    UpdateExplorer();
}

void TMainForm::MIOpenClick() {
    if (!CloseDatabase())
        return;
    const QString name = askFileName_(FileDialogKind::Open);
    if (!name.isEmpty())
        OpenDatabase(name, true);
}

void TMainForm::MIReopenClick(const QString& fileName) {
    if (CloseDatabase())
        OpenDatabase(fileName, false);
}

void TMainForm::MISaveClick() {
    SaveDatabase(false);
    UpdateControls();
}

void TMainForm::MISaveAsClick() {
    SaveDatabase(true);
    UpdateControls();
}

void TMainForm::MICloseClick() {
    CloseDatabase();
}

void TMainForm::MIImportClick() {
    if (!CloseDatabase())
        return;
    const QString name = askFileName_(FileDialogKind::Import);
    if (!name.isEmpty())
        ImportFromFile(name);
}

void TMainForm::MIJoinClick() {
    if (RefuseWhileBusy())
        return;
    TJoinDialog dialog(this);
    if (!dialog.Execute() || !CloseDatabase())
        return;
    try {
        dialog.JoinInto(database_);
        NoteImpossibleValues();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        database_.Close();
        UpdateControls();
        return;
    }
    SetModified();
    UpdateExplorer();
}

void TMainForm::ImportFromFile(const QString& name) {
    CloseItemWindows();
    try {
        ImportFile(database_, LocalName(name), [](LSession& session) { EditInfo(session, false); });
        NoteImpossibleValues();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        database_.Close();
        UpdateControls();
        return;
    }
    SetModified();
    UpdateExplorer();
}

void TMainForm::MISurveyReportClick() {
    RunSurveyReport(this, database_);
}

void TMainForm::MICompareClick() {
    if (RefuseWhileBusy() || !database_.Open())
        return;
    if (auto window = TCompareForm::Ask(this, database_)) {
        compareWindow_ = std::move(window);
        PlaceItemWindow(*compareWindow_);
        compareWindow_->show();
    }
}

void TMainForm::MIPrintSetupClick() {
    QPrintDialog dialog(&ProgramPrintSetup().Printer(), this);
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    if (dialog.exec() == QDialog::Accepted)
        ProgramPrintSetup().PageChosen = true;
}

void TMainForm::MIExitClick() {
    close();
}

bool TMainForm::AskTimeRange(LParameterSourceGroup& group) {
    const LSession& session = database_.Header();
    if (session.HistoricPointMax <= 0)
        return false;
    TTimeSelectionDialog& range = TimeSelectionDialog();
    range.SetRecording(session.StartTime, session.RateSeconds(), session.HistoricPointMax);
    if (!range.Execute())
        return false;
    group.SetSubset(range.StartIndex(), range.EndIndex());
    return true;
}

void TMainForm::MICreateTableClick() {
    if (!database_.Open())
        return;
    LSession& session = database_.Header();
    LParameterSourceGroup group(&session);
    TTableSelectParametersDialog& select = TableSelectParametersDialog();
    select.Group = &group;
    select.SetAllSources(&database_.AllSources());
    const bool chosen = select.Execute();
    select.Group = nullptr;
    if (!chosen)
        return;
    if (!select.EventOrCumulative && !AskTimeRange(group))
        return;
    LTableRecord* record = nullptr;
    try {
        record = database_.AddTable();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        return;
    }
    record->Sources.TakeSources(group);
    UpdateExplorer();
    TTableForm& window = TableWindow(*record);
    window.show();
    window.raise();
    SetModified();
    UpdateExplorer();
    SelectItemNode(tablesNode_, record);
}

void TMainForm::SelectItemNode(QTreeWidgetItem* branch, const void* record) {
    branch->setExpanded(true);
    for (int i = 0; i < branch->childCount(); ++i) {
        QTreeWidgetItem* node = branch->child(i);
        if (node &&
            node->data(0, RecordRole).value<quintptr>() == reinterpret_cast<quintptr>(record))
            form_->Explorer->setCurrentItem(node);
    }
}

void TMainForm::MICreateChartClick() {
    if (!database_.Open())
        return;
    LSession& session = database_.Header();
    LParameterSourceGroup group(&session);
    TChartSelectParametersDialog& select = ChartSelectParametersDialog();
    select.Group = &group;
    select.ParameterListView()->SetGroup(&database_.ChartSources());
    const bool chosen = select.Execute();
    select.Group = nullptr;
    select.ParameterListView()->SetGroup(nullptr);
    // A chart always shows a time range.
    if (!chosen || !AskTimeRange(group))
        return;
    LChartRecord* record = nullptr;
    try {
        record = database_.AddChart();
    } catch (const std::exception& e) {
        ShowFailure(QString::fromStdString(e.what()));
        return;
    }
    TChartForm* window = ChartWindow(*record);
    bool shown = window != nullptr;
    if (window) {
        try {
            window->SetGroup(group);
        } catch (const std::exception& e) {
            ShowFailure(QString::fromStdString(e.what()));
            shown = false;
        }
    }
    if (!shown) {
        itemWindows_.erase(record);
        database_.DeleteChart(record);
        UpdateExplorer();
        return;
    }
    UpdateExplorer();
    window->show();
    window->raise();
    SetModified();
    UpdateExplorer();
    SelectItemNode(chartsNode_, record);
}

void TMainForm::MIRecordingInfoClick() {
    if (!database_.Open())
        return;
    if (!EditInfo(database_.Header(), true))
        return;
    // The footers show the location.
    for (const auto& chart : database_.Charts())
        if (TChartForm* window = ExistingChartWindow(chart.get()))
            window->UpdateFooter();
    SetModified();
}

void TMainForm::MISurveyClick() {
    ShowSurvey();
}

void TMainForm::MISettingsClick() {
    SettingsDialog().Execute();
    UpdateControls();
}

void TMainForm::MIContentsClick() {
    ShowHelpTopic(QStringLiteral("contents"), this);
}

void TMainForm::MIAboutClick() {
    AboutBox().exec();
}

void TMainForm::ShowRecordingInfo() {
    TRecordingInfoForm& window = RecordingInfoForm();
    window.ShowRecording(database_.Header());
    if (window.parentWidget() != this) {
        AdoptToolWindow(window);
        // Inside the work area, below the menu and beside the tree.
        const QRect screen = this->screen()->availableGeometry();
        window.move(WholeOnScreen(WorkAreaOrigin() + QPoint(0, 32), window.size(), screen));
    }
    window.show();
    window.raise();
    window.activateWindow();
}

void TMainForm::PopViewClick() {
    switch (selectedKind_) {
    case ikRecordingInfo:
        if (!database_.Open())
            return;
        ShowRecordingInfo();
        break;
    case ikTable:
        if (LTableRecord* table = SelectedTable()) {
            TTableForm& window = TableWindow(*table);
            window.show();
            window.raise();
            window.activateWindow();
        }
        break;
    case ikChart:
        if (LChartRecord* chart = SelectedChart())
            if (TChartForm* window = ChartWindow(*chart)) {
                window->show();
                window->raise();
                window->activateWindow();
            }
        break;
    case ikTables:
    case ikCharts:
        form_->Explorer->currentItem()->setExpanded(true);
        break;
    default:
        break;
    }
}

void TMainForm::PopCopyClick() {
    if (selectedKind_ == ikRecordingInfo && database_.Open()) {
        // The window may not have shown this recording yet (a file just opened).
        RecordingInfoForm().ShowRecording(database_.Header());
        RecordingInfoForm().CopyToClipboard();
    } else if (LTableRecord* table = SelectedTable()) {
        TableWindow(*table).CopyEntireTable();
    } else if (LChartRecord* chart = SelectedChart()) {
        if (TChartForm* window = ChartWindow(*chart))
            window->CopyToClipboard();
    }
}

void TMainForm::PopExportClick() {
    if (LTableRecord* table = SelectedTable())
        TableWindow(*table).Export();
}

void TMainForm::PopRenameClick() {
    if (selectedKind_ == ikTable || selectedKind_ == ikChart)
        form_->Explorer->editItem(form_->Explorer->currentItem());
}

void TMainForm::ExplorerEdited(QTreeWidgetItem* node) {
    if (rebuilding_ || !node || !node->parent() || !database_.Open())
        return;
    const auto record = node->data(0, RecordRole).value<quintptr>();
    const std::string caption = node->text(0).toStdString();
    if (node->text(0).trimmed().isEmpty()) {
        // A table or chart keeps a name the tree can show: an empty one is refused.
        const std::string& kept = node->parent() == tablesNode_
                                      ? reinterpret_cast<LTableRecord*>(record)->Caption
                                      : reinterpret_cast<LChartRecord*>(record)->Caption;
        node->setText(0, QString::fromStdString(kept));
        return;
    }
    if (node->parent() == tablesNode_) {
        auto* table = reinterpret_cast<LTableRecord*>(record);
        table->Caption = caption;
        if (TTableForm* window = ExistingTableWindow(table))
            window->UpdateCaption();
    } else if (node->parent() == chartsNode_) {
        auto* chart = reinterpret_cast<LChartRecord*>(record);
        chart->Caption = caption;
        if (TChartForm* window = ExistingChartWindow(chart))
            window->UpdateCaption();
    }
    SetModified();
}

void TMainForm::PopDeleteClick() {
    const TExplorerItemKind kind = selectedKind_;
    if (kind != ikTable && kind != ikChart)
        return;
    // A table being copied or printed must stay until that ends.
    if (RefuseWhileBusy())
        return;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"),
                    QString::fromStdString(LoadStr(StrConfirmDelete)),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() != QMessageBox::Yes)
        return;
    const auto record = form_->Explorer->currentItem()->data(0, RecordRole).value<quintptr>();
    statisticsWindows_.erase(reinterpret_cast<const void*>(record));
    itemWindows_.erase(reinterpret_cast<const void*>(record));
    if (kind == ikChart)
        database_.DeleteChart(reinterpret_cast<const LChartRecord*>(record));
    else
        database_.DeleteTable(reinterpret_cast<const LTableRecord*>(record));
    QTreeWidgetItem* parent = kind == ikChart ? chartsNode_ : tablesNode_;
    rebuilding_ = true;
    form_->Explorer->setCurrentItem(parent);
    rebuilding_ = false;
    UpdateExplorer(); // which runs the selection handling for the parent
}

void TMainForm::PopPropertiesClick() {
    if (selectedKind_ == ikRecordingInfo)
        MIRecordingInfoClick();
    else if (LChartRecord* chart = SelectedChart())
        if (TChartForm* window = ChartWindow(*chart))
            window->EditProperties();
}

void TMainForm::PopPrintClick() {
    if (selectedKind_ == ikRecordingInfo && database_.Open()) {
        std::vector<PrintedPart> info{RecordingInfoPart(database_.Header())};
        Print(info, PrintOptionsOf(ProgramPrintSetup(), &database_, info.front().Title),
              ProgramInteraction());
    } else if (LTableRecord* table = SelectedTable())
        TableWindow(*table).PrintEntireTable();
    else if (LChartRecord* chart = SelectedChart())
        if (TChartForm* window = ChartWindow(*chart))
            window->PrintChart();
}

void TMainForm::PopStatisticsClick() {
    if (LTableRecord* table = SelectedTable())
        ShowStatistics(TableWindow(*table));
    else if (LChartRecord* chart = SelectedChart())
        if (TChartForm* window = ChartWindow(*chart))
            ShowStatistics(*window);
}

void TMainForm::ExplorerMouseDown(const QPoint& position) {
    QTreeWidget* tree = form_->Explorer;
    QTreeWidgetItem* node = tree->itemAt(position);
    if (!node)
        return;
    tree->setCurrentItem(node);
    popup_->popup(tree->viewport()->mapToGlobal(position));
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Refused without a word while printing, as the program always did.
    if (Printing() || !CloseDatabase())
        event->ignore();
    else
        event->accept();
}
