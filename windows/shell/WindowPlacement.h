#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a top-level window fits on a screen of the available geometry, leaving room for the
// frame and the title bar a window manager adds around it.

// The largest window that fits.
QSize LargestWindowOn(const QRect& available);
// at moved as little as needed for a window of size to stand whole on the screen.
QPoint WholeOnScreen(QPoint at, QSize size, const QRect& available);
