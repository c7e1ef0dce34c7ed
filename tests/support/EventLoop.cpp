#include "tests/support/EventLoop.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& done, int ms) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

void RunEventsFor(int ms) {
    RunEventsUntil([] { return false; }, ms);
}

void ClickLater(QWidget* button) {
    QTimer::singleShot(0, button, [button] {
        if (auto* b = qobject_cast<QAbstractButton*>(button))
            b->click();
    });
}
