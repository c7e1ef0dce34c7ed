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

// Opens the topic; says so in a message box (over parent) when there is no help file, or no
// browser could show it (naming the file, to be opened by hand).
bool ShowHelpTopic(const QString& topic, QWidget* parent = nullptr);

// The topic a window's F1 opens; windows without one of their own open "contents".
void SetHelpTopic(QWidget* window, const char* topic);
// The topic of the window, or of the nearest window it belongs to.
QString HelpTopicOf(const QWidget* window);
// F1 anywhere in the program opens the topic of the window it was pressed in.
void InstallHelpKey();

// What opens the page, normally the desktop's browser; tests put their own in its place.
using HelpOpener = std::function<bool(const QUrl&)>;
HelpOpener SetHelpOpener(HelpOpener opener);
