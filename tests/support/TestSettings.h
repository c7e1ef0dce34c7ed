#pragma once

#include <QSettings>
#include <QTemporaryDir>

// The settings the program uses, for tests that look at or spoil what is stored. The test
// programs keep them in a folder of their own (QtTestMain), never in the user's.
QSettings StoredSettings();
void ClearSettings();

// While it lives, the settings file is a folder: it can be neither read nor written, not
// even by the superuser.
class UnusableSettings {
public:
    UnusableSettings();
    ~UnusableSettings();

private:
    QTemporaryDir Dir;
};
