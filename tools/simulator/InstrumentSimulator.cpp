#include "tools/simulator/InstrumentSimulator.h"

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

namespace {

std::runtime_error SystemFailure(const std::string& what) {
    return std::runtime_error(what + " failed (errno " + std::to_string(errno) + ")");
}

} // namespace

InstrumentSimulator::InstrumentSimulator(std::string recording, SimulatorFaults faults, bool paced)
    : recording_(std::move(recording)), faults_(faults), paced_(paced) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        throw SystemFailure("posix_openpt");
    char name[128] = {};
    if (grantpt(master_) != 0 || unlockpt(master_) != 0 || ptsname_r(master_, name, sizeof name))
        throw SystemFailure("pseudo-terminal setup");
    devicePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        throw SystemFailure("open " + devicePath_);
    // Raw from the start: a terminal's default echo would hand our own bytes back to us.
    termios state{};
    tcgetattr(slave_, &state);
    cfmakeraw(&state);
    cfsetispeed(&state, B9600);
    cfsetospeed(&state, B9600);
    tcsetattr(slave_, TCSANOW, &state);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    if (pipe2(stopPipe_, O_CLOEXEC) != 0)
        throw SystemFailure("pipe");
    thread_ = std::thread([this] { Serve(); });
}

InstrumentSimulator::~InstrumentSimulator() {
    stopping_ = true;
    const char stop = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe_[1], &stop, 1);
    if (thread_.joinable())
        thread_.join();
    for (int fd : {master_, slave_, stopPipe_[0], stopPipe_[1]})
        if (fd >= 0)
            ::close(fd);
}

SimulatorStats InstrumentSimulator::Stats() const {
    std::lock_guard lock(statsLock_);
    return stats_;
}

void InstrumentSimulator::Serve() {
    uint8_t input[256];
    while (!stopping_) {
        pollfd fds[2] = {{stopPipe_[0], POLLIN, 0}, {master_, POLLIN, 0}};
        const int ready = poll(fds, master_ >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno != EINTR)
            return;
        if (stopping_ || (fds[0].revents & POLLIN))
            return;
        if (master_ < 0 || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t n = ::read(master_, input, sizeof input);
        if (n > 0) {
            for (ssize_t i = 0; i < n && master_ >= 0; ++i)
                Receive(input[i]);
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            // Nobody on the line for the moment; do not spin on it.
            poll(fds, 1, 10);
        }
    }
}

unsigned InstrumentSimulator::HostBaud() const {
    termios state{};
    if (tcgetattr(slave_, &state) != 0)
        return 0;
    switch (cfgetispeed(&state)) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

void InstrumentSimulator::Receive(uint8_t byte) {
    // At any other rate the instrument would see only garbage.
    if (faults_.onlyBaud && HostBaud() != faults_.onlyBaud)
        return;
    if (byte == '0') {
        if (++zeros_ < 3)
            return;
        zeros_ = 0;
        if (faults_.ignoreStart)
            return;
        silent_ = false;
        downloading_ = true;
        block_ = 0;
        eotSent_ = corrupted_ = truncated_ = zeroSent_ = false;
        {
            std::lock_guard lock(statsLock_);
            ++stats_.startsAnswered;
        }
        Send("000");
        return;
    }
    zeros_ = 0;
    if (silent_)
        return;
    if (byte == 'X') {
        {
            std::lock_guard lock(statsLock_);
            ++stats_.probes;
        }
        if (faults_.ignoreTest)
            return;
        if (unanswered_ < faults_.unansweredProbes) {
            ++unanswered_;
            return;
        }
        unanswered_ = 0;
        {
            std::lock_guard lock(statsLock_);
            ++stats_.testsAnswered;
        }
        Send("A");
        return;
    }
    if (!downloading_)
        return;
    if (byte == NAK) {
        if (eotSent_)
            Send(std::string(1, static_cast<char>(EOT)));
        else
            SendBlock(block_ == 0 ? 1 : block_);
    } else if (byte == ACK) {
        if (eotSent_) {
            downloading_ = false;
            std::lock_guard lock(statsLock_);
            ++stats_.downloadsCompleted;
            return;
        }
        if (block_ == 0)
            return;
        if (block_ == faults_.silentAfter) {
            silent_ = true;
            return;
        }
        if (block_ == faults_.hangUpAfter) {
            HangUp();
            return;
        }
        SendBlock(block_ + 1);
    }
}

void InstrumentSimulator::SendBlock(int number) {
    const int blocks = static_cast<int>((recording_.size() + 127) / 128);
    if (number > blocks) {
        eotSent_ = true;
        Send(std::string(1, static_cast<char>(EOT)));
        return;
    }
    const bool resend = number == block_;
    block_ = number;
    std::string data = recording_.substr(static_cast<size_t>(number - 1) * 128, 128);
    data.resize(128, static_cast<char>(Padding));
    uint8_t sum = 0;
    for (char c : data)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    std::string block;
    block += static_cast<char>(SOH);
    block += static_cast<char>(number & 0xFF);
    block += static_cast<char>(0xFF - (number & 0xFF));
    block += data;
    block += static_cast<char>(sum);
    if (number == faults_.corruptBlock && !corrupted_) {
        corrupted_ = true;
        block[3 + 10] = static_cast<char>(block[3 + 10] ^ 0x55); // line noise in one byte
    }
    if (number == faults_.zeroChecksumBlock && !zeroSent_) {
        zeroSent_ = true;
        block[131] = 0;
    }
    if (resend && number == faults_.zeroChecksumOnRetry)
        block[131] = 0;
    if (number == faults_.truncateBlock && !truncated_) {
        truncated_ = true;
        block.resize(100);
    }
    if (faults_.junkAfterBlocks)
        block += "\xA5\x5A";
    {
        std::lock_guard lock(statsLock_);
        ++(resend ? stats_.blocksResent : stats_.blocksSent);
    }
    Send(block);
}

void InstrumentSimulator::Send(const std::string& bytes) {
    using Clock = std::chrono::steady_clock;
    const unsigned baud = HostBaud();
    const auto byteTime = std::chrono::duration<double>(10.0 / (baud ? baud : 9600));
    auto now = Clock::now();
    if (lineFreeAt_ < now)
        lineFreeAt_ = now;
    const Clock::time_point start = lineFreeAt_;
    size_t sent = 0;
    Clock::time_point stalledSince = now;
    while (sent < bytes.size() && !stopping_ && master_ >= 0) {
        size_t due = bytes.size();
        now = Clock::now();
        if (paced_) {
            // A byte has arrived once its whole frame (start, 8 data, stop bit) is on the line.
            due = std::min(bytes.size(), static_cast<size_t>(std::floor((now - start) / byteTime)));
            if (due <= sent) {
                const auto next = start + std::chrono::duration_cast<Clock::duration>(
                                              byteTime * static_cast<double>(sent + 1));
                std::this_thread::sleep_until(std::max(next, now + std::chrono::milliseconds(1)));
                continue;
            }
        }
        const ssize_t n = ::write(master_, bytes.data() + sent, due - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            stalledSince = now;
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            break;
        // A host that stopped reading gets the rest dropped rather than a hung instrument.
        if (now - stalledSince > std::chrono::seconds(2))
            break;
        pollfd out = {master_, POLLOUT, 0};
        poll(&out, 1, 10);
    }
    if (paced_)
        lineFreeAt_ = start + std::chrono::duration_cast<Clock::duration>(
                                  byteTime * static_cast<double>(bytes.size()));
}

void InstrumentSimulator::HangUp() {
    ::close(master_);
    master_ = -1;
}
