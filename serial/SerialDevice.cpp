#include "serial/SerialDevice.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

struct BaudCode {
    unsigned baud;
    speed_t code;
};

constexpr BaudCode BaudCodes[] = {
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

int Milliseconds(std::chrono::steady_clock::duration d) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
    return ms < 0 ? 0 : static_cast<int>(ms);
}

} // namespace

SerialDevice::SerialDevice() : wakeFd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

SerialDevice::~SerialDevice() {
    Close();
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
}

int SerialDevice::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    // The lock keeps out root and any other program that locks its ports the same way;
    // TIOCEXCL then keeps out every later opener but root. The exclusive flag belongs to the
    // terminal, not to this handle: only the holder of the lock may set it (and clear it on
    // Close), or a loser would clear the holder's.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return error;
    }
    ioctl(fd, TIOCEXCL);
    fd_ = fd;
    locked_ = true;
    // A fresh open starts with empty queues, whatever the line sent while nobody listened.
    tcflush(fd_, TCIOFLUSH);
    uint64_t pending = 0;
    if (wakeFd_ >= 0)
        while (::read(wakeFd_, &pending, sizeof pending) > 0) {
        }
    return 0;
}

void SerialDevice::Close() {
    if (fd_ < 0)
        return;
    // The exclusive flag outlives us while someone else keeps the terminal open (a
    // simulator holding its pseudo-terminal), so it is dropped explicitly.
    ioctl(fd_, TIOCNXCL);
    if (locked_)
        flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
    locked_ = false;
}

int SerialDevice::ReadState(termios& state) const {
    if (fd_ < 0)
        return EBADF;
    return tcgetattr(fd_, &state) == 0 ? 0 : errno;
}

int SerialDevice::WriteState(const termios& state) const {
    if (fd_ < 0)
        return EBADF;
    return tcsetattr(fd_, TCSANOW, &state) == 0 ? 0 : errno;
}

bool SerialDevice::SetLine(termios& state, unsigned baud, unsigned dataBits, int parity,
                           int stopBits) {
    const BaudCode* code = nullptr;
    for (const BaudCode& c : BaudCodes)
        if (c.baud == baud)
            code = &c;
    if (!code || dataBits < 5 || dataBits > 8)
        return false;
    cfmakeraw(&state);
    cfsetispeed(&state, code->code);
    cfsetospeed(&state, code->code);
    // No modem-control dependence: the instrument's cable carries no carrier detect.
    state.c_cflag |= CREAD | CLOCAL;
    state.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB);
    static constexpr tcflag_t Sizes[] = {CS5, CS6, CS7, CS8};
    state.c_cflag |= Sizes[dataBits - 5];
    switch (parity) {
    case 1: // odd
        state.c_cflag |= PARENB | PARODD;
        break;
    case 2: // even
        state.c_cflag |= PARENB;
        break;
    case 3: // mark
        state.c_cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4: // space
        state.c_cflag |= PARENB | CMSPAR;
        break;
    default:
        break;
    }
    // With 5 data bits a UART's "two stop bits" setting sends one and a half.
    if (stopBits != 0)
        state.c_cflag |= CSTOPB;
    state.c_cc[VMIN] = 0;
    state.c_cc[VTIME] = 0;
    return true;
}

unsigned SerialDevice::Baud(const termios& state) {
    const speed_t speed = cfgetispeed(&state);
    for (const BaudCode& c : BaudCodes)
        if (c.code == speed)
            return c.baud;
    return 0;
}

int SerialDevice::Read(char* buffer, size_t size, int timeoutMs, size_t& received) {
    received = 0;
    if (fd_ < 0)
        return EBADF;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        const int ready = poll(fds, wakeFd_ >= 0 ? 2 : 1,
                               Milliseconds(deadline - std::chrono::steady_clock::now()));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (ready == 0 || (wakeFd_ >= 0 && (fds[1].revents & POLLIN)))
            return 0;
        if (fds[0].revents & POLLNVAL)
            return EBADF;
        const ssize_t n = ::read(fd_, buffer, size);
        if (n > 0) {
            received = static_cast<size_t>(n);
            return 0;
        }
        // End of file on a terminal is a hang-up: the adapter was unplugged or the other
        // end of a pseudo-terminal went away.
        if (n == 0)
            return EIO;
        if (errno != EAGAIN && errno != EINTR)
            return errno;
        if (std::chrono::steady_clock::now() >= deadline)
            return 0;
    }
}

void SerialDevice::Interrupt() {
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

int SerialDevice::Write(const char* bytes, size_t count, int stallMs) {
    if (fd_ < 0)
        return EBADF;
    if (rtsToggle_)
        SetModemLines(TIOCM_RTS, true);
    int error = 0;
    while (count > 0) {
        const ssize_t n = ::write(fd_, bytes, count);
        if (n > 0) {
            bytes += n;
            count -= static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN) {
            error = errno;
            break;
        }
        pollfd out = {fd_, POLLOUT, 0};
        const int ready = poll(&out, 1, stallMs);
        if (ready == 0) {
            error = ETIMEDOUT;
            break;
        }
        if (ready < 0 && errno != EINTR) {
            error = errno;
            break;
        }
        if (ready > 0 && (out.revents & (POLLERR | POLLHUP | POLLNVAL))) {
            error = EIO;
            break;
        }
    }
    if (rtsToggle_) {
        // RTS may only drop once the last byte is out; bytes that cannot go are dropped.
        if (error == 0)
            error = Drain(stallMs);
        if (error != 0)
            tcflush(fd_, TCOFLUSH);
        SetModemLines(TIOCM_RTS, false);
    }
    return error;
}

int SerialDevice::Drain(int limitMs) {
    // tcdrain() waits without limit for a queue that a stopped line never empties. Wait for
    // the queue here, within the limit; what is left then is the transmitter's own few bytes,
    // which the driver's tcdrain() waits for with a limit of its own.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
    for (;;) {
        int queued = 0;
        if (ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0)
            break;
        if (std::chrono::steady_clock::now() >= deadline)
            return ETIMEDOUT;
        poll(nullptr, 0, 1);
    }
    tcdrain(fd_);
    return 0;
}

int SerialDevice::Purge() {
    if (fd_ < 0)
        return EBADF;
    return tcflush(fd_, TCIOFLUSH) == 0 ? 0 : errno;
}

int SerialDevice::ModemStatus(int& bits) const {
    bits = 0;
    if (fd_ < 0)
        return EBADF;
    return ioctl(fd_, TIOCMGET, &bits) == 0 ? 0 : errno;
}

int SerialDevice::SetModemLines(int bits, bool on) const {
    if (fd_ < 0)
        return EBADF;
    return ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits) == 0 ? 0 : errno;
}
