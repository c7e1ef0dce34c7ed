#include "AcquisitionUiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdlib>

namespace {
std::string EnvName(int port) {
    return "VIREO_COM" + std::to_string(port);
}
} // namespace

WindowWatcher::WindowWatcher(std::function<void(QWidget*)> onShown) : OnShown(std::move(onShown)) {
    qApp->installEventFilter(this);
}

WindowWatcher::~WindowWatcher() {
    qApp->removeEventFilter(this);
}

bool WindowWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow())
        return false;
    // Posted with the window as context: a window gone by then is skipped.
    QTimer::singleShot(0, widget, [this, widget] {
        if (widget->isVisible())
            OnShown(widget);
    });
    return false;
}

void InstrumentPorts::SetUp() {
    for (int port = 1; port <= 4; ++port)
        setenv(EnvName(port).c_str(), "/dev/vireo-no-such-port", 1);
}

void InstrumentPorts::TearDown() {
    for (int port = 1; port <= 4; ++port)
        unsetenv(EnvName(port).c_str());
}

InstrumentSimulator& InstrumentPorts::InstrumentOn(int port, unsigned baud, std::string recording,
                                                   SimulatorFaults faults, bool paced) {
    faults.onlyBaud = baud;
    Instruments.push_back(
        std::make_unique<InstrumentSimulator>(std::move(recording), faults, paced));
    setenv(EnvName(port).c_str(), Instruments.back()->DevicePath().c_str(), 1);
    return *Instruments.back();
}

void ClickLater(QWidget* button) {
    QTimer::singleShot(0, button, [button] {
        if (auto* b = qobject_cast<QAbstractButton*>(button))
            b->click();
    });
}
