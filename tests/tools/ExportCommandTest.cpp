// vrotool export: the workbook of a database file and its exit statuses.
#include "database/LDatabase.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ExportCommandTest, WritesTheWorkbookOrExplains) {
    ScratchFolder scratch;
    GeneratorOptions o;
    o.entries = {22, 6};
    o.historicPoints = 50;
    LDatabase db;
    db.New();
    db.Parse(GenerateRecordingBytes(o));
    db.AddTable()->Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)));
    db.AddChart()->Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(1)));
    db.SetFileName(scratch / "s.vro");
    db.Save(false);
    const std::string file = db.FileName(), book = scratch / "s.xlsx";

    const Result written = Vro("export " + file + " -o " + book);
    ASSERT_EQ(written.status, 0) << written.out;
    EXPECT_EQ(written.out, "Wrote " + book + "\n");
    // The survey's options price the Survey sheet.
    ASSERT_EQ(Vro("export " + file + " -o " + book + " --energy-rate 0.2").status, 0);
    const Result survey = RunCommand("unzip -p " + book + " xl/worksheets/sheet4.xml"); // Survey
    EXPECT_NE(survey.out.find("month total"), std::string::npos) << survey.out;
    const Result sheets = RunCommand("unzip -Z1 " + book);
    for (const char* part : {"xl/worksheets/sheet5.xml", "xl/chartsheets/", "xl/charts/chart1.xml"})
        EXPECT_NE(sheets.out.find(part), std::string::npos) << part << "\n" << sheets.out;

    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {"export " + file, 2, "give the workbook with -o BOOK.xlsx"},
        {"export " + file + " -o " + scratch / "s.csv", 2, "must end in .xlsx"},
        {"export -o " + book, 2, "give exactly one FILE"},
        {"export " + file + " -o " + book + " --what", 2, "--what"},
        {"export " + scratch / "none.vro" + " -o " + scratch / "n.xlsx", 1, "loading the file"},
        {"export " + file + " -o " + scratch / "missing/n.xlsx", 1, "Error writing"},
        {"export " + file + " -o " + book + " --target-pf 1.2", 2, "--target-pf"},
    };
    for (const Case& c : cases) {
        const Result r = Vro(c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch / "n.xlsx"));
    EXPECT_EQ(Vro("export --help").status, 0);
}

} // namespace
