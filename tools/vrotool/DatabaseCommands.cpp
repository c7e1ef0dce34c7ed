// vrotool import, edit and join: the database file from the command line.
#include "database/ImportFile.h"
#include "database/JoinRecordings.h"
#include "database/LDatabase.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/CommandFiles.h"
#include "tools/vrotool/Commands.h"

#include <cstdio>
#include <optional>
#include <vector>

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

int JoinCommand(Arguments& args) {
    const auto output = args.Value("--output", "-o");
    const auto choice = args.Value("--overlap");
    const std::vector<std::string> files = args.Positionals();
    args.Finish();
    if (!output)
        throw UsageError("give the database to write with -o");
    JoinOverlap overlap = JoinOverlap::Refuse;
    if (choice == "earlier")
        overlap = JoinOverlap::Earlier;
    else if (choice == "later")
        overlap = JoinOverlap::Later;
    else if (choice && *choice != "refuse")
        throw UsageError("--overlap takes refuse, earlier or later");

    std::vector<JoinInput> inputs;
    for (const std::string& file : files)
        inputs.push_back(ReadJoinInput(file));
    LDatabase db;
    const JoinPlan plan = JoinRecordings(std::move(inputs), overlap, db);
    for (const std::string& move : plan.Moves)
        std::printf("%s\n", move.c_str());
    db.SetFileName(*output);
    db.Save(false);
    std::printf("Wrote %s\n", db.FileName().c_str());
    return 0;
}
