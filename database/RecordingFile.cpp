#include "database/RecordingFile.h"

#include "database/LDatabase.h"
#include "database/OpenFailure.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

bool IsDatabaseFile(const std::string& fileName) {
    const size_t n = fileName.size();
    if (n >= 4 && ::strcasecmp(fileName.c_str() + n - 4, ".vro") == 0)
        return true;
    static const char mark[] = {3, 0, 0, 0, 'V', 'r', 'o'};
    char head[sizeof mark] = {};
    std::FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f)
        return false;
    const size_t got = std::fread(head, 1, sizeof head, f);
    std::fclose(f);
    return got == sizeof head && std::memcmp(head, mark, sizeof mark) == 0;
}

void ReadingFile(const std::string& fileName, bool database, const std::function<void()>& read) {
    try {
        read();
    } catch (const VroError& e) {
        Raise(OpenFailureText(fileName, database ? FileKind::Database : FileKind::ExportFile,
                              FileAction::Open, e.what()));
    }
}

void OpenDatabaseOrRecording(LDatabase& db, const std::string& fileName) {
    db.New();
    const bool database = IsDatabaseFile(fileName);
    ReadingFile(fileName, database, [&] {
        if (database)
            db.Load(fileName);
        else
            db.Parse(ReadWholeFile(fileName));
    });
}

void LoadDatabaseFile(LDatabase& db, const std::string& fileName) {
    db.New();
    ReadingFile(fileName, true, [&] { db.Load(fileName); });
}
