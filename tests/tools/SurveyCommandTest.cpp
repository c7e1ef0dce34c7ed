// vrotool survey: the structure of its JSON read back, its text and exit statuses.
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class SurveyCommandTest : public ::testing::Test {
protected:
    // Two days at 60 s of 3Ø power, IA, IB, IC and VAN (or the entries given).
    std::string Recording(std::vector<int> entries = {22, 13, 14, 15, 6}) {
        GeneratorOptions o;
        o.entries = std::move(entries);
        o.historicPoints = 2880;
        const std::string path = (scratch.path / "r.bin").string();
        std::ofstream(path, std::ios::binary) << GenerateRecordingBytes(o);
        return path;
    }
    ScratchFolder scratch;
};

TEST_F(SurveyCommandTest, JsonHasTheSurveysStructure) {
    Result r = Vro("survey " + Recording() + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    Json j = Json::Parse(r.out);
    EXPECT_EQ(j.Keys(),
              (std::vector<std::string>{"block_minutes", "power_source", "blocks", "load_study",
                                        "totals", "days", "profile", "duration", "voltage"}));
    EXPECT_EQ(j["block_minutes"].number, 15);
    EXPECT_EQ(j["power_source"].text, "3Ø");
    EXPECT_EQ(j["blocks"]["complete"].number, 192);
    EXPECT_EQ(j["blocks"]["partial"].number, 0);
    const Json& load = j["load_study"];
    EXPECT_EQ(load.Keys(),
              (std::vector<std::string>{"valid", "reasons", "peak_w", "peak_time", "peak_time_iso",
                                        "design_w", "phases", "highest_phase", "design_a",
                                        "rating_a", "headroom_a", "adequate"}));
    EXPECT_FALSE(load["valid"].boolean);
    EXPECT_EQ(load["reasons"][0].text, "The recording covers 2.00 days, less than 30 days.");
    EXPECT_DOUBLE_EQ(load["design_w"].number, 1.25 * load["peak_w"].number);
    EXPECT_EQ(load["phases"].items.size(), 3u);
    EXPECT_EQ(load["phases"][0].Keys(),
              (std::vector<std::string>{"channel_label", "peak_a", "peak_time_iso"}));
    EXPECT_TRUE(load["rating_a"].IsNull() && load["headroom_a"].IsNull() &&
                load["adequate"].IsNull());
    EXPECT_EQ(j["totals"].Keys(), (std::vector<std::string>{"energy_wh", "peak_w", "base_w",
                                                            "average_w", "load_factor", "days"}));
    EXPECT_EQ(j["totals"]["days"].number, 2);
    EXPECT_EQ(j["days"].items.size(), 3u);
    EXPECT_EQ(j["days"][0].Keys(),
              (std::vector<std::string>{"date", "energy_wh", "peak_w", "peak_time_iso", "base_w",
                                        "coverage"}));
    EXPECT_EQ(j["days"][2]["date"].text, "2026-11-30");
    EXPECT_EQ(j["profile"]["weekday"].items.size(), 96u);
    EXPECT_EQ(j["profile"]["weekend"][40]["start"].text, "10:00");
    EXPECT_EQ(j["duration"]["percent"].items.size(), j["duration"]["w"].items.size());
    EXPECT_TRUE(j["duration"]["hours_above"].IsNull());
    const Json& voltage = j["voltage"];
    EXPECT_EQ(voltage.Keys(), (std::vector<std::string>{"nominal_v", "nominal_guessed", "valid",
                                                        "reasons", "channels"}));
    EXPECT_EQ(voltage["nominal_v"].number, 230);
    EXPECT_TRUE(voltage["nominal_guessed"].boolean);
    EXPECT_EQ(voltage["channels"][0].Keys(),
              (std::vector<std::string>{"channel_label", "nominal_v", "blocks", "within_10",
                                        "within_10_15", "maximum", "maximum_time_iso", "minimum",
                                        "minimum_time_iso", "pass"}));
    EXPECT_EQ(voltage["channels"][0]["channel_label"].text, "VAN");
    EXPECT_EQ(j["profile"]["weekday"][0].Keys(),
              (std::vector<std::string>{"start", "mean", "minimum", "maximum"}));
    EXPECT_EQ(j["duration"].Keys(), (std::vector<std::string>{"percent", "w", "threshold_w",
                                                              "hours_above", "energy_above_wh"}));

    r = Vro("survey " + Recording() +
            " --json --rating-amps 1000 --nominal-volts 240 --threshold-watts 0 "
            "--block-minutes 30");
    ASSERT_EQ(r.status, 0) << r.out;
    j = Json::Parse(r.out);
    EXPECT_EQ(j["block_minutes"].number, 30);
    EXPECT_TRUE(j["load_study"]["adequate"].boolean);
    EXPECT_EQ(j["voltage"]["nominal_v"].number, 240);
    EXPECT_FALSE(j["voltage"]["nominal_guessed"].boolean);
    EXPECT_EQ(j["duration"]["hours_above"].number, j["blocks"]["complete"].number / 2);
}

TEST_F(SurveyCommandTest, WithoutPowerThePowerResultsAreNull) {
    const Result r = Vro("survey " + Recording({6, 13}) + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    const Json j = Json::Parse(r.out);
    for (const char* key : {"power_source", "load_study", "totals", "days", "profile", "duration"})
        EXPECT_TRUE(j[key].IsNull()) << key;
    EXPECT_EQ(j["blocks"]["complete"].number, 0);
    EXPECT_FALSE(j["voltage"].IsNull());
}

TEST_F(SurveyCommandTest, TextAndExitStatuses) {
    const std::string file = Recording();
    Result r = Vro("survey " + file);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("Survey of 2026-11-28 17:45:01 to 2026-11-30 17:44:01\n", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("\nLoad study: not valid\n"), std::string::npos);
    for (const char* bad : {"--block-minutes 20", "--block-minutes x", "--rating-amps -1",
                            "--nominal-volts 0", "--threshold-watts ten", "--frobnicate"})
        EXPECT_EQ(Vro("survey " + file + " " + bad).status, 2) << bad;
    const std::string damaged = (scratch.path / "d.bin").string();
    std::ofstream(damaged) << std::string(20, '\0');
    r = Vro("survey " + damaged);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "Parse error:Incremented past end\n");
}

} // namespace
