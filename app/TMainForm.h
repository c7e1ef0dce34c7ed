#pragma once

#include "app/RUF.h"
#include "database/LDatabase.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>
#include <string>

class LChartRecord;
class LTableRecord;
class QFileDialog;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;
class TChartForm;
class TStatisticsForm;
class TSurveyForm;
class TCompareForm;
class TTableForm;

namespace Ui {
class TMainForm;
}

// What the selected node of the explorer tree stands for.
enum TExplorerItemKind { ikRecordingInfo, ikChart, ikCharts, ikTable, ikTables, ikNone };

// The program's main window and the owner of the one database: the explorer tree of the
// open recording with its tables and charts, every command of the program, the recently used
// files, and the question to save before the database goes.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    static constexpr char Caption[] = "Vireo Zure PRO";

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // Runs a download into destination; true only when one completed. The program sets the
    // New Recording dialog here; tests put their own.
    using Downloader = std::function<bool(std::string& destination)>;
    void SetDownloader(Downloader downloader) { downloader_ = std::move(downloader); }
    // Asks for a file name (open, save or import); empty when cancelled. Tests put their own.
    enum class FileDialogKind { Open, Save, Import };
    using FileNameAsker = std::function<QString(FileDialogKind)>;
    void SetFileNameAsker(FileNameAsker asker) { askFileName_ = std::move(asker); }
    // The dialog that asks: a name typed without an extension gets "vro" ("bin" to import).
    static std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogKind kind, QWidget* parent);

    // The file the program's arguments name (after the program's own name), and whether they
    // start with the "/debug" switch (in any case). The rest is joined by blanks, so that a
    // name with blanks arrives whole however it was quoted.
    static QString CommandLineFile(QStringList args, bool& debug);
    // Opens the command line's file, if any.
    void FormCreate(const QString& commandLineFile);

    void OpenDatabase(const QString& fileName, bool addToRecent);
    bool SaveDatabase(bool askName);
    bool CloseDatabase();
    void UpdateControls();
    void UpdateExplorer();
    void SetModified();

    // The commands.
    void MINewClick();
    void MIOpenClick();
    void MIReopenClick(const QString& fileName);
    void MISaveClick();
    void MISaveAsClick();
    void MICloseClick();
    void MIImportClick();
    void MIJoinClick();
    void MISurveyReportClick();
    void MICompareClick();
    void MIPrintSetupClick();
    void MIExitClick();
    void MICreateTableClick();
    void MICreateChartClick();
    void MIRecordingInfoClick();
    void MISurveyClick();
    void MISettingsClick();
    void MIContentsClick();
    void MIAboutClick();
    void PopViewClick();
    void PopCopyClick();
    void PopExportClick();
    void PopRenameClick();
    void PopDeleteClick();
    void PopPropertiesClick();
    void PopPrintClick();
    void PopStatisticsClick();

    LDatabase& Database() { return database_; }
    RUF& RecentFiles() { return recentFiles_; }
    TExplorerItemKind SelectedKind() const { return selectedKind_; }
    // What the task bar shows: the caption, a blank, the status text.
    QString ApplicationTitle() const { return windowTitle(); }
    QString StatusText(int panel) const;
    Ui::TMainForm& Form() { return *form_; }
    QLabel* AdImage() const;
    QTreeWidget* Explorer() const;
    QTreeWidgetItem* RecordingInfoNode() const { return recordingInfoNode_; }
    QTreeWidgetItem* TablesNode() const { return tablesNode_; }
    QTreeWidgetItem* ChartsNode() const { return chartsNode_; }
    QMenu* Popup() const { return popup_; }

    // The window of a table of the database, made when first needed; null when none was made.
    TTableForm& TableWindow(LTableRecord& record);
    TTableForm* ExistingTableWindow(const LTableRecord* record) const;
    // The same for charts; null (after saying why) when the chart cannot be shown.
    TChartForm* ChartWindow(LChartRecord& record);
    TChartForm* ExistingChartWindow(const LChartRecord* record) const;
    // The Statistics window of a table's or chart's window, made or refreshed, and shown; one
    // per record at a time.
    TStatisticsForm& ShowStatistics(TTableForm& window);
    TStatisticsForm& ShowStatistics(TChartForm& window);
    TStatisticsForm* ExistingStatisticsWindow(const void* record) const;
    // The Survey window of the open database, made or shown again; it goes with the database.
    TSurveyForm* ShowSurvey();
    TSurveyForm* ExistingSurveyWindow() const { return surveyWindow_.get(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void InitExplorer();
    void ExplorerChange(QTreeWidgetItem* node);
    void ExplorerMouseDown(const QPoint& position);
    void ExplorerEdited(QTreeWidgetItem* node);
    void ShowFailure(const QString& message);
    void ImportFromFile(const QString& name);
    QString AskFileName(FileDialogKind kind);
    void LoadAdImage();
    // The record of the selected table or chart node, or null.
    LTableRecord* SelectedTable() const;
    // The part of the recording a new table or chart shows, set on group; false when the
    // recording has no samples or the user cancels.
    bool AskTimeRange(LParameterSourceGroup& group);
    LChartRecord* SelectedChart() const;
    // A new table or chart window: placed on the screen, cascaded below the menu.
    // Makes the window the main window's own and places it: beside the window it belongs to
    // when given, else cascaded in the work area beside the tree.
    void PlaceItemWindow(QWidget& window, const QWidget* beside = nullptr);
    void AdoptToolWindow(QWidget& window);
    QPoint WorkAreaOrigin() const;
    void ShowRecordingInfo();
    // Shows the record's Statistics window, made by make when there is none.
    TStatisticsForm& ShowStatistics(const void* record,
                                    const std::function<std::unique_ptr<TStatisticsForm>()>& make,
                                    const QWidget* shown);
    // Selects the node of record in branch, which is expanded.
    void SelectItemNode(QTreeWidgetItem* branch, const void* record);
    // The windows go before the records they show: whenever the database closes.
    void CloseItemWindows();
    // While a table is copied or exported, or a printout runs, events are processed: the
    // database and its windows must stay. True (after saying so) when such work runs.
    bool RefuseWhileBusy();
    // Says in the status bar how many values no recorder can produce each parameter of the
    // recording just opened holds.
    void NoteImpossibleValues();

    std::unique_ptr<Ui::TMainForm> form_;
    LDatabase database_;
    RUF recentFiles_;
    QMenu* popup_ = nullptr;
    // The file's name, "Modified", and the values no recorder can produce.
    QLabel* statusPanels_[3] = {};
    QTreeWidgetItem* recordingInfoNode_ = nullptr;
    QTreeWidgetItem* tablesNode_ = nullptr;
    QTreeWidgetItem* chartsNode_ = nullptr;
    TExplorerItemKind selectedKind_ = ikNone;
    bool rebuilding_ = false;
    int placedWindows_ = 0;
    Downloader downloader_;
    FileNameAsker askFileName_;
    // The table and chart windows by the record they show.
    std::map<const void*, std::unique_ptr<QWidget>> itemWindows_;
    // Their Statistics windows, which go before them.
    std::map<const void*, std::unique_ptr<TStatisticsForm>> statisticsWindows_;
    std::unique_ptr<TSurveyForm> surveyWindow_;
    std::unique_ptr<TCompareForm> compareWindow_;
};

// The main window, once it exists.
TMainForm* MainForm();
