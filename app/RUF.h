#pragma once

#include <QPointer>
#include <QStringList>

#include <functional>

class QMenu;

// The recently used files behind the Reopen submenu: newest first, at most five full names,
// stored on every addition. Names keep their case where file names are case-sensitive, so
// that every entry can be opened again as shown.
class RUF {
public:
    using ClickHandler = std::function<void(const QString& fileName)>;

    static constexpr int MaxFiles = 5;

    // Binds the submenu, loads the stored list and builds the items; a click hands the
    // item's file name to handler.
    void SetMenu(QMenu* menu, ClickHandler handler);
    // Puts the file on top (once), keeps the newest five, stores the list, rebuilds the menu.
    void Add(const QString& fileName);
    int Count() const { return static_cast<int>(FileList.size()); }
    const QStringList& Files() const { return FileList; }

private:
    void RebuildMenu();

    QStringList FileList;
    QPointer<QMenu> ReopenItem;
    ClickHandler Handler;
};
