#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

// Runs onShown for every window as it appears (dialogs, message boxes), from the event loop
// just after it was shown, so that a test can drive modal windows however deeply nested,
// and however briefly they stay.
class WindowWatcher : public QObject {
public:
    explicit WindowWatcher(std::function<void(QWidget*)> onShown);
    ~WindowWatcher() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QWidget*)> OnShown;
};
