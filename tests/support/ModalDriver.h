#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// Drives modal windows from inside their event loops: each step runs once on the modal
// widget that is active when it runs, and the next step waits until that widget has gone
// (closed, or covered by another modal one). Pending steps are dropped with the driver.
class ModalDriver : public QObject {
public:
    using Step = std::function<void(QWidget*)>;
    explicit ModalDriver(std::vector<Step> steps);
    ~ModalDriver();
    size_t StepsRun() const { return Next; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();

    std::vector<Step> Steps;
    size_t Next = 0;
    QPointer<QWidget> Current;
    bool CurrentGone = true;
    QTimer Timer;
};

// Finds a child by object name and type, failing the test when it is missing.
template <class T> T* Child(QWidget* parent, const char* name) {
    T* child = parent->findChild<T*>(QString::fromLatin1(name));
    if (!child)
        throw std::runtime_error(std::string("no child ") + name);
    return child;
}
