#pragma once

#include <functional>

class QAction;
class QMenu;
class QWidget;

// The menu pops up at a right-click anywhere on the widget: in a scroll area's viewport and,
// for a grid, on its column headers too (a scroll area takes neither of these by itself).
void AttachPopup(QWidget* widget, QMenu* menu);

// The items a window's popup menu opens with: "Copy to clipboard" (also Ctrl+C anywhere in
// the window), "Export…", a separator and "Print", named as the tests and screenshots find
// them. The window's own items follow.
struct CopyExportPrintItems {
    QAction* Copy;
    QAction* Export;
    QAction* Print;
};
CopyExportPrintItems AddCopyExportPrint(QWidget* window, QMenu* menu,
                                        const std::function<void()>& copy,
                                        const std::function<void()>& exportFile,
                                        const std::function<void()>& print);
