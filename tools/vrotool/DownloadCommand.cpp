#include "acquisition/DeviceScan.h"
#include "acquisition/TVroDAQ.h"
#include "database/LDatabase.h"
#include "model/ErrorReport.h"
#include "serial/ComPortMap.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/Commands.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t Interrupted = 0;

void OnInterrupt(int) {
    // A second Ctrl-C does not wait for the engine's abort pause.
    if (Interrupted)
        _exit(130);
    Interrupted = 1;
}

bool EndsWith(std::string s, const std::string& end) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The Download window's message for a failed transfer.
const char* FailureText(int errorCode) {
    switch (errorCode) {
    case ErrorNoStartAnswer:
        return "The device is not ready for transmission.";
    case ErrorDataCorrupted:
        return "The data device is sending is corrupted.";
    case ErrorTransferInterrupted:
        return "The transmission has been interrupted.";
    default:
        return "Other error.";
    }
}

// Progress on standard error: a bar redrawn in place on a terminal, otherwise a line every
// few seconds (a log file should not fill with carriage returns).
class Progress {
public:
    Progress() : terminal_(isatty(STDERR_FILENO)) {}

    void Show(int received, int total, float rate) {
        const double kB = received / 1024.0, totalKB = total / 1024.0;
        if (terminal_) {
            const int width = 30;
            const int filled = total > 0 ? std::clamp(received * width / total, 0, width) : 0;
            std::fprintf(stderr, "\r[%s%s] %.1f of %.1f kB  %.2f kB/s ",
                         std::string(static_cast<size_t>(filled), '#').c_str(),
                         std::string(static_cast<size_t>(width - filled), '.').c_str(), kB, totalKB,
                         rate);
            drawn_ = true;
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::seconds(3))
            return;
        last_ = now;
        std::fprintf(stderr, "Received %.1f of %.1f kB  %.2f kB/s\n", kB, totalKB, rate);
    }
    // Ends the bar's line before other text.
    void Break() {
        if (drawn_)
            std::fprintf(stderr, "\n");
        drawn_ = false;
    }

private:
    bool terminal_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point last_{};
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        Raise("Error occured while saving the file.");
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok)
        Raise("Error occured while saving the file.");
}

} // namespace

int DownloadCommand(Arguments& args) {
    const auto device = args.Value("--device");
    const auto portArg = args.Integer("--port", 1, 4);
    const auto baudArg = args.Integer("--baud", 1, 4000000);
    const bool scan = args.Flag("--scan");
    const auto out = args.Value("--output", "-o");
    const auto userId = args.Value("--user-id");
    const auto location = args.Value("--location");
    const auto comments = args.Value("--comments");
    DAQTimings timings;
    timings.abortPause =
        static_cast<int>(args.Integer("--abort-pause", 0, 60000).value_or(timings.abortPause));
    args.Finish();
    if (!out)
        throw UsageError("missing -o OUT.bin or -o OUT.vro");
    const bool database = EndsWith(*out, ".vro");
    if (!database && !EndsWith(*out, ".bin"))
        throw UsageError("-o needs a file ending in .bin or .vro");
    if (!database && (userId || location || comments))
        throw UsageError("--user-id, --location and --comments go into a .vro file only");
    if (device && device->empty())
        throw UsageError("--device needs a path");
    const int port = portArg ? static_cast<int>(*portArg) : 1;
    const int baud = baudArg ? static_cast<int>(*baudArg) : BaudRates[0];
    const auto baudAt = std::find(BaudRates.begin(), BaudRates.end(), baud);
    if (baudAt == BaudRates.end())
        throw UsageError("--baud needs 9600, 19200 or 38400");
    // The device stands for the port's COM number, for this run only.
    if (device)
        SetComDevicePath(static_cast<unsigned>(port), *device);

    static int argc = 1;
    static char name[] = "vrotool";
    static char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);

    // Find the instrument as the New Recording dialog does.
    std::optional<ScanFinding> found;
    {
        DeviceScan finder(timings, 100);
        finder.SetOnTestPosted([](int p, int b) {
            std::fprintf(stderr, "Looking for device on port COM%d (%d)\n", p, b);
        });
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            if (Interrupted)
                finder.Stop();
        });
        watch.start(50);
        found = finder.Locate(port - 1, static_cast<int>(baudAt - BaudRates.begin()), scan);
        if (Interrupted) {
            std::fprintf(stderr, "Cancelled\n");
            return 130;
        }
    }
    if (!found) {
        std::fprintf(stderr, "No devices were found.  Make sure that the device is ready for "
                             "transmission.\n");
        return 1;
    }

    const int foundPort = PortNumbers[static_cast<size_t>(found->portIndex)];
    const int foundBaud = BaudRates[static_cast<size_t>(found->baudIndex)];
    std::fprintf(stderr, "Detecting device on port COM%d (%d)\n", foundPort, foundBaud);
    TVroDAQ engine(timings);
    Progress progress;
    bool started = false, completed = false;
    ReqStat outcome = ReqStat::rsFailed;
    int errorCode = 0;
    engine.SetOnDownloadStat([&](int received, int total, float rate) {
        if (!started)
            std::fprintf(stderr, "Downloading...\n");
        started = true;
        progress.Show(received, total, rate);
    });
    engine.SetOnRequestCompleted([&](ReqStat o, int code) {
        completed = true;
        outcome = o;
        errorCode = code;
    });
    std::string data;
    engine.Download(foundPort, foundBaud, &data);
    bool cancelling = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (completed)
            app.quit();
        else if (Interrupted && !cancelling) {
            cancelling = true;
            progress.Break();
            std::fprintf(stderr, "Cancelling...\n");
            engine.Cancel();
        }
    });
    watch.start(20);
    app.exec();
    progress.Break();

    if (outcome == ReqStat::rsCancelled) {
        std::fprintf(stderr, "Download cancelled\n");
        return 130;
    }
    if (outcome != ReqStat::rsOk) {
        std::fprintf(stderr, "%s\n", FailureText(errorCode));
        return 1;
    }
    std::fprintf(stderr, "Download successful\n");
    if (!database) {
        WriteFile(*out, data);
        std::printf("Wrote %s (%zu bytes)\n", out->c_str(), data.size());
        return 0;
    }
    LDatabase db;
    db.New();
    db.Parse(data);
    LSession& header = db.Header();
    if (userId)
        header.UserID = *userId;
    if (location)
        header.Location = *location;
    if (comments)
        header.Comments = *comments;
    db.SetFileName(*out);
    db.Save(false);
    std::printf("Wrote %s\n", db.FileName().c_str());
    return 0;
}
