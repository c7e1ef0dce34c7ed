// Joining 52 weekly recordings of one-minute samples (89 parameters: a 3Ø 4W Wye recording
// with 15-minute intervals), read from their database files, and saving the result, against
// loading the same files and saving a database of the joined one's size in the same run; and
// the peak memory of vrotool join of them against twice the joined file and 100 MB.
#include "bench/RatioReporter.h"
#include "database/JoinRecordings.h"
#include "database/LDatabase.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"

#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const std::filesystem::path Folder = std::filesystem::temp_directory_path() / "vro_join_bench";
std::vector<std::string> Weeks;

// The joined database, made once: what the baseline saves.
LDatabase& Reference() {
    static LDatabase db;
    return db;
}

std::vector<JoinInput> ReadWeeks() {
    std::vector<JoinInput> inputs;
    for (const std::string& file : Weeks)
        inputs.push_back(ReadJoinInput(file));
    return inputs;
}

void Prepare() {
    std::filesystem::create_directories(Folder);
    GeneratorOptions o;
    o.start = CalendarTime{2025, 1, 6, 0, 0, 0};
    o.historicPoints = 7 * 1440;
    const std::vector<GeneratedRecording> weeks = GenerateSeries(o, 52);
    for (size_t k = 0; k < weeks.size(); ++k) {
        LDatabase db;
        db.New();
        db.Parse(weeks[k].Serialize());
        db.SetFileName((Folder / ("week" + std::to_string(k + 1))).string());
        db.Save(false);
        Weeks.push_back(db.FileName());
    }
    JoinRecordings(ReadWeeks(), JoinOverlap::Refuse, Reference());
    Reference().SetFileName((Folder / "reference").string());
}

void BM_LoadAllAndSave(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::unique_ptr<LDatabase>> all;
        for (const std::string& file : Weeks) {
            all.push_back(std::make_unique<LDatabase>());
            all.back()->New();
            all.back()->Load(file);
        }
        Reference().Save(false);
        state.PauseTiming();
        all.clear();
        state.ResumeTiming();
    }
}

void BM_JoinAndSave(benchmark::State& state) {
    for (auto _ : state) {
        LDatabase db;
        JoinRecordings(ReadWeeks(), JoinOverlap::Refuse, db);
        db.SetFileName((Folder / "joined").string());
        db.Save(false);
        state.PauseTiming();
        db.Close();
        state.ResumeTiming();
    }
}

void PeakMemoryOfJoin() {
    const std::string joined = (Folder / "vrotool-joined.vro").string();
    std::vector<std::string> args = {VROTOOL, "join"};
    args.insert(args.end(), Weeks.begin(), Weeks.end());
    args.insert(args.end(), {"-o", joined});
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(VROTOOL, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const double fileMb = std::filesystem::exists(joined)
                              ? static_cast<double>(std::filesystem::file_size(joined)) / 1e6
                              : 0.0;
    const double peakMb = static_cast<double>(usage.ru_maxrss) / 1e3;
    const double target = 2 * fileMb + 100;
    std::printf("vrotool join of %zu weeks: exit %d, joined file %.1f MB, peak memory %.1f MB\n",
                Weeks.size(), WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileMb, peakMb);
    std::printf("ratio peak memory / (2 x joined file + 100 MB) = %6.2f  (target at most 1: %s)\n",
                peakMb / target, peakMb <= target ? "met" : "NOT MET");
}

} // namespace

BENCHMARK(BM_LoadAllAndSave)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();
BENCHMARK(BM_JoinAndSave)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

int main(int argc, char** argv) {
    InitCatalogue();
    TuneAllocator();
    benchmark::Initialize(&argc, argv);
    Prepare();
    RatioReporter reporter;
    reporter.AddRatio("BM_JoinAndSave", "BM_LoadAllAndSave", 1.5);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PeakMemoryOfJoin();
    std::filesystem::remove_all(Folder);
    return 0;
}
