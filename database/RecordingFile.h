#pragma once

#include <functional>
#include <string>

class InputFile;
class LDatabase;

// A database file by its name, or by its first bytes when the name says nothing.
bool IsDatabaseFile(InputFile& file);

// Opens a database file, or parses a recording byte stream (1.x export file) into a database
// without tables or charts; raises the program's message, under a sentence that names the file
// and what the failure means (OpenFailureText), when neither can be read. Each opens the file
// once, and finds the cause of a failure from that open.
void OpenDatabaseOrRecording(LDatabase& db, const std::string& fileName);
// The same for a database file alone.
void LoadDatabaseFile(LDatabase& db, const std::string& fileName);
// Runs read, and raises what it raises under that sentence for a file of the kind.
void ReadingFile(const InputFile& file, bool database, const std::function<void()>& read);
