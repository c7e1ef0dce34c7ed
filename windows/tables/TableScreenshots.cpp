#include "windows/tables/TableScreenshots.h"

#include "database/LDatabase.h"
#include "windows/shell/Screenshots.h"
#include "windows/tables/TParameterGrid.h"
#include "windows/tables/TTableForm.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
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

    // The extremes of VAN and IA, each the most extreme of its quarter hours, at its time; the
    // energies, the sums of theirs.
    struct Quantity {
        int total, intervals;
        float mean, swing;
        bool smallest;
    };
    const Quantity quantities[] = {
        {47, 122, 126.0f, 1.6f, false},     {56, 131, 114.5f, 1.2f, true},
        {63, 138, 62.0f, 9.5f, false},      {71, 146, 8.0f, 3.0f, true},
        {114, 189, 3700.0f, 950.0f, false}, {111, 186, 1233.0f, 310.0f, false},
    };
    std::vector<LParameter*> totals;
    for (const Quantity& q : quantities) {
        const bool energy = q.total == 114 || q.total == 111;
        const std::vector<float> values =
            Wave(Intervals, q.mean, q.swing, static_cast<float>(q.intervals) / 7.0f);
        std::vector<TDateTime> times;
        for (int i = 0; i < Intervals; ++i)
            times.push_back(session.StartTime + (i + (energy ? 1.0 : 0.37)) / Intervals);
        AddSampleParameter(db, q.intervals, values, times);
        const auto pick = q.smallest ? std::min_element(values.begin(), values.end())
                                     : std::max_element(values.begin(), values.end());
        const auto k = static_cast<size_t>(pick - values.begin());
        const float sum = std::accumulate(values.begin(), values.end(), 0.0f);
        totals.push_back(energy ? AddSampleParameter(db, q.total, {sum}, {session.StartTime + 1})
                                : AddSampleParameter(db, q.total, {*pick}, {times[k]}));
    }
    db.CreateSourceGroups();

    // Event: the totals alone.
    LTableRecord& events = *db.AddTable();
    for (LParameter* total : totals)
        Show(events, total);
    // The extremes with their quarter hours, and the energies with theirs, as New Table makes
    // them.
    for (const std::vector<size_t>& shown : {std::vector<size_t>{0, 1, 2, 3}, {4, 5}}) {
        LTableRecord& intervals = *db.AddTable();
        for (size_t i : shown)
            Show(intervals, totals[i]);
        intervals.Sources.ChainIntervalTwins(db.AllSources());
    }
}

} // namespace

QStringList WriteTableScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    FillSample(db);
    const char* const names[] = {"table-historic.png", "table-event.png",
                                 "table-event-intervals.png", "table-cumulative.png"};
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
