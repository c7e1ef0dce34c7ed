#pragma once

#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

// The program's help is one HTML file with an anchor per topic ("contents", "100",
// "IDH_TOPIC4"), shown in the desktop's browser.
inline constexpr char HelpFileName[] = "vroview.html";

// The first that exists: beside the executable, the installed share folder, the source
// tree. Empty when there is none.
QString HelpFilePath();

// Opens the topic; says so in a message box (over parent) when there is no help file.
bool ShowHelpTopic(const QString& topic, QWidget* parent = nullptr);

// What opens the page, normally the desktop's browser; tests put their own in its place.
using HelpOpener = std::function<bool(const QUrl&)>;
HelpOpener SetHelpOpener(HelpOpener opener);
