#pragma once

#include "windows/shell/TToolForm.h"

#include <QSize>
#include <QString>

#include <cstdint>

class LTableRecord;
class PrintedTable;
class QAction;
class QLabel;
class QMenu;
class TParameterGrid;

// The window of one table of the database: the record's sources in a grid that fills the
// window, with a pop-up menu to choose the visible parameters, copy, print, export and ask for
// the statistics. The database owns the record; the window shows and edits it, and closing the
// window only hides it.
class TTableForm : public TToolForm {
    Q_OBJECT

public:
    explicit TTableForm(LTableRecord& record, QWidget* parent = nullptr);
    ~TTableForm() override;

    LTableRecord& Record() const { return record_; }
    TParameterGrid* Table() const { return table_; }
    QMenu* VisibleParametersPopup() const { return popup_; }
    // Above the grid when the table holds parameters the grid cannot show; hidden otherwise.
    QLabel* NoteLabel() const { return note_; }

    // Shows the record's sources: the layout from the kinds of their parameters, and the
    // window as large as the grid, up to 640 by 400 and never larger than the room its screen
    // has for a window (available, less the window manager's frame). The constructor does this.
    void ShowGroup();
    void ShowGroup(const QSize& available);
    // After the sources' selected flags changed.
    void UpdateTable();
    // The window's title is the record's caption; SetCaption changes both.
    void UpdateCaption();
    void SetCaption(const QString& caption);

    // The header row and data rows first to last (from 0, inclusive) to the clipboard as
    // TAB-separated text, with the copy progress window.
    void CopyRows(int32_t first, int32_t last);
    void CopyEntireTable();
    void CopySelectedRange();
    // The header row and data rows first to last on the program's printer (see Print). True
    // when printed.
    bool PrintRows(int32_t first, int32_t last);
    void PrintEntireTable();
    void PrintSelectedRange();
    // The table as the printer draws it: the sources, layout, font and column widths shown.
    PrintedTable Printout() const;
    // Asks for a file name and exports the whole table to it.
    void Export();
    // The text of CopyRows into a file: CSV for a name ending in ".csv", an Excel workbook of
    // the table's sheet for ".xlsx", TAB-separated otherwise; with progress and Cancel. True when
    // the file was written; a cancelled or failed export leaves no file behind.
    bool ExportTo(const QString& fileName, int32_t first, int32_t last);

    // A copy or an export runs: pending events are processed meanwhile, and nothing may take
    // the database away until it ends.
    bool Copying() const { return copying_; }
    // How many copies and exports run in all table windows.
    static int CopiesInProgress();

    void VisibleParametersClick();
    void CopyEntiretableClick() { CopyEntireTable(); }
    void CopySelectedsubrangeClick() { CopySelectedRange(); }
    void PrintEntiretableClick() { PrintEntireTable(); }
    void PrintSelectedsubrangeClick() { PrintSelectedRange(); }
    void ExportClick() { Export(); }
    void StatisticsClick() { emit StatisticsRequested(); }

signals:
    // The user asks for the Statistics window of this table (the main window opens it).
    void StatisticsRequested();
    // After the Visible parameters dialog changed which sources the table shows.
    void VisibleParametersChanged();

private:
    class CopyingState;
    int32_t LastDataRow() const;
    QAction* AddAction(QMenu* menu, const char* name, const char* caption,
                       void (TTableForm::*handler)());

    LTableRecord& record_;
    TParameterGrid* table_;
    QLabel* note_;
    QMenu* popup_;
    bool copying_ = false;
};
