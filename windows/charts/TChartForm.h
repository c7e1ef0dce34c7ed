#pragma once

#include "analysis/CursorReadout.h"
#include "model/DateTime.h"
#include "windows/charts/ChartView.h"
#include "windows/shell/TToolForm.h"

#include <QFontMetrics>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class EnvelopeGraph;
class LChartRecord;
class LParameterSourceGroup;
class QAction;
class QCPPainter;
class QLabel;
class QMenu;
class QRegion;
class QStatusBar;
class QTableWidget;
class TChart;

// The window of one chart of the database: its view (see ChartView) with the modes Zoom, Pan,
// Examine and Cursors, a status bar, a pop-up menu, and the chart's pictures to the clipboard,
// files and the printer. The database owns the record; the window shows it as stored and
// writes into it only what the user changes. Closing it only hides it.
class TChartForm : public TToolForm, public ChartView {
    Q_OBJECT

public:
    enum Mode { ZoomMode = 1, PanMode = 2, ExamineMode = 3, CursorsMode = 4 };
    // The identifiers of the modes' cursors.
    static constexpr int ExamineCursor = 1974, PanCursor = 1975, ZoomCursor = 1976;

    explicit TChartForm(LChartRecord& record, QWidget* parent = nullptr);
    ~TChartForm() override;

    QStatusBar* StatusBar() const { return statusBar_; }
    QString StatusText(int panel) const;
    QMenu* Popup() const { return popup_; }

    // A new chart: the group's sources go into the record, sorted, each with a colour of its
    // own and its kind's style; the time axis shows dates when the data crosses midnight.
    // A Cumulative source raises "Wrong parameter type for chart" and nothing changes.
    void SetGroup(LParameterSourceGroup& group);
    // A window not shown yet grows, within the screen, until its legend takes no more than
    // two fifths of the chart: many parameters leave a plot to look at.
    void FitWindowToLegend();
    // The view's style, and the window's background with it.
    void ApplyStyle() override;
    void UpdateCaption();
    void SetCaption(const QString& caption);
    // The view's switch, and VisibleParametersChanged.
    void SetSeriesActive(int32_t i, bool active) override;

    void SetMode(int mode);
    int CurrentMode() const { return mode_; }

    // Two cursors, A and B, at times of the chart (not stored). In Cursors mode the first
    // click sets A, the second B, a press near one drags it; each snaps to the nearest sample
    // time of the first visible sampled series. Escape removes them. A readout under the chart
    // shows the times, their difference, and per visible series the values at A and B, B - A,
    // and the minimum, mean and maximum between them.
    std::optional<TDateTime> CursorA() const { return cursorA_; }
    std::optional<TDateTime> CursorB() const { return cursorB_; }
    bool HasCursorSpan() const { return cursorA_ && cursorB_; }
    // Where a cursor put at the time goes (see above).
    TDateTime SnapCursor(TDateTime time) const;
    void SetCursors(std::optional<TDateTime> a, std::optional<TDateTime> b);
    void ClearCursors() { SetCursors(std::nullopt, std::nullopt); }
    QTableWidget* Readout() const { return readout_; }
    QString ReadoutHeading() const;
    // The readout's rows as text, brought up to date now rather than at the next turn of the
    // event loop.
    void RefreshReadout();

    // The chart at size onto the clipboard, as SVG (vector) and PNG (bitmap).
    void CopyToClipboard();
    void PrintChart();
    // Asks for a name and saves the chart at its size on the screen.
    void SaveAsPictureClick();
    // The property editor on this window.
    void EditProperties();

    void Examinevalue1Click() { SetMode(ExamineMode); }
    void Zoomin1Click() { SetMode(ZoomMode); }
    void Zoomout1Click();
    void Pan1Click() { SetMode(PanMode); }
    void Cursors1Click() { SetMode(CursorsMode); }
    void ResetZoomAndPanClick();
    void VisibleparametersClick();
    void Copytoclipboard1Click() { CopyToClipboard(); }
    void Properties1Click() { EditProperties(); }
    void Print1Click() { PrintChart(); }
    void StatisticsClick() { emit StatisticsRequested(); }

    // The chart's events.
    void ChartMouseDown();
    void ChartClickSeries(const EnvelopeGraph* series, qint64 sourceIndex);
    void ChartZoom();
    void ChartCursorDraw(QCPPainter& painter);
    void ChartCursorPress(const QPoint& pos);
    void ChartCursorDrag(const QPoint& pos);
    // The window opens in Examine mode.
    void FormShow();

signals:
    // The user changed what the database stores (the property editor says so).
    void RecordChanged();
    // The user asks for the Statistics window of this chart (the main window opens it).
    void StatisticsRequested();
    // A series was shown or hidden.
    void VisibleParametersChanged();
    // The time range on screen changed: a zoom, a pan or a reset (each step of one).
    void VisibleTimesChanged();
    // A cursor was set, moved or removed.
    void CursorsChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QAction* AddAction(const char* name, const QString& caption, void (TChartForm::*handler)());
    void ShowBackground();
    // The font of the cursors' labels, and the part of the chart a cursor at the time covers
    // (none when it is off the plot).
    QFont CursorFont() const;
    QRegion CursorArea(const std::optional<TDateTime>& cursor, const QString& label) const;
    // The readout's rows made anew for the series shown, and its figures' columns as wide as
    // their widest text.
    void MakeReadoutRows(const std::vector<const LParameterSource*>& shown);
    void FitReadoutColumns();

    LChartRecord& record_;
    TChart* chart_;
    QStatusBar* statusBar_;
    QLabel* panels_[2];
    QMenu* popup_;
    int mode_ = ExamineMode;
    std::optional<TDateTime> cursorA_, cursorB_;
    int dragging_ = -1; // 0 A, 1 B
    QLabel* readoutHeading_;
    QTableWidget* readout_;
    QWidget* readoutBox_;
    bool readoutPending_ = false;
    QMenu* readoutPopup_;
    TextStyle readoutStyle_;
    // What the readout shows, kept between moves: the figures, the table (as last shown), and
    // each cell's text width, measured when its text changes.
    CursorReadout cursorReadout_;
    TextTable readoutTable_;
    std::vector<int> cellWidths_;   // -1: to be measured
    std::vector<int> headerWidths_; // the header's own, per column
    QFont measuredFont_;
    std::optional<QFontMetrics> readoutMetrics_;
    int cellMargin_ = 0;
};
