// vrotool compare: the members of its JSON, two ranges of one file against two files, and its
// exit statuses.
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

class CompareCommandTest : public ::testing::Test {
protected:
    // days of 5-minute samples of the entries (3Ø real power) from a midnight, 6 000 W on
    // weekdays, a little less on some, 3 000 W on weekends; a tenth less from 1 April 2024.
    std::string Recording(const std::string& name, CalendarTime start, int days,
                          std::vector<int> entries = {22}) {
        GeneratorOptions o;
        o.entries = std::move(entries);
        o.rate = 5;
        o.historicPoints = days * 288;
        o.start = start;
        SteadyLoad load;
        load.volts = {200, 200, 200};
        load.scale = [](double t) {
            const auto day = static_cast<int64_t>(t);
            const double after = day >= 45383 ? 0.9 : 1; // 2024-04-01
            return after * (day % 7 == 0 || day % 7 == 1 ? 0.5 : 1.0 - 0.001 * (day % 11));
        };
        o.steady = load;
        const std::string path = (scratch.path / name).string();
        std::ofstream(path, std::ios::binary) << GenerateRecordingBytes(o);
        return path;
    }
    ScratchFolder scratch;
};

const std::vector<std::string> SideKeys = {"file",
                                           "from_iso",
                                           "to_iso",
                                           "days",
                                           "full_days",
                                           "full_weekdays",
                                           "full_weekend_days",
                                           "energy_per_day_wh",
                                           "weekday_energy_wh",
                                           "weekend_energy_wh",
                                           "peak_w",
                                           "peak_time_iso",
                                           "base_w",
                                           "average_w",
                                           "load_factor",
                                           "average_pf",
                                           "cost_per_day",
                                           "typical_month_cost",
                                           "notes",
                                           "excluded_samples"};

TEST_F(CompareCommandTest, TwoRangesOfOneFileAreTwoFilesCutFromIt) {
    const std::string whole = Recording("whole.bin", {2024, 3, 4, 0, 0, 0}, 42);
    const Result one = Vro("compare " + whole +
                           " --before-range 2024-03-04T00:00:00..2024-03-17T23:55:00"
                           " --after-range 2024-04-01T00:00:00..2024-04-14T23:55:00 --json"
                           " --energy-rate 0.25");
    ASSERT_EQ(one.status, 0) << one.out;
    const Result two =
        Vro("compare " + Recording("a.bin", {2024, 3, 4, 0, 0, 0}, 14) + " " +
            Recording("b.bin", {2024, 4, 1, 0, 0, 0}, 14) + " --json --energy-rate 0.25");
    ASSERT_EQ(two.status, 0) << two.out;
    const Json a = Json::Parse(one.out), b = Json::Parse(two.out);
    EXPECT_EQ(a.Keys(), (std::vector<std::string>{"before", "after", "change", "saving"}));
    EXPECT_EQ(a["before"].Keys(), SideKeys);
    EXPECT_EQ(a["change"].Keys().size(), SideKeys.size() - 6); // no file, times, notes
    EXPECT_EQ(a["change"]["peak_w"].Keys(), (std::vector<std::string>{"difference", "percent"}));
    EXPECT_EQ(a["saving"].Keys(),
              (std::vector<std::string>{"weekday", "weekend", "yearly_wh", "yearly_low_wh",
                                        "yearly_high_wh", "significant", "reasons", "yearly_cost",
                                        "yearly_cost_low", "yearly_cost_high"}));
    EXPECT_EQ(a["saving"]["weekday"].Keys(),
              (std::vector<std::string>{"d_wh", "se_wh", "df", "low_wh", "high_wh", "n_before",
                                        "n_after"}));
    EXPECT_EQ(a["before"]["full_weekdays"].number, 10);
    EXPECT_EQ(a["before"]["from_iso"].text, "2024-03-04T00:00:00");
    EXPECT_TRUE(a["before"]["average_pf"].IsNull()); // no reactive power
    for (const char* side : {"before", "after"})
        for (const std::string& key : SideKeys)
            if (key != "file") {
                SCOPED_TRACE(std::string(side) + " " + key);
                EXPECT_EQ(a[side][key].number, b[side][key].number);
                EXPECT_EQ(a[side][key].text, b[side][key].text);
            }
    for (const char* key : {"yearly_wh", "yearly_low_wh", "yearly_high_wh", "yearly_cost"})
        EXPECT_EQ(a["saving"][key].number, b["saving"][key].number) << key;
    EXPECT_GT(a["saving"]["yearly_wh"].number, 0);
    EXPECT_TRUE(a["saving"]["significant"].boolean);

    // The text is the Summary page.
    const Result text = Vro("compare " + whole +
                            " --before-range 2024-03-04T00:00:00..2024-03-17T23:55:00"
                            " --after-range 2024-04-01T00:00:00..2024-04-14T23:55:00"
                            " --locale en_US");
    EXPECT_NE(text.out.find(
                  "Energy per full weekend day (WH)\t72,000.00\t64,800.00\t-7,200.00\t-10.00 %"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("The saving is larger than day-to-day scatter (95 %)"),
              std::string::npos);
}

TEST_F(CompareCommandTest, ExitStatuses) {
    const std::string a = Recording("a.bin", {2024, 3, 4, 0, 0, 0}, 3);
    const std::string voltage = Recording("v.bin", {2024, 3, 4, 0, 0, 0}, 3, {6});
    struct Case {
        std::string args;
        int status;
        std::string says;
    } cases[] = {
        {a + " " + voltage, 1, "After (" + voltage + "): The recording has no real power"},
        {a + " " + a + " --after-range 2025-01-01T00:00:00..2025-01-02T00:00:00", 1,
         "lies outside the recording"},
        {a + " " + a + " --before-range 2024-03-04T00:00:00..2024-03-04T12:00:00", 1,
         "The range holds no full day"},
        {a + " " + a + " --block-minutes 7", 2, "takes 5, 10, 15, 30 or 60"},
        {a + " --before-range 2024-03-04T00:00:00..2024-03-05T00:00:00", 2,
         "one FILE needs both --before-range and --after-range"},
        {a + " " + a + " --after-range 2024-03-05", 2, "needs FROM..TO"},
        {a + " " + a + " --after-range 2024-03-06T00:00:00..2024-03-05T00:00:00", 2,
         "ends before it starts"},
    };
    for (const Case& c : cases) {
        const Result r = Vro("compare " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
    }
}

} // namespace
