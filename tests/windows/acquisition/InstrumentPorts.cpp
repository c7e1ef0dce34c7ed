#include "tests/windows/acquisition/InstrumentPorts.h"

#include <cstdlib>

namespace {
std::string EnvName(int port) {
    return "VIREO_COM" + std::to_string(port);
}
} // namespace

void InstrumentPorts::SetUp() {
    for (int port = 1; port <= 4; ++port)
        setenv(EnvName(port).c_str(), "/dev/vireo-no-such-port", 1);
}

void InstrumentPorts::TearDown() {
    for (int port = 1; port <= 4; ++port)
        unsetenv(EnvName(port).c_str());
}

InstrumentSimulator& InstrumentPorts::InstrumentOn(int port, unsigned baud, std::string recording,
                                                   SimulatorFaults faults, bool paced) {
    faults.onlyBaud = baud;
    Instruments.push_back(
        std::make_unique<InstrumentSimulator>(std::move(recording), faults, paced));
    setenv(EnvName(port).c_str(), Instruments.back()->DevicePath().c_str(), 1);
    return *Instruments.back();
}
