#include "tests/support/EventLoop.h"
#include "tests/support/WindowWatcher.h"
#include "tests/windows/acquisition/InstrumentPorts.h"

#include "tests/acquisition/AcquisitionTestSupport.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"
#include "windows/acquisition/TScanForm.h"

#include <QLabel>
#include <QTimer>

#include <array>

namespace {

constexpr int TickMs = 10;

class TScanFormTest : public InstrumentPorts {};

TEST_F(TScanFormTest, AManualStartTestsOnePairAndClosesItself) {
    InstrumentOn(3, 19200);
    TScanForm form(nullptr, FastTimings(), TickMs);
    QStringList captions;
    WindowWatcher watcher([&](QWidget* window) { captions.append(window->windowTitle()); });

    form.StartManual(2, 1);
    EXPECT_EQ(captions, QStringList{QStringLiteral("Detecting")});
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.FoundCount(), 1);
    EXPECT_EQ(form.Results(), (std::array<int, 4>{-1, -1, 1, -1}));
    EXPECT_EQ(form.StatusLabel()->text(),
              QStringLiteral("Looking for device on port COM3 (19200)"));

    form.StartManual(2, 0); // the same window again, at a rate the instrument ignores
    EXPECT_EQ(captions.size(), 2);
    EXPECT_EQ(form.FoundCount(), 0);
    EXPECT_EQ(form.Results(), (std::array<int, 4>{-1, -1, -1, -1}));
}

TEST_F(TScanFormTest, TheCloseBoxEndsTheScanWithWhatWasFound) {
    InstrumentOn(1, 38400);
    SimulatorFaults mute;
    mute.ignoreTest = true; // COM2's test runs until its attempts are spent
    InstrumentOn(2, 0, {}, mute);
    TScanForm form(nullptr, FastTimings(), TickMs);

    QTimer closer;
    closer.setInterval(2);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (form.isVisible() && form.StatusLabel()->text().contains(QStringLiteral("COM2"))) {
            closer.stop();
            form.close();
        }
    });
    closer.start();
    form.StartAutoscan();

    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.StatusLabel()->text(),
              QStringLiteral("Looking for device on port COM2 (38400)"));
    EXPECT_EQ(form.FoundCount(), 1);
    EXPECT_EQ(form.Results(), (std::array<int, 4>{2, -1, -1, -1}));
    // The test still running on COM2 ends later and finds nothing to add.
    RunEventsFor(800);
    EXPECT_EQ(form.Results(), (std::array<int, 4>{2, -1, -1, -1}));
}

} // namespace
