#include "tests/support/TestSettings.h"

#include "shell/SurveySettings.h"

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

} // namespace
