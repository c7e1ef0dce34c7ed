#pragma once

#include "analysis/Survey.h"
#include "analysis/TextStyle.h"
#include "figures/SurveyCharts.h"
#include "windows/shell/SurveySettings.h"
#include "windows/shell/TToolForm.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <string>

class LDatabase;
class PrintedTexts;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class QTableView;
class SurveyChartView;
class SurveySummaryView;
class TNewLoadsEditor;
class TTariffFileBox;
class TextTableModel;

// The survey of the open recording: can the service take more load, where does the energy go,
// is the voltage within limits, what does the load cost, what bank would correct its power
// factor, are the phases balanced. Its settings (block minutes, service rating, nominal
// voltage, threshold; the tariff; the target power factor, bank step and bank price) sit in
// rows on top
// and are kept in the settings store, never in the database; the pages show the summary, the
// energy per day, the daily profile, the heat map, the load duration, the voltage test, the
// cost, the power factor, the unbalance, the battery that would hold the peak (its own settings
// in a row on its page) and the new loads (edited on their page); both kept with the settings.
// Each page copies, exports and prints what it shows. The survey is computed again shortly
// after a setting changes. One per open database,
// which must outlive it.
class TSurveyForm : public TToolForm {
    Q_OBJECT

public:
    enum Page {
        SummaryPage,
        EnergyPage,
        ProfilePage,
        HeatMapPage,
        DurationPage,
        VoltagePage,
        CostPage,
        PowerFactorPage,
        UnbalancePage,
        BatteryPage,
        NewLoadsPage
    };
    static constexpr int PageCount = 11;
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
    TTariffFileBox* TariffBox() const { return tariff_; }
    QLineEdit* EnergyRateEdit() const { return energyRate_; }
    QLineEdit* DemandRateEdit() const { return demandRate_; }
    QLineEdit* FixedMonthlyEdit() const { return fixedMonthly_; }
    QLineEdit* TargetPowerFactorEdit() const { return target_; }
    QLineEdit* BankStepEdit() const { return bankStep_; }
    QLineEdit* BankPriceEdit() const { return bankPrice_; }
    QLineEdit* BatteryEfficiencyEdit() const { return batteryEfficiency_; }
    QLineEdit* BatteryChargeLimitEdit() const { return batteryChargeLimit_; }
    QLineEdit* BatteryChargeHoursEdit() const { return batteryChargeHours_; }
    QLineEdit* BatteryKwhPriceEdit() const { return batteryKwhPrice_; }
    QLineEdit* BatteryKwPriceEdit() const { return batteryKwPrice_; }
    QLineEdit* BatteryCapsEdit() const { return batteryCaps_; }
    TNewLoadsEditor* NewLoadsEditor() const { return newLoads_; }
    QTabWidget* Pages() const { return pages_; }
    // The grid of a page with a table; null for the others.
    QTableView* Grid(Page page) const;
    QTableView* EnergyGrid() const { return Grid(EnergyPage); }
    QTableView* VoltageGrid() const { return Grid(VoltagePage); }
    SurveySummaryView* SummaryView() const { return summary_; }
    QMenu* Popup() const { return popup_; }

    // The settings as the rows show them (the tariff read from its file), and as the store
    // holds them (the defaults where it holds nothing usable).
    SurveyOptions Options() const;
    // The battery row's settings; a field that does not read counts as not set (the default).
    BatteryOptions Battery() const;
    TariffChoice Tariff() const;
    static SurveyOptions StoredOptions();
    static void StoreOptions(const SurveyOptions& options);

    // Computes the survey again now, with the rows' settings.
    void Refresh();
    bool RefreshPending() const { return timer_.isActive(); }

    // What a page copies and exports as text: the summary, or the header and rows of its table
    // (TAB-separated with the page's notes above, or CSV); empty for the chart pages.
    std::string Text(Page page, CellFormat format) const;
    // What the Cost, Power factor and Unbalance pages say above their tables: the reasons of
    // their results, or why there are none.
    QStringList Notes(Page page) const;
    // Paints the page's charts (a page with a table its notes and table above them) into area;
    // false for a page without a picture.
    bool Paint(Page page, QPainter& painter, const QRectF& area, const ChartLook& look) const;
    QImage Picture(Page page, const QSize& size) const;
    // The page drawn as an SVG file of the picture size, titled as the window.
    QByteArray Svg(Page page) const;
    // The look on screen (and in files): the window's font and the locale's numbers.
    ChartLook ScreenLook() const;

    // The current page's: text for the summary and tables, the picture for the charts (the
    // pages with a table and charts give both).
    void CopyToClipboard();
    void Export();
    // By the name's ending: ".csv" CSV and ".txt" or ".tsv" TAB-separated text of a text page,
    // ".svg" or ".png" the picture of a chart page, ".xlsx" a workbook of a page's table;
    // through a temporary file that replaces the file only when complete. True when written;
    // says why when not.
    bool ExportTo(const QString& fileName);
    // A table as the page layout printer prints rows of texts.
    PrintedTexts Printout(Page page) const;
    // On the printer, with the header and footer: the summary as label and value rows, a
    // table in row pages, a chart on a page; the Cost, Power factor and Unbalance pages their
    // table, then their notes and charts. True when printed.
    bool Print();

    void CopytoclipboardClick() { CopyToClipboard(); }
    void ExportClick() { Export(); }
    void PrintClick() { Print(); }

private:
    // A page's table, grid and notes.
    struct TablePage {
        QTableView* Grid = nullptr;
        TextTableModel* Model = nullptr;
        QLabel* Notes = nullptr;
    };

    QWidget* MakeSettingsRows();
    QWidget* MakeBatteryRow();
    QTableView* MakeGrid(Page page, const char* name);
    QWidget* MakeTableAndChart(Page page, Qt::Orientation orientation);
    void AddPage(QWidget* page, Page which);
    SurveyChartView* MakeChart(Page page);
    void SettingChanged();
    void UpdateCaption();
    Page CurrentPage() const;
    QString PageTitle(Page page) const;
    // On screen a page's table is a grid of its own; elsewhere it is painted above the chart.
    bool PaintPage(Page page, QPainter& painter, const QRectF& area, const ChartLook& look,
                   bool withTable) const;
    void PaintCharts(Page page, QPainter& painter, const QRectF& area, const ChartLook& look) const;
    bool PrintSummary(const QString& title);
    bool PrintTableAndCharts(Page page, const QString& title);

    const LDatabase& database_;
    TextStyle style_;
    SurveyResult result_;
    QComboBox* minutes_;
    QLineEdit* rating_;
    QLineEdit* nominal_;
    QLineEdit* threshold_;
    TTariffFileBox* tariff_;
    QLineEdit* energyRate_;
    QLineEdit* demandRate_;
    QLineEdit* fixedMonthly_;
    QLineEdit* target_;
    QLineEdit* bankStep_;
    QLineEdit* bankPrice_;
    QLineEdit* batteryEfficiency_ = nullptr;
    QLineEdit* batteryChargeLimit_ = nullptr;
    QLineEdit* batteryChargeHours_ = nullptr;
    QLineEdit* batteryKwhPrice_ = nullptr;
    QLineEdit* batteryKwPrice_ = nullptr;
    QLineEdit* batteryCaps_ = nullptr;
    QTabWidget* pages_;
    TNewLoadsEditor* newLoads_;
    SurveySummaryView* summary_;
    TablePage tables_[PageCount];
    QMenu* popup_;
    QTimer timer_;
};
