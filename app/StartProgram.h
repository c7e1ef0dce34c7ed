#pragma once

#include <QString>

#include <memory>

class TMainForm;

// The windowed program's start: the main window, the program-error box in place (so that a
// damaged file on the command line is reported with its context), the command line's file,
// then the long-lived windows in their order, each its kind's instance. An empty file name
// opens nothing.
std::unique_ptr<TMainForm> StartProgram(const QString& commandLineFile);
