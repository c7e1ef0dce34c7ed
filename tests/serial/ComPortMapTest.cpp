#include "serial/ComPortMap.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class ComPortMapTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (unsigned port = 1; port <= 4; ++port) {
            unsetenv(("VIREO_COM" + std::to_string(port)).c_str());
            SetComDevicePath(port, "");
        }
        QSettings("Corvane", "Vireo Zure PRO").remove("Port Configuration");
    }
    static void Store(const char* name, const char* path) {
        QSettings settings("Corvane", "Vireo Zure PRO");
        settings.setValue(QString("Port Configuration/") + name, path);
    }
};

TEST_F(ComPortMapTest, SettingsThenEnvironmentThenOverride) {
    EXPECT_EQ(ComDevicePath(1), "/dev/ttyS0");
    EXPECT_EQ(ComDevicePath(4), "/dev/ttyS3");

    Store("COM2 Device", "/dev/ttyUSB0");
    EXPECT_EQ(ComDevicePath(2), "/dev/ttyUSB0");
    EXPECT_EQ(ComDevicePath(3), "/dev/ttyS2"); // one port's entry leaves the others alone

    setenv("VIREO_COM2", "/dev/ttyACM0", 1);
    EXPECT_EQ(ComDevicePath(2), "/dev/ttyACM0");
    setenv("VIREO_COM2", "", 1); // an empty variable does not count
    EXPECT_EQ(ComDevicePath(2), "/dev/ttyUSB0");

    setenv("VIREO_COM2", "/dev/ttyACM0", 1);
    SetComDevicePath(2, "/tmp/vireo");
    EXPECT_EQ(ComDevicePath(2), "/tmp/vireo");
    SetComDevicePath(2, "");
    EXPECT_EQ(ComDevicePath(2), "/dev/ttyACM0");
}

} // namespace
