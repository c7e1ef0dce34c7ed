#pragma once

#include "database/FileWriter.h"

#include <memory>
#include <string>
#include <sys/stat.h>

// Replaces a file without ever leaving a half-written one in its place, and without changing
// what the file is. A symbolic link is followed to the file it names, which is replaced while
// the link stays as it is. The new content goes to a temporary file beside that file, which
// takes its owner and group (where the process may set them), mode and extended attributes
// (ACLs), is put on the disk and renamed over it. With backup, the former file is kept as
// NAME.backup beside it (replacing an older backup).
//
// Where no temporary file can be made (a folder the user may not write) or it cannot keep the
// owner, and for a file with other names (hard links), the file is written in place, as a
// plain save does; with backup that needs a copy
// beside it, and where none can be made the save is refused. A file the user may not write is
// refused. Every file made is created exclusively, never through a link, under a name that
// fits the file system. Destroyed without Commit, it leaves everything as it was. A device or
// FIFO (/dev/null) is written to as it is, without a backup.
class SafeFileReplace {
public:
    // Raises "Error occured while saving the file." when the file cannot be saved.
    SafeFileReplace(std::string fileName, bool backup);
    ~SafeFileReplace();
    SafeFileReplace(const SafeFileReplace&) = delete;
    SafeFileReplace& operator=(const SafeFileReplace&) = delete;

    FileWriter& Writer() { return *writer_; }
    // Puts the content on the disk and into place; raises on any failure.
    void Commit();

    // The file replaced: the name given with its links followed.
    const std::string& TargetName() const { return target_; }
    // The temporary file beside it; empty when the file is written in place.
    const std::string& TemporaryName() const { return temporaryName_; }
    // A name that opens the new content, for a writer that takes a file name instead of
    // Writer() (a library, or Qt's devices); Commit puts what was written there in place.
    // Valid until Commit.
    std::string ContentName() const;

private:
    void MakeBackup(bool mayLink);
    void WriteInPlace();

    std::string target_;
    std::string folder_;
    std::string base_;
    bool backup_;
    bool exists_ = false;
    bool special_ = false; // a device or FIFO
    struct stat original_ {};
    std::string temporaryName_;
    std::string temporaryBackup_;
    int content_ = -1; // written in place: the new content, gathered in memory first
    int handle_ = -1;  // the writer's
    std::unique_ptr<FileWriter> writer_;
};
