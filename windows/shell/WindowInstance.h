#pragma once

#include <QCoreApplication>
#include <QPointer>

// The long-lived windows exist once. The program makes them at start-up, and the first of a
// kind that is made becomes the instance; asked for before one exists (an error reported
// while the program starts, a test), the instance is made on the spot, without a parent,
// and goes with the application.
template <class T> class WindowInstance {
public:
    static void Register(T* window) {
        if (!Slot())
            Slot() = window;
    }

    static T& Get() {
        if (!Slot()) {
            Slot() = new T;
            qAddPostRoutine([] { delete Slot().data(); });
        }
        return *Slot();
    }

    static bool Exists() { return !Slot().isNull(); }

private:
    static QPointer<T>& Slot() {
        static QPointer<T> slot;
        return slot;
    }
};
