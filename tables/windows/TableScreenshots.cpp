#include "tables/windows/TableScreenshots.h"

#include "database/LDatabase.h"
#include "shell/Screenshots.h"
#include "tables/windows/TParameterGrid.h"
#include "tables/windows/TTableForm.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A day at 5-minute samples with 15-minute intervals, from 11 March 2024, 09:30.
constexpr int Samples = 288;
constexpr int Intervals = 96;

std::vector<float> Wave(int n, float mean, float swing, float phase) {
    std::vector<float> values;
    for (int i = 0; i < n; ++i)
        values.push_back(mean + swing * std::sin(static_cast<float>(i) / 23.0f + phase) +
                         0.3f * std::sin(static_cast<float>(i) * 1.7f));
    return values;
}

LParameterSource* Show(LTableRecord& table, LParameter* parameter) {
    return table.Sources.Add(std::make_unique<LParameterSource>(parameter));
}

void FillSample(LDatabase& db) {
    NewSampleDatabase(db);
    LSession& session = db.Header();
    session.Interval = 1;

    // Historic: the three phase voltages, current IA, total real power and power factor.
    LTableRecord& historic = *db.AddTable();
    for (int index : {6, 7, 8})
        Show(historic,
             AddSampleParameter(db, index, Wave(Samples, 121.0f, 1.8f, static_cast<float>(index))));
    Show(historic, AddSampleParameter(db, 13, Wave(Samples, 42.0f, 11.0f, 0.4f)));
    Show(historic, AddSampleParameter(db, 22, Wave(Samples, 14800.0f, 3900.0f, 0.4f)));
    Show(historic, AddSampleParameter(db, 40, Wave(Samples, 0.93f, 0.03f, 1.1f)));

    // Event: the extremes of VAN and IA with their times, and the energies (no time).
    LTableRecord& events = *db.AddTable();
    const std::vector<std::pair<int, float>> extremes = {{47, 126.4f}, {56, 113.9f}, {63, 71.2f},
                                                         {71, 3.1f},   {81, 178.8f}, {88, 102.6f}};
    for (size_t i = 0; i < extremes.size(); ++i)
        Show(events,
             AddSampleParameter(db, extremes[i].first, {extremes[i].second},
                                {session.StartTime + 0.0417 * static_cast<double>(i * 3 + 2)}));
    LParameter* energy = AddSampleParameter(db, 114, {355214.5f}, {session.StartTime + 1});
    LParameter* energyA = AddSampleParameter(db, 111, {118402.25f}, {session.StartTime + 1});
    Show(events, energy);
    Show(events, energyA);

    // Cumulative: the energies with their 15-minute intervals chained.
    LTableRecord& cumulative = *db.AddTable();
    std::vector<TDateTime> ends;
    for (int i = 1; i <= Intervals; ++i)
        ends.push_back(session.StartTime + i / 96.0);
    Show(cumulative, energy)->Next = std::make_unique<LParameterSource>(
        AddSampleParameter(db, 189, Wave(Intervals, 3700.0f, 950.0f, 0.4f), ends));
    Show(cumulative, energyA)->Next = std::make_unique<LParameterSource>(
        AddSampleParameter(db, 186, Wave(Intervals, 1233.0f, 310.0f, 0.4f), ends));
}

} // namespace

QStringList WriteTableScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    FillSample(db);
    const char* const names[] = {"table-historic.png", "table-event.png", "table-cumulative.png"};
    for (size_t i = 0; i < db.Tables().size(); ++i) {
        TTableForm form(*db.Tables()[i]);
        if (i == 0) {
            // A selected range, as a copy of it starts.
            form.Table()->selectRow(3);
            form.Table()->selectionModel()->select(
                QItemSelection(form.Table()->model()->index(3, 0),
                               form.Table()->model()->index(5, 0)),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
        folder.Save(form, names[i]);
    }
    return folder.Written();
}
