// Saving and loading the largest database, against one plain write and one plain read of the
// same number of bytes. Both sides put the file on the disk (fsync) when writing, as a safe
// save must.
#include "bench/RatioReporter.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

const std::string Folder = (std::filesystem::temp_directory_path() / "vro_bench").string();

LDatabase& Maximal() {
    static LDatabase d;
    static const bool made = [] {
        d.New();
        d.Parse(GenerateRecordingBytes(MaximalRecordingOptions(false)));
        for (int t = 0; t < 3; ++t) {
            LTableRecord* table = d.AddTable();
            for (const auto& s : d.AllSources())
                table->Sources.Add(std::make_unique<LParameterSource>(*s));
        }
        for (int c = 0; c < 3; ++c) {
            LChartRecord* chart = d.AddChart();
            for (int i = c; i < d.ChartSources().Count(); i += 3)
                chart->Sources.Add(std::make_unique<LParameterSource>(*d.ChartSources().Items(i)));
        }
        d.SetFileName(Folder + "/maximal");
        d.Save(false);
        return true;
    }();
    (void)made;
    return d;
}

int64_t FileSize() {
    return static_cast<int64_t>(std::filesystem::file_size(Maximal().FileName()));
}

void BM_PlainWrite(benchmark::State& state) {
    const std::string bytes(static_cast<size_t>(FileSize()), 'x');
    const std::string name = Folder + "/plain";
    for (auto _ : state) {
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::fsync(fd) != 0)
            state.SkipWithError("write failed");
        ::close(fd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Save(benchmark::State& state) {
    LDatabase& db = Maximal();
    for (auto _ : state)
        db.Save(false);
    state.SetBytesProcessed(state.iterations() * FileSize());
    state.counters["MB"] = static_cast<double>(FileSize()) / 1e6;
}

void BM_PlainRead(benchmark::State& state) {
    const std::string& name = Maximal().FileName();
    std::string buffer(static_cast<size_t>(FileSize()), '\0');
    for (auto _ : state) {
        const int fd = ::open(name.c_str(), O_RDONLY);
        if (::read(fd, buffer.data(), buffer.size()) != static_cast<ssize_t>(buffer.size()))
            state.SkipWithError("read failed");
        ::close(fd);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * buffer.size()));
}

void BM_Load(benchmark::State& state) {
    const std::string name = Maximal().FileName();
    for (auto _ : state) {
        LDatabase db;
        db.New();
        db.Load(name);
        benchmark::DoNotOptimize(db.Parameters().Count());
    }
    state.SetBytesProcessed(state.iterations() * FileSize());
}

BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    std::filesystem::create_directories(Folder);
    Maximal();
    RatioReporter reporter;
    reporter.AddRatio("BM_Save", "BM_PlainWrite", 2);
    reporter.AddRatio("BM_Load", "BM_PlainRead", 2);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder);
    return 0;
}
