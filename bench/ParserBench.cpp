// Parsing the largest recording the instrument can hold, against copying its bytes.
#include "bench/RatioReporter.h"
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/LParameterCollection.h"
#include "model/LParser.h"
#include "model/LSession.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"

#include <cstring>
#include <memory>

namespace {

const std::string& Recording(bool historicOnly) {
    static const std::string mixed = GenerateRecordingBytes(MaximalRecordingOptions(false));
    static const std::string historic = GenerateRecordingBytes(MaximalRecordingOptions(true));
    return historicOnly ? historic : mixed;
}

void Copy(benchmark::State& state, bool historicOnly) {
    const std::string& bytes = Recording(historicOnly);
    auto target = std::make_unique_for_overwrite<char[]>(bytes.size());
    for (auto _ : state) {
        std::memcpy(target.get(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(target.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void Parse(benchmark::State& state, bool historicOnly) {
    const std::string& bytes = Recording(historicOnly);
    const std::span input(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    for (auto _ : state) {
        LSession session;
        LParameterCollection parameters;
        LParser().Run(input, session, parameters);
        benchmark::DoNotOptimize(parameters.Count());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}

void BM_CopyMixed(benchmark::State& s) {
    Copy(s, false);
}
void BM_ParseMixed(benchmark::State& s) {
    Parse(s, false);
}
void BM_CopyHistoric(benchmark::State& s) {
    Copy(s, true);
}
void BM_ParseHistoric(benchmark::State& s) {
    Parse(s, true);
}

BENCHMARK(BM_CopyMixed)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ParseMixed)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_CopyHistoric)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_ParseHistoric)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator(); // as every program of ours does
    benchmark::Initialize(&argc, argv);
    Recording(false); // generate before timing starts
    Recording(true);
    RatioReporter reporter;
    reporter.AddRatio("BM_ParseMixed", "BM_CopyMixed", 4);
    reporter.AddRatio("BM_ParseHistoric", "BM_CopyHistoric", 2);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
