#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"
#include "analysis/drawing/SurveyCharts.h"
#include "shell/TToolForm.h"

#include <QImage>
#include <QString>
#include <QTimer>

#include <string>

class LDatabase;
class PrintedTexts;
class QComboBox;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class SurveyChartView;
class TextTableModel;

// The survey of the open recording: can the service take more load, where does the energy go,
// is the voltage within limits. Its settings (block minutes, service rating, nominal voltage,
// threshold) sit in a row on top and are kept in the settings store, never in the database;
// the pages show the summary, the energy per day, the daily profile, the heat map, the load
// duration and the voltage test. Each page copies, exports and prints what it shows. The
// survey is computed again shortly after a setting changes. One per open database, which must
// outlive it.
class TSurveyForm : public TToolForm {
    Q_OBJECT

public:
    enum Page { SummaryPage, EnergyPage, ProfilePage, HeatMapPage, DurationPage, VoltagePage };
    static constexpr int PageCount = 6;
    // After a change of a setting, the survey is computed again once this much later.
    static constexpr int RefreshDelay = 150;
    // The block minutes the settings row offers.
    static constexpr int BlockMinutes[] = {5, 10, 15, 30, 60};

    explicit TSurveyForm(const LDatabase& database, QWidget* parent = nullptr);
    ~TSurveyForm() override;

    const SurveyResult& Result() const { return result_; }
    const TextStyle& Style() const { return style_; }
    QComboBox* BlockMinutesBox() const { return minutes_; }
    QLineEdit* RatingEdit() const { return rating_; }
    QLineEdit* NominalEdit() const { return nominal_; }
    QLineEdit* ThresholdEdit() const { return threshold_; }
    QTabWidget* Pages() const { return pages_; }
    QTableView* EnergyGrid() const { return energyGrid_; }
    QTableView* VoltageGrid() const { return voltageGrid_; }
    QPlainTextEdit* SummaryView() const { return summary_; }
    QMenu* Popup() const { return popup_; }

    // The settings as the row shows them, and as the store holds them (the defaults where it
    // holds nothing usable).
    SurveyOptions Options() const;
    static SurveyOptions StoredOptions();
    static void StoreOptions(const SurveyOptions& options);

    // Computes the survey again now, with the row's settings.
    void Refresh();
    bool RefreshPending() const { return timer_.isActive(); }

    // What a page copies and exports as text: the summary, or the header and rows of its table
    // (TAB-separated, or CSV); empty for the chart pages.
    std::string Text(Page page, CellFormat format) const;
    // Paints the page's chart (the Voltage page its table above its chart) into area; false for
    // a page without a picture.
    bool Paint(Page page, QPainter& painter, const QRectF& area, const ChartLook& look) const;
    QImage Picture(Page page, const QSize& size) const;
    // The page drawn as an SVG file of the picture size, titled as the window.
    QByteArray Svg(Page page) const;
    // The look on screen (and in files): the window's font and the locale's numbers.
    ChartLook ScreenLook() const;

    // The current page's: text for the summary and tables, the picture for the charts (the
    // Voltage page gives both).
    void CopyToClipboard();
    void Export();
    // By the name's ending: ".csv" CSV and ".txt" or ".tsv" TAB-separated text of a text page,
    // ".svg" or ".png" the picture of a chart page, ".xlsx" a workbook of the energy or voltage
    // table; through a temporary file that replaces the file only when complete. True when
    // written; says why when not.
    bool ExportTo(const QString& fileName);
    // The summary or a table as the page layout printer prints rows of texts.
    PrintedTexts Printout(Page page) const;
    // On the printer, with the header and footer of a table or chart. True when printed.
    bool Print();

    void CopytoclipboardClick() { CopyToClipboard(); }
    void ExportClick() { Export(); }
    void PrintClick() { Print(); }

private:
    QWidget* MakeSettingsRow();
    void AddPage(QWidget* page, const QString& title);
    SurveyChartView* MakeChart(Page page);
    QAction* AddAction(const char* name, const QString& caption, void (TSurveyForm::*handler)());
    void SettingChanged();
    void UpdateCaption();
    Page CurrentPage() const;
    // On screen the Voltage page's table is a grid of its own; elsewhere it is painted above
    // the chart.
    bool PaintPage(Page page, QPainter& painter, const QRectF& area, const ChartLook& look,
                   bool withTable) const;

    const LDatabase& database_;
    TextStyle style_;
    SurveyResult result_;
    QComboBox* minutes_;
    QLineEdit* rating_;
    QLineEdit* nominal_;
    QLineEdit* threshold_;
    QTabWidget* pages_;
    QPlainTextEdit* summary_;
    QTableView* energyGrid_;
    TextTableModel* energyModel_;
    QTableView* voltageGrid_;
    TextTableModel* voltageModel_;
    QMenu* popup_;
    QTimer timer_;
};
