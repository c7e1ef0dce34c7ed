#include "windows/reports/ReportScreenshots.h"

#include "windows/reports/TSurveyReportDialog.h"
#include "windows/shell/Screenshots.h"

QStringList WriteReportScreenshots(const QString& directory) {
    ScreenshotFolder folder(directory);
    TSurveyReportDialog dialog;
    SurveyReportOptions options;
    options.Survey.RatingAmps = 200;
    options.Title = QStringLiteral("Feeder 4 load study");
    options.Author = {QStringLiteral("Ann Smith"), QStringLiteral("Volt and Co"),
                      QStringLiteral("The meter room was locked on the second visit.")};
    options.WithItems = true;
    dialog.SetOptions(options);
    folder.Save(dialog, "survey-report-dialog.png");
    return folder.Written();
}
