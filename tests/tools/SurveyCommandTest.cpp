// vrotool survey: the structure of its JSON read back, its text and exit statuses.
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

namespace {

class SurveyCommandTest : public ::testing::Test {
protected:
    // Two days at 60 s of 3Ø power, IA, IB, IC and VAN (or the entries given).
    std::string Recording(std::vector<int> entries = {22, 13, 14, 15, 6},
                          std::optional<SteadyLoad> steady = std::nullopt,
                          const std::string& name = "r.bin") {
        GeneratorOptions o;
        o.entries = std::move(entries);
        o.historicPoints = 2880;
        o.steady = steady;
        const std::string path = (scratch.path / name).string();
        std::ofstream(path, std::ios::binary) << GenerateRecordingBytes(o);
        return path;
    }
    // 3Ø real and reactive power, IA, IB, IC, VAN, VBN, VCN of 100 A a phase at PF 0.8 and
    // 230, 225 and 235 V: 55 200 W, 41 400 var, 2.17 % voltage unbalance.
    std::string Steady(const std::string& name = "s.bin") {
        SteadyLoad load;
        load.volts = {230, 225, 235};
        load.amps = {100, 100, 100};
        load.powerFactor = {0.8, 0.8, 0.8};
        return Recording({22, 28, 13, 14, 15, 6, 7, 8}, load, name);
    }
    ScratchFolder scratch;
};

TEST_F(SurveyCommandTest, JsonHasTheSurveysStructure) {
    Result r = Vro("survey " + Recording() + " --json");
    ASSERT_EQ(r.status, 0) << r.out;
    Json j = Json::Parse(r.out);
    EXPECT_EQ(j.Keys(),
              (std::vector<std::string>{"block_minutes", "power_source", "blocks", "load_study",
                                        "totals", "days", "profile", "duration", "voltage", "cost",
                                        "power_factor", "unbalance", "notes", "excluded_samples"}));
    EXPECT_TRUE(j["cost"].IsNull());
    EXPECT_TRUE(j["power_factor"].IsNull()); // no reactive power
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
    for (const char* key : {"power_source", "load_study", "totals", "days", "profile", "duration",
                            "cost", "power_factor"})
        EXPECT_TRUE(j[key].IsNull()) << key;
    EXPECT_EQ(j["blocks"]["complete"].number, 0);
    EXPECT_FALSE(j["voltage"].IsNull());
}

TEST_F(SurveyCommandTest, TextAndExitStatuses) {
    const std::string file = Recording();
    Result r = Vro("survey " + file + " --locale de_DE");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("Survey of 28.11.2026 17:45:01 to 30.11.2026 17:44:01\n", 0), 0u)
        << r.out;
    EXPECT_NE(r.out.find("\nLoad study: not valid\n"), std::string::npos);
    for (const char* bad :
         {"--block-minutes 20", "--block-minutes x", "--rating-amps -1", "--nominal-volts 0",
          "--threshold-watts ten", "--frobnicate", "--target-pf 0.79", "--target-pf 1.01",
          "--bank-step 0", "--energy-rate -1", "--tariff " VRO_TARIFF_EXAMPLE " --demand-rate 1",
          "--json --csv"})
        EXPECT_EQ(Vro("survey " + file + " " + bad).status, 2) << bad;
    const std::string damaged = (scratch.path / "d.bin").string();
    std::ofstream(damaged) << std::string(20, '\0');
    r = Vro("survey " + damaged);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "d.bin could not be opened: it is damaged or not an export file of the 1.x "
                     "software.\nParse error:Incremented past end\n");
}

TEST_F(SurveyCommandTest, CostPowerFactorAndUnbalance) {
    const std::string file = Steady();
    Result r = Vro("survey " + file +
                   " --json --tariff " VRO_TARIFF_EXAMPLE " --threshold-watts 50000 --bank-step 5");
    ASSERT_EQ(r.status, 0) << r.out;
    Json j = Json::Parse(r.out);
    const Json& cost = j["cost"];
    EXPECT_EQ(cost.Keys(), (std::vector<std::string>{
                               "tariff", "currency", "days", "energy", "demand", "fixed", "total",
                               "average_price", "per_day", "typical_month", "year", "shaving"}));
    EXPECT_EQ(cost["tariff"].text,
              "Example three-period time-of-use rate (Example Electric Cooperative)");
    EXPECT_EQ(cost["currency"].text, "$");
    EXPECT_EQ(cost["days"].number, 2);
    EXPECT_EQ(cost["energy"][0].Keys(),
              (std::vector<std::string>{"month", "period", "kwh", "cost"}));
    EXPECT_EQ(cost["energy"][0]["month"].text, "2026-11");
    double kwh = 0;
    for (const Json& e : cost["energy"].items)
        kwh += e["kwh"].number;
    EXPECT_NEAR(kwh, 55.2 * 48, 1e-6);
    EXPECT_EQ(cost["demand"][0].Keys(),
              (std::vector<std::string>{"month", "kind", "period", "demand", "time_iso", "cost",
                                        "days_recorded", "days_in_month"}));
    const Json& reactive = cost["demand"].items.back();
    EXPECT_EQ(reactive["kind"].text, "reactive");
    EXPECT_TRUE(reactive["period"].IsNull());
    EXPECT_EQ(reactive["demand"].number, 41400);
    EXPECT_NEAR(reactive["cost"].number, 41.4 * 0.5, 1e-9);
    EXPECT_EQ(reactive["days_recorded"].number, 3);
    EXPECT_EQ(reactive["days_in_month"].number, 30);
    EXPECT_EQ(cost["per_day"].items.size(), 3u);
    EXPECT_EQ(cost["per_day"][0].Keys(), (std::vector<std::string>{"date", "cost"}));
    EXPECT_NEAR(cost["year"].number, 12 * cost["typical_month"].number, 1e-6);
    EXPECT_EQ(cost["shaving"]["threshold_w"].number, 50000);
    EXPECT_GT(cost["shaving"]["typical_month_saving"].number, 0);

    const Json& pf = j["power_factor"];
    EXPECT_EQ(pf.Keys(), (std::vector<std::string>{
                             "target", "average", "below_target", "lowest", "lowest_time_iso",
                             "qc_at_peak_var", "qc_max_var", "qc_max_time_iso", "qc_95_var",
                             "qc_light_var", "step_var", "bank_var", "fixed_var", "switched_steps",
                             "peak_va_before", "peak_va_after", "current_fall", "reasons"}));
    EXPECT_NEAR(pf["average"].number, 0.8, 1e-6);
    EXPECT_NEAR(pf["qc_95_var"].number, 41400 - 55200 * std::tan(std::acos(0.95)), 1e-3);
    EXPECT_EQ(pf["bank_var"].number, 25000);
    EXPECT_EQ(pf["fixed_var"].number, 20000);
    EXPECT_EQ(pf["switched_steps"].number, 1);
    EXPECT_EQ(pf["step_var"].number, 5000);
    EXPECT_EQ(pf["peak_va_before"].number, 69000);

    const Json& u = j["unbalance"];
    EXPECT_EQ(u.Keys(), (std::vector<std::string>{"voltage", "current", "reasons"}));
    EXPECT_EQ(u["voltage"].Keys(),
              (std::vector<std::string>{"channels", "blocks", "max", "max_time_iso", "p95", "mean",
                                        "within_2", "pass"}));
    EXPECT_EQ(u["voltage"]["channels"][2].text, "VCN");
    EXPECT_NEAR(u["voltage"]["max"].number, 500 / 230.0, 1e-4);
    EXPECT_FALSE(u["voltage"]["pass"].boolean);
    EXPECT_EQ(u["current"].Keys(),
              (std::vector<std::string>{"channels", "blocks", "light_blocks", "max", "max_time_iso",
                                        "p95", "mean", "most_deviating"}));
    EXPECT_EQ(u["current"]["max"].number, 0);

    r = Vro("survey " + file + " --energy-rate 0.1 --target-pf 0.9");
    ASSERT_EQ(r.status, 0) << r.out;
    for (const char* section : {"\nCost: Simple tariff, in $\n", "\nPower factor: target 0.90, ",
                                "\nUnbalance (NEMA, from the RMS magnitudes)\n"})
        EXPECT_NE(r.out.find(section), std::string::npos) << section << r.out;
}

TEST_F(SurveyCommandTest, ABadTariffExitsWithItsMessage) {
    const std::string tariff = (scratch.path / "bad.json").string();
    std::ofstream(tariff) << "{\"demandwindow\": 20}";
    const Result r = Vro("survey " + Recording() + " --tariff " + tariff);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find(tariff + ": demandwindow: 20 minutes is not a demand window"),
              std::string::npos)
        << r.out;
}

TEST_F(SurveyCommandTest, SeveralFilesARowEachInTheirOrder) {
    const std::string a = Steady("a.bin"), b = Recording({22, 13, 14, 15, 6}, {}, "b.bin");
    const std::string damaged = (scratch.path / "d.bin").string();
    std::ofstream(damaged) << std::string(20, '\0');
    Result r = Vro("survey " + a + " " + damaged + " " + b + " --csv --energy-rate 0.1");
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = r.out.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(r.out.substr(at, end - at));
    ASSERT_EQ(lines.size(), 4u) << r.out;
    EXPECT_EQ(lines[0], "file,location,from,to,days,energy_wh,peak_w,peak_time,base_w,"
                        "load_factor,design_w,headroom_a,voltage_pass,unbalance_pass,average_pf,"
                        "bank_var,typical_month_cost,error");
    EXPECT_EQ(lines[1].rfind(a + ",,2026-11-28T17:45:01,2026-11-30T17:44:01,2,2649600,55200,", 0),
              0u)
        << lines[1];
    EXPECT_NE(lines[1].find(",true,false,0.8,25000,"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].back(), ',');
    EXPECT_EQ(lines[2], damaged + std::string(16, ',') +
                            ",d.bin could not be opened: it is damaged or not an export file of "
                            "the 1.x software. Parse error:Incremented past end");
    EXPECT_EQ(lines[3].rfind(b + ",", 0), 0u);

    r = Vro("survey " + a + " " + damaged + " --json");
    EXPECT_EQ(r.status, 1);
    const size_t newline = r.out.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const Json first = Json::Parse(r.out.substr(0, newline));
    EXPECT_EQ(first.Keys().size(), 18u);
    EXPECT_EQ(first["bank_var"].number, 25000);
    EXPECT_TRUE(first["typical_month_cost"].IsNull());
    EXPECT_TRUE(first["error"].IsNull());
    EXPECT_NE(Json::Parse(r.out.substr(newline + 1))["error"].text.find(
                  "Parse error:Incremented past end"),
              std::string::npos);
}

} // namespace
