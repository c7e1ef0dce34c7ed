#include "tests/support/WindowWatcher.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

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
