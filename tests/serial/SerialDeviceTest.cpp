// The POSIX serial device: a port held by one program only, and writes that never wait
// without limit.
#include "serial/SerialDevice.h"
#include "tests/support/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal's own tcdrain() returns at once. A UART's waits until its queue is empty,
// without limit while the line is stopped (flow control, a stuck adapter); this program's
// does the same, for a few seconds, while lineStopped is set.
std::atomic<bool> lineStopped{false};
std::atomic<int> drainsOfAStoppedLine{0};

} // namespace

extern "C" int tcdrain(int fd) {
    if (lineStopped) {
        ++drainsOfAStoppedLine;
        for (int i = 0; i < 300 && lineStopped; ++i)
            ::usleep(10000);
    }
    return ::ioctl(fd, TCSBRK, 1);
}

namespace {

TEST(SerialDeviceTest, ALoserLeavesTheHoldersTerminalExclusive) {
    PtyPair pty;
    SerialDevice holder, loser;
    ASSERT_EQ(holder.Open(pty.DevicePath()), 0);
    EXPECT_EQ(loser.Open(pty.DevicePath()), EBUSY);
    auto exclusive = [&] {
        // The flag keeps out everyone but root; root can open and ask.
        const int fd = ::open(pty.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return errno == EBUSY;
        int flag = 0;
        EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &flag), 0);
        ::close(fd);
        return flag != 0;
    };
    EXPECT_TRUE(exclusive());
    holder.Close();
    EXPECT_FALSE(exclusive());
    EXPECT_EQ(loser.Open(pty.DevicePath()), 0);
}

TEST(SerialDeviceTest, RtsToggleWriteToAStoppedLineEndsWithinItsLimit) {
    PtyPair pty; // its far end reads nothing
    SerialDevice device;
    ASSERT_EQ(device.Open(pty.DevicePath()), 0);
    device.SetRtsToggle(true);
    EXPECT_EQ(device.Write("x", 1), 0);
    EXPECT_EQ(pty.Receive(1000, 1), "x");

    lineStopped = true;
    const std::string block(1 << 20, 'x');
    EXPECT_EQ(device.Write(block.data(), block.size(), 50), ETIMEDOUT);
    lineStopped = false;
    EXPECT_EQ(drainsOfAStoppedLine, 0) << "waited for a queue that cannot empty";
}

} // namespace
