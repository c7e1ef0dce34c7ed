#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "tools/RecordingGenerator.h"
#include "tools/simulator/InstrumentSimulator.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/Commands.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

int BlockNumber(Arguments& args, const char* name) {
    const auto v = args.Integer(name, 1, 0x7FFFFFFF);
    return v ? static_cast<int>(*v) : 0;
}

std::string ReadRecording(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        Raise("Cannot open " + path);
    std::string bytes;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

// PATH becomes a link to the terminal; only a link (or nothing) is ever replaced there.
void MakeLink(const std::string& link, const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto status = fs::symlink_status(link, ec);
    if (fs::exists(status) && !fs::is_symlink(status))
        Raise(link + " exists and is not a link; it is left alone");
    fs::remove(link, ec);
    fs::create_symlink(target, link, ec);
    if (ec)
        Raise("Cannot make the link " + link + ": " + ec.message());
}

void RemoveLink(const std::string& link, const std::string& target) {
    std::error_code ec;
    if (std::filesystem::is_symlink(link, ec) && std::filesystem::read_symlink(link, ec) == target)
        std::filesystem::remove(link, ec);
}

void Report(const SimulatorStats& was, const SimulatorStats& now) {
    if (now.testsAnswered > was.testsAnswered)
        std::printf("Answered a port test\n");
    if (now.startsAnswered > was.startsAnswered)
        std::printf("Download started\n");
    if (now.blocksResent > was.blocksResent)
        std::printf("Sent a block again (%d so far)\n", now.blocksResent);
    if (now.downloadsCompleted > was.downloadsCompleted)
        std::printf("Download complete\n");
    std::fflush(stdout);
}

} // namespace

int SimulateCommand(Arguments& args) {
    SimulatorFaults faults;
    const auto recordingFile = args.Value("--recording");
    GeneratorOptions o;
    bool generated = false;
    if (auto v = args.Integer("--phase", 0, 4))
        o.phaseConfig = static_cast<uint8_t>(*v), generated = true;
    if (auto v = args.Integer("--blocks", 1, 127))
        o.blockCount = static_cast<int>(*v), generated = true;
    if (auto v = args.Integer("--points", 0, 50000))
        o.historicPoints = static_cast<int32_t>(*v), generated = true;
    if (auto v = args.Integer("--event-points", 0, 50000)) {
        o.scatteredEvents = generated = true;
        o.eventPoints = static_cast<int32_t>(*v);
    }
    if (auto v = args.Integer("--seed", 0, 0xFFFFFFFFll))
        o.seed = static_cast<uint32_t>(*v), generated = true;
    if (auto v = args.Integer("--baud", 1, 4000000))
        faults.onlyBaud = static_cast<unsigned>(*v);
    const auto link = args.Value("--link");
    const bool paced = !args.Flag("--no-pacing");
    faults.ignoreTest = args.Flag("--ignore-test");
    faults.ignoreStart = args.Flag("--ignore-start");
    if (auto v = args.Integer("--unanswered-probes", 0, 1000))
        faults.unansweredProbes = static_cast<int>(*v);
    faults.corruptBlock = BlockNumber(args, "--corrupt-block");
    faults.truncateBlock = BlockNumber(args, "--truncate-block");
    faults.zeroChecksumBlock = BlockNumber(args, "--zero-checksum-block");
    faults.zeroChecksumOnRetry = BlockNumber(args, "--zero-checksum-on-retry");
    if (auto v = args.Integer("--silent-after", 0, 0x7FFFFFFF))
        faults.silentAfter = static_cast<int>(*v);
    if (auto v = args.Integer("--hang-up-after", 0, 0x7FFFFFFF))
        faults.hangUpAfter = static_cast<int>(*v);
    faults.junkAfterBlocks = args.Flag("--junk-after-blocks");
    args.Finish();
    if (recordingFile && generated)
        throw UsageError("--recording and the generator options exclude each other");
    if (o.phaseConfig == 2)
        throw UsageError("phase configuration 2 does not exist (0, 1, 3 or 4)");

    const std::string recording =
        recordingFile ? ReadRecording(*recordingFile) : GenerateRecordingBytes(o);

    // Ctrl-C and termination are taken by sigwait below; the serving thread must not see them.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    std::unique_ptr<InstrumentSimulator> instrument;
    try {
        instrument = std::make_unique<InstrumentSimulator>(recording, faults, paced);
    } catch (const std::exception& e) {
        Raise(std::string("Cannot make the simulated line: ") + e.what());
    }
    const std::string device = instrument->DevicePath();
    if (link)
        MakeLink(*link, device);
    std::printf("%s\n", device.c_str());
    std::string about = std::to_string(recording.size()) + " bytes in " +
                        std::to_string((recording.size() + 127) / 128) + " blocks, " +
                        (paced ? "paced at the host's baud rate" : "unpaced");
    if (faults.onlyBaud)
        about += ", answering at " + std::to_string(faults.onlyBaud) + " baud only";
    std::fprintf(stderr, "Simulated Vireo on %s%s%s: %s. Ctrl-C ends it.\n", device.c_str(),
                 link ? ", linked as " : "", link ? link->c_str() : "", about.c_str());
    std::fflush(stdout);

    SimulatorStats was = instrument->Stats();
    const timespec poll = {0, 200 * 1000 * 1000};
    int signal = -1;
    while (signal < 0) {
        signal = sigtimedwait(&stop, nullptr, &poll);
        if (signal < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const SimulatorStats now = instrument->Stats();
        Report(was, now);
        was = now;
    }
    instrument.reset();
    if (link)
        RemoveLink(*link, device);
    std::fprintf(stderr, "Served %d downloads\n", was.downloadsCompleted);
    return 0;
}
