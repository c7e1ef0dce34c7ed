#include "windows/shell/AttachPopup.h"

#include "windows/shell/MenuImages.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const std::function<void()>& handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, menu, [handler] { handler(); });
    return action;
}

} // namespace

void AttachPopup(QWidget* widget, QMenu* menu) {
    widget->setContextMenuPolicy(Qt::CustomContextMenu);
    // A scroll area tells where in its viewport it was clicked.
    auto* area = qobject_cast<QAbstractScrollArea*>(widget);
    QWidget* origin = area ? area->viewport() : widget;
    QObject::connect(widget, &QWidget::customContextMenuRequested, menu,
                     [menu, origin](const QPoint& at) { menu->popup(origin->mapToGlobal(at)); });
    if (auto* grid = qobject_cast<QTableView*>(widget))
        AttachPopup(grid->horizontalHeader(), menu);
}

CopyExportPrintItems AddCopyExportPrint(QWidget* window, QMenu* menu,
                                        const std::function<void()>& copy,
                                        const std::function<void()>& exportFile,
                                        const std::function<void()>& print) {
    menu->setObjectName(QStringLiteral("Popup"));
    CopyExportPrintItems items{};
    items.Copy = AddItem(menu, "Copytoclipboard", QStringLiteral("Copy to clipboard"), copy);
    items.Copy->setIcon(MenuImage(14));
    items.Copy->setShortcut(QKeySequence::Copy);
    items.Copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window->addAction(items.Copy);
    items.Export = AddItem(menu, "Export", QStringLiteral("Export\u2026"), exportFile);
    menu->addSeparator();
    items.Print = AddItem(menu, "Print", QStringLiteral("Print"), print);
    items.Print->setIcon(MenuImage(5));
    return items;
}
