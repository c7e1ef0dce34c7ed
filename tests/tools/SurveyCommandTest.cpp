// vrotool survey: the structure of its JSON read back, its text and exit statuses.
#include "tests/support/ScratchFolder.h"
#include "tests/tools/JsonReader.h"
#include "tests/tools/VrotoolRun.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>

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
    EXPECT_EQ(j.Keys(), (std::vector<std::string>{
                            "block_minutes", "power_source", "blocks", "load_study", "totals",
                            "days", "profile", "duration", "voltage", "cost", "power_factor",
                            "unbalance", "battery", "capacity", "notes", "excluded_samples"}));
    EXPECT_TRUE(j["cost"].IsNull());
    EXPECT_TRUE(j["battery"].IsNull());
    EXPECT_TRUE(j["capacity"].IsNull());     // no new loads
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
                                                        "pass", "reasons", "channels"}));
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

    // The threshold in kW, or in W as before.
    for (const char* threshold : {"--threshold-kw 20", "--threshold-watts 20000"}) {
        r = Vro("survey " + Recording() +
                " --json --rating-amps 1000 --nominal-volts 240 --block-minutes 30 " + threshold);
        ASSERT_EQ(r.status, 0) << r.out;
        j = Json::Parse(r.out);
        EXPECT_EQ(j["block_minutes"].number, 30);
        EXPECT_TRUE(j["load_study"]["adequate"].boolean);
        EXPECT_EQ(j["voltage"]["nominal_v"].number, 240);
        EXPECT_FALSE(j["voltage"]["nominal_guessed"].boolean);
        EXPECT_EQ(j["duration"]["threshold_w"].number, 20000);
    }
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
          "--threshold-watts ten", "--threshold-kw 1 --threshold-watts 1000", "--frobnicate",
          "--target-pf 0.79", "--target-pf 1.01", "--bank-step 0", "--energy-rate -1",
          "--tariff " VRO_TARIFF_EXAMPLE " --demand-rate 1", "--json --csv"})
        EXPECT_EQ(Vro("survey " + file + " " + bad).status, 2) << bad;
    // A tariff that cannot be taken: its message alone, no usage after it.
    std::ofstream(scratch.path / "credit.json") << R"({"fixedmonthlycharge": -5})";
    for (const auto& [tariff, message] :
         {std::pair<std::string, std::string>{"/nonexistent/t.json",
                                              "/nonexistent/t.json: it does not exist.\n"},
          {(scratch.path / "credit.json").string(),
           (scratch.path / "credit.json").string() +
               ": fixedmonthlycharge: not a charge of at least 0\n"}}) {
        r = Vro("survey " + file + " --tariff " + tariff);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, message);
    }
    // The simple tariff: its one period is all hours; the charges it does not have are left
    // out. A device is written to as it is.
    r = Vro("survey " + file + " --energy-rate 0.2");
    EXPECT_NE(r.out.find("\n    energy, all hours "), std::string::npos) << r.out;
    for (const char* absent : {"Demand ", "Reactive demand", "Fixed charge", "fixed charge"})
        EXPECT_EQ(r.out.find(absent), std::string::npos) << absent;
    // -o /dev/null, as a null device of the scratch folder's that a mistake cannot replace.
    const std::string null = (scratch.path / "null").string();
    if (::mknod(null.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        r = Vro("survey " + file + " -o " + null);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, "Wrote " + null + "\n");
        struct stat st {};
        EXPECT_TRUE(::stat(null.c_str(), &st) == 0 && S_ISCHR(st.st_mode));
    }
    const std::string damaged = (scratch.path / "d.bin").string();
    std::ofstream(damaged) << std::string(20, '\0');
    r = Vro("survey " + damaged);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "d.bin could not be opened: it is damaged or not an export file of the 1.x "
                     "software.\nParse error:Incremented past end\n");
}

// 100 A a phase for 31 days (existing design current 125 A) and a kiln of 40 A on the three
// phases (50 A more): the verdict as the rating makes it, null over two days.
TEST_F(SurveyCommandTest, NewLoadsGiveTheCapacityStudy) {
    SteadyLoad load;
    load.amps = {100, 100, 100};
    GeneratorOptions o;
    o.entries = {22, 34, 13, 14, 15, 6};
    o.historicPoints = 31 * 1440;
    o.steady = load;
    const std::string month = (scratch.path / "month.bin").string();
    std::ofstream(month, std::ios::binary) << GenerateRecordingBytes(o);
    const std::string kiln = " --new-load 'Kiln,40,A+B+C,continuous' --json";
    const struct {
        std::string file, options;
        bool decided, fits;
        double shortfall;
    } cases[] = {
        {month, " --rating-amps 200", true, true, 0},
        {month, " --rating-amps 160", true, false, 15},
        {Steady(), " --rating-amps 200", false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const Result r = Vro("survey " + c.file + c.options + kiln);
        ASSERT_EQ(r.status, 0) << r.out;
        const Json j = Json::Parse(r.out)["capacity"];
        EXPECT_EQ(j.Keys(), (std::vector<std::string>{
                                "inputs", "verdict", "verdict_text", "reasons", "phases",
                                "tightest_phase", "design_a", "headroom_a", "shortfall_a",
                                "set_point_a", "kva", "nights", "continuous", "headroom"}));
        EXPECT_EQ(j["inputs"]["loads"][0]["connection"].text, "A+B+C");
        ASSERT_EQ(j["phases"].items.size(), 3u);
        EXPECT_NEAR(j["phases"][2]["design_a"].number, 175, 1e-3);
        EXPECT_EQ(j["headroom"]["weekend"].items.size(), 24u);
        EXPECT_EQ(j["verdict"].IsNull(), !c.decided);
        if (c.decided) {
            EXPECT_EQ(j["verdict"].boolean, c.fits);
            EXPECT_EQ(j["shortfall_a"].IsNull(), c.fits);
        }
        if (c.shortfall > 0) {
            EXPECT_NEAR(j["shortfall_a"].number, c.shortfall, 1e-3);
        }
    }
    const Result text =
        Vro("survey " + month + " --rating-amps 160 --new-load Kiln,40,A+B+C,continuous");
    EXPECT_NE(text.out.find("\nCapacity for the new loads: No, 15.00 A short\n"), std::string::npos)
        << text.out;

    for (const char* bad :
         {"--new-load 'EV,48,L3'", "--new-load EV,x,L1", "--charging-window 22:00-06:00",
          "--new-load EV,48,A --smallest-amps 0", "--new-load EV,48,A --charging-window 22-6"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(Vro("survey " + month + " " + bad).status, 2);
        EXPECT_EQ(Vro("report " + month + " -o x.pdf " + bad).status, 2);
    }
    EXPECT_EQ(Vro("survey --csv " + month + " --new-load EV,48,A").status, 2);
    EXPECT_NE(Vro("survey " + month + " --new-load 'EV,48,L3'").out.find("the connection 'L3'"),
              std::string::npos);
}

TEST_F(SurveyCommandTest, CostPowerFactorAndUnbalance) {
    const std::string file = Steady();
    Result r = Vro("survey " + file + " --json --tariff " VRO_TARIFF_EXAMPLE " --bank-step 5");
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
    EXPECT_EQ(reactive["days_recorded"].number, 2); // the days covered, not the dates
    EXPECT_EQ(reactive["days_in_month"].number, 30);
    EXPECT_EQ(cost["per_day"].items.size(), 3u);
    EXPECT_EQ(cost["per_day"][0].Keys(), (std::vector<std::string>{"date", "cost"}));
    EXPECT_NEAR(cost["year"].number, 12 * cost["typical_month"].number, 1e-6);
    EXPECT_TRUE(cost["shaving"].IsNull());
    // The steady load is its own base load: a threshold below it would never be reached.
    const Result refused =
        Vro("survey " + file + " --tariff " VRO_TARIFF_EXAMPLE " --threshold-kw 50");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "The threshold 50.00 kW is below the base load 55.20 kW: not taken, "
                           "the load is above it all the time.\n");

    const Json& pf = j["power_factor"];
    EXPECT_EQ(pf.Keys(),
              (std::vector<std::string>{
                  "target",          "average",        "below_target",   "lowest",
                  "lowest_time_iso", "qc_at_peak_var", "qc_max_var",     "qc_max_time_iso",
                  "qc_95_var",       "qc_light_var",   "step_var",       "bank_var",
                  "fixed_var",       "switched_steps", "peak_va_before", "peak_va_after",
                  "current_fall",    "reasons",        "pays",           "pays_reason",
                  "yearly_saving",   "bank_price",     "payback_years"}));
    EXPECT_NEAR(pf["average"].number, 0.8, 1e-6);
    EXPECT_NEAR(pf["qc_95_var"].number, 41400 - 55200 * std::tan(std::acos(0.95)), 1e-3);
    EXPECT_EQ(pf["bank_var"].number, 25000);
    EXPECT_EQ(pf["fixed_var"].number, 20000);
    EXPECT_EQ(pf["switched_steps"].number, 1);
    EXPECT_EQ(pf["step_var"].number, 5000);
    EXPECT_EQ(pf["peak_va_before"].number, 69000);
    // The example tariff charges reactive demand: the bank's 25 kvar save 12 × 0.5 a kvar a
    // month.
    EXPECT_TRUE(pf["pays"].boolean);
    EXPECT_TRUE(pf["pays_reason"].IsNull());
    EXPECT_NEAR(pf["yearly_saving"].number, 12 * 0.5 * 25, 1e-6);
    EXPECT_TRUE(pf["payback_years"].IsNull()); // no price per kvar given

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

TEST_F(SurveyCommandTest, TheBatteryStudyInJsonCsvAndText) {
    const std::string file = Recording();
    Result r = Vro("survey " + file +
                   " --json --demand-rate 10 --battery-caps 30,20.5 --battery-kwh-price 300 "
                   "--battery-charge-hours 22-6 --battery-efficiency 0.85");
    ASSERT_EQ(r.status, 0) << r.out;
    const Json b = Json::Parse(r.out)["battery"];
    EXPECT_EQ(b.Keys(), (std::vector<std::string>{
                            "efficiency", "charging_limit_w", "charging_hours", "price_per_kwh",
                            "price_per_kw", "caps_w", "block_minutes", "demand_minutes", "currency",
                            "months_not_seen", "reasons", "rows"}));
    EXPECT_EQ(b["efficiency"].number, 0.85);
    EXPECT_TRUE(b["charging_limit_w"].IsNull() && b["price_per_kw"].IsNull());
    EXPECT_EQ(b["charging_hours"].text, "22-6");
    EXPECT_EQ(b["caps_w"][1].number, 20500);
    EXPECT_EQ(b["demand_minutes"].number, 15);
    EXPECT_EQ(b["months_not_seen"].items.size(), 11u);
    ASSERT_EQ(b["rows"].items.size(), 2u);
    const Json& row = b["rows"][1];
    EXPECT_EQ(row.Keys(),
              (std::vector<std::string>{"cap_w", "power_w", "energy_wh", "charging_w", "demand_w",
                                        "month_saving", "year_saving", "price", "payback_years",
                                        "shortest_payback", "threshold"}));
    EXPECT_EQ(row["cap_w"].number, 20500);
    EXPECT_EQ(row["price"].number, row["energy_wh"].number / 1000 * 300);
    EXPECT_EQ(row["year_saving"].number, 12 * row["month_saving"].number);

    r = Vro("survey " + file + " --battery --csv");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out.rfind("Cap (W),Battery power (W),Battery energy (WH),Demand after shaving "
                          "(W),Saving a month,Saving a year,Price,Payback (years),Mark\r\n",
                          0),
              0u)
        << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1 + 20);

    r = Vro("survey " + file + " --battery-charge-limit 2.5 --locale de_DE");
    ASSERT_EQ(r.status, 0) << r.out;
    for (const char* text : {"\nBattery: what would hold the load to each cap\n",
                             "  Charging              at up to 2,50 kW, at any hour\n",
                             "\nCap (kW)  Battery power (kW)  Battery energy (", "(NEC 220.87).\n"})
        EXPECT_NE(r.out.find(text), std::string::npos) << text << r.out;

    for (const char* bad :
         {"--battery-efficiency 0", "--battery-efficiency 1.1", "--battery-charge-limit 0",
          "--battery-charge-hours 8-8", "--battery-kwh-price -1", "--battery-kw-price x",
          "--battery-caps 30,,20", "--battery-caps 0"}) {
        r = Vro("survey " + file + " " + bad);
        EXPECT_EQ(r.status, 2) << bad;
        const std::string option(bad, std::string(bad).find(' '));
        EXPECT_NE(r.out.find("option " + option + " needs"), std::string::npos) << r.out;
    }
    r = Vro("survey " + file + " " + file + " --json --battery");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("option --battery takes one FILE"), std::string::npos) << r.out;
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
