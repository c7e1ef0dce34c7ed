// vrotool import and edit: the database file from the command line.
#include "database/ImportFile.h"
#include "database/LDatabase.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"

#include <cstdio>
#include <optional>

namespace {

struct RecordingInfo {
    std::optional<std::string> userId, location, comments;

    explicit RecordingInfo(Arguments& args)
        : userId(args.Value("--user-id")), location(args.Value("--location")),
          comments(args.Value("--comments")) {}

    bool Any() const { return userId || location || comments; }

    void ApplyTo(LSession& session) const {
        if (userId)
            session.UserID = *userId;
        if (location)
            session.Location = *location;
        if (comments)
            session.Comments = *comments;
    }
};

} // namespace

int ImportCommand(Arguments& args) {
    const RecordingInfo info(args);
    const auto output = args.Value("--output", "-o");
    const bool backup = args.Flag("--backup");
    const std::string input = args.OnlyFile("FILE.bin");

    LDatabase db;
    ImportFile(db, input, [&](LSession& session) { info.ApplyTo(session); });
    if (output)
        db.SetFileName(*output);
    db.Save(backup);
    std::printf("Wrote %s\n", db.FileName().c_str());
    return 0;
}

int EditCommand(Arguments& args) {
    const RecordingInfo info(args);
    const bool backup = args.Flag("--backup");
    const std::string file = args.OnlyFile("FILE.vro");

    LDatabase db;
    LoadDatabaseFile(db, file);
    info.ApplyTo(db.Header());
    db.Save(backup);
    std::printf("Wrote %s\n", db.FileName().c_str());
    return 0;
}
