#include "database/RecordingFile.h"

#include "database/LDatabase.h"
#include "database/OpenFailure.h"
#include "model/ErrorReport.h"
#include "model/InputFile.h"

#include <cstring>
#include <strings.h>

bool IsDatabaseFile(InputFile& file) {
    const std::string& name = file.Name();
    const size_t n = name.size();
    if (n >= 4 && ::strcasecmp(name.c_str() + n - 4, ".vro") == 0)
        return true;
    static const char mark[] = {3, 0, 0, 0, 'V', 'r', 'o'};
    const std::string head = file.Head(sizeof mark);
    return head.size() == sizeof mark && std::memcmp(head.data(), mark, sizeof mark) == 0;
}

void ReadingFile(const InputFile& file, bool database, const std::function<void()>& read) {
    try {
        read();
    } catch (const VroError& e) {
        Raise(OpenFailureText(file, database ? FileKind::Database : FileKind::ExportFile,
                              FileAction::Open, e.what()));
    }
}

void OpenDatabaseOrRecording(LDatabase& db, const std::string& fileName) {
    db.New();
    InputFile file(fileName);
    const bool database = IsDatabaseFile(file);
    ReadingFile(file, database, [&] {
        if (database)
            db.Load(file);
        else
            db.Parse(file.Contents());
    });
}

void LoadDatabaseFile(LDatabase& db, const std::string& fileName) {
    db.New();
    InputFile file(fileName);
    ReadingFile(file, true, [&] { db.Load(file); });
}
