// vrotool join: recordings of either kind joined into a database file, refusals leaving the
// output as it was.
#include "database/LDatabase.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

namespace {

class JoinCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        GeneratorOptions o;
        o.entries = {6, 47, 122};
        o.start = CalendarTime{2026, 11, 2, 0, 0, 0};
        o.historicPoints = 120;
        // Two hours each, an hour apart; the second also as a database file.
        const std::vector<GeneratedRecording> series = GenerateSeries(o, 3, 60);
        for (int k = 0; k < 3; ++k)
            WriteBytes(Path("part" + std::to_string(k + 1) + ".bin"), series[k].Serialize());
        ASSERT_EQ(Vro("import " + Path("part2.bin") + " -o " + Path("part2.vro")).status, 0);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    ScratchFolder scratch;
    const std::filesystem::path& dir = scratch.path;
};

TEST_F(JoinCommandTest, JoinsFilesOfEitherKindInOrderOfStart) {
    const Result r = Vro("join " + Path("part3.bin") + " " + Path("part2.vro") + " " +
                         Path("part1.bin") + " -o " + Path("study.vro"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Wrote " + Path("study.vro") + "\n");
    LDatabase db;
    db.New();
    db.Load(Path("study.vro"));
    EXPECT_EQ(db.Parameters().Items(0)->Count(), 3 * 120 + 2 * 60);
    EXPECT_EQ(db.Parameters().Items(2)->Count(), 3 * 8);
    EXPECT_NE(db.Header().Comments.find("Joined from: part1.bin ("), std::string::npos);
    EXPECT_TRUE(db.Tables().empty());
}

TEST_F(JoinCommandTest, ARefusalExitsWithItsReasonAndLeavesTheOutput) {
    WriteBytes(Path("study.vro"), "former");
    struct Case {
        std::string args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {Path("part1.bin") + " " + Path("part2.vro") + " " + Path("part2.bin"), 1,
         "part2.bin starts 2 h before part2.vro ends\n"},
        {Path("part1.bin") + " " + Path("missing.bin"), 1,
         "missing.bin could not be opened: it does not exist.\nError opening file!\n"},
        {Path("part1.bin"), 1, "A join needs at least two recordings.\n"},
        {Path("part1.bin") + " " + Path("part2.bin") + " --overlap sooner", 2,
         "vrotool join: --overlap takes refuse, earlier or later\n"},
    };
    for (const Case& c : cases) {
        const Result r = Vro("join " + c.args + " -o " + Path("study.vro"));
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out.substr(0, c.message.size()), c.message) << c.args;
        EXPECT_EQ(ReadBytes(Path("study.vro")), "former");
    }
    // Either choice joins the overlapping copy.
    for (const char* overlap : {"earlier", "later"}) {
        const Result r =
            Vro("join " + Path("part1.bin") + " " + Path("part2.vro") + " " + Path("part2.bin") +
                " --overlap " + overlap + " -o " + Path("study.vro"));
        EXPECT_EQ(r.status, 0) << r.out;
        LDatabase db;
        db.New();
        db.Load(Path("study.vro"));
        EXPECT_EQ(db.Parameters().Items(0)->Count(), 2 * 120 + 60);
    }
}

} // namespace
