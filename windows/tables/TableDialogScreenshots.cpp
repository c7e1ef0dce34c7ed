#include "windows/tables/TableDialogScreenshots.h"

#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "windows/shell/Screenshots.h"
#include "windows/tables/TChartSelectParametersDialog.h"
#include "windows/tables/TParameterListView.h"
#include "windows/tables/TTableSelectParametersDialog.h"
#include "windows/tables/TTimeSelectionDialog.h"
#include "windows/tables/TVisibleParametersDialog.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <functional>

namespace {

// A week at one sample a minute on 3Ø 4W Wye: the voltages, currents and powers, a few
// events and the energy. Only what the dialogs show matters; every parameter has one point.
void FillSampleDatabase(LDatabase& db) {
    db.New();
    LSession& session = db.Header();
    TDateTime day = 0;
    TDateTime time = 0;
    TryEncodeDate(2024, 3, 11, day);
    TryEncodeTime(9, 30, 0, 0, time);
    session.StartTime = day + time;
    session.EndTime = session.StartTime + 7;
    session.PhaseConfig = 3;
    session.Rate = 4;
    session.HistoricPointMax = 7 * 1440;
    const int entries[] = {6,  7,  8,  13, 14, 15, 16,  19, 20,  21, 22,
                           28, 34, 40, 47, 63, 81, 115, 98, 111, 114};
    const float value = 230;
    for (const int index : entries) {
        auto parameter = std::make_unique<LParameter>();
        parameter->SetData(session.Rate, index, &session.StartTime, &value, 1, 0, 0);
        parameter->SetStartTime(session.StartTime);
        db.Parameters().Add(std::move(parameter));
    }
    db.CreateSourceGroups();
}

// Saves the dialog as Execute shows it, after prepare has run inside it, and leaves it with
// Cancel.
void SaveExecuted(ScreenshotFolder& folder, TStandardDialog& dialog, const char* name,
                  const std::function<void()>& prepare = {}) {
    QTimer::singleShot(0, &dialog, [&folder, &dialog, name, prepare] {
        if (prepare)
            prepare();
        folder.Save(dialog, name);
        dialog.CancelButton()->click();
    });
    dialog.Execute();
}

} // namespace

QStringList WriteTableDialogScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    LDatabase db;
    FillSampleDatabase(db);
    const LSession& session = db.Header();

    // From Tuesday noon to Friday evening of the week.
    TTimeSelectionDialog time;
    time.SetRecording(session.StartTime, session.RateSeconds(), session.HistoricPointMax);
    SaveExecuted(folder, time, "time-range.png", [&time] {
        time.EndScrollbar()->setValue(5 * 1440 + 510);
        time.StartScrollbar()->setValue(1440 + 150);
    });

    LParameterSourceGroup target(&db.Header());
    TTableSelectParametersDialog table;
    table.SetAllSources(&db.AllSources());
    table.Group = &target;
    SaveExecuted(folder, table, "new-table.png", [&table] {
        TParameterListView* list = table.ParameterListView();
        for (const int row : {0, 1, 2})
            list->topLevelItem(row)->setCheckState(0, Qt::Checked);
    });

    TChartSelectParametersDialog chart;
    chart.ParameterListView()->SetGroup(&db.ChartSources());
    chart.Group = &target;
    SaveExecuted(folder, chart, "new-chart.png", [&chart] {
        TParameterListView* list = chart.ParameterListView();
        list->ColClick(0);
        list->topLevelItem(4)->setCheckState(0, Qt::Checked);
    });

    // A table's sources, one of them hidden.
    LParameterSourceGroup shown(&db.Header());
    for (int i = 0; i < 6; ++i)
        shown.Add(std::make_unique<LParameterSource>(*db.AllSources().Items(i)))->Selected = i != 4;
    TVisibleParametersDialog visible;
    visible.ParameterListView()->SetGroup(&shown);
    SaveExecuted(folder, visible, "visible-parameters.png");
    return folder.Written();
}
