// The test programs of the Qt parts: the application offscreen (also for test discovery on
// a machine without a display), the settings in a folder of their own, the catalogue loaded.
#include "model/ParameterTable.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    InitCatalogue();
    return RUN_ALL_TESTS();
}
