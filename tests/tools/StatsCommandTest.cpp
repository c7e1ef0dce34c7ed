// vrotool stats: the fields and figures of its JSON read back, its texts and exit statuses.
#include "database/LDatabase.h"
#include "model/DateTime.h"
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

class StatsCommandTest : public ::testing::Test {
protected:
    // 240 samples at 15 s: 3Ø power at a constant 1 000 W, the voltage VAN with a NaN; an
    // event parameter. A table of the voltage's samples 10 to 19 and the power, and a
    // chart of the power.
    void SetUp() override {
        GeneratorOptions o;
        o.rate = 2;
        o.entries = {22, 6, 47};
        o.historicPoints = 240;
        o.eventPoints = 5;
        GeneratedRecording rec = GenerateRecording(o);
        rec.blocks[0].values.assign(240, 1000);
        rec.blocks[1].values[3] = NAN;
        LDatabase db;
        db.New();
        db.Parse(rec.Serialize());
        LTableRecord& table = *db.AddTable();
        table.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(1)))
            ->SetSubset(10, 19);
        table.Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)));
        db.AddChart()->Sources.Add(std::make_unique<LParameterSource>(db.Parameters().Items(0)));
        db.SetFileName((scratch.path / "s.vro").string());
        db.Save(false);
        file = db.FileName();
    }
    Json Stats(const std::string& options) {
        const Result r = Vro("stats " + file + " --json " + options);
        EXPECT_EQ(r.status, 0) << r.out;
        return Json::Parse(r.out);
    }
    ScratchFolder scratch;
    std::string file;
};

TEST_F(StatsCommandTest, JsonOfTheWholeRecording) {
    const Json j = Stats("");
    EXPECT_EQ(j.Keys(), (std::vector<std::string>{"range", "parameters", "notes"}));
    EXPECT_EQ(j["range"].Keys(), (std::vector<std::string>{"from", "to", "from_iso", "to_iso"}));
    ASSERT_EQ(j["parameters"].items.size(), 3u);
    const Json& power = j["parameters"][0];
    EXPECT_EQ(power.Keys(), (std::vector<std::string>{"id",
                                                      "name",
                                                      "channel_label",
                                                      "unit_symbol",
                                                      "table_type",
                                                      "visible",
                                                      "count",
                                                      "invalid",
                                                      "expected",
                                                      "coverage",
                                                      "minimum",
                                                      "minimum_time",
                                                      "minimum_time_iso",
                                                      "maximum",
                                                      "maximum_time",
                                                      "maximum_time_iso",
                                                      "mean",
                                                      "std_dev",
                                                      "first",
                                                      "last",
                                                      "integral",
                                                      "integral_unit",
                                                      "load_factor",
                                                      "excluded_samples"}));
    EXPECT_EQ(power["channel_label"].text, "3Ø");
    EXPECT_EQ(power["count"].number, 240);
    EXPECT_EQ(power["integral"].number, 1000);
    EXPECT_EQ(power["integral_unit"].text, "WH");
    EXPECT_EQ(power["load_factor"].number, 1);
    EXPECT_EQ(power["std_dev"].number, 0);
    EXPECT_EQ(power["minimum_time_iso"].text, j["range"]["from_iso"].text.substr(0, 19));
    const Json& voltage = j["parameters"][1];
    EXPECT_EQ(voltage["invalid"].number, 1);
    EXPECT_EQ(voltage["expected"].number, 240);
    EXPECT_DOUBLE_EQ(voltage["coverage"].number, 239 / 240.0);
    EXPECT_TRUE(voltage["integral"].IsNull() && voltage["integral_unit"].IsNull() &&
                voltage["load_factor"].IsNull());
    // The minimum reads back as the recorded float, its time as the day count of its ISO text.
    EXPECT_EQ(static_cast<float>(voltage["minimum"].number), voltage["minimum"].number);
    EXPECT_EQ(j["parameters"][2]["table_type"].number, 1);
}

TEST_F(StatsCommandTest, TablesChartsAndTimeRanges) {
    Json j = Stats("--index 1");
    ASSERT_EQ(j["parameters"].items.size(), 2u);
    EXPECT_EQ(j["parameters"][0]["count"].number, 10);
    EXPECT_TRUE(j["parameters"][0]["visible"].boolean); // a loaded source is shown
    j = Stats("--chart --index 1");
    ASSERT_EQ(j["parameters"].items.size(), 1u);
    EXPECT_EQ(j["parameters"][0]["name"].text, "Real Power");

    // The first ten samples by their times, both ends included.
    const double first = Stats("")["parameters"][0]["minimum_time"].number;
    const auto text = [](double t) {
        std::string iso = FormatIso8601(t);
        iso[10] = ' ';
        return "'" + iso + "'";
    };
    j = Stats("--from " + text(first) + " --to " + text(first + 135 / SecsPerDay));
    EXPECT_EQ(j["parameters"][0]["count"].number, 10);
    EXPECT_EQ(j["range"]["from"].number, first);
    j = Stats("--from " + text(first + 136 / SecsPerDay));
    EXPECT_EQ(j["parameters"][0]["count"].number, 230);
}

TEST_F(StatsCommandTest, TextAsTheWindowCopiesIt) {
#ifdef VRO_TABLES
    Result r = Vro("stats " + file + " --index 1 --locale en_US");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1),
              "Parameter\tChannel\tUnit\tCount\tCoverage\tMinimum\tTime of minimum\tMaximum\t"
              "Time of maximum\tMean\tStd dev\tIntegral\tLoad factor\r\n");
    EXPECT_NE(r.out.find("\r\nReal Power\t3Ø\tkW\t240\t100.00 %\t1.00\t"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\t1.00 kWh\t1.000\r\n"), std::string::npos) << r.out;
    // A spreadsheet's file is the same in every language.
    const std::string csv = Vro("stats " + file + " --csv --locale en_US").out;
    r = Vro("stats " + file + " --csv --locale de_DE");
    EXPECT_EQ(r.out, csv);
    EXPECT_NE(r.out.find("\r\nReal Power,3Ø,W,240,100.00,1000.00,"), std::string::npos) << r.out;
#else
    Result r;
#endif
    const std::string out = (scratch.path / "s.txt").string();
    r = Vro("stats " + file + " -o " + out);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Wrote " + out + "\n");
    EXPECT_EQ(std::ifstream(out).get(), 'P');
}

TEST_F(StatsCommandTest, ErrorsAndMistakes) {
    struct Case {
        std::string args;
        int status;
        std::string message; // the start of what it prints
    } cases[] = {
        {"--index 2", 1, "No table 2: the file has 1 table\n"},
        {"--chart --caption Nothing", 1, "No chart captioned \"Nothing\"\n"},
        {"--from '2026-11-30 10:00:00' --to '2026-11-30 09:00:00'", 1,
         "The range starts at 2026-11-30 10:00:00, after its end at 2026-11-30 09:00:00\n"},
        {"--from 2026-11-30", 2, "vrotool stats: option --from needs a time"},
        {"--to '2026-02-30 10:00:00'", 2, "vrotool stats: option --to needs a time"},
        {"--json --csv", 2, "vrotool stats: give --json or --csv"},
        {"--chart", 2, "vrotool stats: --chart needs"},
    };
    for (const Case& c : cases) {
        const Result r = Vro("stats " + file + " " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out.substr(0, c.message.size()), c.message) << c.args;
    }
    const std::string damaged = (scratch.path / "d.vro").string();
    std::ofstream(damaged) << "Vro garbage";
    EXPECT_EQ(Vro("stats " + damaged).status, 1);
}

} // namespace
