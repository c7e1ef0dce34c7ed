#include "acquisition/DeviceScan.h"
#include "serial/ComPortMap.h"
#include "tests/acquisition/AcquisitionTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr int TickMs = 10;

// Every COMn points at a device that does not exist unless an instrument is put there. The
// instruments are found through VIREO_COMn, as a user would point the program at them.
class DeviceScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int port : PortNumbers)
            setenv(EnvName(port).c_str(), "/dev/vireo-no-such-port", 1);
    }
    void TearDown() override {
        for (int port : PortNumbers)
            unsetenv(EnvName(port).c_str());
    }
    static std::string EnvName(int port) { return "VIREO_COM" + std::to_string(port); }
    // An instrument on COMn that answers only at the given rate.
    void InstrumentOn(int port, unsigned baud) {
        SimulatorFaults faults;
        faults.onlyBaud = baud;
        instruments.push_back(std::make_unique<InstrumentSimulator>("", faults, false));
        setenv(EnvName(port).c_str(), instruments.back()->DevicePath().c_str(), 1);
    }
    // Records what each start tried, as the scan window's status line shows it.
    void Watch(DeviceScan& scan) {
        scan.SetOnTestPosted([this](int port, int baud) { tried.emplace_back(port, baud); });
    }

    std::vector<std::unique_ptr<InstrumentSimulator>> instruments;
    std::vector<std::pair<int, int>> tried;
};

using Tried = std::vector<std::pair<int, int>>;

TEST_F(DeviceScanTest, AutoscanFindsEveryInstrumentAtItsRate) {
    InstrumentOn(2, 9600);
    InstrumentOn(4, 38400);
    DeviceScan scan(DAQTimings{}, TickMs);
    Watch(scan);
    scan.StartAutoscan();
    EXPECT_EQ(scan.Results(), (std::array<int, 4>{-1, 0, -1, 2}));
    EXPECT_EQ(scan.FoundCount(), 2);
    // A port that does not open is given up at 38400; COM2 is tried down to its rate.
    EXPECT_EQ(tried,
              (Tried{{1, 38400}, {2, 38400}, {2, 19200}, {2, 9600}, {3, 38400}, {4, 38400}}));
    ASSERT_TRUE(scan.LowestFound());
    EXPECT_EQ(scan.LowestFound()->portIndex, 1);
    EXPECT_EQ(scan.LowestFound()->baudIndex, 0);
}

TEST_F(DeviceScanTest, NoPortsAtAll) {
    DeviceScan scan(FastTimings(), TickMs);
    Watch(scan);
    scan.StartAutoscan();
    EXPECT_EQ(tried.size(), 4u);
    EXPECT_EQ(scan.FoundCount(), 0);
    EXPECT_EQ(scan.Results(), (std::array<int, 4>{-1, -1, -1, -1}));
    EXPECT_FALSE(scan.LowestFound());
}

TEST_F(DeviceScanTest, AManualStartMakesExactlyOneTest) {
    InstrumentOn(3, 19200);
    DeviceScan scan(FastTimings(), TickMs);
    Watch(scan);
    scan.StartManual(2, 1);
    EXPECT_EQ(scan.FoundCount(), 1);
    EXPECT_EQ(scan.Results(), (std::array<int, 4>{-1, -1, 1, -1}));

    scan.StartManual(2, 0); // the wrong rate: nothing, and the findings start afresh
    EXPECT_EQ(scan.FoundCount(), 0);
    EXPECT_EQ(scan.Results(), (std::array<int, 4>{-1, -1, -1, -1}));
    EXPECT_EQ(tried, (Tried{{3, 19200}, {3, 9600}}));
}

TEST_F(DeviceScanTest, LocateFallsBackToTheAutoscanAndTakesTheLowestPort) {
    InstrumentOn(2, 38400);
    InstrumentOn(3, 38400);
    DeviceScan scan(FastTimings(), TickMs);
    Watch(scan);
    const auto found = scan.Locate(0, 0, true);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->portIndex, 1);
    EXPECT_EQ(found->baudIndex, 2);
    EXPECT_EQ(scan.FoundCount(), 2);
    EXPECT_EQ(tried.front(), std::make_pair(1, 9600)); // the stored pair comes first

    tried.clear();
    EXPECT_FALSE(scan.Locate(0, 0, false)); // without autoscan, one test only
    EXPECT_EQ(tried.size(), 1u);
}

} // namespace
