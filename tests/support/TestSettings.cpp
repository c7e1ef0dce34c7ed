#include "tests/support/TestSettings.h"

#include "windows/shell/Registry.h"

#include <QDir>

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
