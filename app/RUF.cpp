#include "app/RUF.h"

#include "windows/shell/Registry.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>

namespace {
// Windows compares file names without regard to case, Linux does not: an upper-cased name
// could not be opened again there.
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity FileNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity FileNameCase = Qt::CaseSensitive;
#endif
} // namespace

void RUF::SetMenu(QMenu* menu, ClickHandler handler) {
    ReopenItem = menu;
    Handler = std::move(handler);
    LoadStringList(RecentFilesKey, FileList);
    while (FileList.size() > MaxFiles)
        FileList.removeAt(MaxFiles);
    RebuildMenu();
}

void RUF::Add(const QString& fileName) {
    if (fileName.isEmpty())
        return;
    QString name = QDir::cleanPath(QFileInfo(fileName).absoluteFilePath());
    if (FileNameCase == Qt::CaseInsensitive)
        name = QLocale().toUpper(name);
    FileList.removeIf([&](const QString& entry) { return entry.compare(name, FileNameCase) == 0; });
    FileList.prepend(name);
    while (FileList.size() > MaxFiles)
        FileList.removeAt(MaxFiles);
    SaveStringList(RecentFilesKey, FileList);
    RebuildMenu();
}

void RUF::RebuildMenu() {
    if (!ReopenItem)
        return;
    // The rebuild may run from inside an item's own click (a save during a reopen), so the
    // old items go later rather than under the running handler.
    for (QAction* action : ReopenItem->actions()) {
        ReopenItem->removeAction(action);
        action->deleteLater();
    }
    for (const QString& fileName : FileList) {
        // An ampersand in a file name is a letter, not a mnemonic.
        QString caption = fileName;
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* action = ReopenItem->addAction(caption);
        action->setData(fileName);
        QObject::connect(action, &QAction::triggered, action, [handler = Handler, fileName] {
            if (handler)
                handler(fileName);
        });
    }
}
