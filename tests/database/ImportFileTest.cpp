// Import of 1.x export files: the name of the new database, and failures leaving nothing open.
#include "database/ImportFile.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "tests/database/DatabaseTestSupport.h"
#include "tests/support/PipeFile.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

namespace {

std::string SmallRecording() {
    GeneratorOptions options;
    options.entries = {6, 47};
    options.historicPoints = 10;
    return GenerateRecordingBytes(options);
}

TEST(ImportFileTest, NameLosesTheEndingAndGainsVro) {
    EXPECT_EQ(ImportBaseName("/data/Site 4.BIN"), "/data/Site 4");
    EXPECT_EQ(ImportBaseName("a.bin"), "a");
    EXPECT_EQ(ImportBaseName(".bin"), ".bin"); // nothing precedes the ending
    EXPECT_EQ(ImportBaseName("week.dat"), "week.dat");
    EXPECT_EQ(ImportBaseName("week.bin.old"), "week.bin.old");

    ScratchFolder dir;
    WriteBytes(dir / "Site.BIN", SmallRecording());
    WriteBytes(dir / "export", SmallRecording() + "trailing bytes are ignored");
    LDatabase db;
    std::string seen;
    ImportFile(db, dir / "Site.BIN", [&](LSession& s) {
        seen = s.InstrumentText;
        s.Location = "Feeder Ø2";
    });
    EXPECT_EQ(seen, "VIREO 2000") << "the information is asked for after parsing";
    EXPECT_EQ(db.FileName(), dir / "Site.vro");
    EXPECT_TRUE(db.HasFileName());
    EXPECT_TRUE(db.Modified());
    EXPECT_EQ(db.Header().Location, "Feeder Ø2");
    EXPECT_EQ(db.AllSources().Count(), 2);

    ImportFile(db, dir / "export", nullptr);
    EXPECT_EQ(db.FileName(), dir / "export.vro");
    EXPECT_EQ(db.Parameters().Count(), 2);

    PipeFile pipe(SmallRecording());
    ImportFile(db, pipe.Path(), nullptr);
    EXPECT_EQ(db.Parameters().Count(), 2);
}

TEST(ImportFileTest, FailuresLeaveNoDatabaseOpen) {
    ScratchFolder dir;
    WriteBytes(dir / "empty.bin", "");
    LDatabase db;
    db.New();
    for (auto [file, message] :
         {std::pair{std::string("empty.bin"),
                    "empty.bin could not be imported: it is damaged or not an export file of the "
                    "1.x software.\nParse error:Incremented past end"},
          {std::string("missing.bin"),
           "missing.bin could not be imported: it does not exist.\nError opening file!"}}) {
        try {
            ImportFile(db, dir / file, [](LSession&) { FAIL() << "nothing to describe"; });
            ADD_FAILURE() << file;
        } catch (const VroError& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_FALSE(db.Open());
    }
}

} // namespace
