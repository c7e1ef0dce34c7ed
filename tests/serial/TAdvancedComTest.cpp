#include "serial/TAdvancedCom.h"
#include "model/ErrorReport.h"
#include "serial/ComPortMap.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"

#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <termios.h>

namespace {

constexpr unsigned TestPort = 2;

class TAdvancedComTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetComDevicePath(TestPort, pty.DevicePath());
        com.SetPort(TestPort);
    }
    void TearDown() override { SetComDevicePath(TestPort, ""); }
    bool HardwareFlowControl() const {
        termios state{};
        tcgetattr(pty.Master(), &state);
        return state.c_cflag & CRTSCTS;
    }

    PtyPair pty;
    TAdvancedCom com;
};

TEST_F(TAdvancedComTest, LineControlRefusals) {
    EXPECT_EQ(com.DtrControl(), TDtrControl::dtrEnable);
    EXPECT_EQ(com.RtsControl(), TRtsControl::rtsToggle);
    EXPECT_EQ(ErrorMessage([&] { com.SetDtr(true); }), "Initialize port before setting DTR");
    EXPECT_EQ(ErrorMessage([&] { com.SetRts(true); }), "Initialize port before setting RTS");

    com.ComInit();
    ASSERT_TRUE(com.PortReady()) << com.ErrorText();
    // The default toggle mode still lets RTS be set by hand; a terminal without modem lines
    // ignores it, as the platform call's result is not examined.
    EXPECT_EQ(ErrorMessage([&] { com.SetRts(true); }), "");
    EXPECT_EQ(ErrorMessage([&] { com.SetDtr(false); }), "");

    com.SetDtrControl(TDtrControl::dtrHandshake);
    com.SetRtsControl(TRtsControl::rtsHandshake);
    EXPECT_EQ(ErrorMessage([&] { com.SetDtr(true); }),
              "Can't set DTR when DtrControl is dtrHandshake");
    EXPECT_EQ(ErrorMessage([&] { com.SetRts(true); }),
              "Can't set RTS when RtsControl is rtsHandshake");
}

TEST_F(TAdvancedComTest, RtsHandshakeTakesEffectAtOnceOnAnOpenPortOnly) {
    com.SetRtsControl(TRtsControl::rtsHandshake); // closed: only stored
    com.SetRtsControl(TRtsControl::rtsDisable);
    com.ComInit();
    ASSERT_TRUE(com.PortReady());
    EXPECT_FALSE(HardwareFlowControl());
    com.SetRtsControl(TRtsControl::rtsHandshake);
    EXPECT_TRUE(HardwareFlowControl());
    com.ComClose();

    com.SetRtsControl(TRtsControl::rtsDisable);
    EXPECT_TRUE(HardwareFlowControl()); // the closed port kept what it had
    com.ComInit();
    EXPECT_FALSE(HardwareFlowControl()); // and the next ComInit applies the stored value
}

TEST_F(TAdvancedComTest, ALineWithoutModemLinesReportsNothingAndStillReads) {
    int reports = 0;
    std::string received;
    com.SetOnStatusChanged([&](TComThread*, bool, bool, bool, bool) { ++reports; });
    com.SetOnPacketReceived([&](TComThread*, std::string& buffer) { received += buffer; });
    com.ComInit();
    ASSERT_TRUE(com.PortReady());
    pty.Send("data");
    ASSERT_TRUE(RunEventsUntil([&] { return received == "data"; }));
    com.Write(std::string("reply"));
    EXPECT_EQ(pty.Receive(1000, 5), "reply");
    RunEventsFor(30);
    EXPECT_EQ(reports, 0);
}

TEST(ModemLinesTest, TwoLinesChangingAtOnceAreReportedOneAfterTheOther) {
    ModemLines lines;
    lines.Set(0);
    EXPECT_FALSE(lines.AnyOn()); // no initial report when all four are off

    const int both = TIOCM_CTS | TIOCM_DSR;
    ASSERT_TRUE(lines.Step(both));
    EXPECT_TRUE(lines.cts);
    EXPECT_FALSE(lines.dsr); // the later line keeps its old state for now
    ASSERT_TRUE(lines.Step(both));
    EXPECT_TRUE(lines.dsr);
    EXPECT_FALSE(lines.Step(both));

    // Ring and carrier come after CTS and DSR; dropping CTS is seen first.
    const int later = TIOCM_DSR | TIOCM_RNG | TIOCM_CAR;
    ASSERT_TRUE(lines.Step(later));
    EXPECT_FALSE(lines.cts);
    EXPECT_FALSE(lines.ring);
    ASSERT_TRUE(lines.Step(later));
    EXPECT_TRUE(lines.ring);
    EXPECT_FALSE(lines.rlsd);
    ASSERT_TRUE(lines.Step(later));
    EXPECT_TRUE(lines.rlsd);
    EXPECT_FALSE(lines.Step(later));
}

} // namespace
