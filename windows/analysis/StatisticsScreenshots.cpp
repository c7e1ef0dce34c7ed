#include "windows/analysis/StatisticsScreenshots.h"

#include "database/LDatabase.h"
#include "windows/analysis/TStatisticsForm.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"
#include "windows/shell/Screenshots.h"
#include "windows/tables/TTableForm.h"

#include <limits>
#include <memory>
#include <vector>

namespace {

// The voltages of two phases, a current with a few samples the recorder missed, and the
// total real power (with its energy and load factor).
std::vector<LParameter*> FillSample(LDatabase& db) {
    NewSampleDatabase(db);
    db.Header().Location = "Substation 4, feeder B";
    std::vector<float> current = TwoSampleDays(18.0f, 74.0f, 0.1f, 3.0f);
    for (int i = 200; i < 206; ++i)
        current[static_cast<size_t>(i)] = std::numeric_limits<float>::quiet_NaN();
    return {AddSampleParameter(db, 6, TwoSampleDays(123.5f, 118.0f, 0.0f, 0.6f)),
            AddSampleParameter(db, 7, TwoSampleDays(123.0f, 117.2f, 0.3f, 0.6f)),
            AddSampleParameter(db, 13, current),
            AddSampleParameter(db, 22, TwoSampleDays(6400.0f, 25500.0f, 1.5f, 700.0f))};
}

} // namespace

QStringList WriteStatisticsScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    const std::vector<LParameter*> parameters = FillSample(db);

    LTableRecord& table = *db.AddTable();
    for (LParameter* p : parameters)
        table.Sources.Add(std::make_unique<LParameterSource>(p));
    table.Caption = "Feeder B, 11 and 12 March";
    TTableForm tableForm(table);
    {
        TStatisticsForm statistics(tableForm);
        folder.Save(statistics, "statistics-table.png");
    }

    LChartRecord& chart = *db.AddChart();
    chart.Caption = "Feeder B chart";
    TChartForm chartForm(chart);
    LParameterSourceGroup group(&db.Header());
    for (LParameter* p : parameters)
        group.Add(std::make_unique<LParameterSource>(p));
    chartForm.SetGroup(group);
    TStatisticsForm statistics(chartForm);
    const double morning = std::floor(chartForm.Start()) + 1 + 5.0 / 24;
    chartForm.Chart()->ZoomTo(QCPRange(morning, morning + 8.0 / 24), QCPRange(0.05, 0.95), false);
    statistics.Refresh();
    folder.Save(statistics, "statistics-chart-zoomed.png");
    return folder.Written();
}
