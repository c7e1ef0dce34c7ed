#pragma once

#include "tools/simulator/InstrumentSimulator.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Every COMn points at a device that does not exist unless a test puts an instrument there
// (through VIREO_COMn, as a user would point the program at one).
class InstrumentPorts : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // An instrument on COMn that answers only at baud (0: at any rate).
    InstrumentSimulator& InstrumentOn(int port, unsigned baud, std::string recording = {},
                                      SimulatorFaults faults = {}, bool paced = false);

    std::vector<std::unique_ptr<InstrumentSimulator>> Instruments;
};
