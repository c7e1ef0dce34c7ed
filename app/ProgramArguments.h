#pragma once

#include <QString>
#include <QStringList>

// What the windowed program's command line asks for: the usage or the version (printed
// before any window or setting is touched), a mistake (printed, exit status 2), or a run:
// "/debug" and the file to open, and --screenshots. Qt's own options (-platform, -style, ...)
// are let through for QApplication to take.
struct ProgramArguments {
    enum class Action { Run, Help, Version, Mistake };

    // arguments: as main() receives them, the program's name first.
    static ProgramArguments Read(const QStringList& arguments);

    Action action = Action::Run;
    QString text;        // what Help, Version and Mistake print, ending in a line break
    QString file;        // the database or export file to open; empty for none
    bool debug = false;  // "/debug" led the file name
    QString screenshots; // --screenshots DIR: the windows' pictures go there, then the end
};
