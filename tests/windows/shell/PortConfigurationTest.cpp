#include "tests/support/ModalDriver.h"
#include "tests/support/TestSettings.h"

#include "windows/shell/PortConfiguration.h"

#include <gtest/gtest.h>

namespace {

class PortConfigurationTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSettings(); }
    static PortConfiguration Load() { return PortConfiguration::Load(4, 3); }
    static void ExpectDefaults(const PortConfiguration& config) {
        EXPECT_EQ(config.PortIndex, 0);
        EXPECT_EQ(config.BaudRateIndex, 0);
        EXPECT_TRUE(config.EnableAutoscan);
    }
};

TEST_F(PortConfigurationTest, FirstRunGivesDefaults) {
    ExpectDefaults(Load());
}

TEST_F(PortConfigurationTest, SavedValuesComeBack) {
    PortConfiguration{3, 2, false}.Save();
    const PortConfiguration config = Load();
    EXPECT_EQ(config.PortIndex, 3);
    EXPECT_EQ(config.BaudRateIndex, 2);
    EXPECT_FALSE(config.EnableAutoscan);
    EXPECT_EQ(StoredSettings().value("Port Configuration/Enable Autoscan").toString(), "0");
}

TEST_F(PortConfigurationTest, AnyFailedReadGivesAllThreeDefaults) {
    QSettings raw = StoredSettings();
    raw.setValue("Port Configuration/Port Index", 2);
    raw.setValue("Port Configuration/Baud Rate Index", 1);
    raw.sync();
    ExpectDefaults(Load()); // autoscan missing

    raw.setValue("Port Configuration/Enable Autoscan", "off");
    raw.sync();
    ExpectDefaults(Load()); // autoscan of the wrong type

    raw.setValue("Port Configuration/Enable Autoscan", 0);
    raw.setValue("Port Configuration/Port Index", "COM3");
    raw.sync();
    ExpectDefaults(Load());
}

TEST_F(PortConfigurationTest, IndexOutsideItsTableGivesDefaults) {
    PortConfiguration{4, 0, false}.Save();
    ExpectDefaults(Load());
    PortConfiguration{0, -1, false}.Save();
    ExpectDefaults(Load());
    PortConfiguration{3, 2, false}.Save();
    EXPECT_EQ(Load().PortIndex, 3);
}

} // namespace
