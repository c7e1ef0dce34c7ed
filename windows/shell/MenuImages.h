#pragma once

#include <QIcon>
#include <QPixmap>

// The pictures of the main window's menu items, tool buttons and tree nodes, by their index
// in its image list: 0 New, 1 Open, 2 Save, 4 Import, 5 Print, 8 Delete, 9 Help contents,
// 10 Charts, 11 Tables, 12 Settings, 13 Recording Info, 14 Copy, 15 Survey. Other indexes give
// no picture.
QIcon MenuImage(int index);

QIcon ProgramIcon();
// The error box's 32 by 32 picture and the About box's 60 by 240 one.
QPixmap ErrorImage();
QPixmap AboutImage();

// The program's pictures are compiled into the library; this makes them reachable (once).
void LoadShellResources();
