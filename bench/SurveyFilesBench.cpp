// vrotool survey of eight recordings of a month each: all of them in one run, surveyed in
// parallel, against eight runs of one file each in sequence, as a user would script it before.
// Times are wall-clock milliseconds.
#include "bench/RatioReporter.h"
#include "model/Auxilary.h"
#include "model/ParameterTable.h"
#include "tools/RecordingGenerator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Files = 8;

const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        std::string name =
            (std::filesystem::temp_directory_path() / "survey_files_bench.XXXXXX").string();
        return std::filesystem::path(mkdtemp(name.data()));
    }();
    return folder;
}

// 30 days at 60 s of every Historic channel the wye configuration records.
const std::vector<std::string>& Recordings() {
    static const std::vector<std::string> files = [] {
        GeneratorOptions o;
        o.historicPoints = 30 * 1440;
        o.interval = 0;
        const std::string bytes = GenerateRecordingBytes(o);
        std::vector<std::string> names;
        for (int i = 0; i < Files; ++i) {
            names.push_back((Folder() / ("month" + std::to_string(i) + ".bin")).string());
            std::ofstream(names.back(), std::ios::binary) << bytes;
        }
        return names;
    }();
    return files;
}

// vrotool survey with these files and --csv, its output thrown away.
void Survey(const std::vector<std::string>& files) {
    std::vector<const char*> argv = {VROTOOL, "survey"};
    for (const std::string& f : files)
        argv.push_back(f.c_str());
    argv.push_back("--csv");
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!std::freopen("/dev/null", "w", stdout))
            _exit(126);
        execv(VROTOOL, const_cast<char* const*>(argv.data()));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "vrotool survey failed\n");
}

void BM_EightSingleRuns(benchmark::State& state) {
    for (auto _ : state)
        for (const std::string& f : Recordings())
            Survey({f});
}

void BM_EightFilesOneRun(benchmark::State& state) {
    for (auto _ : state)
        Survey(Recordings());
}

} // namespace

int main(int argc, char** argv) {
    InitCatalogue();
    benchmark::Initialize(&argc, argv);
    Recordings();
    benchmark::RegisterBenchmark("BM_EightSingleRuns", BM_EightSingleRuns)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BM_EightFilesOneRun", BM_EightFilesOneRun)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    RatioReporter reporter;
    // Two processors share the files: about half the time, and one start-up instead of eight.
    reporter.AddRatio("BM_EightFilesOneRun", "BM_EightSingleRuns", 0.6);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
