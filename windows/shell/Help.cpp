#include "windows/shell/Help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWidget>

#include <utility>

namespace {
HelpOpener& Opener() {
    static HelpOpener opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    return opener;
}

constexpr char TopicProperty[] = "vroHelpTopic";

// F1 is taken before any widget sees it, so that a window without a help action of its own
// (a table, a chart, a dialog) still answers it.
class HelpKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1 || !watched->isWidgetType())
            return false;
        auto* widget = static_cast<QWidget*>(watched);
        ShowHelpTopic(HelpTopicOf(widget), widget->window());
        return true;
    }
};
} // namespace

void SetHelpTopic(QWidget* window, const char* topic) {
    window->setProperty(TopicProperty, QString::fromLatin1(topic));
}

QString HelpTopicOf(const QWidget* window) {
    for (const QWidget* w = window; w; w = w->parentWidget()) {
        const QVariant topic = w->property(TopicProperty);
        if (topic.isValid())
            return topic.toString();
    }
    return QStringLiteral("contents");
}

void InstallHelpKey() {
    static HelpKeyFilter* filter = nullptr;
    if (!filter && qApp) {
        filter = new HelpKeyFilter(qApp);
        qApp->installEventFilter(filter);
    }
}

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
    if (Opener() && Opener()(url))
        return true;
    QMessageBox::warning(parent, QCoreApplication::applicationName(),
                         QStringLiteral("No web browser could be started to show the help. "
                                        "Open the help file in a browser yourself:\n%1")
                             .arg(QDir::toNativeSeparators(path)));
    return false;
}

HelpOpener SetHelpOpener(HelpOpener opener) {
    return std::exchange(Opener(), std::move(opener));
}
