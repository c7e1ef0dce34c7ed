#include "serial/MainThreadCall.h"

#include <QThread>

std::shared_ptr<MainThreadCall::State> MainThreadCall::CurrentState() {
    std::lock_guard lock(stateLock_);
    return state_;
}

bool MainThreadCall::Run(std::function<void()> fn) {
    const std::shared_ptr<State> state = CurrentState();
    if (QThread::currentThread() == context_->thread()) {
        fn();
        return true;
    }
    auto done = std::make_shared<bool>(false);
    {
        std::lock_guard lock(state->lock);
        if (state->cancelled)
            return false;
    }
    // The functor holds everything it needs, so it stays safe when it runs after the caller
    // gave up waiting; Qt drops it if the context object is deleted first.
    QMetaObject::invokeMethod(
        context_,
        [state, done, fn = std::move(fn)] {
            {
                std::lock_guard lock(state->lock);
                if (state->cancelled)
                    return;
            }
            fn();
            std::lock_guard lock(state->lock);
            *done = true;
            state->changed.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(state->lock);
    state->changed.wait(lock, [&] { return *done || state->cancelled; });
    return *done;
}

void MainThreadCall::Cancel() {
    const std::shared_ptr<State> state = CurrentState();
    std::lock_guard lock(state->lock);
    state->cancelled = true;
    state->changed.notify_all();
}

void MainThreadCall::Reset() {
    std::lock_guard lock(stateLock_);
    state_ = std::make_shared<State>();
}
