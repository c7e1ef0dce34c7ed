#pragma once

#include "acquisition/TVroDAQ.h"
#include "tools/simulator/InstrumentSimulator.h"

#include <string>
#include <vector>

// The protocol's waits shortened so that failures cost milliseconds; the test and start
// replies keep their real 100 ms.
DAQTimings FastTimings();

// A small generated recording (a few kB).
std::string SmallRecording(uint32_t seed = 1);
// The recording as a download delivers it: whole 128-byte blocks, the last one padded.
std::string AsDownloaded(const std::string& recording);

struct DownloadStat {
    int received, total;
    float rate;
};

// One engine with its events recorded.
class EngineProbe {
public:
    explicit EngineProbe(const DAQTimings& timings = FastTimings());

    // Runs the event loop until OnRequestCompleted has run; false when ms passed first.
    bool WaitCompleted(int ms = 15000);

    TVroDAQ daq;
    std::vector<bool> found;
    std::vector<DownloadStat> stats;
    bool completed = false;
    ReqStat outcome = ReqStat::rsOk;
    int errorCode = -1;
};
