// vrotool notes, and the notes in what survey, compare and stats say: an exclude note's range
// gives the figures, bit for bit, of its samples not measured.
#include "database/LDatabase.h"
#include "database/RecordingFile.h"
#include "tests/support/NotMeasured.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <bit>
#include <filesystem>
#include <fstream>

namespace {

class NotesCommandTest : public ::testing::Test {
protected:
    // 34 days from 2026-03-01 of one-minute 3Ø real and reactive power, IA, IB, IC, VAN, VBN,
    // VCN, and 2 000 voltage maxima (Event) scattered over them, as a database file.
    std::string Database(const std::string& name) {
        GeneratorOptions o;
        o.entries = {22, 28, 13, 14, 15, 6, 7, 8, 47};
        o.start = CalendarTime{2026, 3, 1, 0, 0, 0};
        o.historicPoints = 34 * 1440;
        o.scatteredEvents = true;
        o.eventPoints = 2000;
        const std::string bin = (scratch.path / (name + ".bin")).string();
        std::ofstream(bin, std::ios::binary) << GenerateRecordingBytes(o);
        const std::string vro = (scratch.path / (name + ".vro")).string();
        const Result r = Vro("import " + bin + " -o " + vro + " --user-id Jürgen");
        EXPECT_EQ(r.status, 0) << r.out;
        return vro;
    }
    std::string Notes(const std::string& file, const std::string& args) {
        const Result r = Vro("notes " + file + " " + args);
        EXPECT_EQ(r.status, 0) << args << ": " << r.out;
        return r.out;
    }
    ScratchFolder scratch;
};

// Where the figures first differ, numbers bit for bit, but for the notes, what they left out
// and the file's name; empty when they are the same.
std::string FirstDifference(const Json& a, const Json& b, const std::string& path = "") {
    if (a.kind != b.kind || a.text != b.text || a.boolean != b.boolean ||
        std::bit_cast<uint64_t>(a.number) != std::bit_cast<uint64_t>(b.number) ||
        a.items.size() != b.items.size())
        return path.empty() ? "/" : path;
    for (size_t i = 0; i < a.items.size(); ++i) {
        const std::string name = a.names.empty() ? std::to_string(i) : a.names[i];
        if (name == "notes" || name == "excluded_samples" || name == "file")
            continue;
        if (std::string d = FirstDifference(a.items[i], b.items[i], path + "/" + name); !d.empty())
            return d;
    }
    return {};
}

TEST_F(NotesCommandTest, AnExcludedRangeGivesTheFiguresOfItsSamplesNotMeasured) {
    const std::string base = Database("base"), noted = scratch / "noted.vro";
    std::filesystem::copy_file(base, noted);
    struct Range {
        const char *from, *to;
    };
    // Two days, a part of a morning off the blocks' edges, and one sample.
    const Range ranges[] = {{"2026-03-14 00:00:00", "2026-03-15 23:59:59"},
                            {"2026-03-20 10:07:30", "2026-03-20 13:00:00"},
                            {"2026-04-02 08:15:00", "2026-04-02 08:15:00"}};
    for (const Range& r : ranges)
        Notes(noted, std::string("--add '") + r.from + "' --to '" + r.to +
                         "' --kind exclude --text Holiday");
    Notes(noted, "--add '2026-03-18 12:00:00' --kind remark --text 'Only shown'");

    LDatabase db;
    OpenDatabaseOrRecording(db, base);
    for (const Range& r : ranges) {
        TDateTime from = 0, to = 0;
        ASSERT_TRUE(
            TryEncodeDate(std::stoi(r.from), std::stoi(r.from + 5), std::stoi(r.from + 8), from));
        ASSERT_TRUE(TryEncodeDate(std::stoi(r.to), std::stoi(r.to + 5), std::stoi(r.to + 8), to));
        const auto time = [](const char* t) {
            return (std::stoi(t + 11) * 3600 + std::stoi(t + 14) * 60 + std::stoi(t + 17)) /
                   SecsPerDay;
        };
        SetNotMeasured(db.Parameters(), from + time(r.from), to + time(r.to));
    }
    db.SetFileName(scratch / "unmeasured.vro");
    db.Save(false);
    const std::string unmeasured = db.FileName();

    const std::string commands[] = {
        "survey FILE --json --rating-amps 200 --energy-rate 0.2 --demand-rate 9 "
        "--fixed-monthly 5 --threshold-kw 14",
        "compare FILE --before-range 2026-03-01T00:00:00..2026-03-20T23:59:59 --after-range "
        "2026-03-21T00:00:00..2026-04-03T23:59:59 --json --energy-rate 0.2",
        "stats FILE --json",
        "stats FILE --json --from '2026-03-13 12:00:00' --to '2026-03-25 00:00:00'",
    };
    for (std::string command : commands) {
        const size_t at = command.find("FILE");
        const Result left = Vro(std::string(command).replace(at, 4, noted));
        const Result nan = Vro(std::string(command).replace(at, 4, unmeasured));
        const Result all = Vro(std::string(command).replace(at, 4, base));
        ASSERT_EQ(left.status, 0) << left.out;
        ASSERT_EQ(nan.status, 0) << nan.out;
        SCOPED_TRACE(command);
        EXPECT_EQ(FirstDifference(Json::Parse(left.out), Json::Parse(nan.out)), "");
        EXPECT_NE(FirstDifference(Json::Parse(left.out), Json::Parse(all.out)), "");
    }
    const Json survey = Json::Parse(Vro("survey " + noted + " --json").out);
    EXPECT_EQ(survey["excluded_samples"].number, 2 * 1440 + 173 + 1);
    const Json stats = Json::Parse(Vro("stats " + noted + " --json").out);
    EXPECT_EQ(stats["parameters"][0]["excluded_samples"].number, 2 * 1440 + 173 + 1);
    EXPECT_EQ(stats["notes"].items.size(), 4u);
    const std::string text = Vro("survey " + noted).out;
    EXPECT_NE(text.find("\nNotes\n"), std::string::npos) << text;
    EXPECT_NE(text.find(", exclude: Holiday (Jürgen)\n"), std::string::npos) << text;
    ASSERT_EQ(survey["notes"].items.size(), 4u);
    EXPECT_EQ(survey["notes"][0].Keys(),
              (std::vector<std::string>{"start", "end", "kind", "text", "author"}));
    EXPECT_EQ(survey["notes"][1]["start"].text, "2026-03-18T12:00:00");
    EXPECT_EQ(survey["notes"][1]["kind"].text, "remark");
    EXPECT_EQ(survey["notes"][1]["author"].text, "Jürgen");
}

TEST_F(NotesCommandTest, NotesAreAddedListedAndDeleted) {
    const std::string file = Database("r");
    EXPECT_EQ(Notes(file, ""), "No.\tStart\tEnd\tKind\tText\tAuthor\r\n");
    EXPECT_EQ(Notes(file, "--add '2026-03-11 09:30:00' --kind change --text 'Bank on'"),
              "Added note 1\nWrote " + file + "\n");
    EXPECT_EQ(Notes(file, "--add 2026-03-02T00:00:00 --to '2026-03-03 12:00:00' --kind exclude "
                          "--text 'Clamp\tloose' --author Ana --backup"),
              "Added note 1\nWrote " + file + "\n");
    EXPECT_TRUE(std::filesystem::exists(file + ".backup"));
    EXPECT_EQ(Notes(file, ""), "No.\tStart\tEnd\tKind\tText\tAuthor\r\n"
                               "1\t2026-03-02 00:00:00\t2026-03-03 12:00:00\texclude\tClamp "
                               "loose\tAna\r\n"
                               "2\t2026-03-11 09:30:00\t\tchange\tBank on\tJürgen\r\n");
    const Json json = Json::Parse(Notes(file, "--json"));
    EXPECT_EQ(json[0]["end"].text, "2026-03-03T12:00:00");
    EXPECT_EQ(json[0]["text"].text, "Clamp\tloose");

    // vrotool edit keeps them; so does a join, which marks where each recording starts.
    Vro("edit " + file + " --location Hall");
    EXPECT_EQ(Notes(file, "--delete 1"), "Deleted note 1: Clamp loose\nWrote " + file + "\n");
    const std::string later = scratch / "later.vro";
    Vro("import " + (scratch / "r.bin") + " -o " + later);
    const Result joined =
        Vro("join " + file + " " + later + " --overlap later -o " + (scratch / "joined.vro"));
    ASSERT_EQ(joined.status, 0) << joined.out;
    const Json kept = Json::Parse(Notes(scratch / "joined.vro", "--json"));
    ASSERT_EQ(kept.items.size(), 3u);
    EXPECT_EQ(kept[1]["text"].text, "Recording started: later.vro");
    EXPECT_EQ(kept[2]["text"].text, "Bank on");
    EXPECT_EQ(Json::Parse(Notes(scratch / "r.bin", "--json")).items.size(), 0u);
}

TEST_F(NotesCommandTest, MistakesAreRefused) {
    const std::string file = Database("r");
    const std::string add = "--add '2026-03-11 09:30:00' ";
    const struct {
        std::string args;
        int status;
        std::string message;
    } cases[] = {
        {add + "--text x", 2, "--add needs --kind remark, exclude, change or recorder"},
        {add + "--kind note --text x", 2, "option --kind takes remark, exclude, change or"},
        {add + "--kind remark", 2, "--add needs --text TEXT"},
        {add + "--to '2026-03-11 09:29:59' --kind remark --text x", 2, "before it starts"},
        {"--to '2026-03-11 09:29:59'", 2, "--to, --kind, --text and --author go with --add"},
        {"--delete 1 --json", 2, "--json goes with the listing"},
        {add + "--delete 1", 2, "give --add or --delete, not both"},
        {"--delete 3", 1, "No note 3: the file has 0 notes"},
        {add + "--kind remark --text " + std::string(501, 'x'), 1,
         "A note's text holds at most 500 characters, not 501."},
    };
    for (const auto& c : cases) {
        const Result r = Vro("notes " + file + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.out;
        EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    }
    EXPECT_EQ(Notes(file, ""), "No.\tStart\tEnd\tKind\tText\tAuthor\r\n");
}

TEST_F(NotesCommandTest, CompareSplitsAtANote) {
    const std::string file = Database("r");
    Notes(file, "--add '2026-03-11 09:30:00' --kind remark --text Moved");
    Notes(file, "--add '2026-03-20 09:30:00' --to '2026-03-20 10:00:00' --kind change --text "
                "'Bank on'");
    const Result split = Vro("compare " + file + " --split-at-note 2 --json");
    const Result ranges = Vro("compare " + file +
                              " --before-range 2026-02-01T00:00:00..2026-03-20T09:29:59"
                              " --after-range 2026-03-20T10:00:00..2026-05-01T00:00:00 --json");
    ASSERT_EQ(split.status, 0) << split.out;
    EXPECT_EQ(split.out, ranges.out);
    const Json j = Json::Parse(split.out);
    EXPECT_EQ(j["before"]["to_iso"].text, "2026-03-20T09:29:00");
    EXPECT_EQ(j["after"]["notes"][0]["text"].text, "Bank on");

    const Result outside = Vro("compare " + file + " --split-at-note 3");
    EXPECT_EQ(outside.status, 1);
    EXPECT_EQ(outside.out, "No note 3: " + file + " has 2 notes\n");
    EXPECT_EQ(Vro("compare " + file + " " + file + " --split-at-note 1").status, 2);
}

} // namespace
