#include "tests/support/TestSettings.h"

#include "windows/shell/Registry.h"
#include "windows/shell/SurveySettings.h"

#include <gtest/gtest.h>

namespace {

class SurveySettingsTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
};

TEST_F(SurveySettingsTest, BatteryOptionsReadBackAsKept) {
    EXPECT_EQ(StoredBatteryOptions(), BatteryOptions{});
    BatteryOptions o;
    o.Efficiency = 0.85;
    o.ChargingLimitWatts = 12345.6;
    o.ChargingHours = *ParseChargingHours("22-6,12-13");
    o.PricePerKwh = 350;
    o.PricePerKw = 0;
    o.CapsWatts = {120000, 95432.1};
    StoreBatteryOptions(o);
    EXPECT_EQ(StoredBatteryOptions(), o);
    StoreBatteryOptions(BatteryOptions{});
    EXPECT_EQ(StoredBatteryOptions(), BatteryOptions{});
}

TEST_F(SurveySettingsTest, DamagedBatteryOptionsFallBackToTheDefaults) {
    QSettings raw = StoredSettings();
    raw.setValue("Survey/Battery Efficiency", "1.5");
    raw.setValue("Survey/Battery Charging Limit Watts", "-3");
    raw.setValue("Survey/Battery Charging Hours", "25-3");
    raw.setValue("Survey/Battery Price per kWh", "cheap");
    raw.setValue("Survey/Battery Caps Watts", "100000;zero");
    raw.sync();
    EXPECT_EQ(StoredBatteryOptions(), BatteryOptions{});
}

// The new loads are kept beside the survey's other settings, and only by their own store: the
// Survey window keeps its top rows without touching them.
TEST_F(SurveySettingsTest, TheNewLoadsAreKeptApart) {
    EXPECT_EQ(StoredCapacityInputs(), CapacityInputs{});
    CapacityInputs inputs;
    inputs.Loads = {ParseNewLoad("\"Shop, north\",32.5,A,managed"),
                    ParseNewLoad("Heat pump,30,L1+L2")};
    inputs.WindowFrom = 21 * 60 + 30;
    inputs.WindowTo = 5 * 60;
    inputs.SmallestAmps = 10;
    inputs.NightNeedWh = 30000;
    StoreCapacityInputs(inputs);
    EXPECT_EQ(StoredCapacityInputs(), inputs);

    SurveyOptions options = StoredSurveyOptions();
    EXPECT_EQ(options.Capacity, inputs);
    options.Capacity = {};
    options.RatingAmps = 200;
    StoreSurveyOptions(options);
    EXPECT_EQ(StoredSurveyOptions().Capacity, inputs);

    // A load that no longer reads is left out, a window that does not read is the default.
    QSettings raw = StoredSettings();
    raw.setValue(QString(NewLoadsKey) + "/" + StringListValueName(0), "Oven,many,L1");
    raw.setValue(QString(SurveyKey) + "/Charging Window", "late");
    raw.sync();
    const CapacityInputs read = StoredCapacityInputs();
    ASSERT_EQ(read.Loads.size(), 1u);
    EXPECT_EQ(read.Loads[0].Name, "Heat pump");
    EXPECT_EQ(read.WindowFrom, 22 * 60);
}

} // namespace
