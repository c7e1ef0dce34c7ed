#pragma once

class QMenu;
class QWidget;

// The menu pops up at a right-click anywhere on the widget: in a scroll area's viewport and,
// for a grid, on its column headers too (a scroll area takes neither of these by itself).
void AttachPopup(QWidget* widget, QMenu* menu);
