#pragma once

#include "analysis/Comparison.h"
#include "analysis/TextStyle.h"
#include "analysis/TextTable.h"
#include "figures/SurveyCharts.h"
#include "windows/shell/TToolForm.h"

#include <QImage>
#include <QString>

#include <memory>
#include <string>

class LDatabase;
class QLabel;
class QMenu;
class QTabWidget;
class QTableView;
class TextTableModel;

// Before and after: the comparison of the open recording with another one, or with another
// range of itself, on four pages: the Summary (figure, before, after, change, change %, then
// the saving with its interval and the verdict), the daily profiles overlaid, the energy of
// every full day of both sides and both load duration curves. Each page copies, exports and
// prints what it shows; Print report prints them all as the compare report. It shows a
// comparison already made; the open database must outlive it.
class TCompareForm : public TToolForm {
    Q_OBJECT

public:
    enum Page { SummaryPage, ProfilePage, EnergyPage, DurationPage };
    static constexpr int PageCount = 4;

    TCompareForm(const LDatabase& open, Comparison comparison, QWidget* parent = nullptr);
    ~TCompareForm() override;

    // Asks the Compare dialog what to compare the open database with, and makes the window;
    // says why in a message box and gives none when cancelled or refused.
    static std::unique_ptr<TCompareForm> Ask(QWidget* parent, const LDatabase& open);

    const Comparison& Result() const { return comparison_; }
    QTabWidget* Pages() const { return pages_; }
    QTableView* SummaryGrid() const { return summaryGrid_; }
    QTableView* SavingGrid() const { return savingGrid_; }
    QLabel* NotesLabel() const { return notes_; }
    QMenu* Popup() const { return popup_; }

    // The page's figures as a table: the Summary's, the profile by time of day, the energy of
    // every full day, the demand at each whole per cent of time.
    TextTable Table(Page page) const;
    // What a page copies as text: the Summary with its saving and notes, else its table
    // (TAB-separated, or CSV).
    std::string Text(Page page, CellFormat format) const;
    // Paints the page (the Summary's tables and notes, or its chart) into area.
    void Paint(Page page, QPainter& painter, const QRectF& area, const ChartLook& look) const;
    QImage Picture(Page page, const QSize& size) const;
    QByteArray Svg(Page page) const;
    ChartLook ScreenLook() const;

    // The current page's.
    void CopyToClipboard();
    void Export();
    // By the name's ending: ".csv" CSV, ".txt" or ".tsv" TAB-separated text, ".xlsx" a
    // workbook (the Summary's two tables in two sheets), ".svg" or ".png" the picture. True
    // when written; says why when not.
    bool ExportTo(const QString& fileName);
    bool Print();
    // The compare report on the printer. True when printed.
    bool PrintReport();

    void CopytoclipboardClick() { CopyToClipboard(); }
    void ExportClick() { Export(); }
    void PrintClick() { Print(); }
    void PrintReportClick() { PrintReport(); }

private:
    QWidget* MakeSummaryPage();
    Page CurrentPage() const;

    const LDatabase& open_;
    Comparison comparison_;
    TextStyle style_;
    QTabWidget* pages_;
    QTableView* summaryGrid_ = nullptr;
    QTableView* savingGrid_ = nullptr;
    TextTableModel* summaryModel_ = nullptr;
    TextTableModel* savingModel_ = nullptr;
    QLabel* notes_ = nullptr;
    QMenu* popup_;
};
