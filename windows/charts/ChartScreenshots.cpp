#include "windows/charts/ChartScreenshots.h"

#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "ui_TChartPropertyEditor.h"
#include "windows/charts/TChart.h"
#include "windows/charts/TChartForm.h"
#include "windows/charts/TChartPropertyEditor.h"
#include "windows/shell/Screenshots.h"

#include <QTabWidget>

#include <cmath>
#include <memory>
#include <vector>

namespace {

void FillSample(LDatabase& db) {
    NewSampleDatabase(db);
    LSession& session = db.Header();
    session.Location = "Substation 4, feeder B";
    LChartRecord& chart = *db.AddChart();
    auto show = [&](LParameter* p) { chart.Sources.Add(std::make_unique<LParameterSource>(p)); };
    // The voltages sag as the load rises; the current and the power follow the load.
    show(AddSampleParameter(db, 6, TwoSampleDays(123.5f, 118.0f, 0.0f, 0.6f)));
    show(AddSampleParameter(db, 7, TwoSampleDays(123.0f, 117.2f, 0.3f, 0.6f)));
    show(AddSampleParameter(db, 13, TwoSampleDays(18.0f, 74.0f, 0.1f, 3.0f)));
    show(AddSampleParameter(db, 22, TwoSampleDays(6400.0f, 25500.0f, 1.5f, 700.0f)));
    // The voltage maxima of each phase as events.
    std::vector<TDateTime> times;
    std::vector<float> maxima;
    for (int k = 0; k < 9; ++k) {
        times.push_back(session.StartTime + 0.21 * k + 0.05);
        maxima.push_back(124.2f + 0.4f * static_cast<float>(k % 3));
    }
    show(AddSampleParameter(db, 47, maxima, times));
}

} // namespace

QStringList WriteChartScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    FillSample(db);
    LChartRecord& record = *db.Charts()[0];
    LParameterSourceGroup group(&db.Header());
    group.TakeSources(record.Sources);
    TChartForm form(record);
    form.SetGroup(group);
    // Colours of the screenshot's own, so that it looks the same every time.
    const uint32_t colors[] = {0x0000C0, 0x008000, 0xC00000, 0x8000C0, 0x006080};
    for (int32_t i = 0; i < record.Sources.Count(); ++i) {
        record.Style(i).Color = colors[i % 5];
        form.ApplySeriesStyle(i);
    }
    form.SetTitle(QStringLiteral("Feeder B, 11 and 12 March"));
    form.resize(900, 620);
    folder.Save(form, "chart.png");

    TChart& chart = *form.Chart();
    const double morning = std::floor(form.Start()) + 1 + 5.0 / 24;
    chart.ZoomTo(QCPRange(morning, morning + 8.0 / 24), QCPRange(0.05, 0.95), false);
    folder.Save(form, "chart-zoomed.png");
    // Both cursors over the morning's rise, with their readout under the chart.
    form.SetMode(TChartForm::CursorsMode);
    form.SetCursors(form.SnapCursor(morning + 1.5 / 24), form.SnapCursor(morning + 5.25 / 24));
    form.RefreshReadout();
    form.resize(900, 760);
    folder.Save(form, "chart-cursors.png");
    form.ClearCursors();
    form.RefreshReadout();
    form.SetMode(TChartForm::ExamineMode);
    form.resize(900, 620);
    chart.UndoZoom();

    TChartPropertyEditor editor;
    editor.ChartForm = &form;
    editor.Init();
    editor.Form().ParameterComboBox->setCurrentIndex(record.Sources.Count() - 1);
    const char* const pages[] = {"chart-properties-titles.png", "chart-properties-axes.png",
                                 "chart-properties-grid.png", "chart-properties-legend.png",
                                 "chart-properties-parameters.png"};
    for (int page = 0; page < 5; ++page) {
        editor.Form().PageControl->setCurrentIndex(page);
        folder.Save(editor, pages[page]);
    }
    return folder.Written();
}
