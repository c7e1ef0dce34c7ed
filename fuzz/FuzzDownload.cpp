// The instrument's side of a download is whatever arrives on the line: the engine must end
// every download with one of its documented outcomes, and never hang.
//
// The input is the instrument's answers in order: each a length byte and that many bytes,
// sent whenever the engine asks ("000", NAK or ACK). When they run out the instrument is
// silent. The engine runs with short waits over a pseudo-terminal, as in the program.
#include "acquisition/TVroDAQ.h"
#include "serial/ComPortMap.h"

#include <QCoreApplication>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Port = 1;
constexpr char ACK = 0x06, NAK = 0x15;

// Plays the instrument on the far end of a pseudo-terminal, from a script of answers.
class ScriptedInstrument {
public:
    ScriptedInstrument() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0 ||
            ptsname_r(master_, name, sizeof name) != 0)
            std::abort();
        path_ = name;
        // Held open so that the line stays up between the engine's opens.
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios state{};
        tcgetattr(slave_, &state);
        cfmakeraw(&state);
        tcsetattr(slave_, TCSANOW, &state);
        std::thread([this] { Serve(); }).detach();
    }

    const std::string& Path() const { return path_; }

    // Answers from now on; none (silence) when the script ends.
    void Play(const uint8_t* data, size_t size) {
        std::lock_guard lock(lock_);
        answers_.clear();
        for (size_t i = 0; i < size;) {
            const size_t length = std::min<size_t>(data[i], size - i - 1);
            answers_.emplace_back(reinterpret_cast<const char*>(data + i + 1), length);
            i += 1 + length;
        }
        next_ = 0;
        zeros_ = 0;
    }

private:
    void Serve() {
        char input[256];
        for (;;) {
            pollfd in = {master_, POLLIN, 0};
            if (poll(&in, 1, -1) <= 0)
                continue;
            const ssize_t n = ::read(master_, input, sizeof input);
            if (n <= 0) {
                poll(nullptr, 0, 1); // the engine has closed the line for the moment
                continue;
            }
            std::lock_guard lock(lock_);
            for (ssize_t i = 0; i < n; ++i) {
                if (input[i] == '0' && ++zeros_ < 3)
                    continue;
                zeros_ = 0;
                if ((input[i] == '0' || input[i] == ACK || input[i] == NAK) &&
                    next_ < answers_.size()) {
                    const std::string& answer = answers_[next_++];
                    [[maybe_unused]] const ssize_t put =
                        ::write(master_, answer.data(), answer.size());
                }
            }
        }
    }

    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::mutex lock_;
    std::vector<std::string> answers_;
    size_t next_ = 0;
    int zeros_ = 0;
};

ScriptedInstrument* instrument = nullptr;
TVroDAQ* engine = nullptr;
std::atomic<bool> completed{false};
ReqStat outcome;
int errorCode;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static int argc = 1;
    static char name[] = "fuzz_download";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
    instrument = new ScriptedInstrument;
    SetComDevicePath(Port, instrument->Path());
    DAQTimings timings;
    timings.startPause = 0;
    timings.startReply = 10;
    timings.blockWait = 10;
    timings.failurePause = 0;
    timings.abortPause = 0;
    engine = new TVroDAQ(timings);
    engine->SetOnRequestCompleted([](ReqStat o, int code) {
        outcome = o;
        errorCode = code;
        completed = true;
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    instrument->Play(data, size);
    std::string received = "left over";
    completed = false;
    if (!engine->Download(Port, 38400, &received))
        std::abort();
    while (!completed)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    instrument->Play(nullptr, 0);

    // Whole blocks on success, nothing on failure, and only the failures a download knows.
    const bool documented =
        (outcome == ReqStat::rsOk && errorCode == 0 && received.size() % 128 == 0) ||
        (outcome == ReqStat::rsFailed && received.empty() &&
         (errorCode == ErrorNoStartAnswer || errorCode == ErrorTransferInterrupted));
    if (!documented) {
        std::fprintf(stderr, "outcome %d, error %d, %zu bytes received\n",
                     static_cast<int>(outcome), errorCode, received.size());
        std::abort();
    }
    return 0;
}
