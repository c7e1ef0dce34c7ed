#include "tests/support/PseudoTerminal.h"

#include <chrono>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    EXPECT_GE(master_, 0);
    grantpt(master_);
    unlockpt(master_);
    char name[128] = {};
    ptsname_r(master_, name, sizeof name);
    path_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios state{};
    tcgetattr(slave_, &state);
    cfmakeraw(&state);
    tcsetattr(slave_, TCSANOW, &state);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    HangUp();
    if (slave_ >= 0)
        ::close(slave_);
}

void PtyPair::Send(const std::string& bytes) {
    ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

std::string PtyPair::Receive(int ms, size_t want) {
    std::string got;
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (got.size() < want && std::chrono::steady_clock::now() < end) {
        pollfd in = {master_, POLLIN, 0};
        if (poll(&in, 1, 5) <= 0)
            continue;
        char buffer[256];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n > 0)
            got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}

void PtyPair::HangUp() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}
