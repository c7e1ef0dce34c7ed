#include "shell/AttachPopup.h"

#include <QAbstractScrollArea>
#include <QHeaderView>
#include <QMenu>
#include <QTableView>

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
