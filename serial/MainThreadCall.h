#pragma once

#include <QObject>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

// A worker thread's way of handing results to the main thread: run a function in the thread
// of a context object and wait until it has run. The owner can cancel: every call waiting
// then, and every later one, returns at once without waiting for the main thread, so that
// closing never depends on the main thread being free (nor deadlocks when a handler closes).
class MainThreadCall {
public:
    explicit MainThreadCall(QObject* context) : context_(context) {}

    // False when cancelled before fn had run to its end.
    bool Run(std::function<void()> fn);
    void Cancel();
    // A fresh start for the next worker; calls still queued from before stay cancelled.
    void Reset();

private:
    struct State {
        std::mutex lock;
        std::condition_variable changed;
        bool cancelled = false;
    };
    std::shared_ptr<State> CurrentState();

    QObject* context_;
    std::mutex stateLock_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
