#pragma once

#include "bench/RatioReporter.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"

#include <QLocale>
#include <QString>
#include <QtGlobal>

#include <functional>

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

// The main of a Qt benchmark: App (QApplication or QGuiApplication) offscreen, the catalogue,
// the allocator and United States numbers; prepare makes the data before the clock runs, and
// ratios names the figures to print against their baselines.
template <typename App>
int RunOffscreenBenchmarks(int argc, char** argv, const std::function<void()>& prepare,
                           const std::function<void(RatioReporter&)>& ratios) {
    PrepareOffscreen();
    App app(argc, argv);
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    prepare();
    RatioReporter reporter;
    ratios(reporter);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
