// The download rate from the paced instrument simulator, as the engine itself reports it at
// the end (bytes over the block phase), against what the line can carry: baud / 10 bytes a
// second, of which 128 in every 133 are recording (132 block bytes and the host's ACK).
#include "acquisition/TVroDAQ.h"
#include "serial/ComPortMap.h"
#include "tools/RecordingGenerator.h"
#include "tools/simulator/InstrumentSimulator.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>

namespace {

constexpr double Target = 0.9;
std::map<int, double> Ratios;

// About 64 kB, as a long recording session fills it.
const std::string& Recording() {
    static const std::string bytes = [] {
        GeneratorOptions o;
        o.historicPoints = 400;
        o.scatteredEvents = true;
        o.eventPoints = 40;
        return GenerateRecordingBytes(o);
    }();
    return bytes;
}

void BM_Download(benchmark::State& state) {
    const int baud = static_cast<int>(state.range(0));
    InstrumentSimulator instrument(Recording(), {}, true);
    SetComDevicePath(1, instrument.DevicePath());
    TVroDAQ engine;
    for (auto _ : state) {
        std::string data;
        QEventLoop loop;
        ReqStat outcome = ReqStat::rsFailed;
        engine.SetOnRequestCompleted([&](ReqStat o, int) {
            outcome = o;
            loop.quit();
        });
        const auto start = std::chrono::steady_clock::now();
        engine.Download(1, baud, &data);
        loop.exec();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (outcome != ReqStat::rsOk || data.size() < Recording().size()) {
            state.SkipWithError("the download failed");
            return;
        }
    }
    const double limit = baud / 10.0 * 128.0 / 133.0; // bytes per second
    const double ratio = engine.Rate() * 1000.0 / limit;
    Ratios[baud] = ratio;
    state.counters["kB"] = static_cast<double>(Recording().size()) / 1024.0;
    state.counters["bytes/s"] = engine.Rate() * 1000.0;
    state.counters["ratio"] = ratio;
}
BENCHMARK(BM_Download)
    ->Arg(9600)
    ->Arg(19200)
    ->Arg(38400)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n");
    for (const auto& [baud, ratio] : Ratios)
        std::printf("ratio download rate / line payload limit at %5d baud = %5.3f  (target at "
                    "least %.1f: %s)\n",
                    baud, ratio, Target, ratio >= Target ? "met" : "NOT MET");
    return 0;
}
