#pragma once

#include <functional>

class QWidget;

// Runs the main thread's event loop until done() holds or ms have passed; returns done().
bool RunEventsUntil(const std::function<bool()>& done, int ms = 5000);
// Runs the main thread's event loop for ms.
void RunEventsFor(int ms);

// Clicks a button from the event loop, so that what the click starts runs nested there
// instead of inside the caller.
void ClickLater(QWidget* button);
