#include "acquisition/TVroDAQ.h"
#include "model/LParameter.h"
#include "model/LParameterCollection.h"
#include "model/LParser.h"
#include "model/LSession.h"
#include "serial/ComPortMap.h"
#include "tests/acquisition/AcquisitionTestSupport.h"
#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr int Port = 1;

class TVroDAQTest : public ::testing::Test {
protected:
    void TearDown() override { SetComDevicePath(Port, ""); }

    // An instrument on COM1.
    InstrumentSimulator& Instrument(std::string recording, SimulatorFaults faults = {}) {
        sim = std::make_unique<InstrumentSimulator>(std::move(recording), faults, false);
        SetComDevicePath(Port, sim->DevicePath());
        return *sim;
    }
    void Download(EngineProbe& e, std::string& destination) {
        ASSERT_TRUE(e.daq.Download(Port, 38400, &destination));
        ASSERT_TRUE(e.WaitCompleted());
    }

    std::unique_ptr<InstrumentSimulator> sim;
};

struct Parsed {
    LSession session;
    LParameterCollection parameters;
};

void ExpectSameRecording(const std::string& original, const std::string& downloaded) {
    Parsed a, b;
    std::string in = original, out = downloaded;
    LParser().Run(in, a.session, a.parameters);
    LParser().Run(out, b.session, b.parameters);
    EXPECT_EQ(a.session.DataLength, b.session.DataLength);
    EXPECT_EQ(a.session.EndTime, b.session.EndTime);
    EXPECT_EQ(a.session.InstrumentText, b.session.InstrumentText);
    ASSERT_EQ(a.parameters.Count(), b.parameters.Count());
    for (int32_t i = 0; i < a.parameters.Count(); ++i) {
        const LParameter& p = *a.parameters.Items(i);
        const LParameter& q = *b.parameters.Items(i);
        ASSERT_EQ(p.Index(), q.Index());
        ASSERT_EQ(p.Count(), q.Count());
        for (int32_t j = 0; j < p.Count(); ++j)
            ASSERT_EQ(p.Values()[j], q.Values()[j]) << "parameter " << i << " point " << j;
    }
}

TEST_F(TVroDAQTest, InstrumentFoundOnTheThirdProbeAfterTwoPauses) {
    SimulatorFaults faults;
    faults.unansweredProbes = 2;
    InstrumentSimulator& instrument = Instrument("", faults);
    EngineProbe e(DAQTimings{}); // the real waits: 100 ms per probe, 50 ms apart
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(e.daq.TestPort(Port, 19200, false));
    ASSERT_TRUE(e.WaitCompleted());
    EXPECT_GE(timer.elapsed(), 2 * (100 + 50));
    EXPECT_EQ(instrument.Stats().probes, 3);
    EXPECT_EQ(e.found, std::vector<bool>{true});
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
}

TEST_F(TVroDAQTest, AnInstrumentThatNeverAnswersCostsFiveProbes) {
    SimulatorFaults faults;
    faults.ignoreTest = true;
    InstrumentSimulator& instrument = Instrument("", faults);
    EngineProbe e;
    ASSERT_TRUE(e.daq.TestPort(Port, 9600, false));
    ASSERT_TRUE(e.WaitCompleted());
    EXPECT_EQ(instrument.Stats().probes, 5);
    EXPECT_EQ(e.found, std::vector<bool>{false});
    EXPECT_EQ(e.outcome, ReqStat::rsOk); // the test ran; it found nothing
}

TEST_F(TVroDAQTest, ARequestIsRefusedWhileAnotherIsPosted) {
    Instrument("");
    EngineProbe e;
    e.daq.Cancel(); // nothing posted: nothing to cancel, and nothing left over for later
    std::string destination = "untouched";
    ASSERT_TRUE(e.daq.TestPort(Port, 38400, false));
    EXPECT_TRUE(e.daq.Busy());
    EXPECT_FALSE(e.daq.TestPort(2, 9600, true));
    EXPECT_FALSE(e.daq.Download(Port, 38400, &destination));
    ASSERT_TRUE(e.WaitCompleted());
    EXPECT_EQ(e.found, std::vector<bool>{true});
    EXPECT_EQ(destination, "untouched");
    EXPECT_FALSE(e.daq.Busy());

    // A cancel that came too late for the last request does not end the next one.
    e.daq.Cancel();
    ASSERT_TRUE(e.daq.TestPort(Port, 38400, false));
    ASSERT_TRUE(e.WaitCompleted());
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(e.found, (std::vector<bool>{true, true}));
}

TEST_F(TVroDAQTest, TheCompletionHandlerMayPostTheNextRequest) {
    Instrument("");
    EngineProbe e;
    int completions = 0;
    e.daq.SetOnRequestCompleted([&](ReqStat, int) {
        if (++completions == 1) {
            EXPECT_TRUE(e.daq.TestPort(Port, 19200, false));
        }
    });
    ASSERT_TRUE(e.daq.TestPort(Port, 38400, false));
    EXPECT_TRUE(RunEventsUntil([&] { return completions == 2; }));
    EXPECT_EQ(e.found, (std::vector<bool>{true, true}));
}

TEST_F(TVroDAQTest, DownloadsTheRecordingByteForByteAndServesTwice) {
    const std::string recording = SmallRecording();
    ASSERT_GT(recording.size(), 2000u);
    InstrumentSimulator& instrument = Instrument(recording);
    EngineProbe e;
    std::string destination = "stale";
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(destination, AsDownloaded(recording));
    ExpectSameRecording(recording, destination);

    // One statistics report per block, and one after the end mark repeating the count.
    const size_t blocks = destination.size() / 128;
    ASSERT_EQ(e.stats.size(), blocks + 1);
    for (size_t i = 0; i < blocks; ++i) {
        EXPECT_EQ(e.stats[i].received, static_cast<int>(128 * (i + 1)));
        EXPECT_EQ(e.stats[i].total, static_cast<int>(recording.size()));
    }
    EXPECT_EQ(e.stats.back().received, static_cast<int>(destination.size()));
    EXPECT_GT(e.stats.back().rate, 0);
    EXPECT_EQ(e.daq.BytesTotal(), static_cast<int>(recording.size()));

    std::string again;
    Download(e, again);
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(again, destination);
    // The instrument counts a download when the acknowledgement of its end mark arrives, on
    // its own thread, which may come after the engine has reported the download complete.
    EXPECT_TRUE(RunEventsUntil([&] { return instrument.Stats().downloadsCompleted == 2; }))
        << instrument.Stats().downloadsCompleted;
    EXPECT_EQ(instrument.Stats().blocksResent, 0);
}

TEST_F(TVroDAQTest, BadBlocksAreAskedForAgain) {
    const std::string recording = SmallRecording(2);
    struct Case {
        const char* what;
        SimulatorFaults faults;
    };
    std::vector<Case> cases(3);
    cases[0] = {"a corrupted block", {}};
    cases[0].faults.corruptBlock = 3;
    cases[1] = {"a block cut short", {}};
    cases[1].faults.truncateBlock = 4;
    cases[2] = {"a zero checksum on the first sending", {}};
    cases[2].faults.zeroChecksumBlock = 2;
    for (const Case& c : cases) {
        InstrumentSimulator& instrument = Instrument(recording, c.faults);
        EngineProbe e;
        std::string destination;
        Download(e, destination);
        EXPECT_EQ(e.outcome, ReqStat::rsOk) << c.what;
        EXPECT_EQ(destination, AsDownloaded(recording)) << c.what;
        EXPECT_EQ(instrument.Stats().blocksResent, 1) << c.what;
    }
}

TEST_F(TVroDAQTest, AZeroChecksumIsAcceptedOnARetry) {
    const std::string recording = SmallRecording(3);
    SimulatorFaults faults;
    faults.corruptBlock = 2;
    faults.zeroChecksumOnRetry = 2;
    InstrumentSimulator& instrument = Instrument(recording, faults);
    EngineProbe e;
    std::string destination;
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(destination, AsDownloaded(recording));
    EXPECT_EQ(instrument.Stats().blocksResent, 1); // the zero-sum resend was taken
}

TEST_F(TVroDAQTest, FiveFailedBlocksEndTheTransfer) {
    SimulatorFaults faults;
    faults.silentAfter = 2;
    Instrument(SmallRecording(), faults);
    EngineProbe e;
    std::string destination;
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsFailed);
    EXPECT_EQ(e.errorCode, ErrorTransferInterrupted);
    EXPECT_EQ(destination, "");
    EXPECT_EQ(e.stats.size(), 2u);
}

TEST_F(TVroDAQTest, NoAnswerToTheStartRequest) {
    SimulatorFaults faults;
    faults.ignoreStart = true;
    Instrument(SmallRecording(), faults);
    EngineProbe e;
    std::string destination = "stale";
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsFailed);
    EXPECT_EQ(e.errorCode, ErrorNoStartAnswer);
    EXPECT_EQ(destination, "");
    EXPECT_TRUE(e.stats.empty());
}

TEST_F(TVroDAQTest, EndOfTransferAsTheFirstByte) {
    Instrument("");
    EngineProbe e;
    std::string destination = "stale";
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(destination, "");
    ASSERT_EQ(e.stats.size(), 1u);
    EXPECT_EQ(e.stats[0].received, 0);
    EXPECT_EQ(e.stats[0].total, 0);
}

TEST_F(TVroDAQTest, APortThatDoesNotOpen) {
    SetComDevicePath(Port, "/dev/vireo-no-such-port");
    EngineProbe e;
    ASSERT_TRUE(e.daq.TestPort(Port, 9600, false));
    ASSERT_TRUE(e.WaitCompleted());
    EXPECT_EQ(e.outcome, ReqStat::rsFailed);
    EXPECT_EQ(e.errorCode, ErrorPortNotOpened);
    EXPECT_TRUE(e.found.empty());

    std::string destination = "stale";
    Download(e, destination);
    EXPECT_EQ(e.errorCode, ErrorPortNotOpened);
}

TEST_F(TVroDAQTest, ARepeatedPortTestRunsUntilCancelled) {
    InstrumentSimulator& instrument = Instrument("");
    EngineProbe e;
    ASSERT_TRUE(e.daq.TestPort(Port, 19200, true));
    ASSERT_TRUE(RunEventsUntil([&] { return e.found.size() >= 3; }));
    e.daq.Cancel();
    ASSERT_TRUE(e.WaitCompleted());
    EXPECT_EQ(e.outcome, ReqStat::rsCancelled);
    ASSERT_GE(e.found.size(), 4u);
    EXPECT_FALSE(e.found.back()); // the cancelled test reports nothing found
    e.found.pop_back();
    for (bool f : e.found)
        EXPECT_TRUE(f);
    // The cancelled test may have had its answer too late to count.
    EXPECT_GE(instrument.Stats().testsAnswered, static_cast<int>(e.found.size()));
}

// With the instrument's own waits but a shorter abort pause (the instrument's is five
// seconds): the cancel is seen at once, then the abort pause runs before the request ends.
TEST_F(TVroDAQTest, CancelDuringTheStartWaitsOutTheAbortPause) {
    SimulatorFaults faults;
    faults.ignoreStart = true;
    Instrument(SmallRecording(), faults);
    DAQTimings timings;
    timings.abortPause = 600;
    EngineProbe e(timings);
    std::string destination = "stale";
    ASSERT_TRUE(e.daq.Download(Port, 9600, &destination));
    RunEventsFor(450); // into the first wait for the echo
    QElapsedTimer timer;
    timer.start();
    e.daq.Cancel();
    ASSERT_TRUE(e.WaitCompleted(9000));
    EXPECT_GE(timer.elapsed(), timings.abortPause);
    // No further start attempt.
    EXPECT_LT(timer.elapsed(), timings.abortPause + timings.startPause + timings.startReply + 1000);
    EXPECT_EQ(e.outcome, ReqStat::rsCancelled);
    EXPECT_EQ(destination, "");
}

TEST_F(TVroDAQTest, ABlockArrivingWhileTheStatisticsRunIsKept) {
    const std::string recording = SmallRecording(4);
    InstrumentSimulator& instrument = Instrument(recording);
    EngineProbe e;
    // A window that repaints its progress lets the next block in while the handler runs.
    e.daq.SetOnDownloadStat([](int, int, float) {
        QThread::msleep(2);
        QCoreApplication::processEvents();
    });
    std::string destination;
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(destination, AsDownloaded(recording));
    EXPECT_EQ(instrument.Stats().blocksResent, 0);
}

TEST_F(TVroDAQTest, StrayBytesAfterABlockAreNotRecorded) {
    const std::string recording = SmallRecording(5);
    SimulatorFaults faults;
    faults.junkAfterBlocks = true;
    Instrument(recording, faults);
    EngineProbe e;
    std::string destination;
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsOk);
    EXPECT_EQ(destination, AsDownloaded(recording));
}

TEST_F(TVroDAQTest, AFailedSendEndsTheRequest) {
    SimulatorFaults faults;
    faults.hangUpAfter = 3;
    Instrument(SmallRecording(), faults);
    EngineProbe e;
    std::string destination;
    Download(e, destination);
    EXPECT_EQ(e.outcome, ReqStat::rsFailed);
    EXPECT_EQ(e.errorCode, ErrorSendFailed);
    EXPECT_EQ(destination, "");
}

TEST_F(TVroDAQTest, DestroyingTheEngineEndsARunningRequest) {
    auto paced = std::make_unique<InstrumentSimulator>(SmallRecording(), SimulatorFaults{}, true);
    SetComDevicePath(Port, paced->DevicePath());
    std::string destination;
    bool completed = false;
    QElapsedTimer timer;
    {
        TVroDAQ daq(FastTimings());
        daq.SetOnRequestCompleted([&](ReqStat, int) { completed = true; });
        ASSERT_TRUE(daq.Download(Port, 9600, &destination));
        RunEventsFor(200);
        timer.start();
    }
    EXPECT_LT(timer.elapsed(), 2000);
    RunEventsFor(20);
    EXPECT_FALSE(completed);
}

} // namespace
