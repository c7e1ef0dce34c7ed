// vrotool simulate and vrotool download as a user runs them from a shell.
#include "database/LDatabase.h"
#include "tests/acquisition/AcquisitionTestSupport.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScratchFolder.h"
#include "tools/RecordingGenerator.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class DownloadCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The other ports lead nowhere, whatever this machine has.
        for (int port : {2, 3, 4})
            setenv(("VIREO_COM" + std::to_string(port)).c_str(), "/dev/vireo-no-such-port", 1);
    }
    void TearDown() override {
        for (pid_t pid : children) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        for (int port : {2, 3, 4})
            unsetenv(("VIREO_COM" + std::to_string(port)).c_str());
    }

    // Starts vrotool with its output (both streams) going to the file log.
    pid_t Start(const std::vector<std::string>& args, const std::string& log) {
        const std::string out = (dir / log).string();
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            dup2(fd, 2);
            std::vector<char*> argv{const_cast<char*>(VROTOOL)};
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(VROTOOL, argv.data());
            _exit(127);
        }
        children.push_back(pid);
        return pid;
    }
    int Wait(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        std::erase(children, pid);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Log(const std::string& log) const { return ReadBytes(dir / log); }
    // vrotool simulate, ready once its link is in place.
    pid_t Simulate(std::vector<std::string> args) {
        args.insert(args.begin(), {"simulate", "--link", Line()});
        const pid_t pid = Start(args, "simulate.log");
        EXPECT_TRUE(RunEventsUntil([&] { return fs::is_symlink(Line()); }));
        return pid;
    }
    std::string Line() const { return (dir / "vireo").string(); }

    ScratchFolder scratch;
    const fs::path& dir = scratch.path;
    std::vector<pid_t> children;
};

TEST_F(DownloadCommandTest, SimulateThenDownloadAsBinAndAsDatabase) {
    GeneratorOptions o;
    o.historicPoints = 60;
    o.scatteredEvents = true;
    o.eventPoints = 6;
    o.seed = 5;
    const std::string recording = GenerateRecordingBytes(o);
    const pid_t simulator = Simulate(
        {"--points", "60", "--event-points", "6", "--seed", "5", "--baud", "19200", "--no-pacing"});

    // The stored rate is wrong: the scan finds the instrument at 19200.
    const std::string bin = (dir / "out.bin").string();
    int status = Wait(Start({"download", "--device", Line(), "--scan", "-o", bin}, "bin.log"));
    ASSERT_EQ(status, 0) << Log("bin.log");
    EXPECT_EQ(ReadBytes(bin), AsDownloaded(recording));
    EXPECT_NE(Log("bin.log").find("Looking for device on port COM1 (19200)"), std::string::npos);
    EXPECT_NE(Log("bin.log").find("Download successful"), std::string::npos);

    const std::string vro = (dir / "out.vro").string();
    status = Wait(Start({"download", "--device", Line(), "--baud", "19200", "-o", vro, "--user-id",
                         "J. Smith", "--location", "Plant room 2"},
                        "vro.log"));
    ASSERT_EQ(status, 0) << Log("vro.log");
    LDatabase db;
    db.New();
    db.Load(vro);
    EXPECT_EQ(db.Header().UserID, "J. Smith");
    EXPECT_EQ(db.Header().Location, "Plant room 2");
    EXPECT_EQ(db.Header().DataLength, static_cast<int32_t>(recording.size()));

    kill(simulator, SIGINT);
    EXPECT_EQ(Wait(simulator), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(Line()))); // the link goes with it
    EXPECT_NE(Log("simulate.log").find("Served 2 downloads"), std::string::npos)
        << Log("simulate.log");
}

TEST_F(DownloadCommandTest, NothingAnswers) {
    const std::string out = (dir / "out.bin").string();
    const int status = Wait(Start(
        {"download", "--device", "/dev/vireo-no-such-port", "--scan", "-o", out}, "download.log"));
    EXPECT_EQ(status, 1);
    EXPECT_NE(Log("download.log")
                  .find("No devices were found.  Make sure that the device is ready for "
                        "transmission."),
              std::string::npos);
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(DownloadCommandTest, ALineThatGoesAwayIsAnotherError) {
    Simulate({"--seed", "2", "--no-pacing", "--hang-up-after", "2"});
    const std::string out = (dir / "out.bin").string();
    const int status = Wait(Start(
        {"download", "--device", Line(), "--baud", "38400", "--abort-pause", "100", "-o", out},
        "log"));
    EXPECT_EQ(status, 1);
    EXPECT_NE(Log("log").find("Other error."), std::string::npos) << Log("log");
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(DownloadCommandTest, CtrlCCancelsThroughTheEngine) {
    Simulate({"--seed", "2", "--ignore-start"});
    const std::string out = (dir / "out.bin").string();
    const pid_t download =
        Start({"download", "--device", Line(), "--abort-pause", "100", "-o", out}, "log");
    ASSERT_TRUE(RunEventsUntil(
        [&] { return Log("log").find("Detecting device") != std::string::npos; }, 5000));
    RunEventsFor(300);
    kill(download, SIGINT);
    EXPECT_EQ(Wait(download), 130);
    EXPECT_NE(Log("log").find("Download cancelled"), std::string::npos) << Log("log");
    EXPECT_FALSE(fs::exists(out));
}

} // namespace
