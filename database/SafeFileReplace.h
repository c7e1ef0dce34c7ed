#pragma once

#include "database/FileWriter.h"

#include <memory>
#include <string>

// Replaces a file without ever leaving a half-written one in its place: the new content goes
// to a temporary file in the same folder, which is put on the disk and then renamed over the
// file. With backup, the former file is kept as NAME.backup (replacing an older backup).
// Destroyed without Commit, it removes the temporary file and leaves everything as it was.
class SafeFileReplace {
public:
    // Raises "Error occured while saving the file." when the temporary file cannot be made.
    SafeFileReplace(std::string fileName, bool backup);
    ~SafeFileReplace();
    SafeFileReplace(const SafeFileReplace&) = delete;
    SafeFileReplace& operator=(const SafeFileReplace&) = delete;

    FileWriter& Writer() { return *writer_; }
    // Puts the content on the disk and moves it into place; raises on any failure.
    void Commit();

    const std::string& TemporaryName() const { return temporaryName_; }

private:
    void MakeBackup();

    std::string fileName_;
    bool backup_;
    std::string temporaryName_;
    std::string temporaryBackup_;
    std::unique_ptr<FileWriter> writer_;
};
