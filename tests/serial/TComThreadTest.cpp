#include "serial/TComThread.h"
#include "model/ErrorReport.h"
#include "serial/ComPortMap.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"

#include <QCoreApplication>
#include <QThread>

#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <termios.h>
#include <thread>

namespace {

constexpr unsigned TestPort = 3;

class TComThreadTest : public ::testing::Test {
protected:
    void SetUp() override { SetComDevicePath(TestPort, pty.DevicePath()); }
    void TearDown() override { SetComDevicePath(TestPort, ""); }

    // Opens com on the test port, collecting what it receives in received.
    void Open(TComThread& com) {
        com.SetPort(TestPort);
        com.SetOnPacketReceived([this](TComThread*, std::string& buffer) {
            chunks.push_back(buffer);
            received += buffer;
        });
        com.ComInit();
        ASSERT_TRUE(com.PortReady()) << com.ErrorText();
    }
    termios LineState() const {
        termios state{};
        tcgetattr(pty.Master(), &state); // a pseudo-terminal's master reports its slave's line
        return state;
    }

    PtyPair pty;
    std::vector<std::string> chunks;
    std::string received;
};

TEST_F(TComThreadTest, PortAndPacketSizeRefusedOnlyWhileOpen) {
    TComThread com;
    EXPECT_EQ(com.Port(), 1u);
    EXPECT_EQ(com.PacketSize(), 80u);
    com.SetPacketSize(16);
    Open(com);
    EXPECT_EQ(ErrorMessage([&] { com.SetPort(1); }), "Port can only be set before ComInit()!");
    EXPECT_EQ(ErrorMessage([&] { com.SetPacketSize(32); }),
              "Packet Size can only be set before ComInit()!");
    EXPECT_EQ(com.Port(), TestPort);
    EXPECT_EQ(com.PacketSize(), 16u);

    com.ComClose();
    com.SetPort(2);
    com.SetPacketSize(32);
    EXPECT_EQ(com.Port(), 2u);
    EXPECT_EQ(com.PacketSize(), 32u);
}

TEST_F(TComThreadTest, OneAndAHalfStopBitsOnlyWithFiveDataBits) {
    const std::string refused = "1.5 Stop Bits with 6,7, or 8 Data Bits is an invalid combination";
    TComThread com;
    for (unsigned bits : {6u, 7u, 8u}) {
        com.SetDataBits(bits);
        EXPECT_EQ(ErrorMessage([&] { com.SetStopBits(TStopBits::s1_5); }), refused);
        EXPECT_EQ(com.StopBits(), TStopBits::s1);
    }
    com.SetDataBits(5);
    com.SetStopBits(TStopBits::s1_5);
    for (unsigned bits : {6u, 7u, 8u}) {
        EXPECT_EQ(ErrorMessage([&] { com.SetDataBits(bits); }), refused);
        EXPECT_EQ(com.DataBits(), 5u);
    }
    com.SetStopBits(TStopBits::s1);
    com.SetDataBits(5);
    com.SetStopBits(TStopBits::s1_5); // the other order

    Open(com);
    EXPECT_TRUE(LineState().c_cflag & CSTOPB); // a UART sends 1.5 with five data bits
}

TEST_F(TComThreadTest, SettingsReachAnOpenLineAtOnce) {
    TComThread com;
    Open(com);
    termios state = LineState();
    EXPECT_EQ(cfgetospeed(&state), static_cast<speed_t>(B19200));
    EXPECT_FALSE(state.c_cflag & (PARODD | CSTOPB));

    com.SetBaud(38400);
    com.SetParity(TParity::odd);
    com.SetStopBits(TStopBits::s2);
    state = LineState();
    EXPECT_EQ(cfgetospeed(&state), static_cast<speed_t>(B38400));
    // A pseudo-terminal always keeps 8 bits without parity enable; the rest it takes.
    EXPECT_EQ(state.c_cflag & (PARODD | CSTOPB), static_cast<tcflag_t>(PARODD | CSTOPB));

    // On an open port a refused setting is raised to the caller.
    EXPECT_EQ(ErrorMessage([&] { com.SetBaud(12345); }), "SetCommState Failed.");
}

TEST_F(TComThreadTest, MissingDeviceIsRecordedNotRaised) {
    SetComDevicePath(TestPort, "/dev/vireo-no-such-port");
    TComThread com;
    com.SetPort(TestPort);
    EXPECT_NO_THROW(com.ComInit());
    EXPECT_FALSE(com.PortReady());
    EXPECT_EQ(com.ErrorText(), "Comport Unavailable.");
    com.ComClose();

    // A failed open can be tried again.
    SetComDevicePath(TestPort, pty.DevicePath());
    com.ComInit();
    EXPECT_TRUE(com.PortReady());
}

TEST_F(TComThreadTest, ASecondOpenerIsKeptOut) {
    TComThread first, second;
    Open(first);
    second.SetPort(TestPort);
    second.ComInit();
    EXPECT_FALSE(second.PortReady());
    EXPECT_EQ(second.ErrorText(), "Comport Unavailable.");
    first.ComClose();
    second.ComInit();
    EXPECT_TRUE(second.PortReady()) << second.ErrorText();
}

TEST_F(TComThreadTest, WriteBeforeComInitIsQuiet) {
    TComThread com;
    com.ComClose(); // nothing open: nothing to do
    com.SetPort(TestPort);
    EXPECT_NO_THROW(com.Write(std::string("X")));
    EXPECT_FALSE(com.PortReady());
    EXPECT_EQ(com.ErrorText(), "Com not initialized.");
    EXPECT_EQ(pty.Receive(50), "");
}

TEST_F(TComThreadTest, WritesFromAnyThreadWhileTheReaderRuns) {
    TComThread com;
    Open(com);
    com.Write(std::string());
    EXPECT_EQ(pty.Receive(30), "");

    std::string expected;
    for (int i = 0; i < 200; ++i)
        expected += "block " + std::to_string(i) + ";";
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i)
            com.Write("block " + std::to_string(i) + ";");
    });
    pty.Send("incoming");
    const std::string sent = pty.Receive(5000, expected.size());
    writer.join();
    EXPECT_EQ(sent, expected);
    EXPECT_TRUE(RunEventsUntil([&] { return received == "incoming"; }));
}

TEST_F(TComThreadTest, ChunksArriveWholeInOrderInTheMainThread) {
    TComThread com;
    com.SetPacketSize(8);
    bool inHandler = false;
    bool overlapped = false, elsewhere = false;
    com.SetPort(TestPort);
    com.SetOnPacketReceived([&](TComThread* sender, std::string& buffer) {
        overlapped |= inHandler;
        elsewhere |= QThread::currentThread() != QCoreApplication::instance()->thread();
        EXPECT_EQ(sender, &com);
        EXPECT_LE(buffer.size(), 8u);
        inHandler = true;
        QThread::usleep(200); // the reader must wait for us
        received += buffer;
        inHandler = false;
    });
    com.ComInit();
    ASSERT_TRUE(com.PortReady());

    const std::string zeros("ab\0\0cd\0", 7);
    pty.Send(zeros);
    ASSERT_TRUE(RunEventsUntil([&] { return received.size() >= 7; }));
    EXPECT_EQ(received, zeros);

    received.clear();
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    all += all;
    pty.Send(all);
    ASSERT_TRUE(RunEventsUntil([&] { return received.size() >= all.size(); }));
    EXPECT_EQ(received, all);
    EXPECT_FALSE(overlapped);
    EXPECT_FALSE(elsewhere);
}

TEST_F(TComThreadTest, BytesAreDeliveredWithoutWaitingToFillAPacket) {
    TComThread com;
    com.SetTimeout(1000); // a read request may then last (1000/10 + 1) * 80 + 1000 ms
    Open(com);
    pty.Send("abc");
    EXPECT_TRUE(RunEventsUntil([&] { return received == "abc"; }, 2000));
}

TEST_F(TComThreadTest, CloseCompletesWhileADeliveryWaitsForTheMainThread) {
    TComThread com;
    Open(com);
    pty.Send("waiting");
    QThread::msleep(50); // the reader now waits for the main thread, which is busy here
    com.ComClose();
    const size_t seen = received.size();
    RunEventsFor(50);
    EXPECT_EQ(received.size(), seen); // nothing is delivered after the close
}

TEST_F(TComThreadTest, AHandlerMayCloseThePort) {
    TComThread com;
    com.SetPort(TestPort);
    int calls = 0;
    com.SetOnPacketReceived([&](TComThread* sender, std::string&) {
        ++calls;
        sender->ComClose();
    });
    com.ComInit();
    pty.Send("one");
    ASSERT_TRUE(RunEventsUntil([&] { return calls > 0; }));
    pty.Send("two");
    RunEventsFor(50);
    EXPECT_EQ(calls, 1);
}

TEST_F(TComThreadTest, AReadFailureEndsTheReaderAndCloseStillCompletes) {
    TComThread com;
    Open(com);
    pty.HangUp();
    ASSERT_TRUE(RunEventsUntil([&] { return com.ErrorText().rfind("Read Error: ", 0) == 0; }))
        << com.ErrorText();
    com.ComClose();
    // Closed as after any other end: writing is refused quietly.
    com.Write(std::string("X"));
    EXPECT_EQ(com.ErrorText(), "Com not initialized.");
}

} // namespace
