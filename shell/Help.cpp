#include "shell/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

namespace {
HelpOpener& Opener() {
    static HelpOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}
} // namespace

QString HelpFilePath() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        exeDir + QLatin1Char('/') + HelpFileName,
        exeDir + QStringLiteral("/../share/vroview/") + HelpFileName,
        QStringLiteral(VRO_HELP_INSTALL_DIR "/") + HelpFileName,
        QStringLiteral(VRO_HELP_SOURCE_DIR "/") + HelpFileName,
    };
    for (const QString& candidate : candidates) {
        const QFileInfo file(candidate);
        if (file.isFile())
            return file.canonicalFilePath();
    }
    return {};
}

bool ShowHelpTopic(const QString& topic, QWidget* parent) {
    const QString path = HelpFilePath();
    if (path.isEmpty()) {
        QMessageBox::warning(parent, QCoreApplication::applicationName(),
                             QStringLiteral("The help file %1 could not be found.")
                                 .arg(QLatin1String(HelpFileName)));
        return false;
    }
    QUrl url = QUrl::fromLocalFile(path);
    url.setFragment(topic);
    return Opener() && Opener()(url);
}

HelpOpener SetHelpOpener(HelpOpener opener) {
    return std::exchange(Opener(), std::move(opener));
}
