#include "analysis/TariffReader.h"
#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A 12 × 24 schedule of one period, but value at [month][hour].
std::string Schedule(int period, int month = -1, int hour = -1, int value = 0, int months = 12) {
    std::string text = "[";
    for (int m = 0; m < months; ++m) {
        text += m ? ", [" : "[";
        for (int h = 0; h < 24; ++h)
            text += (h ? ", " : "") + std::to_string(m == month && h == hour ? value : period);
        text += "]";
    }
    return text + "]";
}

// Three energy periods and their schedules, with more fields after them.
std::string ThreePeriods(const std::string& weekday, const std::string& more = "") {
    return R"({"energyratestructure": [[{"rate": 0.1}], [{"rate": 0.2}], [{"rate": 0.3}]],
              "energyweekdayschedule": )" +
           weekday + R"(, "energyweekendschedule": )" + Schedule(0) + more + "}";
}

TEST(TariffReaderTest, ReadsTheExampleFile) {
    const Tariff t = ReadTariffFile(VRO_TARIFF_EXAMPLE);
    EXPECT_EQ(t.Title(), "Example three-period time-of-use rate (Example Electric Cooperative)");
    ASSERT_EQ(t.EnergyPeriods.size(), 3u);
    EXPECT_EQ(t.EnergyPeriods[0][0].Max, 500);
    EXPECT_FALSE(t.EnergyPeriods[0][1].Max);
    EXPECT_DOUBLE_EQ(t.EnergyPeriods[2][0].Price, 0.21); // rate + adj
    EXPECT_EQ(t.EnergyWeekday[6][17], 2);
    EXPECT_EQ(t.EnergyWeekend[6][17], 0);
    ASSERT_EQ(t.DemandPeriods.size(), 2u);
    EXPECT_EQ(t.DemandWeekday[0][16], 1);
    EXPECT_EQ(t.FlatDemandPeriods.at(0).at(1).Price, 3.5);
    EXPECT_EQ(t.DemandWindowMinutes, 15);
    EXPECT_FALSE(t.DemandInKva);
    EXPECT_EQ(t.MonthlyFixedCharge(), 25);
    EXPECT_EQ(t.ReactivePrice, 0.5);
    EXPECT_EQ(t.Currency, "$");
}

TEST(TariffReaderTest, TheApiListFixedChargeUnitsAndDemandFields) {
    struct Case {
        const char* text;
        std::function<void(const Tariff&)> check;
    } cases[] = {
        {R"({"items": [{"name": "A", "fixedmonthlycharge": 12, "currency": "€"}, {"name": "B"}]})",
         [](const Tariff& t) {
             EXPECT_EQ(t.Title(), "A");
             EXPECT_EQ(t.MonthlyFixedCharge(), 12);
             EXPECT_EQ(t.Currency, "€");
         }},
        {R"({"fixedchargefirstmeter": 2, "fixedchargeunits": "$/day", "fixedmonthlycharge": 9})",
         [](const Tariff& t) { EXPECT_EQ(t.MonthlyFixedCharge(), 2 * 30.4375); }},
        {R"({"fixedchargefirstmeter": 120, "fixedchargeunits": "$/year", "demandunits": "kVA",
             "demandwindow": 30.0, "unknown": [1, {"x": null}]})",
         [](const Tariff& t) {
             EXPECT_EQ(t.MonthlyFixedCharge(), 10);
             EXPECT_TRUE(t.DemandInKva);
             EXPECT_EQ(t.DemandWindowMinutes, 30);
             EXPECT_FALSE(t.ChargesDemand());
         }},
        // A credit lowers a positive rate.
        {R"({"flatdemandstructure": [[{"rate": 4, "adj": -1.5}]], "flatdemandmonths": )"
         R"([0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0]})",
         [](const Tariff& t) { EXPECT_EQ(t.FlatDemandPeriods.at(0).at(0).Price, 2.5); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        c.check(ReadTariff(c.text, "t.json"));
    }
}

TEST(TariffReaderTest, RefusesWithTheFieldsPathOrTheLineAndColumn) {
    const std::string tiers = R"({"energyratestructure": [[{"rate": 0.1, "max": 100}, )";
    struct Case {
        std::string text, message;
    } cases[] = {
        {"{\n  \"name\": \"x\",\n  \"energyratestructure\": [}\n",
         "t.json: line 3, column 27: syntax error"},
        {"", "t.json: line 1, column 1: syntax error"},
        {"{\"a\": [1,\n 1e999]}", "t.json: line 2, column 6: number overflow parsing '1e999'"},
        {ThreePeriods(Schedule(1, 3, 7, 4)),
         "t.json: energyweekdayschedule[3][7]: period 4 does not exist (3 periods)"},
        {ThreePeriods(Schedule(1, 0, 0, -1)),
         "t.json: energyweekdayschedule[0][0]: period -1 does not exist (3 periods)"},
        {ThreePeriods(Schedule(1, 2, 5, 0) + "x"), "t.json: line 2, column "},
        {ThreePeriods(Schedule(1, -1, -1, 0, 11)),
         "t.json: energyweekdayschedule: 11 months, not 12"},
        {ThreePeriods("[[1]]"), "t.json: energyweekdayschedule: 1 months, not 12"},
        {ThreePeriods(Schedule(1), R"(, "demandwindow": 20)"),
         "t.json: demandwindow: 20 minutes is not a demand window the survey takes (5, 10, 15, "
         "30 or 60)"},
        {ThreePeriods(Schedule(1), R"(, "demandwindow": 15.5)"),
         "t.json: demandwindow: not a whole number"},
        {R"({"energyratestructure": [[{"rate": 0.1}]], "energyweekdayschedule": )" + Schedule(0) +
             "}",
         "t.json: energyweekendschedule: missing (energyratestructure needs it)"},
        {R"({"energyratestructure": [[{"rate": 0.1, "unit": "kWh daily"}]]})",
         "t.json: energyratestructure[0][0].unit: \"kWh daily\" is not taken here (kWh)"},
        {R"({"demandratestructure": [[{"rate": 5, "unit": "kWh"}]]})",
         "t.json: demandratestructure[0][0].unit: \"kWh\" is not taken here (kW)"},
        {R"({"energyratestructure": [[{"rate": "0.1"}]]})",
         "t.json: energyratestructure[0][0].rate: not a number"},
        {R"({"energyratestructure": [[]]})", "t.json: energyratestructure[0]: no tiers"},
        {R"({"energyratestructure": {}})", "t.json: energyratestructure: not a list"},
        {tiers + R"({"rate": 0.2, "max": 50}, {"rate": 0.3}]]})",
         "t.json: energyratestructure[0][1].max: not above the tier below"},
        {tiers + R"({"rate": 0.2}, {"rate": 0.3}]]})",
         "t.json: energyratestructure[0][1]: only the last tier may have no max"},
        {R"({"flatdemandstructure": [[{"rate": 5}]], "flatdemandmonths": [0,0,0,0,0,0,0,0,0,0,0,1]})",
         "t.json: flatdemandmonths[11]: period 1 does not exist (1 period)"},
        {R"({"flatdemandstructure": [[{"rate": 5}]]})",
         "t.json: flatdemandmonths: missing (flatdemandstructure needs it)"},
        {R"({"name": 5})", "t.json: name: not a text"},
        {R"({"fixedchargefirstmeter": 5, "fixedchargeunits": "$/week"})",
         "t.json: fixedchargeunits: \"$/week\" is not taken ($/month, $/day or $/year)"},
        {R"({"items": [{"demandunits": "hp"}]})",
         "t.json: items[0].demandunits: \"hp\" is not taken (kW or kVA)"},
        {R"({"items": []})", "t.json: items: no rate in it"},
        {"[1, 2]", "t.json: not a rate object"},
        // A negative price or charge would lower the bill; only an adjustment may be negative.
        {R"({"energyratestructure": [[{"rate": 0.1, "adj": -0.02, "max": 5}, {"rate": -0.1}]]})",
         "t.json: energyratestructure[0][1].rate: not a charge of at least 0"},
        {R"({"items": [{"flatdemandstructure": [[{"rate": -3}]]}]})",
         "t.json: items[0].flatdemandstructure[0][0].rate: not a charge of at least 0"},
        {R"({"fixedchargefirstmeter": -5})",
         "t.json: fixedchargefirstmeter: not a charge of at least 0"},
        {R"({"fixedmonthlycharge": -0.01})",
         "t.json: fixedmonthlycharge: not a charge of at least 0"},
        {R"({"demandreactivepowercharge": -1})",
         "t.json: demandreactivepowercharge: not a charge of at least 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string message = ErrorMessage([&] { ReadTariff(c.text, "t.json"); });
        EXPECT_EQ(message.substr(0, c.message.size()), c.message) << message;
    }
    EXPECT_EQ(ErrorMessage([] { ReadTariffFile("/nonexistent/t.json"); }),
              "/nonexistent/t.json: it does not exist.");
}

TEST(TariffReaderTest, TiersPriceEachPartAtItsOwnPrice) {
    const TariffTiers tiers = {{0.1, 100}, {0.2, 300}, {0.5, std::nullopt}};
    const struct {
        double amount, cost;
    } cases[] = {{0, 0}, {50, 5}, {100, 10}, {250, 40}, {400, 100}, {-10, -1}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(TieredCost(tiers, c.amount), c.cost) << c.amount;
    EXPECT_EQ(TieredCost({}, 5), 0);
}

} // namespace
