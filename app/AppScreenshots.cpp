#include "app/AppScreenshots.h"

#include "app/TAboutBox.h"
#include "app/TRecordingInfoForm.h"
#include "app/TSessionInfoDialog.h"
#include "app/TSettingsDialog.h"
#include "model/LSession.h"
#include "shell/Screenshots.h"

#include <QComboBox>

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
    return folder.Written();
}
