#pragma once

#include "model/DateTime.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string>
#include <vector>

class LDatabase;
class LSession;
class LParameter;
class QTabWidget;
class QWidget;

// Pictures of the windows for the documentation and for checking layouts by eye; works on
// the offscreen platform too.

// Shows the window (without running a modal loop), lets it lay itself out, saves what it
// draws as a PNG and hides it again. False when the file cannot be written.
bool SaveWindowImage(QWidget& window, const QString& fileName);

// Pictures of several windows saved into one folder (made if missing), remembering which
// files were written.
class ScreenshotFolder {
public:
    explicit ScreenshotFolder(const QString& directory);
    // SaveWindowImage into the folder under name.
    void Save(QWidget& window, const char* name);
    // Every page of the window's pages in turn, each under its name.
    void SavePages(QWidget& window, QTabWidget& pages, const std::vector<const char*>& names);
    const QStringList& Written() const { return written_; }

private:
    QString directory_;
    QStringList written_;
};

// Writes the shell's windows into directory (made if missing): standard-dialog.png,
// program-error.png, copy-progress.png. Returns the files written. The program's own window
// instances are left untouched.
QStringList WriteShellScreenshots(const QString& directory);

// The recording information the pictures show: a user, a location, comments, 1Ø 2W at 30 s.
LSession SampleSession();

// Adds a parameter of the catalogue entry to the open database for a picture: its values (and
// times, for the event types) from the recording's start at its rate.
LParameter* AddSampleParameter(LDatabase& db, int catalogueIndex, const std::vector<float>& values,
                               const std::vector<TDateTime>& times = {});

// Two days of a load at 5-minute samples from 11 March 2024, 09:30, as the chart and
// statistics pictures show it: low at night, high in the afternoon, with some noise.
std::vector<float> TwoSampleDays(float night, float day, float phase, float noise);

// Makes db a new database of a recording on 3Ø 4W Wye at 5-minute samples from 11 March 2024,
// 09:30, without parameters: the pictures add what they show. The location and file name
// are set where given.
void NewSampleDatabase(LDatabase& db, const std::string& location = {},
                       const std::string& fileName = {});

// The catalogue entry of the historic parameter of that quantity, unit and channel; -1 where
// there is none.
int SampleHistoricEntry(uint8_t quantity, uint8_t unit, uint8_t channel);
