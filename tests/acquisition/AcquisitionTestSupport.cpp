#include "tests/acquisition/AcquisitionTestSupport.h"

#include "tests/support/EventLoop.h"
#include "tests/support/PseudoTerminal.h"
#include "tools/RecordingGenerator.h"

DAQTimings FastTimings() {
    DAQTimings t;
    t.testRepeatPause = 40;
    t.startPause = 10;
    t.blockWait = 300;
    t.failurePause = 10;
    t.abortPause = 20;
    return t;
}

std::string SmallRecording(uint32_t seed) {
    GeneratorOptions o;
    o.historicPoints = 100;
    o.blockCount = 12;
    o.seed = seed;
    return GenerateRecordingBytes(o);
}

std::string AsDownloaded(const std::string& recording) {
    std::string blocks = recording;
    blocks.resize((recording.size() + 127) / 128 * 128,
                  static_cast<char>(InstrumentSimulator::Padding));
    return blocks;
}

EngineProbe::EngineProbe(const DAQTimings& timings) : daq(timings) {
    daq.SetOnTestPortStat([this](bool f) { found.push_back(f); });
    daq.SetOnDownloadStat([this](int r, int t, float rate) { stats.push_back({r, t, rate}); });
    daq.SetOnRequestCompleted([this](ReqStat o, int code) {
        completed = true;
        outcome = o;
        errorCode = code;
    });
}

bool EngineProbe::WaitCompleted(int ms) {
    const bool done = RunEventsUntil([this] { return completed; }, ms);
    completed = false;
    return done;
}
