#include "windows/shell/MenuImages.h"

#include <QString>

#include <iterator>

// Outside any namespace, as the resource initialiser requires.
static void InitResourcesOnce() {
    Q_INIT_RESOURCE(resources);
}

void LoadShellResources() {
    static const bool loaded = (InitResourcesOnce(), true);
    (void)loaded;
}

QIcon MenuImage(int index) {
    static const char* const names[] = {
        "new",    "open", "save",   nullptr,  "import",   "print",          nullptr, nullptr,
        "delete", "help", "charts", "tables", "settings", "recording-info", "copy",  "survey"};
    if (index < 0 || index >= static_cast<int>(std::size(names)) || !names[index])
        return {};
    LoadShellResources();
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(names[index])));
}

QIcon ProgramIcon() {
    LoadShellResources();
    return QIcon(QStringLiteral(":/icons/vroview.svg"));
}

QPixmap ErrorImage() {
    LoadShellResources();
    return QIcon(QStringLiteral(":/icons/error.svg")).pixmap(32, 32);
}

QPixmap AboutImage() {
    LoadShellResources();
    return QIcon(QStringLiteral(":/icons/about.svg")).pixmap(60, 240);
}
