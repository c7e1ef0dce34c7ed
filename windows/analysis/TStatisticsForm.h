#pragma once

#include "analysis/RangeStatistics.h"
#include "analysis/TextStyle.h"
#include "windows/shell/TToolForm.h"

#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class LParameterSourceGroup;
class PrintedTexts;
class QAction;
class QLabel;
class QMenu;
class QTableView;
class TextTableModel;
class TChartForm;
class TTableForm;

// The statistics of a table's or a chart's visible sources, a row per source in their order
// (count, coverage, minimum and maximum with their times, mean, std dev, integral, load
// factor), and the range they cover above the rows. From a table it covers the table's range;
// from a chart, the time range on screen. It follows the visible parameters and the chart's
// zoom and pan. Numbers and times are in the user's locale, as the tables show them. Made on
// request and never stored; the table or chart window it shows must outlive it.
class TStatisticsForm : public TToolForm {
    Q_OBJECT

public:
    // After a change of what the window shows, the rows are computed again once this much
    // later (a pan moves the chart's range many times a second).
    static constexpr int RefreshDelay = 100;

    explicit TStatisticsForm(TTableForm& table, QWidget* parent = nullptr);
    explicit TStatisticsForm(TChartForm& chart, QWidget* parent = nullptr);
    ~TStatisticsForm() override;

    // The rows shown, one per visible source, and the first and last time they cover.
    const RangeStatistics& Statistics() const { return statistics_; }
    const TextStyle& Style() const { return style_; }
    QTableView* Grid() const { return grid_; }
    // Above the rows: the range they cover.
    QLabel* RangeLabel() const { return range_; }
    QMenu* Popup() const { return popup_; }

    // Computes the rows again now.
    void Refresh();
    // A change is waiting for its refresh.
    bool RefreshPending() const { return timer_.isActive(); }

    // The header row and a row per source, as the table window copies (TAB) or exports (CSV).
    std::string Text(CellFormat format) const;
    void CopyToClipboard();
    // Asks for a file name and exports to it.
    void Export();
    // CSV for a name ending in ".csv", TAB-separated otherwise, through a temporary file that
    // replaces the file only when complete. True when written; says why when not.
    bool ExportTo(const QString& fileName);
    // The rows as the page layout printer prints them, the range above them.
    PrintedTexts Printout() const;
    // On the printer, with the header and footer of a table. True when printed.
    bool Print();

    void CopytoclipboardClick() { CopyToClipboard(); }
    void ExportClick() { Export(); }
    void PrintClick() { Print(); }

private:
    using RangeOfView = std::function<std::optional<TimeRange>()>;
    using RangeTextOf = std::function<QString()>;
    TStatisticsForm(QWidget& shown, const LParameterSourceGroup& group, RangeOfView range,
                    RangeTextOf rangeText, QWidget* parent);
    void ScheduleRefresh();
    void UpdateCaption(const QString& shownTitle);
    void FitToRows();

    QPointer<QWidget> shown_;
    const LParameterSourceGroup& group_;
    RangeOfView rangeOfView_;
    // "From %1 to %2", or as a chart says it now.
    RangeTextOf rangeText_;
    TextStyle style_;
    RangeStatistics statistics_;
    QLabel* range_;
    QTableView* grid_;
    TextTableModel* model_;
    QMenu* popup_;
    QAction* printAction_ = nullptr;
    QTimer timer_;
};
