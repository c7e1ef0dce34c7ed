#include "ShellTestSupport.h"

#include "shell/Registry.h"

#include <QApplication>
#include <QDir>
#include <QEvent>

QSettings StoredSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, RegistryOrganization,
                     RegistryApplication);
}

void ClearSettings() {
    QSettings settings = StoredSettings();
    settings.clear();
}

UnusableSettings::UnusableSettings() {
    QDir(Dir.path())
        .mkpath(QStringLiteral("%1/%2.conf").arg(RegistryOrganization, RegistryApplication));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Dir.path());
}

UnusableSettings::~UnusableSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       qEnvironmentVariable("XDG_CONFIG_HOME"));
}

ModalDriver::ModalDriver(std::vector<Step> steps) : Steps(std::move(steps)) {
    Timer.setInterval(5);
    QObject::connect(&Timer, &QTimer::timeout, [this] { Poll(); });
    Timer.start();
}

ModalDriver::~ModalDriver() {
    Timer.stop();
    if (Current)
        Current->removeEventFilter(this);
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Current && event->type() == QEvent::Hide)
        CurrentGone = true;
    return false;
}

void ModalDriver::Poll() {
    if (Next >= Steps.size()) {
        Timer.stop();
        return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    // The same window shown again (closed in between) counts as a new one.
    if (modal == Current && !CurrentGone)
        return;
    if (Current)
        Current->removeEventFilter(this);
    Current = modal;
    CurrentGone = false;
    modal->installEventFilter(this);
    Steps[Next++](modal);
}
