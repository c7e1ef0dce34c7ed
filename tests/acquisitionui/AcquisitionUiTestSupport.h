#pragma once

#include "tools/simulator/InstrumentSimulator.h"

#include <QObject>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// Runs onShown for every window as it appears (dialogs, message boxes), from the event loop
// just after it was shown, so that a test can drive modal windows however deeply nested,
// and however briefly they stay.
class WindowWatcher : public QObject {
public:
    explicit WindowWatcher(std::function<void(QWidget*)> onShown);
    ~WindowWatcher() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QWidget*)> OnShown;
};

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

// Clicks a button from the event loop, so that what the click starts runs nested there
// instead of inside the caller.
void ClickLater(QWidget* button);
