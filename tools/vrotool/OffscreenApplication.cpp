#include "tools/vrotool/OffscreenApplication.h"

#include <QApplication>

namespace {

void OnlySeriousMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        qt_message_output(type, context, text);
}

} // namespace

std::unique_ptr<QGuiApplication> OffscreenApplication(bool widgets) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(OnlySeriousMessages);
    static int argc = 1;
    static char name[] = "vrotool";
    static char* argv[] = {name, nullptr};
    if (widgets)
        return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QGuiApplication>(argc, argv);
}
