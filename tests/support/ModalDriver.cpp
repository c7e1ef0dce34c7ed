#include "tests/support/ModalDriver.h"

#include <QApplication>
#include <QEvent>

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
