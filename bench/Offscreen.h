#pragma once

#include <QString>
#include <QtGlobal>

// Before a Qt benchmark makes its application: the offscreen platform unless another is
// named, and quiet about what that platform cannot do each time a window shows (no result).
inline void PrepareOffscreen() {
    qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.startsWith(QStringLiteral("This plugin does not support")))
                qt_message_output(type, context, message);
        });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}
