#include "app/AppScreenshots.h"

#include "app/TAboutBox.h"
#include "app/TJoinDialog.h"
#include "app/TRecordingInfoForm.h"
#include "app/TSessionInfoDialog.h"
#include "app/TSettingsDialog.h"
#include "database/LDatabase.h"
#include "model/LParameter.h"
#include "model/LSession.h"
#include "windows/charts/TChartForm.h"
#include "windows/shell/Screenshots.h"

#include <QComboBox>
#include <QTemporaryDir>

namespace {

// Two days of a feeder from 09:30 on the day, saved as a database file in folder.
QString SaveTwoDays(const QString& folder, const char* name, int day) {
    LDatabase db;
    NewSampleDatabase(db);
    LSession& session = db.Header();
    session.Location = "Substation 4, feeder B";
    session.StartTime += day - 11;
    AddSampleParameter(db, 6, TwoSampleDays(123.5f, 118.0f, 0.0f, 0.6f));
    AddSampleParameter(db, 13, TwoSampleDays(18.0f, 74.0f, 0.1f, 3.0f));
    AddSampleParameter(db, 22, TwoSampleDays(6400.0f, 25500.0f, 1.5f, 700.0f));
    AddSampleParameter(db, 47, {124.6f}, {session.StartTime + 1.3});
    session.EndTime = session.StartTime + 2 - 1 / SecsPerDay;
    session.HistoricPointMax = db.Parameters().Items(0)->Count();
    session.EventPointMax = 1;
    db.CreateSourceGroups();
    db.SetFileName((folder + '/' + QString::fromLatin1(name)).toStdString());
    db.Save(false);
    return QString::fromStdString(db.FileName());
}

} // namespace

QStringList WriteAppScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    const LSession session = SampleSession();

    TSettingsDialog settings;
    settings.Init();
    folder.Save(settings, "program-settings.png");

    TSessionInfoDialog info;
    info.Init();
    info.UserIdComboBox()->addItems({QStringLiteral("J. Marsh"), QStringLiteral("R. Okafor")});
    info.SetUserID(QString::fromStdString(session.UserID));
    info.SetLocation(QString::fromStdString(session.Location));
    info.SetComments(QString::fromStdString(session.Comments));
    info.SetCancelEnabled(true);
    folder.Save(info, "recording-info-dialog.png");

    TRecordingInfoForm form;
    form.ShowRecording(session);
    folder.Save(form, "recording-info-window.png");

    TAboutBox about;
    folder.Save(about, "about.png");

    // Three downloads with a day between the first two, then one that overlaps the second.
    QTemporaryDir downloads;
    TJoinDialog join;
    join.AddFiles({SaveTwoDays(downloads.path(), "download-0316.vro", 16),
                   SaveTwoDays(downloads.path(), "download-0311.vro", 11),
                   SaveTwoDays(downloads.path(), "download-0314.vro", 14)});
    folder.Save(join, "join-recordings.png");
    join.AddFiles({SaveTwoDays(downloads.path(), "download-0315.vro", 15)});
    folder.Save(join, "join-recordings-refused.png");
    join.FileList()->setCurrentItem(join.FileList()->topLevelItem(2));
    join.RemoveFileButtonClick();

    // The joined recording's chart: no line across the gap.
    LDatabase joined;
    join.JoinInto(joined);
    LChartRecord& record = *joined.AddChart();
    LParameterSourceGroup group(&joined.Header());
    for (int32_t i : {0, 1})
        group.Add(std::make_unique<LParameterSource>(*joined.ChartSources().Items(i)));
    TChartForm chart(record);
    chart.SetGroup(group);
    chart.SetTitle(QStringLiteral("Feeder B, joined from three downloads"));
    chart.resize(900, 620);
    folder.Save(chart, "chart-gap.png");
    return folder.Written();
}
