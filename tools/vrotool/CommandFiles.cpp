#include "tools/vrotool/CommandFiles.h"

#include "database/LDatabase.h"
#include "database/OpenFailure.h"
#include "database/SafeFileReplace.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "tools/vrotool/JsonWriter.h"

#include <cstdio>
#include <cstdlib>
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

std::string JsonText(const std::function<void(JsonWriter&)>& write) {
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    if (!out)
        throw std::bad_alloc();
    JsonWriter json(out);
    write(json);
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

void WriteOutput(const std::string& text, const std::optional<std::string>& output) {
    if (!output) {
        if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
            std::fflush(stdout) != 0)
            Raise("Error writing to standard output");
        return;
    }
    SafeFileReplace file(*output, false);
    file.Writer().Write(text.data(), static_cast<int64_t>(text.size()));
    file.Commit();
    std::printf("Wrote %s\n", output->c_str());
}
