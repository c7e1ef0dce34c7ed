// Saving and loading the largest database, against one plain write and one plain read of the
// same number of bytes. Both sides put the file on the disk (fsync) when writing, as a safe
// save must. The same with 1 000 notes against without, in turns. And loading files of 1 to
// 8 MB made of many small parameters and many sources: the time per MB must stay flat as the
// file grows.
#include "bench/RatioReporter.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <unistd.h>
#include <vector>

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

// The notes a month of surveys might gather: a thousand of every kind, texts of 20 to 200
// characters.
void AddNotes(LDatabase& db) {
    const TDateTime start = db.Header().StartTime;
    for (int i = 0; i < 1000; ++i) {
        const TDateTime at = start + i / 24.0;
        db.AddNote({at, at + (i % 3) / 48.0, static_cast<LNoteKind>(i % 4),
                    std::string(static_cast<size_t>(20 + i % 181), 'n'), "Jürgen"});
    }
}

double Seconds(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The time of noted against plain, taken in turns so that a busy moment of the machine weighs
// on both alike: the median of five rounds of n of each.
double InTurns(int n, const std::function<void()>& plain, const std::function<void()>& noted) {
    std::vector<double> ratios;
    for (int round = 0; round < 5; ++round) {
        double a = 0, b = 0;
        // Each first as often: the one after the other may find its memory or the disk busy.
        for (int i = 0; i < n; ++i) {
            if (i % 2 == 0) {
                a += Seconds(plain);
                b += Seconds(noted);
            } else {
                b += Seconds(noted);
                a += Seconds(plain);
            }
        }
        ratios.push_back(b / a);
    }
    std::sort(ratios.begin(), ratios.end());
    return ratios[2];
}

// Saving and loading the largest database with 1 000 notes against without.
void MeasureNotes(RatioReporter& reporter) {
    LDatabase& plain = Maximal();
    LDatabase noted;
    noted.New();
    noted.Load(plain.FileName());
    AddNotes(noted);
    noted.SetFileName(Folder + "/noted");
    const auto load = [](const std::string& name) {
        LDatabase db;
        db.New();
        db.Load(name);
    };
    reporter.AddMeasuredRatio("save with 1 000 notes", "without",
                              InTurns(
                                  5, [&] { plain.Save(false); }, [&] { noted.Save(false); }),
                              1.05);
    reporter.AddMeasuredRatio(
        "load with 1 000 notes", "without",
        InTurns(
            20, [&] { load(plain.FileName()); }, [&] { load(noted.FileName()); }),
        1.05);
}

// About megabytes MB: 8000 parameters of four points (half the file) and 40000 table sources
// spread over them (the other half) per MB, as a hand-made or damaged file may hold them.
std::string ManySourcesFile(int megabytes) {
    const std::string name = Folder + "/many" + std::to_string(megabytes) + ".vro";
    if (std::filesystem::exists(name))
        return name;
    LDatabase d;
    d.New();
    const int parameters = 8000 * megabytes;
    for (int i = 0; i < parameters; ++i) {
        auto values = std::make_unique<float[]>(4);
        for (int k = 0; k < 4; ++k)
            values[k] = static_cast<float>(i + k);
        const LParameter::Record r{i, i % 191, 36526.0, 60, ttHistoric, 0, 0, 0, 0, 0, 4};
        auto p = std::make_unique<LParameter>();
        p->SetRecord(r, std::move(values), nullptr);
        d.Parameters().Add(std::move(p));
    }
    std::minstd_rand random(static_cast<unsigned>(megabytes));
    for (int t = 0; t < 40 * megabytes; ++t) {
        LTableRecord* table = d.AddTable();
        for (int s = 0; s < 1000; ++s)
            table->Sources.Add(std::make_unique<LParameterSource>(
                d.Parameters().Items(static_cast<int32_t>(random() % parameters))));
    }
    d.SetFileName(name);
    d.Save(false);
    return name;
}

void BM_LoadManySources(benchmark::State& state) {
    const std::string name = ManySourcesFile(static_cast<int>(state.range(0)));
    const auto size = static_cast<int64_t>(std::filesystem::file_size(name));
    // The load alone: making the empty database and closing it are not part of it.
    for (auto _ : state) {
        state.PauseTiming();
        auto db = std::make_unique<LDatabase>();
        db->New();
        state.ResumeTiming();
        db->Load(name);
        benchmark::DoNotOptimize(db->Tables().size());
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["MB"] = static_cast<double>(size) / (1 << 20);
}

BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->MinTime(1.0);
// The median of five runs per size: one busy moment of the machine must not tilt the ratio.
BENCHMARK(BM_LoadManySources)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(8)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    std::filesystem::create_directories(Folder);
    Maximal();
    RatioReporter reporter;
    MeasureNotes(reporter);
    reporter.AddRatio("BM_Save", "BM_PlainWrite", 2);
    reporter.AddRatio("BM_Load", "BM_PlainRead", 2);
    reporter.AddFlatness("BM_LoadManySources", "MB", 1.5);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder);
    return 0;
}
