#pragma once

#include "database/JoinRecordings.h"
#include "windows/shell/TStandardDialog.h"

#include <QStringList>

#include <functional>
#include <vector>

class LDatabase;
class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// The recordings of one site to join: each file with its location, period, rate and parameter
// count, in the order of the join (by start), what lies between it and the ones before, the
// choice for overlaps and, when they cannot be joined, why (Join is then disabled). The
// recordings are read when added and kept until the join takes them.
class TJoinDialog : public TStandardDialog {
    Q_OBJECT

public:
    enum Column {
        FileColumn,
        LocationColumn,
        PeriodColumn,
        RateColumn,
        ParametersColumn,
        BeforeColumn
    };

    explicit TJoinDialog(QWidget* parent = nullptr);
    ~TJoinDialog() override;

    // Reads the files and adds those that can be read; says in a message box why the others
    // cannot.
    void AddFiles(const QStringList& fileNames);
    // What Add... asks for files with; tests put their own.
    using FilesAsker = std::function<QStringList(QWidget* parent)>;
    void SetFilesAsker(FilesAsker asker) { askFiles_ = std::move(asker); }
    void AddFileButtonClick();
    // Removes the selected files.
    void RemoveFileButtonClick();

    JoinOverlap Overlap() const;
    void SetOverlap(JoinOverlap overlap);
    const JoinPlan& Plan() const { return plan_; }
    // Joins the recordings into database (made new) and gives them up; raises what the join
    // raises.
    JoinPlan JoinInto(LDatabase& database);

    QTreeWidget* FileList() const { return files_; }
    QPushButton* AddFileButton() const { return add_; }
    QPushButton* RemoveFileButton() const { return remove_; }
    QComboBox* OverlapComboBox() const { return overlap_; }
    QLabel* VerdictLabel() const { return verdict_; }

private:
    void UpdatePlan();

    std::vector<JoinInput> inputs_;
    JoinPlan plan_;
    FilesAsker askFiles_;
    QTreeWidget* files_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QComboBox* overlap_ = nullptr;
    QLabel* verdict_ = nullptr;
};
